// The record-field codec: layouts, packing and unpacking, single fields, the descriptions file.
#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <utility>
#include <vector>

#include "base/memory/Bytes.h"
#include "base/records/RecString.h"
#include "base/input/fun_other.h"
#include "base/messages/zmsg.h"
#include "framework/runtime/Classes.h"
#include "storage/compound/drec.h"
#include "storage/compound/dwfile.h"
#include "storage/compound/fun_struct.h"
#include "storage/config/rdwr_cfg.h"
#include "tests/support/CompoundFileBuilder.h"
#include "tests/support/MemFiles.h"
#include "tests/support/ZErrorMatch.h"

namespace {

using testdata::B;
using testdata::Bytes;
namespace T = TabFieldType;

// A description list that frees its fields.
class Fields {
public:
    Fields(std::initializer_list<std::pair<const char *, uint8_t>> fields)
    {
        for (const auto &[name, type] : fields) {
            auto *f = new TZTabField;
            f->Name = name;
            f->Type = type;
            list.Add(f);
        }
    }
    ~Fields()
    {
        for (int i = 0; i < list.Count(); ++i)
            delete static_cast<TZTabField *>(list[i]);
    }
    Fields(const Fields &) = delete;
    Fields &operator=(const Fields &) = delete;

    TZTabField &operator[](int i) const { return *static_cast<TZTabField *>(list[i]); }
    std::vector<std::pair<uint32_t, uint32_t>> Layout() const
    {
        std::vector<std::pair<uint32_t, uint32_t>> words;
        for (int i = 0; i < list.Count(); ++i)
            words.emplace_back((*this)[i].Word1, (*this)[i].Word2);
        return words;
    }
    TList list;
};

// An unpacked record over a list: zero-filled (every text empty), cleared when it goes.
class Unpacked {
public:
    explicit Unpacked(const Fields &fields) : fields_(fields), bytes_(UnpackedRecordLength(fields.list), 0) {}
    ~Unpacked() { ClearRecordFields(fields_.list, bytes_.data()); }
    Unpacked(const Unpacked &) = delete;
    Unpacked &operator=(const Unpacked &) = delete;

    uint8_t *Data() { return bytes_.data(); }
    const std::vector<uint8_t> &Bytes() const { return bytes_; }
    template <typename V>
    void Put(uint32_t offset, V value)
    {
        std::memcpy(bytes_.data() + offset, &value, sizeof value);
    }
    template <typename V>
    V Get(uint32_t offset) const
    {
        V value;
        std::memcpy(&value, bytes_.data() + offset, sizeof value);
        return value;
    }
    void SetText(uint32_t offset, const AnsiString &text) { RecString::Set(bytes_.data(), offset, text); }
    AnsiString Text(uint32_t offset) const { return RecString::Get(bytes_.data(), offset); }

private:
    const Fields &fields_;
    std::vector<uint8_t> bytes_;
};

Bytes RecordData(const WRec &r) { return Bytes(r.Data(), r.Data() + r.Length()); }

void Fill(WRec &r, const Bytes &bytes) { r.Assign(bytes.data(), static_cast<uint32_t>(bytes.size())); }

constexpr uint32_t P = RecString::Size;  // width of a text slot

// The record language byte of the configuration record, restored afterwards.
class RecordLanguage {
public:
    explicit RecordLanguage(uint8_t value) : saved_(Cfg->Byte(CfgField::RecordLanguage))
    {
        Cfg->SetByte(CfgField::RecordLanguage, value);
    }
    ~RecordLanguage() { Cfg->SetByte(CfgField::RecordLanguage, saved_); }

private:
    uint8_t saved_;
};

}  // namespace

TEST(FieldCodec, EmptyRecordHoldsEmptyTextsAndZeroNumbers)
{
    Fields f{{"a", T::Text}, {"b", T::ShortText82}, {"c", T::ShortText81}, {"d", T::Int}};
    WRec r;
    r.SetLink(7);
    BuildEmptyRecord(f.list, r, 0x12);
    EXPECT_EQ(RecordData(r), (Bytes{0x00, 0x00, 0x00, 0x82, 0x00, 0x81, 0x00, 0x00, 0x00, 0x00}));
    EXPECT_EQ(r.Flags(), 0x12);
    EXPECT_EQ(r.Link(), NoLink);
    EXPECT_EQ(f.Layout(), (std::vector<std::pair<uint32_t, uint32_t>>{{2, 0}, {4, 0}, {6, 0}, {6, 4}}));

    Fields odd{{"x", 0}, {"y", T::Word}, {"z", 13}, {"w", T::Double}};
    BuildEmptyRecord(odd.list, r, 0);
    EXPECT_EQ(r.Length(), 10u) << "types 0 and 13 occupy nothing";
    EXPECT_EQ(odd.Layout(), (std::vector<std::pair<uint32_t, uint32_t>>{{0, 0}, {0, 2}, {0, 0}, {2, 8}}));
}

