#pragma once
// The three forms of alias files over bytes in memory:
// - record form: the 8-byte HeaderMagic5 (flag A 1), one tagged record per entry (u16 tag 0, u16
//   length, the entry), the end record (tag 0x6000, length 0xFFFF);
// - line form: per entry u8 0, u32 0xFFFFFFFF, u16 length, the entry as a text line; after the last
//   an end record of length 1 holding the at sign;
// - text form: lines ended by CR LF, "//" comment lines.
// The splitters return the entries' bytes as views into the file image; they refuse (false) a file
// whose lengths or end mark do not fit its data.
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "framework/runtime/AnsiString.h"

using AliasFileImage = std::vector<std::uint8_t>;

bool SplitAliasRecordFile(std::span<const std::uint8_t> file, std::vector<std::string_view> &records);
bool SplitAliasLineFile(std::span<const std::uint8_t> file, std::vector<std::string_view> &lines);
// Lines run to a CR or LF (a last line without one to the end of the file); the CR LF after a line,
// or a lone CR or LF, or an LF CR pair, is stepped over. Lines of fewer than two characters and
// lines that begin with "//" are left out. A file holding a zero byte is not text and is refused.
bool SplitAliasTextFile(std::span<const std::uint8_t> file, std::vector<std::string_view> &lines);

// Whole files from entries already formatted for their form. An entry line that would read as a
// comment is written with a leading space, which the line parser drops again.
AliasFileImage JoinAliasRecordFile(const std::vector<AnsiString> &records);
AliasFileImage JoinAliasLineFile(const std::vector<AnsiString> &lines);
AliasFileImage JoinAliasTextFile(const std::vector<AnsiString> &lines);
