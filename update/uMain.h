#pragma once
// The updater's main window: the run's state and its steps. Each member is defined in the file of its
// subject (payload, journal, patch, apply loop, handlers, rollback, free space, run) as a thin step over
// that file's pure functions.
//
// The window base class joins when the framework's forms are in; until then the class holds the run
// state and the steps that need no window.
#include <cstdint>
#include <vector>

#include "framework/AnsiString.h"
#include "update/PartNfo.h"
#include "update/RunLog.h"

class TFileStream;
class TStringList;

class TForm1 : public TRunLog {
public:
    // Protocol and journal.
    bool Log(int8_t index, const AnsiString &text, bool newLine) override;
    bool CheckStep(bool result, bool newLine) override;
    void SetRunCaption(const AnsiString &caption) override;
    void ShowRunError(int id, const AnsiString &argument) override;

    // Payload (update/Payload*.cpp). Reads the updater's own file, or the given one.
    bool ReadUpdatePayload(const AnsiString &fileName = AnsiString());
    void LogPayloadItem(uint8_t type, const AnsiString &name, uint32_t section, uint32_t number);

    // Run state, all zero or empty after construction.
    TFileStream *JournalStream = nullptr;
    AnsiString ProductFolder;          // with trailing "\"
    AnsiString CopyFolder;             // with trailing "\"
    AnsiString MutexName[2];           // 0 product, 1 copy
    AnsiString JournalPath;
    AnsiString TempFolder;             // with trailing "\"
    uint8_t LastRunProblems = 0;
    TStringList *HandledFiles = nullptr;
    void *OwnMutex = nullptr;
    void *MutexHandle[2] = {nullptr, nullptr};
    uint8_t JournalSuspended = 0;
    uint8_t RunStarted = 0;
    uint8_t RunFinished = 0;
    TPartList Items;
    uint32_t ItemCount = 0;
    uint32_t TempBytesNeeded = 0;
    uint64_t Growth = 0;               // growth of the product folder, 65,535 added on load
    AnsiString NewVersion;
    AnsiString BaseVersion;
    AnsiString NewVersionShort;
    AnsiString BaseVersionShort;
    uint32_t SectionNumber = 0;
    int32_t UpdateVariant = 0;         // 1 new copy, 0 in place, -1 none read yet
    std::vector<uint32_t> AcceptedBuilds;
    uint8_t Correction = 0;
};