TEST(FieldCodec, EmptyRecordTooLongForItsBufferIsRefused)
{
    Fields f{{"a", T::Double}, {"b", T::Double}};
    WRec small(12);
    Fill(small, B("keep"));
    const ZError e = CatchZError([&] { BuildEmptyRecord(f.list, small, 0); });
    EXPECT_EQ(e.Number(), 0);
    EXPECT_EQ(RecordData(small), B("keep"));
}

TEST(FieldCodec, EveryTypePacksScansAndUnpacksBack)
{
    Fields f{{"t1", T::Text},   {"t2", T::ShortText82}, {"t3", T::ShortText81}, {"b4", T::Byte},
             {"b5", T::Byte2},  {"w6", T::Word},        {"i7", T::Int},         {"i8", T::Int2},
             {"d9", T::Double}, {"w10", T::Word2},      {"i11", T::Int3},       {"f12", T::Float}};
    SetUnpackedLayout(f.list);
    EXPECT_EQ(f[0].Word1, 0u);
    EXPECT_EQ(f[0].Word2, P);
    EXPECT_EQ(f[3].Word1, 3 * P);
    EXPECT_EQ(f[8].Word1, 3 * P + 1 + 1 + 2 + 4 + 4);
    EXPECT_EQ(f[8].Word2, 8u);
    EXPECT_EQ(UnpackedRecordLength(f.list), 3 * P + 1 + 1 + 2 + 4 + 4 + 8 + 2 + 4 + 4);

    Unpacked u(f);
    u.SetText(f[0].Word1, AnsiString(300, 'x'));
    u.SetText(f[1].Word1, "Привіт");
    u.SetText(f[2].Word1, "");
    u.Put<uint8_t>(f[3].Word1, 0xFE);
    u.Put<uint8_t>(f[4].Word1, 7);
    u.Put<uint16_t>(f[5].Word1, 0xBEEF);
    u.Put<int32_t>(f[6].Word1, -5);
    u.Put<int32_t>(f[7].Word1, 0x7FFFFFFF);
    u.Put<double>(f[8].Word1, 3.25);
    u.Put<uint16_t>(f[9].Word1, 1234);
    u.Put<int32_t>(f[10].Word1, -100000);
    u.Put<float>(f[11].Word1, -0.5f);

    WRec r;
    r.SetFlags(0x80);
    const uint32_t n = PackRecordFields(f.list, u.Data(), r);
    EXPECT_EQ(n, 2 + 300 + 2 + 6 + 2 + 1 + 1 + 2 + 4 + 4 + 8 + 2 + 4 + 4u);
    EXPECT_EQ(r.Length(), n);
    EXPECT_EQ(r.Flags(), 0) << "a packed record is live";
    const Bytes data = RecordData(r);
    EXPECT_EQ(data[0], 300 & 0xFF);
    EXPECT_EQ(data[1], 300 >> 8);
    EXPECT_EQ(data[302], 6);
    EXPECT_EQ(data[303], 0x82);
    EXPECT_EQ(data[310], 0);
    EXPECT_EQ(data[311], 0x81);
    EXPECT_EQ(data[312], 0xFE);

    // A list read from the descriptions file knows only which fields are texts.
    Fields g{{"t1", T::Text},   {"t2", T::Text},   {"t3", T::Text},  {"b4", T::Byte},
             {"b5", T::Byte2},  {"w6", T::Word},   {"i7", T::Int},   {"i8", T::Int2},
             {"d9", T::Double}, {"w10", T::Word2}, {"i11", T::Int3}, {"f12", T::Float}};
    ScanRecordLayout(r, g.list);
    EXPECT_EQ(g[1].Type, T::ShortText82);
    EXPECT_EQ(g[2].Type, T::ShortText81);
    EXPECT_EQ(g.Layout(), (std::vector<std::pair<uint32_t, uint32_t>>{{2, 300},
                                                                      {304, 6},
                                                                      {312, 0},
                                                                      {312, 1},
                                                                      {313, 1},
                                                                      {314, 2},
                                                                      {316, 4},
                                                                      {320, 4},
                                                                      {324, 8},
                                                                      {332, 2},
                                                                      {334, 4},
                                                                      {338, 4}}));
    uint32_t size = 0;
    EXPECT_EQ(FieldPointer(g.list, 6, size, r), r.Data() + 316);
    EXPECT_EQ(size, 4u);

    Unpacked back(g);
    UnpackRecordFields(g.list, r, back.Data());
    EXPECT_TRUE(CompareRecordFields(f.list, u.Data(), back.Data()));
    EXPECT_EQ(back.Text(0), AnsiString(300, 'x'));
    EXPECT_EQ(back.Text(P), "Привіт");
    EXPECT_EQ(back.Get<int32_t>(f[6].Word1), -5);
    EXPECT_EQ(back.Get<float>(f[11].Word1), -0.5f);

    // Repacked through the scanned list, the bytes are the same.
    WRec again;
    PackRecordFields(g.list, back.Data(), again);
    EXPECT_EQ(RecordData(again), data);
}

