#include "tests/support/EveryItemUpdate.h"

#include <array>
#include <span>
#include <vector>

#include "storage/compound/dbkeys.h"
#include "tests/support/CompoundFileBuilder.h"
#include "tests/support/PatchWriter.h"
#include "tests/support/PeImageWriter.h"
#include "update/payload/Checksum.h"
#include "update/payload/PartNfo.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Record = std::array<uint32_t, 12>;

std::string Text(const Bytes &b) { return std::string(b.begin(), b.end()); }

void Expect(Record &rec, int sizeIndex, const Bytes &bytes)
{
    rec[sizeIndex] = uint32_t(bytes.size());
    rec[sizeIndex + 1] = AddChecksum(0, bytes.data(), bytes.size());
}

Bytes Patch(const Bytes &oldBytes, const Bytes &newBytes) { return WritePatch(oldBytes, newBytes); }

// A patch item from oldBytes to newBytes with the record the packaging tool writes for it.
void AddPatch(TestPayloadBuilder &payload, uint8_t type, const AnsiString &name, const Bytes &oldBytes,
              const Bytes &newBytes)
{
    Record &rec = payload.AddFile(type, name, Patch(oldBytes, newBytes));
    Expect(rec, PN_OldSize, oldBytes);
    Expect(rec, PN_NewSize, newBytes);
}

Bytes Edited(Bytes bytes, size_t at, const std::string &text)
{
    bytes.insert(bytes.begin() + long(at), text.begin(), text.end());
    return bytes;
}

}  // namespace

EveryItemUpdate MakeEveryItemUpdate(uint8_t edition)
{
    EveryItemUpdate u;
    u.Installation.VersionText = "5-3.1.1.2";
    u.Installation.Edition = edition;
    u.Payload.BaseVersion = "3.1.1.2";
    u.Payload.NewVersion = "3.1.1.5";
    u.Payload.Builds = {u.Installation.TimeStamp};
    TestPayloadBuilder &p = u.Payload;

    // The executable of each edition after the update.
    TestPeImage pe;
    pe.TimeStamp = u.Installation.TimeStamp;
    const Bytes oldExe = WritePeImage(pe);
    pe.TimeStamp = 0x5F100001;
    const Bytes newExe1 = WritePeImage(pe);
    pe.TimeStamp = 0x5F100002;
    pe.Sections = {{0x200, 0x200}, {0x400, 0x300}, {0x700, 0x100, 0xC0000040}};
    const Bytes newExe2 = WritePeImage(pe);
    AddPatch(p, PE2DIFF, "EXE\\qmt.exe", oldExe, newExe2);
    AddPatch(p, PE1DIFF, "EXE\\qmt.exe", oldExe, newExe1);
    u.Changes["EXE\\qmt.exe"] = Text(edition == 0 ? newExe1 : newExe2);

    // A file patched in the first section and again in the last.
    const Bytes text0 = PatternBytes(600, 11);
    const Bytes text1 = Edited(text0, 100, "inserted by the first patch");
    const Bytes text2 = Edited(Bytes(text1.begin() + 50, text1.end()), 400, "and by the second");
    u.OldFiles["DATA\\text.bin"] = Text(text0);
    AddPatch(p, BINDIFF, "DATA\\text.bin", text0, text1);
    u.Changes["DATA\\text.bin"] = Text(text2);

    // A file whose folder and name are Cyrillic.
    const Bytes report0 = PatternBytes(300, 17);
    const Bytes report1 = Edited(report0, 30, "отчёт за квартал");
    u.OldFiles["Данные\\отчёт.dat"] = Text(report0);
    AddPatch(p, BINDIFF, "Данные\\отчёт.dat", report0, report1);
    u.Changes["Данные\\отчёт.dat"] = Text(report1);

    p.AddSection();
    // A scrambled database; its patch is made between the plain forms.
    testdata::CompoundFileBuilder before = testdata::CompoundFileBuilder::Created(3);
    before.Commit(1, {testdata::B("первая запись"), Bytes(100, 0x41)});
    testdata::CompoundFileBuilder after = before;
    after.Commit(2, {testdata::B("новая запись"), Bytes{0x01}});
    const uint32_t key = DbbKeys[2];
    const Bytes oldPlain = before.Build(0), newPlain = after.Build(0);
    const Bytes oldDb = before.Build(key), newDb = after.Build(key);
    Record &db = p.AddFile(DBBDIFF, "DB\\base3", Patch(oldPlain, newPlain));
    Expect(db, PN_OldSize, oldDb);
    Expect(db, PN_PlainDbSize, oldPlain);
    Expect(db, PN_PatchedDbSize, newPlain);
    Expect(db, PN_NewSize, newDb);
    u.OldFiles["DB\\base3"] = Text(oldDb);
    u.Changes["DB\\base3"] = Text(newDb);

    // Whole files: one replaced, one added in folders that do not exist yet. Files of a few bytes are
    // backed up in one piece, larger ones in ten.
    u.OldFiles["DATA\\readme.txt"] = "readme";
    const Bytes readme = PatternBytes(700, 12);
    p.AddFile(ADDREPL, "DATA\\readme.txt", readme);
    u.Changes["DATA\\readme.txt"] = Text(readme);
    const Bytes nested = PatternBytes(90, 14);
    p.AddFile(ADDREPL, "NEW\\SUB\\new.txt", nested);
    u.Changes["NEW\\"] = "";
    u.Changes["NEW\\SUB\\"] = "";
    u.Changes["NEW\\SUB\\new.txt"] = Text(nested);

    // A file of each edition; only the installed edition's is delivered.
    const std::array<AnsiString, 2> editionFiles = {"DATA\\ed1.txt", "DATA\\ed2.txt"};
    for (uint32_t e = 0; e < 2; ++e) {
        u.OldFiles[editionFiles[e]] = "edition";
        const Bytes bytes = PatternBytes(60, 15 + e);
        p.AddFile(ADDREPM, editionFiles[e], bytes)[PN_UnpackedSum] = e + 1;
        if (e == edition)
            u.Changes[editionFiles[e]] = Text(bytes);
    }

    p.AddSection();
    AddPatch(p, BINDIFF, "DATA\\text.bin", text1, text2);

    u.OldFiles["DATA\\kept.txt"] = "kept";
    return u;
}
