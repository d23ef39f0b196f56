#pragma once
// A run log that keeps the protocol as lines, the way the main window's list shows them, without the
// protocol table: index 0 shows its text alone, other indexes as "#index text"; step results read
// "...ОК" and "...Были ошибки".
#include <string>
#include <utility>
#include <vector>

#include "update/run/RunLog.h"

class RecordingLog : public TRunLog {
public:
    bool Log(int8_t index, const AnsiString &text, bool newLine) override
    {
        Add(index == 0 ? text : "#" + std::to_string(index) + " " + text, newLine);
        return true;
    }
    bool CheckStep(bool result, bool newLine) override
    {
        Add(result ? "...ОК" : "...Были ошибки", newLine);
        return result;
    }
    void SetRunCaption(const AnsiString &caption) override { Caption = caption; }
    // The arguments "|"-separated, as the message texts take them.
    void ShowRunError(int id, const std::vector<AnsiString> &arguments) override
    {
        AnsiString joined;
        for (const AnsiString &a : arguments)
            joined += (joined.empty() ? "" : "|") + a;
        Errors.emplace_back(id, joined);
    }

    std::vector<AnsiString> Lines;
    AnsiString Caption;
    std::vector<std::pair<int, AnsiString>> Errors;

private:
    void Add(const AnsiString &text, bool newLine)
    {
        if (newLine || Lines.empty())
            Lines.push_back(text);
        else
            Lines.back() += " " + text;
    }
};
