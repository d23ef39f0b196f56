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
//   updatebench.exe runfloor UPDATER WORK
//     the floor of the update run: every item of UPDATER's payload read and decoded into WORK, every
//     target that exists copied to a backup in WORK and back over itself, and the backup read once more.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "framework/Classes.h"
#include "framework/Clock.h"
#include "framework/Cp1251.h"
#include "framework/Prompt.h"
#include "framework/SysUtils.h"
#include "update/FileOps.h"
#include "update/Lzma86.h"
#include "update/Payload.h"
#include "update/uMain.h"
#include "update/uSelKindUpdt.h"

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
    std::uint64_t TickCount() override { return SystemClock().TickCount(); }
    double seconds = 0;
};

int Run(const AnsiString &updater)
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
    return ok ? 0 : 1;
}

int Copy(const AnsiString &root, const AnsiString &parent, const AnsiString &name)
{
    FlushCount flushes;
    TForm1 form(nullptr);
    form.FormCreate(&form);
    form.Show();  // the copy's progress and protocol are shown in the main window
    form.ProductFolder = root;
    form.JournalPath = root + "qmt_bench.txt";
    form.JournalSuspended = 0;
    if (!form.OpenJournal())
        return 1;
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
    return result == SelKU_Copied ? 0 : 1;
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

int RunFloor(const AnsiString &updater, const AnsiString &work)
{
    SilentLog log;
    TPayloadInfo payload;
    if (!ReadPayloadFile(updater, log, payload))
        return 1;
    const std::wstring root = Cp1251ToWide(ExtractFilePath(updater)), folder = Cp1251ToWide(work);
    const HANDLE self =
        CreateFileW(Cp1251ToWide(updater).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    const double start = Seconds();
    double decoding = 0;
    bool ok = self != INVALID_HANDLE_VALUE && CreateDirectoryW(folder.c_str(), nullptr);
    int items = 0, backups = 0;
    std::vector<uint8_t> packed, plain;
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
        ok = ok && WriteWhole(folder + L"w" + number, plain);
        const std::wstring target = root + Cp1251ToWide(item.Name);
        if (ok && GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES) {
            const std::wstring backup = folder + L"b" + number;
            ok = CopyFileW(target.c_str(), backup.c_str(), FALSE) && CopyFileW(backup.c_str(), target.c_str(), FALSE) &&
                 ReadAll(backup, reread);
            ++backups;
        }
    }
    const double seconds = Seconds() - start;
    if (self != INVALID_HANDLE_VALUE)
        CloseHandle(self);
    std::printf("floor_s=%.3f\nfloor_decode_s=%.3f\nfloor_ok=%d\nfloor_items=%d\nfloor_backups=%d\n", seconds, decoding,
                ok ? 1 : 0, items, backups);
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
        return Run(argv[2]);
    if (mode == "copy" && argc == 5)
        return Copy(IncludeTrailingBackslash(argv[2]), IncludeTrailingBackslash(argv[3]), argv[4]);
    if (mode == "copyfloor" && (argc == 4 || (argc == 5 && std::string(argv[4]) == "compare")))
        return CopyFloor(IncludeTrailingBackslash(argv[2]), IncludeTrailingBackslash(argv[3]), argc == 5);
    if (mode == "runfloor" && argc == 4)
        return RunFloor(argv[2], IncludeTrailingBackslash(argv[3]));
    std::fprintf(stderr, "usage: updatebench.exe run UPDATER [noflush] | copy ROOT PARENT NAME [noflush] |"
                         " copyfloor ROOT OUT [compare] | runfloor UPDATER WORK\n");
    return 2;
}
