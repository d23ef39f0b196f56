// The file dialog component.
#include "storage/config/QMTSaveOpen.h"

#include "framework/windows/DialogFileList.h"
#include "framework/runtime/Kernel.h"
#include "framework/runtime/SysUtils.h"
#include "storage/files/ourio.h"

namespace {
const char kAllFiles[] = "Все файлы (*.*)|*.*";
const char kOpenTitle[] = "Открыть файл";
const char kSaveTitle[] = "Сохранить файл как";
const char kGroupTitle[] = "Выбор группы файлов";

bool SameFolder(const AnsiString &a, const AnsiString &b)
{
    return AnsiSameText(IncludeTrailingBackslash(a), IncludeTrailingBackslash(b));
}
}  // namespace

TQMTSaveOpen::TQMTSaveOpen(TComponent *owner, const AnsiString &startFolder, const AnsiString &filter)
    : TComponent(owner), open_(new TOpenDialog(this)), save_(new TSaveDialog(this)),
      files_(std::make_unique<TStringList>())
{
    save_->OnFolderChange = [this](TObject *sender) { SaveFolderChanged(sender); };
    currentFolder_ = startFolder;
    startFolder_ = startFolder;
    SetFilter(filter);
    open_->SetTitle(kOpenTitle);
    save_->SetTitle(kSaveTitle);
    unsigned major = 0, minor = 0, build = 0;
    newStyleSystem_ = GetWindowsVersion(major, minor, build) && major >= 6;
}

void TQMTSaveOpen::SetFilter(const AnsiString &filter)
{
    filter_ = filter.empty() ? AnsiString(kAllFiles) : filter;
    open_->SetFilter(filter_);
    save_->SetFilter(filter_);
}

void TQMTSaveOpen::Prepare(TOpenDialog *dialog, const AnsiString &filter, const AnsiString &startFolder,
                           const AnsiString &defaultExt)
{
    if (!filter.empty())
        SetFilter(filter);
    if (!startFolder.empty()) {
        startFolder_ = startFolder;
        currentFolder_ = startFolder;
    }
    dialog->SetInitialDir(currentFolder_);
    dialog->SetDefaultExt(defaultExt);
    dialog->SetFileName(AnsiString());
}

bool TQMTSaveOpen::Finish(TOpenDialog *dialog, bool confirmed)
{
    if (!confirmed)
        return false;
    fileName_ = dialog->FileName();
    files_->Assign(*dialog->Files());
    currentFolder_ = ExtractFilePath(fileName_);
    return true;
}

bool TQMTSaveOpen::OpenFile(const AnsiString &filter, const AnsiString &startFolder, const AnsiString &defaultExt)
{
    Prepare(open_, filter, startFolder, defaultExt);
    open_->SetOptions(ofHideReadOnly | ofPathMustExist | ofFileMustExist | ofEnableSizing);
    return Finish(open_, open_->Execute());
}

bool TQMTSaveOpen::SaveFile(const AnsiString &filter, const AnsiString &startFolder, const AnsiString &defaultExt)
{
    Prepare(save_, filter, startFolder, defaultExt);
    save_->SetOptions(ofHideReadOnly | ofPathMustExist | ofOverwritePrompt | ofEnableSizing);
    folderChanged_ = false;
    return Finish(save_, save_->Execute());
}

bool TQMTSaveOpen::SelectGroup(const AnsiString &wantedExt, const AnsiString &filter, const AnsiString &startFolder)
{
    Prepare(open_, filter, startFolder, AnsiString());
    wantedExt_ = wantedExt;
    open_->SetTitle(kGroupTitle);
    open_->SetOptions(ofHideReadOnly | ofAllowMultiSelect | ofPathMustExist | ofFileMustExist | ofEnableSizing);
    open_->OnFolderChange = [this](TObject *sender) { PruneGroupList(sender); };
    bool confirmed = open_->Execute();
    open_->OnFolderChange = nullptr;
    open_->SetTitle(kOpenTitle);
    return Finish(open_, confirmed);
}

void TQMTSaveOpen::SaveFolderChanged(TObject *)
{
    AnsiString folder = save_->Folder();
    folderChanged_ = !SameFolder(folder, startFolder_);
}

void TQMTSaveOpen::PruneGroupList(TObject *)
{
    const AnsiString folder = open_->Folder();
    PruneDialogFileList(open_->Handle(), [&](const AnsiString &item) {
        return GroupDialogKeeps(folder, item, wantedExt_, [](const AnsiString &name) { return FileGetAttr(name); });
    });
}
