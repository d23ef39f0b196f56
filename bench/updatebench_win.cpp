// The whole-run benchmark's Windows side, run under Wine by tools/bench. Each mode prints its figures as
// "name=value" lines; exit code 0 when the work succeeded.
//   updatebench.exe run UPDATER [noflush]
//     the update run of the engine (the main window's run, as its first activation performs it) on the
//     installation UPDATER lies in; the question at its end is answered No through the prompt seam.
//     The time the run spends waiting for the product to close is reported on its own (wait_s).
//   updatebench.exe copy ROOT PARENT NAME [noflush]
//     the update variant that copies the installation in ROOT into PARENT\NAME: the variant dialog with
//     the main window's drive scan and journaled copy, its questions answered through the prompt seam.
//   Both count the flushes of the journal and the backups; with "noflush" they are passed over, so the
//     two figures show what writing through to the disk costs.
//   updatebench.exe copyfloor ROOT OUT [compare]
//     the floor of the copy: every file in the folders of ROOT copied into OUT with CopyFileW (folders
//     made first), and with "compare" each copy then read back beside its source and compared.
//   updatebench.exe runfloor UPDATER WORK [apply [noflush]]
//     the floor of the update run: every item of UPDATER's payload read once and decoded into WORK, every
//     target that exists copied to a backup in WORK and back over itself, and the backup read once more.
//     With "apply", the work the run must do and nothing more, in plain code without journal, window or
//     checks: each item read once and decoded into WORK; each target that exists read once, written to
//     its backup, the backup written through to the disk and read back against the target's bytes, a
//     line naming the change appended to a file of lines and written through (the two flushes the
//     journal's write-ahead rule needs before a change of an existing file); then the item's change:
//     a patch applied with the engine's patch transform, a database re-keyed to plain, patched and
//     re-keyed back in memory, a new file moved into place; at the end the configuration file, backed up
//     in the same way, marked as updated, and WORK removed. With "noflush" the flushes are passed over.
//   updatebench.exe guard WORK
//     the CI's slowdown guard over "run", "copy" and their floors (bench/SlowdownGuard.h).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench/SlowdownGuard.h"
#include "framework/runtime/Classes.h"
#include "framework/runtime/Clock.h"
#include "framework/runtime/Cp1251.h"
#include "framework/windows/Prompt.h"
#include "framework/runtime/SysUtils.h"
#include "update/apply/ApplyPlan.h"
#include "update/patch/BinPatch.h"
#include "update/patch/DbbRekey.h"
#include "update/apply/FileOps.h"
#include "update/payload/Lzma86.h"
#include "update/payload/Payload.h"
#include "update/run/uMain.h"
#include "update/variant/uSelKindUpdt.h"

namespace {

double Seconds()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return double(now.QuadPart) / double(frequency.QuadPart);
}

bool Logged(TForm1 &form, const AnsiString &part)
{
    for (int i = 0; i < form.LsBx_Prot->Items()->Count(); ++i)
        if (form.LsBx_Prot->Items()->Strings(i).find(part) != AnsiString::npos)
            return true;
    return false;
}

// Every message box is answered No (the offer to start the product), every modal form by `onForm`.
class Answers {
public:
    explicit Answers(std::function<int(TObject *form)> onForm = {})
    {
        previous_ = SetPromptHandler([onForm, this](const TPrompt &p) -> std::optional<TPromptAnswer> {
            ++count;
            if (p.Kind == TPromptKind::ModalForm && onForm)
                return TPromptAnswer{onForm(p.Form), {}};
            return TPromptAnswer{p.Kind == TPromptKind::MessageBox ? yes : idCancel, {}};
        });
    }
    ~Answers() { SetPromptHandler(previous_); }
    int count = 0;
    int yes = idNo;

private:
    TPromptHandler previous_;
};

// Counts the engine's flushes; every operation is made.
class FlushCount : public TFileOpGate {
public:
    FlushCount() : previous_(SetFileOpGate(this)) {}
    ~FlushCount() override { SetFileOpGate(previous_); }
    uint32_t Before(TFileOp kind, const AnsiString &) override
    {
        if (kind == TFileOp::Flush)
            ++count;
        return 0;
    }
    int count = 0;

private:
    TFileOpGate *previous_;
};

