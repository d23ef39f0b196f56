// The whole-run benchmark's Windows side, run under Wine by tools/bench. Each mode prints its figures as
// "name=value" lines; exit code 0 when the work succeeded.
//   updatebench.exe run UPDATER [noflush]
//     the update run of the engine (the main window's run, as its first activation performs it) on the
//     installation UPDATER lies in; the question at its end is answered No through the prompt seam.
//   updatebench.exe copy ROOT PARENT NAME [noflush]
//     the update variant that copies the installation in ROOT into PARENT\NAME: the variant dialog with
//     the main window's drive scan and journaled copy, its questions answered through the prompt seam.
//   Both count the flushes of the journal and the backups; with "noflush" they are passed over, so the
//   two figures show what writing through to the disk costs.
//   updatebench.exe floor LIST BASE OUT
//     the floor's copies: every file of LIST (paths relative to BASE, one a line) copied twice into OUT.
#include <windows.h>

#include <cstdio>
#include <string>

#include "framework/Classes.h"
#include "framework/Cp1251.h"
#include "framework/Prompt.h"
#include "framework/SysUtils.h"
#include "update/FileOps.h"
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

int Run(const AnsiString &updater)
{
    FlushCount flushes;
    TForm1 form(nullptr);
    form.SelfPath = updater;
    Answers answers;
    const double start = Seconds();
    form.FormActivate(&form);
    const double seconds = Seconds() - start;
    const bool ok = Logged(form, "Программа выполнена успешно");
    std::printf("run_s=%.3f\nrun_ok=%d\nprompts=%d\nrun_flushes=%d\n", seconds, ok ? 1 : 0, answers.count,
                flushes.count);
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

int Floor(const AnsiString &list, const AnsiString &base, const AnsiString &out)
{
    TStringList lines;
    lines.LoadFromFile(list);
    std::vector<AnsiString> files;
    for (int i = 0; i < lines.Count(); ++i)
        if (!lines.Strings(i).empty())
            files.push_back(lines.Strings(i));
    ForceDirectories(out + "backup");
    ForceDirectories(out + "result");
    const double start = Seconds();
    bool ok = true;
    for (size_t i = 0; i < files.size(); ++i) {
        const std::wstring source = Cp1251ToWide(base + files[i]);
        const std::wstring number = std::to_wstring(i);
        ok = ok && CopyFileW(source.c_str(), (Cp1251ToWide(out) + L"backup\\" + number).c_str(), FALSE) &&
             CopyFileW(source.c_str(), (Cp1251ToWide(out) + L"result\\" + number).c_str(), FALSE);
    }
    const double seconds = Seconds() - start;
    std::printf("floor_copy_s=%.3f\nfloor_files=%zu\n", seconds, files.size());
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
    if (mode == "floor" && argc == 5)
        return Floor(argv[2], IncludeTrailingBackslash(argv[3]), IncludeTrailingBackslash(argv[4]));
    std::fprintf(
        stderr,
        "usage: updatebench.exe run UPDATER [noflush] | copy ROOT PARENT NAME [noflush] | floor LIST BASE OUT\n");
    return 2;
}
