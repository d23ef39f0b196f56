// The record/text field converter.
#include "base/records/RecordText.h"

#include "base/memory/Bytes.h"
#include "base/numbers/CursorFormat.h"
#include "base/records/RecString.h"

namespace {

std::uint32_t FieldOffset(const std::uint8_t *field) { return LoadU32(field + 1); }

char *At(void *record, std::uint32_t offset) { return static_cast<char *>(record) + offset; }
const char *At(const void *record, std::uint32_t offset) { return static_cast<const char *>(record) + offset; }

// Stores one field from its text (empty text: the empty value).
void StoreField(void *record, const std::uint8_t *field, const AnsiString &text)
{
    std::uint32_t offset = FieldOffset(field);
    const char *cursor = text.c_str();
    switch (field[0]) {
    case FieldType::U8: *At(record, offset) = static_cast<char>(CursorReadDecimal(cursor)); break;
    case FieldType::Char: *At(record, offset) = text.empty() ? '\0' : text[0]; break;
    case FieldType::U16: StoreU16(At(record, offset), static_cast<std::uint16_t>(CursorReadDecimal(cursor))); break;
    case FieldType::U32: StoreU32(At(record, offset), static_cast<std::uint32_t>(CursorReadDecimal(cursor))); break;
    case FieldType::Hex32: StoreU32(At(record, offset), CursorReadNumber(cursor)); break;
    case FieldType::Text: RecString::Set(record, offset, text); break;
    default: break;
    }
}

AnsiString FieldText(const void *record, const std::uint8_t *field)
{
    std::uint32_t offset = FieldOffset(field);
    switch (field[0]) {
    case FieldType::U8: return FormatUnsigned(static_cast<std::uint8_t>(*At(record, offset)), true);
    case FieldType::Char: {
        char c = *At(record, offset);
        return c == '\0' ? AnsiString() : AnsiString(1, c);
    }
    case FieldType::U16: return FormatUnsigned(LoadU16(At(record, offset)), true);
    case FieldType::U32: return FormatUnsigned(LoadU32(At(record, offset)), true);
    case FieldType::Hex32: return FormatHexWord(LoadU32(At(record, offset)));
    case FieldType::Text: return RecString::Get(record, offset);
    default: return AnsiString();
    }
}

}  // namespace

void AppendFieldDescriptor(std::vector<std::uint8_t> &fields, std::uint8_t type, std::uint32_t offset)
{
    fields.push_back(type);
    AppendU32(fields, offset);
    AppendU32(fields, 0);
}

void TextToRecord(void *record, const std::uint8_t *fields, std::string_view text)
{
    // The text ends at its first NUL, as a text read at a cursor does.
    text = text.substr(0, text.find('\0'));
    std::size_t at = 0;
    bool ended = false;
    for (const std::uint8_t *field = fields; field[0] != FieldType::End; field += FieldDescriptorSize) {
        AnsiString value;
        if (!ended) {
            std::size_t stop = text.find_first_of("\x01\x02", at);
            if (stop == std::string_view::npos)
                stop = text.size();
            value.assign(text.substr(at, stop - at));
            if (stop < text.size() && text[stop] == FieldSeparator) {
                at = stop + 1;
            } else {
                ended = true;
            }
        }
        StoreField(record, field, value);
    }
}

AnsiString RecordToText(const void *record, const std::uint8_t *fields)
{
    AnsiString text;
    for (const std::uint8_t *field = fields; field[0] != FieldType::End; field += FieldDescriptorSize) {
        text += FieldText(record, field);
        text += FieldSeparator;
    }
    AppendFieldTextEnd(text);
    return text;
}

void AppendFieldTextEnd(AnsiString &text) { text += FieldTextEnd; }

void ClearRecordFields(void *record, const std::uint8_t *fields)
{
    for (const std::uint8_t *field = fields; field[0] != FieldType::End; field += FieldDescriptorSize)
        StoreField(record, field, AnsiString());
}