// The system clock, with the time spent in its waits added up.
class WaitClock : public TClock {
public:
    TDateTime Now() override { return SystemClock().Now(); }
    void Sleep(unsigned milliseconds) override
    {
        const double start = Seconds();
        SystemClock().Sleep(milliseconds);
        seconds += Seconds() - start;
    }
    void SleepServing(unsigned milliseconds, const std::function<void()> &serve) override
    {
        const double start = Seconds();
        SystemClock().SleepServing(milliseconds, serve);
        seconds += Seconds() - start;
    }
    std::uint64_t TickCount() override { return SystemClock().TickCount(); }
    double seconds = 0;
};

// Ends the process once a mode that shows windows has printed its figures, its windows still up: under
// Wine on a screen without a window manager, taking a shown window down waits two seconds for a window
// manager that is not there, most of the time of a whole step.
[[noreturn]] void EndProcess(int code)
{
    std::fflush(stdout);
    std::fflush(stderr);
    ExitProcess(UINT(code));
}

[[noreturn]] void Run(const AnsiString &updater)
{
    FlushCount flushes;
    WaitClock clock;
    TClockOverride clockOverride(clock);
    TForm1 form(nullptr);
    form.SelfPath = updater;
    Answers answers;
    // As in the program: the run happens in the shown window, its list and progress bar painted.
    form.Show();
    const double start = Seconds();
    form.FormActivate(&form);
    const double seconds = Seconds() - start;
    const bool ok = Logged(form, "Программа выполнена успешно");
    std::printf("run_s=%.3f\nwait_s=%.3f\nrun_ok=%d\nprompts=%d\nrun_flushes=%d\n", seconds, clock.seconds, ok ? 1 : 0,
                answers.count, flushes.count);
    if (!ok)
        for (int i = 0; i < form.LsBx_Prot->Items()->Count(); ++i)
            std::fprintf(stderr, "%s\n", form.LsBx_Prot->Items()->Strings(i).c_str());
    EndProcess(ok ? 0 : 1);
}

[[noreturn]] void Copy(const AnsiString &root, const AnsiString &parent, const AnsiString &name)
{
    FlushCount flushes;
    TForm1 form(nullptr);
    form.FormCreate(&form);
    form.Show();  // the copy's progress and protocol are shown in the main window
    form.ProductFolder = root;
    form.JournalPath = root + "qmt_bench.txt";
    form.JournalSuspended = 0;
    if (!form.OpenJournal())
        EndProcess(1);
    auto *dialog = new TFrm_SelKU(nullptr);
    dialog->AfterConstruction();
    dialog->JournalPath = form.JournalPath;
    dialog->UpdaterPath = root + "qmtupdt.exe";
    dialog->Log = [&form](int8_t index, const AnsiString &text, bool newLine) {
        return form.Log(index, text, newLine);
    };
    dialog->LogCmd = [&form](int32_t code, const AnsiString &text) { return form.LogCmd(code, text); };
    dialog->FlushJournal = [&form] { return form.FlushJournal(); };
    dialog->SecurityProducts = [] { return AnsiString(); };  // the machine's security query is not the copy's work

    Answers answers([&](TObject *) {
        dialog->Ed_NewFolder->SetText(parent);
        dialog->Ed_CloneName->SetText(name);
        dialog->Btn_NextClick(nullptr);
        return dialog->ModalResult();
    });
    answers.yes = idYes;  // the copy's folder may be made
    const double start = Seconds();
    const int result = dialog->Execute(
        name, 0, 0, root, [&form](uint64_t c, uint64_t b, char &drive) { return form.ScanDrives(c, b, drive); },
        [&form](const AnsiString &source, const AnsiString &destination, bool force, bool once) {
            return form.CopyFileJournaled(source, destination, force, once);
        });
    const double seconds = Seconds() - start;
    std::printf("copy_s=%.3f\ncopy_ok=%d\ncopy_files=%d\ncopy_MB=%.1f\ncopy_flushes=%d\n", seconds,
                result == SelKU_Copied ? 1 : 0, dialog->CopyList->Count(), double(dialog->CopySize) / (1 << 20),
                flushes.count);
    dialog->Free();
    form.CloseJournal();
    DeleteFile(form.JournalPath);
    EndProcess(result == SelKU_Copied ? 0 : 1);
}

// A file read whole, in pieces of 1 MB.
class Reader {
public:
    explicit Reader(const std::wstring &name)
        : handle_(CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr))
    {}
    ~Reader()
    {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
    }
    bool Open() const { return handle_ != INVALID_HANDLE_VALUE; }
    // Bytes read into `buffer` (0 at the end, -1 on a failure).
    long Next(std::vector<char> &buffer)
    {
        DWORD n = 0;
        return ReadFile(handle_, buffer.data(), DWORD(buffer.size()), &n, nullptr) ? long(n) : -1;
    }

