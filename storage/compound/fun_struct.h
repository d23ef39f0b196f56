#pragma once
// The record-field codec: database records between their packed form inside a WRec and an unpacked
// form in memory, driven by a list of field descriptions (TZTabField) kept in the product's storage
// file "CFG#Riza.sfr"; empty records, single fields written into a packed record, copying, comparing
// and clearing unpacked records, and the packed date fields as texts.
//
// Packed form, fields one after another in list order, little-endian, no gaps:
//   type 1 text: u16 length, the bytes          type 4, 5: u8         type 7, 8, 11: 32-bit integer
//   type 2 text: u8 length, 0x82, the bytes     type 6, 10: u16       type 9: 64-bit float
//   type 3 text: u8 length, 0x81, the bytes                           type 12: 32-bit float
// Type 0 and types above 12 occupy nothing: no layout gives them an offset or a size. A text whose
// first byte is 0x04 holds both languages.
//
// Unpacked form: one slot per field in list order, no gaps: a text is a RecString slot (one pointer
// wide), a number keeps its packed width. Text slots hold a text or are empty; a zero-filled buffer is
// an empty record, and whoever owns an unpacked record clears it (ClearRecordFields) before freeing
// it.
//
// The TZTabField words: Word1 is the offset, Word2 the size. After the layout of a packed record is
// known (ScanRecordLayout, BuildEmptyRecord) they describe the packed record, a text's offset being
// that of its first text byte and its size the text's length; after SetUnpackedLayout they describe
// the unpacked record.
//
// Every reader checks the packed data against the list: a field that does not fit the record raises
// ZError 0 naming the field, before anything is changed.
#include <cstdint>
#include <span>

#include "framework/runtime/AnsiString.h"

class TList;
class TZTabField;
class WFile;
class WRec;

// Field types of a TZTabField (the record packer of the base library numbers its own types apart).
namespace TabFieldType {
constexpr uint8_t Text = 1;         // u16 length
constexpr uint8_t ShortText82 = 2;  // u8 length, 0x82
constexpr uint8_t ShortText81 = 3;  // u8 length, 0x81
constexpr uint8_t Byte = 4;
constexpr uint8_t Byte2 = 5;
constexpr uint8_t Word = 6;
constexpr uint8_t Int = 7;
constexpr uint8_t Int2 = 8;
constexpr uint8_t Double = 9;
constexpr uint8_t Word2 = 10;
constexpr uint8_t Int3 = 11;
constexpr uint8_t Float = 12;
}  // namespace TabFieldType

// The markers after the length byte of the short text types.
constexpr uint8_t ShortText82Marker = 0x82;
constexpr uint8_t ShortText81Marker = 0x81;
constexpr uint32_t ShortTextLimit = 255;

bool IsTextField(uint8_t type);
// Bytes of a number in both forms; 0 for texts and for types that occupy nothing.
uint32_t NumberFieldWidth(uint8_t type);
// Bytes of the field's slot in an unpacked record.
uint32_t UnpackedFieldWidth(uint8_t type);
// Bytes of an unpacked record over the list.
uint32_t UnpackedRecordLength(const TList &list);

// The storage file of the field descriptions and of the grid table's screens, and the process-wide
// pointer to it once opened. Whoever puts a file there and keeps it open owns it for the process.
extern const char RizaFileName[];  // "CFG#Riza.sfr"
extern WFile *RizaFile;

// Appends one description per record of logical file n after its first two: the name as a u16-length
// text, then the type byte; offset and size 0. When RizaFile is empty the file is opened read-only
// for the call and closed again, leaving the pointer empty. record is the read buffer. A record too
// short for its name or type raises ZError 0 and appends nothing; errors of the file pass through.
void LoadFieldDescriptions(uint32_t n, TList &list, WRec &record);

// Sets offsets, sizes and the text types (from the marker after the length byte) from an actual
// packed record.
void ScanRecordLayout(const WRec &record, TList &list);
void ScanRecordLayout(std::span<const uint8_t> packed, TList &list);
// Offsets from 0 in list order and the unpacked widths.
void SetUnpackedLayout(TList &list);

