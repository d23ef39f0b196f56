#pragma once
// Message boxes and the system's file and folder dialogs. All of them go through the prompt seam
// (framework/Prompt.h), so a test can answer them.
#include "framework/runtime/Classes.h"
#include "framework/runtime/Component.h"
#include "framework/windows/Controls.h"
#include "framework/windows/Prompt.h"
#include "framework/windows/PromptScript.h"

// A plain message box with the application's title and an OK button.
void ShowMessage(const AnsiString &text);

// Options of the file dialogs, combined as bits.
using TOpenOptions = unsigned;
constexpr TOpenOptions ofReadOnly = 0x1, ofOverwritePrompt = 0x2, ofHideReadOnly = 0x4, ofNoChangeDir = 0x8,
                       ofAllowMultiSelect = 0x200, ofPathMustExist = 0x800, ofFileMustExist = 0x1000,
                       ofCreatePrompt = 0x2000, ofNoReadOnlyReturn = 0x8000, ofEnableSizing = 0x800000;

class TOpenDialog : public TComponent {
public:
    explicit TOpenDialog(TComponent *owner);
    ~TOpenDialog() override;

    // "Description|*.ext|Description|*.a;*.b"
    const AnsiString &Filter() const { return filter_; }
    void SetFilter(const AnsiString &filter) { filter_ = filter; }
    // 1-based index of the filter shown first.
    int FilterIndex() const { return filterIndex_; }
    void SetFilterIndex(int index) { filterIndex_ = index; }
    const AnsiString &Title() const { return title_; }
    void SetTitle(const AnsiString &title) { title_ = title; }
    const AnsiString &InitialDir() const { return initialDir_; }
    void SetInitialDir(const AnsiString &dir) { initialDir_ = dir; }
    // Appended (without the dot) to a typed name that has no extension.
    const AnsiString &DefaultExt() const { return defaultExt_; }
    void SetDefaultExt(const AnsiString &ext) { defaultExt_ = ext; }
    // The file chosen (the first one with multi-select); before Execute, the name proposed.
    const AnsiString &FileName() const { return fileName_; }
    void SetFileName(const AnsiString &name) { fileName_ = name; }
    // Every file chosen, full paths.
    TStrings *Files() const { return files_.get(); }
    TOpenOptions Options() const { return options_; }
    void SetOptions(TOpenOptions options) { options_ = options; }

    // Shows the dialog; true when the user chose a file (FileName and Files then hold it).
    virtual bool Execute();

    // Fired while the system's dialog is shown (never for a scripted answer): once it is ready, and
    // each time it has opened a folder (the first one included).
    TNotifyEvent OnShow;
    TNotifyEvent OnFolderChange;
    // The dialog's window (HWND) while it is shown, else null.
    void *Handle() const { return handle_; }
    // The folder the dialog shows, while it is shown; "" otherwise.
    AnsiString Folder() const;

protected:
    virtual bool Saving() const { return false; }

private:
    friend struct TOpenDialogHook;
    void *handle_ = nullptr;
    AnsiString filter_, title_, initialDir_, defaultExt_, fileName_;
    int filterIndex_ = 1;
    TOpenOptions options_ = ofHideReadOnly | ofEnableSizing;
    std::unique_ptr<TStringList> files_;
};

class TSaveDialog : public TOpenDialog {
public:
    explicit TSaveDialog(TComponent *owner) : TOpenDialog(owner) {}

protected:
    bool Saving() const override { return true; }
};

// The shell's folder browser (through the prompt seam). rootFolder is a shell folder id (CSIDL_ value,
// 0 for the desktop), flags are BIF_ bits. On success `path` holds the chosen file-system folder
// (empty for a non-file-system choice such as a computer) and `displayName` the item's shown name.
bool BrowseForFolder(void *owner, const AnsiString &title, int rootFolder, unsigned flags, AnsiString &path,
                     AnsiString &displayName);
// The shell's values for it, under the shell's names (its header's macros stand where it came first):
// the roots "My Computer" and the network, and the browser's options.
#ifndef CSIDL_DRIVES
constexpr int CSIDL_DESKTOP = 0x0000, CSIDL_DRIVES = 0x0011, CSIDL_NETWORK = 0x0012;
#endif
#ifndef BIF_RETURNONLYFSDIRS
constexpr unsigned BIF_RETURNONLYFSDIRS = 0x0001, BIF_DONTGOBELOWDOMAIN = 0x0002, BIF_EDITBOX = 0x0010,
                   BIF_VALIDATE = 0x0020, BIF_NEWDIALOGSTYLE = 0x0040, BIF_UAHINT = 0x0100,
                   BIF_BROWSEFORCOMPUTER = 0x1000;
#endif