private:
    HANDLE handle_;
};

constexpr size_t kPiece = 1 << 20;

bool ReadAll(const std::wstring &name, uint64_t &bytes)
{
    Reader in(name);
    static std::vector<char> buffer(kPiece);
    if (!in.Open())
        return false;
    for (long n; (n = in.Next(buffer)) != 0;) {
        if (n < 0)
            return false;
        bytes += uint64_t(n);
    }
    return true;
}

bool SameContent(const std::wstring &a, const std::wstring &b)
{
    Reader ra(a), rb(b);
    static std::vector<char> ba(kPiece), bb(kPiece);
    if (!ra.Open() || !rb.Open())
        return false;
    for (;;) {
        const long na = ra.Next(ba), nb = rb.Next(bb);
        if (na < 0 || na != nb || std::memcmp(ba.data(), bb.data(), size_t(na)) != 0)
            return false;
        if (na == 0)
            return true;
    }
}

struct TreeCopy {
    bool compare = false;
    bool ok = true;
    int files = 0;
    uint64_t bytes = 0;

    void Folder(const std::wstring &from, const std::wstring &to, bool root)
    {
        WIN32_FIND_DATAW found;
        const HANDLE find = FindFirstFileW((from + L"*").c_str(), &found);
        if (find == INVALID_HANDLE_VALUE) {
            ok = false;
            return;
        }
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                ok = ok && CreateDirectoryW((to + name).c_str(), nullptr);
                Folder(from + name + L"\\", to + name + L"\\", false);
            } else if (!root) {  // the files in the root itself (the updater, the journal) are not copied
                ok = ok && CopyFileW((from + name).c_str(), (to + name).c_str(), FALSE) &&
                     (!compare || SameContent(from + name, to + name));
                ++files;
                bytes += uint64_t(found.nFileSizeHigh) << 32 | found.nFileSizeLow;
            }
        } while (ok && FindNextFileW(find, &found));
        FindClose(find);
    }
};

int CopyFloor(const AnsiString &root, const AnsiString &out, bool compare)
{
    TreeCopy copy;
    copy.compare = compare;
    const double start = Seconds();
    copy.ok = CreateDirectoryW(Cp1251ToWide(out).c_str(), nullptr);
    copy.Folder(Cp1251ToWide(root), Cp1251ToWide(out), true);
    const double seconds = Seconds() - start;
    std::printf("floor_s=%.3f\nfloor_ok=%d\nfloor_files=%d\nfloor_MB=%.1f\n", seconds, copy.ok ? 1 : 0, copy.files,
                double(copy.bytes) / (1 << 20));
    return copy.ok ? 0 : 1;
}

class SilentLog : public TRunLog {
public:
    bool Log(int8_t, const AnsiString &, bool) override { return true; }
    bool CheckStep(bool result, bool) override { return result; }
    void SetRunCaption(const AnsiString &) override {}
    void ShowRunError(int, const std::vector<AnsiString> &) override {}
};

bool WriteWhole(const std::wstring &name, const std::vector<uint8_t> &bytes)
{
    const HANDLE out = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (out == INVALID_HANDLE_VALUE)
        return false;
    DWORD n = 0;
    const bool ok = WriteFile(out, bytes.data(), DWORD(bytes.size()), &n, nullptr) && n == bytes.size();
    CloseHandle(out);
    return ok;
}

