#include "base/text/CfgLanguage.h"

namespace {
CfgLanguageReader recordTextReader = nullptr;
CfgLanguageReader messageReader = nullptr;
}  // namespace

uint8_t RecordTextLanguage() { return recordTextReader ? recordTextReader() : 1; }

uint8_t MessageLanguage() { return messageReader ? messageReader() : 1; }

void SetCfgLanguageReaders(CfgLanguageReader recordText, CfgLanguageReader messages)
{
    recordTextReader = recordText;
    messageReader = messages;
}

CfgLanguageReader RecordTextLanguageReader() { return recordTextReader; }

CfgLanguageReader MessageLanguageReader() { return messageReader; }