TEST(FieldCodec, CopyCompareAndClear)
{
    Fields f{{"t", T::Text}, {"i", T::Int}, {"d", T::Double}, {"s", T::Float}};
    SetUnpackedLayout(f.list);
    Unpacked a(f), b(f);
    a.SetText(0, "text");
    a.Put<int32_t>(P, 42);
    a.Put<double>(P + 4, 1.0);
    a.Put<float>(P + 12, 2.0f);
    CopyRecordFields(f.list, a.Data(), b.Data());
    EXPECT_EQ(RecString::Holders(b.Data(), 0), 2) << "copies share their texts";
    EXPECT_TRUE(CompareRecordFields(f.list, a.Data(), b.Data()));

    b.Put<double>(P + 4, 1.0 + 1e-11);
    EXPECT_TRUE(CompareRecordFields(f.list, a.Data(), b.Data())) << "floats equal within 1e-10";
    b.Put<double>(P + 4, 1.0 + 1e-9);
    EXPECT_FALSE(CompareRecordFields(f.list, a.Data(), b.Data()));
    b.Put<double>(P + 4, 1.0);
    b.Put<int32_t>(P, 43);
    EXPECT_FALSE(CompareRecordFields(f.list, a.Data(), b.Data()));
    b.Put<int32_t>(P, 42);
    b.SetText(0, "Text");
    EXPECT_FALSE(CompareRecordFields(f.list, a.Data(), b.Data())) << "texts compare exactly";
    EXPECT_EQ(RecString::Holders(a.Data(), 0), 1);

    ClearRecordFields(f.list, b.Data());
    EXPECT_TRUE(RecString::IsEmpty(b.Data(), 0));
    EXPECT_EQ(b.Get<int32_t>(P), 0);
    EXPECT_EQ(b.Get<double>(P + 4), 0.0);
    EXPECT_EQ(b.Get<float>(P + 12), 0.0f);
}

TEST(FieldCodec, TwoLanguageTextsFollowTheRecordLanguage)
{
    Fields f{{"name", T::Text}, {"plain", T::ShortText82}};
    const AnsiString both = "\x04Рус\x05Укр";
    WRec r;
    BuildEmptyRecord(f.list, r, 0);
    SetPackedField(f.list, r, "name", static_cast<uint32_t>(both.size()), both.data(), 0);
    SetPackedField(f.list, r, "plain", 3, "abc", 0);
    const std::pair<uint8_t, AnsiString> cases[] = {{1, "Рус"}, {0, "Укр"}, {2, both}};
    for (const auto &[language, expected] : cases) {
        RecordLanguage byte22(language);
        Unpacked u(f);
        UnpackRecordFields(f.list, r, u.Data());
        EXPECT_EQ(u.Text(0), expected) << int(language);
        EXPECT_EQ(u.Text(P), "abc");
    }
}

