#pragma once
// Replaces the base library's readers of the configuration's language bytes for a test and puts the
// ones in place before back when it goes (the storage layer's, in a program that links it).
#include "base/text/CfgLanguage.h"

class ScopedCfgLanguageReaders {
public:
    ScopedCfgLanguageReaders(CfgLanguageReader recordText, CfgLanguageReader messages)
        : recordText_(RecordTextLanguageReader()), messages_(MessageLanguageReader())
    {
        SetCfgLanguageReaders(recordText, messages);
    }
    ~ScopedCfgLanguageReaders() { SetCfgLanguageReaders(recordText_, messages_); }
    ScopedCfgLanguageReaders(const ScopedCfgLanguageReaders &) = delete;
    ScopedCfgLanguageReaders &operator=(const ScopedCfgLanguageReaders &) = delete;

private:
    CfgLanguageReader recordText_, messages_;
};