// A file's whole content, read with one call.
bool ReadWhole(const std::wstring &name, std::vector<uint8_t> &bytes)
{
    const HANDLE in = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (in == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size;
    DWORD n = 0;
    bool ok = GetFileSizeEx(in, &size) && size.QuadPart < (1ll << 31);
    if (ok) {
        bytes.resize(size_t(size.QuadPart));
        ok = bytes.empty() || (ReadFile(in, bytes.data(), DWORD(bytes.size()), &n, nullptr) && n == bytes.size());
    }
    CloseHandle(in);
    return ok;
}

// What the floor of the update run does beside decoding: with `apply` each item's own change (the
// patch applied, a database re-keyed to plain, patched and re-keyed back, a new file moved into place)
// and the write-ahead flushes before each change of an existing file; without it, the touched file is
// copied to a backup and back.
struct RunFloorWork {
    bool apply = false;
    bool flush = true;
    HANDLE lines = INVALID_HANDLE_VALUE;  // the stand-in of the journal: one plain line per change
    int flushes = 0;

    bool Flush(HANDLE file)
    {
        ++flushes;
        return !flush || FlushFileBuffers(file);
    }
    // The old file copied to the backup from memory, written through and read back against it; then
    // the line that names the change, written through.
    bool BackUp(const std::wstring &backup, const std::vector<uint8_t> &old, std::vector<uint8_t> &check)
    {
        const HANDLE out = CreateFileW(backup.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (out == INVALID_HANDLE_VALUE)
            return false;
        DWORD n = 0;
        bool ok = (old.empty() || (WriteFile(out, old.data(), DWORD(old.size()), &n, nullptr) && n == old.size())) &&
                  Flush(out);
        CloseHandle(out);
        ok = ok && ReadWhole(backup, check) && check == old;
        const std::string line = "backup " + std::to_string(old.size()) + "\r\n";
        return ok && WriteFile(lines, line.data(), DWORD(line.size()), &n, nullptr) && Flush(lines);
    }
};

// A new database file: the old one re-keyed to plain, patched and re-keyed back, all in memory.
bool PatchDatabase(const TPartNfo &item, const std::vector<uint8_t> &old, const std::vector<uint8_t> &patch,
                   std::vector<uint8_t> &result)
{
    const int32_t key = DbbKeyForFile(item.Name);
    if (key == NoDbbKey)
        return false;
    TMemorySource scrambled(old);
    TMemoryStore plain;
    if (!RekeyDbb(scrambled, plain, uint32_t(key), 0, {}).Ok())
        return false;
    const PatchPlan plan = PlanPatch(plain.Bytes(), patch);
    if (!plan.Ok())
        return false;
    std::vector<uint8_t> patched(plan.newSize);
    ApplyPatchPlan(plan, plain.Bytes(), patch, patched);
    TMemorySource from(patched);
    TMemoryStore to;
    if (!RekeyDbb(from, to, 0, uint32_t(key), {}).Ok())
        return false;
    result = to.Bytes();
    return true;
}

// Removes a folder with everything in it.
bool RemoveTree(const std::wstring &folder)
{
    WIN32_FIND_DATAW found;
    const HANDLE find = FindFirstFileW((folder + L"*").c_str(), &found);
    bool ok = find != INVALID_HANDLE_VALUE;
    while (ok) {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            ok = found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? RemoveTree(folder + name + L"\\")
                                                                   : DeleteFileW((folder + name).c_str());
        if (ok && !FindNextFileW(find, &found))
            break;
    }
    if (find != INVALID_HANDLE_VALUE)
        FindClose(find);
    return ok && RemoveDirectoryW(folder.c_str());
}

int RunFloor(const AnsiString &updater, const AnsiString &work, RunFloorWork floor)
{
    const double start = Seconds();
    SilentLog log;
    TPayloadInfo payload;  // the seal checked and the directory read, as the run does first
    if (!ReadPayloadFile(updater, log, payload))
        return 1;
    const std::wstring root = Cp1251ToWide(ExtractFilePath(updater)), folder = Cp1251ToWide(work);
    const HANDLE self =
        CreateFileW(Cp1251ToWide(updater).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    double decoding = 0;
    bool ok = self != INVALID_HANDLE_VALUE && CreateDirectoryW(folder.c_str(), nullptr);
    if (ok && floor.apply) {
        floor.lines = CreateFileW((folder + L"lines.txt").c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                  CREATE_ALWAYS, 0, nullptr);
        ok = floor.lines != INVALID_HANDLE_VALUE;
    }
    int items = 0, backups = 0;
    std::vector<uint8_t> packed, plain, old, check, result;
    uint64_t reread = 0;
    for (const TPartNfo &item : payload.Items) {
        if (!ok)
            break;
        if (item.Type == SECTION)
            continue;
        // The item's stream follows its type byte, its name and the name's framing.
        const uint64_t header = item.Name.size() + 7;
        packed.resize(size_t(item.Rec[PN_ItemLength] - header));
        LARGE_INTEGER at;
        at.QuadPart = LONGLONG(item.Position + header);
        DWORD n = 0;
        uint64_t size = 0;
        ok = SetFilePointerEx(self, at, nullptr, FILE_BEGIN) &&
             ReadFile(self, packed.data(), DWORD(packed.size()), &n, nullptr) && n == packed.size() &&
             GetLzma86UnpackSize(packed.data(), packed.size(), size);
        if (!ok)
            break;
        plain.resize(size_t(size));
        const double t = Seconds();
        ok = Lzma86Decode(packed.data(), packed.size(), plain.data(), plain.size(), {});
        decoding += Seconds() - t;
        const std::wstring number = std::to_wstring(items++);
        const std::wstring unpacked = folder + L"w" + number;
        ok = ok && WriteWhole(unpacked, plain);
        const std::wstring target = root + Cp1251ToWide(item.Name);
        const bool exists = GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES;
        const std::wstring backup = folder + L"b" + number;
        if (!floor.apply) {
            if (ok && exists) {
                ok = CopyFileW(target.c_str(), backup.c_str(), FALSE) &&
                     CopyFileW(backup.c_str(), target.c_str(), FALSE) && ReadAll(backup, reread);
                ++backups;
            }
            continue;
        }
        if (ok && exists) {
            ok = ReadWhole(target, old) && floor.BackUp(backup, old, check);
            ++backups;
        }
        if (!ok)
            break;
        if (item.Type == BINDIFF || item.Type == DBBDIFF) {
            if (item.Type == BINDIFF) {
                const PatchPlan plan = PlanPatch(old, plain);
                ok = plan.Ok();
                if (ok) {
                    result.resize(plan.newSize);
                    ApplyPatchPlan(plan, old, plain, result);
                }
            } else {
                ok = PatchDatabase(item, old, plain, result);
            }
            ok = ok && WriteWhole(target, result) && DeleteFileW(unpacked.c_str());
        } else if (item.Type == ADDREPL) {
            if (exists)
                ok = DeleteFileW(target.c_str());
            else
                ok = ForceDirectories(ExtractFilePath(WideToCp1251(target)));
            ok = ok && MoveFileW(unpacked.c_str(), target.c_str());
        } else {
            ok = false;  // the data set has no other kinds
        }
    }
    if (ok && floor.apply) {  // the configuration file marked as updated, backed up first
        const std::wstring config = root + L"Cfg\\CFG.QMT";
        ok = ReadWhole(config, old) && old.size() >= ConfigChangeSpan && floor.BackUp(folder + L"cfg", old, check);
        for (const TCfgEdit &edit : ok ? ConfigChangeEdits(old, payload.NewVersion) : std::vector<TCfgEdit>{})
            std::copy(edit.Bytes.begin(), edit.Bytes.end(), old.begin() + edit.Offset);
        ok = ok && WriteWhole(config, old);
    }
    if (self != INVALID_HANDLE_VALUE)
        CloseHandle(self);
    if (floor.lines != INVALID_HANDLE_VALUE)
        CloseHandle(floor.lines);
    ok = ok && (!floor.apply || RemoveTree(folder));  // the backups and what is left of the work go at the end
    const double seconds = Seconds() - start;
    std::printf("floor_s=%.3f\nfloor_decode_s=%.3f\nfloor_ok=%d\nfloor_items=%d\nfloor_backups=%d\nfloor_flushes=%d\n",
                seconds, decoding, ok ? 1 : 0, items, backups, floor.flushes);
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char **argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if ((mode == "run" && argc == 4) || (mode == "copy" && argc == 6)) {
        if (std::string(argv[argc - 1]) != "noflush")
            return 2;
        SetFileFlushes(false);
        --argc;
    }
    if (mode == "run" && argc == 3)
        Run(argv[2]);
    if (mode == "copy" && argc == 5)
        Copy(IncludeTrailingBackslash(argv[2]), IncludeTrailingBackslash(argv[3]), argv[4]);
    if (mode == "copyfloor" && (argc == 4 || (argc == 5 && std::string(argv[4]) == "compare")))
        return CopyFloor(IncludeTrailingBackslash(argv[2]), IncludeTrailingBackslash(argv[3]), argc == 5);
    if (mode == "runfloor" && argc >= 4 && argc <= 6) {
        RunFloorWork floor;
        floor.apply = argc > 4 && std::string(argv[4]) == "apply";
        floor.flush = argc < 6 || std::string(argv[5]) != "noflush";
        if ((argc > 4 && !floor.apply) || (argc == 6 && floor.flush))
            return 2;
        return RunFloor(argv[2], IncludeTrailingBackslash(argv[3]), floor);
    }
    if (mode == "guard" && argc == 3)
        return SlowdownGuard(argv[2]);
    std::fprintf(stderr, "usage: updatebench.exe run UPDATER [noflush] | copy ROOT PARENT NAME [noflush] |"
                         " copyfloor ROOT OUT [compare] | runfloor UPDATER WORK [apply [noflush]] | guard WORK\n");
    return 2;
}
