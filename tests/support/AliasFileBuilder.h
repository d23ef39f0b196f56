#pragma once
// Builds a product's alias file ("EXE\alias.qmt") as the environment loader reads it: a file in the
// simple form holding one record per line, each line "NAME#FOLDER" or "NAME#FOLDER#SECOND FOLDER", a
// leading "@" of a folder standing for the product root.
#include <string>
#include <vector>

#include "tests/support/CompoundFileBuilder.h"

namespace testdata {

struct AliasLine {
    std::string name;
    std::string folder;
    std::string second;  // empty: the alias has one folder
};

// The text of one line as it is stored.
std::string AliasLineText(const AliasLine &line);
// The file of the lines, in the order given.
Bytes AliasFile(const std::vector<AliasLine> &lines);
// The lines every product has: its EXE and its configuration folder under the product root.
std::vector<AliasLine> ProductAliases();

}  // namespace testdata
