#pragma once
// A protocol list that keeps its lines in memory, for tests of the engine's protocol.
#include <vector>

#include "update/journal/Journal.h"

class TProtocolLines : public TProtocolList {
public:
    int Count() const override { return static_cast<int>(Lines.size()); }
    void Add(const AnsiString &line) override { Lines.push_back(line); }
    void ExtendLast(const AnsiString &text) override { Lines.back() += text; }

    std::vector<AnsiString> Lines;
};
