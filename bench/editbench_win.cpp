// The cost of the compound file's one-writer hold, run under Wine by "tools/bench edits". Prints, as
// "name=value" lines, the microseconds per operation of in-place edits and of a small commit on a
// compound file on disk; exit code 0 when the work succeeded.
//   editbench.exe edits FOLDER COUNT   through the storage library as it is
//   editbench.exe floor FOLDER COUNT   the same writes with no hold: the writer lock takes nothing
// Each figure works on a fresh file of 1,000 logical files in FOLDER, with one WFile object, as a
// program editing a database does: COUNT appends of a record (each logical file's chain stays a few
// records long), COUNT inserts at the front, COUNT replacements of a logical file's first record
// (operation 5, each with a record of another length), COUNT / 10 commits of three records.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/messages/zmsg.h"
#include "framework/runtime/Cp1251.h"
#include "framework/runtime/SysUtils.h"
#include "storage/compound/dwfile.h"
#include "storage/compound/wstore.h"
#include "storage/utilities/dutilfile.h"

namespace {

constexpr uint32_t kFiles = 1000;

double Microseconds()
{
    static const LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return double(now.QuadPart) * 1e6 / double(frequency.QuadPart);
}

AnsiString FreshFile(const AnsiString &folder, const char *what)
{
    const AnsiString name = folder + "\\" + what + ".dat";
    DeleteFile(name);
    CreateCompoundFile(name, kFiles, nullptr);
    return name;
}

void Report(const char *what, double start, uint32_t count)
{
    std::printf("%s=%.2f\n", what, (Microseconds() - start) / count);
}

void Measure(const AnsiString &folder, uint32_t count)
{
    WRec rec;
    rec.Assign("a record of twenty-6", 20);
    {
        WFile f(FreshFile(folder, "append"));
        const double start = Microseconds();
        for (uint32_t i = 0; i < count; ++i)
            f.AppendRecord(1 + i % (kFiles - 1), rec);
        Report("AppendRecord", start, count);
    }
    {
        WFile f(FreshFile(folder, "insert"));
        const double start = Microseconds();
        for (uint32_t i = 0; i < count; ++i)
            f.InsertRecordAfter(1 + i % (kFiles - 1), 0, rec);
        Report("InsertRecordAfter", start, count);
    }
    {
        WFile f(FreshFile(folder, "replace"));
        std::vector<uint32_t> first(kFiles);
        for (uint32_t n = 1; n < kFiles; ++n) {
            f.AppendRecord(n, rec);
            first[n] = f.EntryPosition(n);
        }
        WRec shorter, longer;
        shorter.Assign("short one", 9);
        longer.Assign("a longer one", 12);
        const double start = Microseconds();
        for (uint32_t i = 0; i < count; ++i) {
            const uint32_t n = 1 + i % (kFiles - 1);
            first[n] = f.EditRecords(5, n, (i / (kFiles - 1)) % 2 ? longer : shorter, 0, first[n]);
        }
        Report("EditRecords5", start, count);
    }
    {
        WFile f(FreshFile(folder, "commit"));
        const uint32_t commits = count / 10 ? count / 10 : 1;
        const double start = Microseconds();
        for (uint32_t i = 0; i < commits; ++i) {
            const uint32_t n = 1 + i % (kFiles - 1);
            f.BeginWrite(n);
            for (int r = 0; r < 3; ++r)
                f.WriteRecord(0, 20, "a committed record..");
            f.EndWrite(n, true);
        }
        Report("Commit", start, commits);
    }
}

// The files on disk, with a writer lock that takes nothing: the floor makes every write and every
// read of the measured operations, and holds nothing.
class NoHold : public WStoreSystem {
public:
    explicit NoHold(WStoreSystem &disk) : disk_(disk) {}
    std::unique_ptr<WStore> Open(const AnsiString &name, int mode) override { return disk_.Open(name, mode); }
    std::unique_ptr<WStore> CreateHeld(const AnsiString &name) override { return disk_.CreateHeld(name); }
    void Delete(const AnsiString &name) override { disk_.Delete(name); }
    void Replace(const AnsiString &target, const AnsiString &replacement) override
    {
        disk_.Replace(target, replacement);
    }
    std::unique_ptr<WWriterLock> OpenWriterLock(const AnsiString &) override { return std::make_unique<Free>(); }

private:
    class Free : public WWriterLock {
    public:
        bool TryLock() override { return true; }
        void Unlock() noexcept override {}
    };
    WStoreSystem &disk_;
};

}  // namespace

int main()
{
    int argc = 0;
    wchar_t **argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc != 4)
        return 2;
    const std::wstring mode = argv[1];
    const AnsiString folder = WideToCp1251(argv[2]);
    const uint32_t count = static_cast<uint32_t>(std::wcstoul(argv[3], nullptr, 10));
    try {
        if (mode == L"edits") {
            Measure(folder, count);
        } else if (mode == L"floor") {
            NoHold floor(StoreSystem());
            SetStoreSystem(&floor);
            Measure(folder, count);
            SetStoreSystem(nullptr);
        } else {
            return 2;
        }
    } catch (const ZError &e) {
        std::fprintf(stderr, "%s\n", e.Message().c_str());
        return 1;
    }
    return 0;
}
