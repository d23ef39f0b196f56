#pragma once
// The two language bytes of the configuration record, as the base library reads them. The record
// lives in the storage layer above; it registers its readers here at start-up. Until then (and in a
// program without the storage layer) both read 1, Russian.
#include <cstdint>

// Byte 22: language of two-language texts inside records and of folder texts (0 Ukrainian,
// 1 Russian, 2 the whole text).
uint8_t RecordTextLanguage();
// Byte 23: language of messages and headers (non-zero Russian, 0 Ukrainian).
uint8_t MessageLanguage();

using CfgLanguageReader = uint8_t (*)();
// Either reader may be null: that byte then reads 1 again.
void SetCfgLanguageReaders(CfgLanguageReader recordText, CfgLanguageReader messages);
// The readers in place, so that whoever replaces them for a while can put them back.
CfgLanguageReader RecordTextLanguageReader();
CfgLanguageReader MessageLanguageReader();