// The address of field `index`'s bytes in the packed record (as the list describes them) and their
// count; ZError 0 when the index lies outside the list or the bytes outside the record.
uint8_t *FieldPointer(const TList &list, int index, uint32_t &size, WRec &record);
// The first description named exactly `name`: its index and its size (the recorded size for a text,
// the width for a number). False, index -1 and size 0, when there is none.
bool FindField(const TList &list, const AnsiString &name, int &index, uint32_t &size);

// Writes one field into a packed record laid out by the list: selected by name, or by index when
// the name is empty. A text takes newLength bytes from source, moving the rest of the record and the
// following fields' offsets; a number takes its width. ZError 0 when no field is selected, when the
// record would outgrow its buffer or MaxRecordLength, when a short text would pass 255 bytes, or when
// the field lies outside the record; the record is then unchanged.
void SetPackedField(TList &list, WRec &record, const AnsiString &name, uint32_t newLength, const void *source,
                    int index);

// Fills the unpacked record from packed bytes. A two-language text is reduced to the part chosen by
// byte 22 of the configuration record (0 Ukrainian, 1 Russian, 2 whole). A record that does not
// match the list raises ZError 0 naming the field and leaves the unpacked record as it was.
void UnpackRecordFields(const TList &list, std::span<const uint8_t> packed, void *unpacked);
void UnpackRecordFields(const TList &list, const WRec &record, void *unpacked);
// Writes the packed form into destination and returns its length. ZError 0 (nothing written) when it
// would pass capacity, or a short text 255 bytes.
uint32_t PackRecordFields(const TList &list, const void *unpacked, uint8_t *destination, uint32_t capacity);
// The same into a record, as a live record (flags 0) of that length, within the record's limit.
uint32_t PackRecordFields(const TList &list, const void *unpacked, WRec &record);

// Slot by slot: copied texts are shared, not duplicated.
void CopyRecordFields(const TList &list, const void *source, void *destination);
// True when every field is equal: texts exactly, integers by value, floats within 1e-10.
bool CompareRecordFields(const TList &list, const void *a, const void *b);
// Texts empty, numbers zero.
void ClearRecordFields(const TList &list, void *unpacked);

// A record of empty fields (texts of length 0, numbers 0) with the given flags and no link; sets the
// list to its packed layout. ZError 0 when it would not fit the record.
void BuildEmptyRecord(TList &list, WRec &record, uint8_t flags);

// ---- packed date fields ----------------------------------------------------------------------
// day + month * 32 + year value * 512, the year value counting from 2000 for years from 2000 and from
// 1900 before, so the field holds 1990-2089 (a value of 90 or more reads back as 19xx). A day outside
// 0-31, a month outside 0-12 or a year outside 1990-2089 gives 0, the empty date.
uint16_t PackFieldDate(int day, int month, int year);
void UnpackFieldDate(uint16_t packed, int &day, int &month, int &year);
// The packed date in the high half, hour * 2048 + minute * 32 + second / 2 in the low half; a time
// outside 00:00:00-23:59:59 gives 0.
uint32_t PackFieldDateTime(int day, int month, int year, int hour, int minute, int second);
// "dd.mm.yyyy".
AnsiString FieldDateText(uint16_t packed);
// The date text and, when the time half is not 0, "/hh.mm.ss".
AnsiString FieldDateTimeText(uint32_t packed);
// Today's date of the clock in force as "dd.mm.yyyy".
AnsiString TodayDateText();
// Reads "day.month.year" (blanks around it allowed): month 1-12, a day of that month (29 February in
// years divisible by 4), a year of 100 or more as written within 1990-2089, 0-89 as 20xx and 90-99 as
// 19xx. With zeroDateAllowed, "00.00.2000" reads as 01.01.2000. Returns 0 and fills the packed date,
// the month and the full year; any other text returns 1 and leaves them as they were.
int ParseDateText(const AnsiString &text, uint16_t &packed, int &month, int &year, bool zeroDateAllowed);
// Day, month and year from the fixed places of "dd.mm.yyyy"; false for a shorter text or a place
// that is not all digits.
bool ReadFixedDateText(const AnsiString &text, int &day, int &month, int &year);