TEST(FieldCodec, GrowingAndShrinkingATextInTheMiddleMovesTheRest)
{
    Fields f{{"a", T::ShortText81}, {"b", T::Text}, {"c", T::Int}, {"d", T::ShortText82}, {"none", 13}};
    WRec r;
    BuildEmptyRecord(f.list, r, 0);
    SetPackedField(f.list, r, "d", 2, "zz", 0);
    const int32_t seven = 7;
    SetPackedField(f.list, r, "c", 0, &seven, 0);
    SetPackedField(f.list, r, "", 5, "hello", 1);  // by index
    EXPECT_EQ(RecordData(r), (Bytes{0, 0x81, 5, 0, 'h', 'e', 'l', 'l', 'o', 7, 0, 0, 0, 2, 0x82, 'z', 'z'}));
    EXPECT_EQ(f.Layout(), (std::vector<std::pair<uint32_t, uint32_t>>{{2, 0}, {4, 5}, {9, 4}, {15, 2}, {0, 0}}));

    SetPackedField(f.list, r, "b", 1, "H", 0);
    EXPECT_EQ(RecordData(r), (Bytes{0, 0x81, 1, 0, 'H', 7, 0, 0, 0, 2, 0x82, 'z', 'z'}));
    EXPECT_EQ(f.Layout(), (std::vector<std::pair<uint32_t, uint32_t>>{{2, 0}, {4, 1}, {5, 4}, {11, 2}, {0, 0}}));

    // What the list says is what a scan of the result finds.
    Fields g{{"a", T::Text}, {"b", T::Text}, {"c", T::Int}, {"d", T::Text}, {"none", 13}};
    ScanRecordLayout(r, g.list);
    EXPECT_EQ(g.Layout(), f.Layout());
}

TEST(FieldCodec, ASingleFieldThatCannotBeWrittenChangesNothing)
{
    Fields f{{"a", T::ShortText82}, {"b", T::Text}, {"c", T::Word}};
    WRec r(24);
    BuildEmptyRecord(f.list, r, 0);
    SetPackedField(f.list, r, "b", 4, "four", 0);
    const Bytes before = RecordData(r);
    const auto layout = f.Layout();
    auto unchanged = [&](const char *what) {
        EXPECT_EQ(RecordData(r), before) << what;
        EXPECT_EQ(f.Layout(), layout) << what;
    };

    ZError e = CatchZError([&] { SetPackedField(f.list, r, "b", 20, AnsiString(20, 'x').data(), 0); });
    EXPECT_EQ(e.Number(), 0);
    EXPECT_NE(e.Message().find("24"), AnsiString::npos) << e.Message();
    unchanged("past the record's buffer");

    e = CatchZError([&] { SetPackedField(f.list, r, "a", 256, AnsiString(256, 'x').data(), 0); });
    EXPECT_NE(e.Message().find("a"), AnsiString::npos);
    unchanged("a short text of 256 bytes");

    e = CatchZError([&] { SetPackedField(f.list, r, "zz", 1, "x", 0); });
    EXPECT_EQ(e.Message(), "Реквизит zz отсутствует в списке описаний");
    e = CatchZError([&] { SetPackedField(f.list, r, "", 1, "x", 3); });
    EXPECT_EQ(e.Message(), "Номер реквизита 3 отсутствует в списке описаний");
    e = CatchZError([&] { SetPackedField(f.list, r, "", 1, "x", -1); });
    EXPECT_EQ(e.Message(), "Номер реквизита -1 отсутствует в списке описаний");
    unchanged("no field selected");

    f[2].Word1 = 30;  // a list that no longer matches the record
    e = CatchZError([&] { SetPackedField(f.list, r, "c", 0, "\1\2", 0); });
    EXPECT_NE(e.Message().find("c"), AnsiString::npos);
    f[2].Word1 = layout[2].first;
    unchanged("a field outside the record");

    // The largest record there may be.
    Fields big{{"t", T::Text}};
    WRec full;
    BuildEmptyRecord(big.list, full, 0);
    const AnsiString most(MaxRecordLength - 2, 'm');
    SetPackedField(big.list, full, "t", static_cast<uint32_t>(most.size()), most.data(), 0);
    EXPECT_EQ(full.Length(), MaxRecordLength);
    e = CatchZError([&] { SetPackedField(big.list, full, "t", MaxRecordLength - 1, most.data(), 0); });
    EXPECT_EQ(full.Length(), MaxRecordLength);
}

