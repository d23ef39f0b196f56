// Fuzz target for the record-field codec. An input is one selector byte and a packed record: the
// selector picks one of a few fixed description lists. The record is scanned and unpacked; a damaged
// one may only raise ZError and must leave the list and the unpacked record as they were. One that
// reads is packed again and must give back the bytes its fields covered, and a text written into it
// must scan back to the same layout.
#include <cstring>
#include <vector>

#include "base/records/RecString.h"
#include "base/input/fun_other.h"
#include "base/messages/zmsg.h"
#include "framework/runtime/Classes.h"
#include "storage/compound/drec.h"
#include "storage/compound/fun_struct.h"
#include "storage/config/rdwr_cfg.h"
#include "tests/fuzz/FuzzTarget.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
namespace T = TabFieldType;

const std::vector<std::vector<uint8_t>> &Lists()
{
    static const std::vector<std::vector<uint8_t>> lists = {
        {T::Text, T::Int, T::Text},
        {T::ShortText82, T::ShortText81, T::Byte, T::Word, T::Double},
        {T::Text, T::Byte, T::Byte2, T::Word, T::Int, T::Int2, T::Double, T::Word2, T::Int3, T::Float, T::Text},
        {0, T::Text, 13, T::Float, 200, T::Text},
        {},
    };
    return lists;
}

class List {
public:
    explicit List(const std::vector<uint8_t> &types)
    {
        for (uint8_t type : types) {
            auto *f = new TZTabField;
            f->Name = "f" + IntToStr(list.Count());
            f->Type = type;
            list.Add(f);
        }
    }
    ~List()
    {
        for (int i = 0; i < list.Count(); ++i)
            delete static_cast<TZTabField *>(list[i]);
    }
    TZTabField &operator[](int i) const { return *static_cast<TZTabField *>(list[i]); }
    std::vector<uint32_t> Words() const
    {
        std::vector<uint32_t> words;
        for (int i = 0; i < list.Count(); ++i) {
            words.push_back((*this)[i].Type);
            words.push_back((*this)[i].Word1);
            words.push_back((*this)[i].Word2);
        }
        return words;
    }
    TList list;
};

// One past the last byte the scanned list covers.
uint32_t CoveredLength(const List &l)
{
    uint32_t end = 0;
    for (int i = 0; i < l.list.Count(); ++i) {
        const TZTabField &f = l[i];
        if (IsTextField(f.Type) || NumberFieldWidth(f.Type) != 0)
            end = f.Word1 + f.Word2;
    }
    return end;
}

void Check(const std::vector<uint8_t> &types, const std::uint8_t *data, std::size_t size)
{
    const std::span<const uint8_t> packed(data, size);
    List list(types);
    const std::vector<uint32_t> before = list.Words();
    try {
        ScanRecordLayout(packed, list.list);
    } catch (const ZError &) {
        if (list.Words() != before)
            FuzzFinding("a refused scan changed the list");
    }

    // An unpacked record holding one text, which a refused unpack must keep.
    std::vector<uint8_t> unpacked(UnpackedRecordLength(list.list), 0);
    uint32_t slot = 0;
    for (int i = 0; i < list.list.Count(); slot += UnpackedFieldWidth(list[i].Type), ++i) {
        if (IsTextField(list[i].Type)) {
            RecString::Set(unpacked.data(), slot, "kept");
            break;
        }
    }
    const std::vector<uint8_t> unpackedBefore = unpacked;
    bool read = true;
    try {
        UnpackRecordFields(list.list, packed, unpacked.data());
    } catch (const ZError &) {
        read = false;
        if (unpacked != unpackedBefore)
            FuzzFinding("a refused unpack changed the record");
    }
    if (read) {
        ScanRecordLayout(packed, list.list);  // read, so it must scan too
        const uint32_t covered = CoveredLength(list);
        WRec again;
        const uint32_t n = PackRecordFields(list.list, unpacked.data(), again);
        if (n != covered || std::memcmp(again.Data(), data, n) != 0)
            FuzzFinding("a record did not pack back to its bytes");

        // A text written into the middle must scan back to the list's layout.
        for (int i = 0; i < list.list.Count(); ++i) {
            if (!IsTextField(list[i].Type))
                continue;
            const uint32_t length = size > 0 ? data[0] % 40 : 3;
            const std::vector<uint8_t> text(length, 'q');
            try {
                SetPackedField(list.list, again, "", length, text.data(), i);
            } catch (const ZError &) {
                break;  // a record at its limit may refuse to grow
            }
            List rescanned(types);
            ScanRecordLayout(again, rescanned.list);
            if (rescanned.Words() != list.Words())
                FuzzFinding("a written text did not scan back to the list's layout");
            break;
        }
    }
    ClearRecordFields(list.list, unpacked.data());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1 || size - 1 > MaxRecordLength)
        return 0;
    // Texts unpack whole, so they pack back to the same bytes.
    const uint8_t saved = Cfg->Byte(CfgField::RecordLanguage);
    Cfg->SetByte(CfgField::RecordLanguage, 2);
    Check(Lists()[data[0] % Lists().size()], data + 1, size - 1);
    Cfg->SetByte(CfgField::RecordLanguage, saved);
    return 0;
}

std::vector<Bytes> FuzzSeedInputs()
{
    return {
        {0, 3, 0, 'a', 'b', 'c', 1, 2, 3, 4, 0, 0},
        {0, 2, 0x81, 'x', 'y', 9, 9, 9, 9, 4, 0x82, 4, 'P', 5, 'U'},
        {1, 1, 0x82, 'a', 0, 0x81, 7, 1, 2, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F},
        {2, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 0, 0},
        {3, 1, 0, 'z', 0, 0, 0x80, 0x3F, 0, 0x81},
        {4, 1, 2, 3},
    };
}
