#pragma once
// The update-variant dialog: the user chooses where a copy of the installation goes (or cancels), is
// warned about security software that may block the copy, and the installation is copied file by file
// through the run's journaled copy, so that a rollback can remove every copied file. Built in code;
// created at start-up with the other forms and shown once per run.
#include <cstdint>
#include <functional>
#include <memory>

#include "framework/runtime/Classes.h"
#include "framework/runtime/Component.h"
#include "framework/windows/ExtCtrls.h"
#include "framework/windows/Forms.h"
#include "framework/windows/StdCtrls.h"
#include "update/payload/PartNfo.h"
#include "update/variant/uSelKindUpdtList.h"

// The run's drive scan: a fixed drive with room for B (C + B on the product's drive).
using TScanDrivesClosure = std::function<bool(uint64_t C, uint64_t B, char &drive)>;
// The run's journaled copy of one file or folder.
using TCopyFileClosure =
    std::function<bool(const AnsiString &source, const AnsiString &destination, bool force, bool once)>;
// A journal command line of the run; false when it could not be written.
using TLogCmdClosure = std::function<bool(int32_t code, const AnsiString &text)>;

// Modal results of the dialog, and the run's own result for an update in place.
constexpr int SelKU_Copied = 1;
constexpr int SelKU_Cancelled = 2;
constexpr int SelKU_CopyFailed = 3;
constexpr int SelKU_InPlace = 6;

class TFrm_SelKU : public TForm {
public:
    explicit TFrm_SelKU(TComponent *owner);

    TPanel *Panel1;
    TLabel *Label2;
    TLabel *Label1;
    TLabel *Label6;
    TEdit *Ed_CurRoot;
    TLabel *Lbl_Hint;
    TLabel *Lbl_FreeSpace;
    TPanel *Pn_SelFolder;
    TCheckBox *ChkBx_CleanCopy;
    TCheckBox *ChkBx_NoAutoSaveFolder;
    TButton *Btn_SelFolder;
    TLabel *Label3;
    TEdit *Ed_NewFolder;
    TLabel *Label5;
    TEdit *Ed_CloneName;
    TLabel *Label4;
    TEdit *Ed_Label;
    TLabel *Label7;
    TEdit *Ed_FullPath;
    TPanel *Pn_Exit;
    TButton *Btn_Next;
    TButton *Btn_Cancel;

    void FormCreate(TObject *Sender);
    void FormDestroy(TObject *Sender);
    void FormClose(TObject *Sender, TCloseAction &Action);
    void Btn_SelFolderClick(TObject *Sender);
    void Btn_NextClick(TObject *Sender);
    void Btn_CancelClick(TObject *Sender);
    void Ed_NewFolderChange(TObject *Sender);
    void ChkBx_CleanCopyClick(TObject *Sender);

    // Shows the dialog for the installation in `currentRoot` and returns its modal result. Before the
    // call the run sets PayloadItems, JournalPath, Log and LogCmd.
    int Execute(const AnsiString &copyName, uint64_t C, uint64_t B, const AnsiString &currentRoot,
                TScanDrivesClosure scanDrives, TCopyFileClosure copyFile);
    // Rebuilds the copy list from the check boxes; returns the bytes of its files.
    uint64_t BuildCopyList();
    // Proposes a drive with room for the copy, or says how much room is missing and disables Next.
    void ShowFreeSpace();
    void UpdateFullPath();
    // Creates the copy's folder and asks whether security software has been told to leave both
    // installations alone: 1 go on, -1 stay in the dialog (also when the folder cannot be made, which
    // the user is told).
    int WarnSecuritySoftware();
    // Ends the dialog; any result but SelKU_Copied removes the folder tree made for the copy.
    void CloseWithResult(int result);

    uint64_t C = 0;         // growth of the product folder
    uint64_t CopySize = 0;  // bytes of the files in the copy list
    uint64_t B = 0;         // bytes needed for temporary files
    TScanDrivesClosure ScanDrives;
    TCopyFileClosure CopyFile;
    AnsiString CurrentRoot;
    std::unique_ptr<TStringList> CopyList;  // relative paths to copy
    AnsiString CreatedFolder;               // the topmost folder made for the copy ("" none)
    uint8_t MayClose = 0;
    uint8_t Busy = 0;
    AnsiString NewRoot;  // the copy's folder, with trailing "\"; read by the run afterwards
    AnsiString ShortcutName;
    TPartList *PayloadItems = nullptr;
    AnsiString JournalPath;
    TLogClosure Log;
    TLogCmdClosure LogCmd;
    // The run's journal flush: the lines written so far reach the disk before a folder is made.
    std::function<bool()> FlushJournal;
    AnsiString ShownPath;

    // The updater's own file, never copied (the running program's unless a test names another).
    AnsiString UpdaterPath;
    // The security software found; QuerySecurityProducts for antivirus unless a test puts in another.
    std::function<AnsiString()> SecurityProducts;

private:
    bool FieldFilled(TEdit *field, TLabel *label);
    // Journals each folder the copy's path still lacks (outermost first) for removal by a rollback,
    // and flushes the journal, before any of them is made; false when a line could not be written, or
    // (with nothing journaled) when the path runs through a file.
    bool JournalFoldersToMake();
    void RemoveCreatedFolder();
};

extern TFrm_SelKU *Frm_SelKU;

// Creates the folder and its missing parents. `created` becomes the topmost folder that did not exist
// (unchanged when the folder existed); false when the path is empty or a folder cannot be made, when
// its drive or share is not there (a root is never made, nor named as made), or when it runs through a
// file (which is never named as made either).
bool CreateFolderPath(const AnsiString &path, AnsiString &created);

// The shell's folder browser over the computer's drives, and its computer browser over the network.
class TBrowsDir : public TObject {
public:
    explicit TBrowsDir(const AnsiString &title);
    ~TBrowsDir() override;
    // A file-system folder chosen by the user, with trailing "\", into Folder; false when cancelled.
    bool BrowseFolder();
    // A computer chosen by the user, its name into Computer; false when cancelled.
    bool BrowseComputer();

    AnsiString Title;
    AnsiString Folder;
    AnsiString Computer;
};