TEST(FieldCodec, FindFieldTakesTheFirstExactName)
{
    Fields f{{"Name", T::Text}, {"name", T::Double}, {"name", T::Text}};
    f[0].Word2 = 11;
    int index = 9;
    uint32_t size = 9;
    ASSERT_TRUE(FindField(f.list, "name", index, size));
    EXPECT_EQ(index, 1);
    EXPECT_EQ(size, 8u) << "a number's width";
    ASSERT_TRUE(FindField(f.list, "Name", index, size));
    EXPECT_EQ(size, 11u) << "a text's recorded size";
    EXPECT_FALSE(FindField(f.list, "nam", index, size));
    EXPECT_EQ(index, -1);
}

TEST(FieldCodec, DamagedRecordsAndMismatchedListsAreRefusedNamingTheField)
{
    Fields f{{"title", T::Text}, {"count", T::Int}};
    SetUnpackedLayout(f.list);
    Unpacked u(f);
    u.SetText(0, "kept");
    u.Put<int32_t>(P, 99);
    const std::vector<uint8_t> before = u.Bytes();
    const struct {
        Bytes packed;
        const char *field;
        const char *what;
    } cases[] = {
        {{}, "title", "no bytes at all"},
        {{5}, "title", "half a length"},
        {{5, 0, 'a', 'b'}, "title", "a text past the end"},
        {{3, 0x81, 'a', 'b'}, "title", "a short text past the end"},
        {{0xFF, 0xFF}, "title", "a huge length"},
        {{1, 0, 'a', 1, 2, 3}, "count", "a number cut short"},
    };
    for (const auto &c : cases) {
        const ZError e = CatchZError([&] { UnpackRecordFields(f.list, c.packed, u.Data()); });
        EXPECT_EQ(e.Number(), 0) << c.what;
        EXPECT_NE(e.Message().find(c.field), AnsiString::npos) << c.what << ": " << e.Message();
        EXPECT_EQ(u.Bytes(), before) << c.what;
        EXPECT_EQ(u.Text(0), "kept");

        Fields g{{"title", T::Text}, {"count", T::Int}};
        g[0].Word1 = 77;
        CatchZError([&] { ScanRecordLayout(c.packed, g.list); });
        EXPECT_EQ(g[0].Word1, 77u) << c.what << ": the list stays as it was";
    }

    // The same bytes with a description more than the record has.
    Fields longer{{"title", T::Text}, {"count", T::Int}, {"extra", T::Word}};
    const Bytes packed{1, 0, 'a', 1, 2, 3, 4};
    const ZError e = CatchZError([&] { UnpackRecordFields(longer.list, packed, u.Data()); });
    EXPECT_NE(e.Message().find("extra"), AnsiString::npos);

    WRec r;
    Fill(r, packed);
    ScanRecordLayout(r, f.list);
    uint32_t size = 0;
    f[1].Word1 = 5;  // one byte too far
    EXPECT_NE(AnsiString(CatchZError([&] { FieldPointer(f.list, 1, size, r); }).Message()).find("count"),
              AnsiString::npos);
    EXPECT_EQ(CatchZError([&] { FieldPointer(f.list, 2, size, r); }).Message(),
              "Номер реквизита 2 отсутствует в списке описаний");
}

TEST(FieldCodec, PackingBeyondTheDestinationOrAShortTextLimitIsRefused)
{
    Fields f{{"t", T::ShortText81}, {"n", T::Int}};
    SetUnpackedLayout(f.list);
    Unpacked u(f);
    u.SetText(0, AnsiString(10, 'x'));
    uint8_t out[16];
    std::memset(out, 0xAA, sizeof out);
    EXPECT_EQ(CatchZError([&] { PackRecordFields(f.list, u.Data(), out, 15); }).Number(), 0);
    EXPECT_EQ(out[0], 0xAA) << "nothing written";
    EXPECT_EQ(PackRecordFields(f.list, u.Data(), out, 16), 16u);

    u.SetText(0, AnsiString(256, 'x'));
    WRec r;
    Fill(r, B("old"));
    const ZError e = CatchZError([&] { PackRecordFields(f.list, u.Data(), r); });
    EXPECT_NE(e.Message().find("256"), AnsiString::npos);
    EXPECT_EQ(RecordData(r), B("old"));
}

