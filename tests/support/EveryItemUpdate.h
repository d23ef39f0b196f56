#pragma once
// One update that uses every item type the apply loop knows, for whole-run tests: the installation it
// starts from, its payload, and what the update makes of the installation, file by file.
#include <cstdint>
#include <map>
#include <string>

#include "framework/runtime/AnsiString.h"
#include "tests/support/InstallationBuilder.h"
#include "tests/support/PayloadBuilder.h"

// Files by their path relative to a folder, with their bytes; a folder ends in "\" and has no bytes.
using TestTree = std::map<AnsiString, std::string>;

struct EveryItemUpdate {
    TestInstallation Installation;  // the executable and the configuration file
    TestTree OldFiles;              // the other product files before the update
    // A correction of the installed version, so the run applies it in place: patches of a file, of a
    // database and of the executable (for the installed edition and for the other one), files replaced
    // and added (one in new folders), files of one edition, over three data sections, one file
    // patched again in a later section, one file whose folder and name are Cyrillic.
    TestPayloadBuilder Payload;
    // The product files and folders the update changes or adds, with their new bytes; the
    // configuration file's change is not among them.
    TestTree Changes;
};

// edition: the installation's edition byte (0 for edition 1, 1 for edition 2).
EveryItemUpdate MakeEveryItemUpdate(uint8_t edition);
