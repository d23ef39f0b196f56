#pragma once
// The product configuration record s_Cfg: a fixed part of 1375 bytes carried byte for byte, and eight
// texts. Stored in "cfg.qmt" as the fixed part followed by the eight texts, each a u16 length and its
// bytes, at most 65000 bytes in all. The update engine sees the same file as a 1407-byte image: the
// fixed part and a 32-byte tail standing where the texts are stored.
#include <cstdint>
#include <vector>

#include "framework/runtime/AnsiString.h"

constexpr uint32_t CfgFixedLength = 1375;
constexpr int CfgTextCount = 8;
constexpr uint32_t CfgStoredLimit = 65000;
constexpr uint32_t CfgRawViewLength = 1407;
constexpr uint32_t CfgRawTailLength = CfgRawViewLength - CfgFixedLength;
// Stored length of a record whose eight texts are empty.
constexpr uint32_t CfgEmptyStoredLength = CfgFixedLength + 2 * CfgTextCount;

// Offsets of the fields within the fixed part (and the file). Every other byte is carried unchanged.
namespace CfgField {
constexpr uint32_t Flags = 0;                    // u32 flag set
constexpr uint32_t RecordLanguage = 22;          // u8: texts in records and folder texts (0 Ukr, 1 Rus, 2 whole)
constexpr uint32_t MessageLanguage = 23;         // u8: messages and headers (non-zero Russian)
constexpr uint32_t VersionText = 36;             // char[80]: product prefix and version, NUL-terminated
constexpr uint32_t VersionNumbers = 38;          // the version numbers alone, inside VersionText
constexpr uint32_t VersionEnd = 116;             // one past the version field
constexpr uint32_t Edition = 116;                // u8, counted from 0
constexpr uint32_t UpdateFlags1 = 147;           // u32 flag set
constexpr uint32_t UpdateFlags2 = 151;           // u32 flag set
constexpr uint32_t Setting197 = 197;             // u32 setting
constexpr uint32_t MarkedFixedColour = 1330;     // grid: marked cells that are fixed or not editable
constexpr uint32_t MarkedEditableColour = 1334;  // grid: marked editable cells
constexpr uint32_t SelectedCellColour = 1338;    // grid: the selected cell
constexpr uint32_t RowSelectionColour = 1342;    // grid: rows of the row selection
}  // namespace CfgField

class s_Cfg {
public:
    s_Cfg();  // fixed part zero, texts empty

    uint8_t Fixed[CfgFixedLength];
    AnsiString Texts[CfgTextCount];

    uint8_t Byte(uint32_t offset) const { return Fixed[offset]; }
    void SetByte(uint32_t offset, uint8_t value) { Fixed[offset] = value; }
    // Little-endian, unaligned.
    uint32_t U32(uint32_t offset) const;
    void SetU32(uint32_t offset, uint32_t value);

    uint8_t RecordLanguage() const { return Fixed[CfgField::RecordLanguage]; }
    uint8_t MessageLanguage() const { return Fixed[CfgField::MessageLanguage]; }
    uint8_t Edition() const { return Fixed[CfgField::Edition]; }
    // The version text from byte 36 (with its product prefix) or byte 38 (the numbers alone), up to
    // its NUL and never beyond the field.
    AnsiString VersionText() const;
    AnsiString VersionNumbers() const;
    // Writes the numbers at byte 38 with a NUL; false (nothing written) for more than 77 characters.
    bool SetVersionNumbers(const AnsiString &numbers);
    uint32_t GridColour(uint32_t offset) const { return U32(offset); }

    bool operator==(const s_Cfg &other) const;
};

// The process's one configuration record, reached through this pointer.
extern s_Cfg *Cfg;
// The product's configuration folder (with a trailing backslash), empty until the environment
// loader sets it.
extern AnsiString CfgFolder;

// The stored form of a record. ZError 0 naming `fileName` when it would exceed 65000 bytes.
std::vector<uint8_t> StoreCfg(const s_Cfg &cfg, const AnsiString &fileName);
// Fills the record from the first bytes of a stored form (at most 65000 are looked at; later bytes
// are ignored). A stored form cut short still fills the fixed part (missing bytes as zero) and the
// texts that fit, empties the rest and then raises ZError 0 naming `fileName`.
void ParseCfg(const uint8_t *bytes, size_t size, s_Cfg &cfg, const AnsiString &fileName);

// The update engine's view: the fixed part from the first 1375 bytes of the file's first 1407 (bytes
// the file does not have count as zero), the next 32 bytes kept as the tail.
void ReadCfgRawView(const uint8_t *bytes, size_t size, s_Cfg &cfg, uint8_t (&tail)[CfgRawTailLength]);
// The 1407-byte image the engine writes: the fixed part followed by the tail.
std::vector<uint8_t> CfgRawImage(const s_Cfg &cfg, const uint8_t (&tail)[CfgRawTailLength]);

// Loads the process's record from folder + "cfg.qmt", or from "CFG#cfg.qmt" when folder is empty.
// Errors of the file pass to the caller.
void LoadCfg(const AnsiString &folder);
// Stores the process's record into the existing "CFG#cfg.qmt" (a missing file: ZError 1); a longer
// old file keeps its tail, which loading ignores. The new file is written beside the old one (its
// name + "$") and replaces it in one step once on the disk: a failure leaves the old file as it was.
void SaveCfg();