// ---- the descriptions file ------------------------------------------------------------------

namespace {

Bytes Description(const AnsiString &name, uint8_t type)
{
    Bytes d;
    const Bytes n = B(name);
    AppendU16(d, static_cast<uint16_t>(n.size()));
    d.insert(d.end(), n.begin(), n.end());
    d.push_back(type);
    return d;
}

// "CFG#Riza.sfr" with logical file 2 holding two leading records and then descriptions, one deleted
// record among them and the chain continued through a link.
Bytes DescriptionsFile()
{
    auto b = testdata::CompoundFileBuilder::Created(3);
    const uint32_t first = b.Record(B("head 1"));
    b.Record(B("head 2"));
    b.Record(Description("Код", T::Int));
    b.Record(Description("gone", T::Text), testdata::kDeleted);
    const uint32_t jump = b.Record(Description("Назва", T::Text));
    b.Gap(B("garbage between records"));
    const uint32_t target = b.Record(Description("Дата", T::Word));
    b.EndRecord();
    b.SetLink(jump, target);
    b.SetEntry(2, first, b.Here() - first);
    return b.Build();
}

struct OwnedList {
    TList list;
    ~OwnedList()
    {
        for (int i = 0; i < list.Count(); ++i)
            delete static_cast<TZTabField *>(list[i]);
    }
    const TZTabField &operator[](int i) const { return *static_cast<TZTabField *>(list[i]); }
};

}  // namespace

TEST(FieldDescriptions, ReadFromTheStorageFileOpenedForTheCall)
{
    ScopedMemFiles mem;
    mem.files.Put(RizaFileName, DescriptionsFile());
    ASSERT_EQ(RizaFile, nullptr);
    OwnedList fields;
    fields.list.Add(new TZTabField);  // what the list held stays
    WRec r;
    LoadFieldDescriptions(2, fields.list, r);
    EXPECT_EQ(RizaFile, nullptr) << "the call closed what it opened";
    ASSERT_EQ(fields.list.Count(), 4);
    EXPECT_EQ(fields[1].Name, "Код");
    EXPECT_EQ(fields[1].Type, T::Int);
    EXPECT_EQ(fields[2].Name, "Назва");
    EXPECT_EQ(fields[3].Name, "Дата");
    EXPECT_EQ(fields[3].Type, T::Word);
    EXPECT_EQ(fields[3].Word1, 0u);

    // A logical file with no description, or too few records to have one.
    OwnedList none;
    LoadFieldDescriptions(0, none.list, r);
    EXPECT_EQ(none.list.Count(), 0);
}

TEST(FieldDescriptions, AnOpenStorageFileIsUsedAndLeftOpen)
{
    ScopedMemFiles mem;
    mem.files.Put(RizaFileName, DescriptionsFile());
    WFile open(RizaFileName, true);
    RizaFile = &open;
    OwnedList fields;
    WRec r;
    LoadFieldDescriptions(2, fields.list, r);
    EXPECT_EQ(RizaFile, &open);
    RizaFile = nullptr;
    EXPECT_EQ(fields.list.Count(), 3);
}

TEST(FieldDescriptions, ADamagedDescriptionOrAMissingFileAddsNothing)
{
    ScopedMemFiles mem;
    OwnedList fields;
    WRec r;
    EXPECT_THROW(LoadFieldDescriptions(2, fields.list, r), ZError) << "no storage file";
    EXPECT_EQ(RizaFile, nullptr);

    const Bytes damaged[] = {
        Bytes{9, 0, 'a', 'b'},  // a name past its record
        Bytes{2, 0, 'a', 'b'},  // no type byte
        Bytes{7},               // half a length
    };
    for (const Bytes &bad : damaged) {
        testdata::CompoundFileBuilder b(1);
        b.Commit(0, {B("h1"), B("h2"), Description("ok", T::Int), bad});
        mem.files.Put(RizaFileName, b.Build());
        const ZError e = CatchZError([&] { LoadFieldDescriptions(0, fields.list, r); });
        EXPECT_EQ(e.Number(), 0);
        EXPECT_NE(e.Message().find("Riza.sfr"), AnsiString::npos) << e.Message();
        EXPECT_EQ(fields.list.Count(), 0);
        EXPECT_EQ(RizaFile, nullptr);
    }
}
