// The update-variant dialog: layout, handlers and the copy of the installation.
#include "update/variant/uSelKindUpdt.h"

#include "framework/runtime/Kernel.h"
#include "framework/runtime/SysUtils.h"
#include "storage/files/ourio.h"
#include "update/apply/FolderContents.h"
#include "update/apply/ItemHandlers.h"
#include "update/journal/JournalLine.h"
#include "update/journal/UndoCommand.h"
#include "update/run/MsgBoxes.h"
#include "update/variant/FreeSpace.h"
#include "update/variant/SizeToText.h"

TFrm_SelKU *Frm_SelKU = nullptr;

namespace {

template <class T>
T *Make(TFrm_SelKU *form, TWinControl *parent, const char *name, int left, int top, int width, int height)
{
    T *control = new T(form);
    control->SetName(name);
    control->SetParent(parent);
    control->SetBounds(left, top, width, height);
    return control;
}

TLabel *MakeLabel(TFrm_SelKU *form, TWinControl *parent, const char *name, int left, int top, const AnsiString &text)
{
    TLabel *label = Make<TLabel>(form, parent, name, left, top, 0, 0);
    label->SetCaption(text);
    return label;
}

TPanel *MakePanel(TFrm_SelKU *form, const char *name, int top, int height)
{
    TPanel *panel = Make<TPanel>(form, form, name, 0, top, 752, height);
    panel->SetBevelOuter(bvNone);
    panel->SetCaption("");
    return panel;
}

}  // namespace

TFrm_SelKU::TFrm_SelKU(TComponent *owner) : TForm(owner)
{
    SetName("Frm_SelKU");
    SetCaption("Выбор, как производить обновление");
    SetBorderStyle(bsToolWindow);
    SetPosition(poMainFormCenter);
    SetClientWidth(752);
    SetClientHeight(338);

    Panel1 = MakePanel(this, "Panel1", 0, 120);
    Label2 = MakeLabel(this, Panel1, "Label2", 8, 4, "");
    Label1 =
        MakeLabel(this, Panel1, "Label1", 8, 8, "Данное обновление возможно только как копия существующего ПК ЦМТ");
    Label1->SetParentFont(false);
    Label1->Font()->SetStyle(fsBold);
    Label6 = MakeLabel(this, Panel1, "Label6", 8, 34,
                       "Информация. Исходная ЦМТ, на основании которой будет произведено обновление - расположена "
                       "по следующему маршруту:");
    Ed_CurRoot = Make<TEdit>(this, Panel1, "Ed_CurRoot", 8, 52, 736, 21);
    Ed_CurRoot->SetReadOnly(true);
    Lbl_Hint =
        MakeLabel(this, Panel1, "Lbl_Hint", 8, 80, "Обновление невозможно в связи с отсутствием места на компьютере");
    Lbl_Hint->SetVisible(false);
    Lbl_FreeSpace = MakeLabel(this, Panel1, "Lbl_FreeSpace", 8, 98, "ОСВОБОДИТЬ МЕСТО");
    Lbl_FreeSpace->SetParentFont(false);
    Lbl_FreeSpace->Font()->SetStyle(fsBold);
    Lbl_FreeSpace->Font()->SetColor(clRed);
    Lbl_FreeSpace->SetVisible(false);

    Pn_SelFolder = MakePanel(this, "Pn_SelFolder", 120, 178);
    ChkBx_CleanCopy = Make<TCheckBox>(this, Pn_SelFolder, "ChkBx_CleanCopy", 8, 4, 736, 17);
    ChkBx_CleanCopy->SetCaption("Без копирования строек и оперативной информации (чистая установка)");
    ChkBx_NoAutoSaveFolder = Make<TCheckBox>(this, Pn_SelFolder, "ChkBx_NoAutoSaveFolder", 8, 24, 736, 17);
    ChkBx_NoAutoSaveFolder->SetCaption("Без копирования содержимого папки \"Автосохранение (AutoSave)\"");
    Label3 = MakeLabel(this, Pn_SelFolder, "Label3", 8, 50, "Выберите, куда поместить копию данного ПК ЦМТ:");
    Ed_NewFolder = Make<TEdit>(this, Pn_SelFolder, "Ed_NewFolder", 8, 67, 640, 21);
    Btn_SelFolder = Make<TButton>(this, Pn_SelFolder, "Btn_SelFolder", 656, 66, 88, 23);
    Btn_SelFolder->SetCaption("Обзор");
    Label5 = MakeLabel(this, Pn_SelFolder, "Label5", 8, 96, "Наименование папки обновленного ПК ЦМТ:");
    Ed_CloneName = Make<TEdit>(this, Pn_SelFolder, "Ed_CloneName", 8, 113, 360, 21);
    Label4 = MakeLabel(this, Pn_SelFolder, "Label4", 384, 96, "Наименование для ярлыка на рабочем столе:");
    Ed_Label = Make<TEdit>(this, Pn_SelFolder, "Ed_Label", 384, 113, 360, 21);
    Label7 = MakeLabel(this, Pn_SelFolder, "Label7", 8, 140,
                       "Информация. Копия программы будет расположена по следующему маршруту:");
    Ed_FullPath = Make<TEdit>(this, Pn_SelFolder, "Ed_FullPath", 8, 157, 736, 21);
    Ed_FullPath->SetReadOnly(true);

    Pn_Exit = MakePanel(this, "Pn_Exit", 298, 40);
    Btn_Next = Make<TButton>(this, Pn_Exit, "Btn_Next", 552, 8, 96, 25);
    Btn_Next->SetCaption("Далее [>>]");
    Btn_Cancel = Make<TButton>(this, Pn_Exit, "Btn_Cancel", 656, 8, 88, 25);
    Btn_Cancel->SetCaption("Отмена [X]");

    ChkBx_CleanCopy->SetTabOrder(0);
    ChkBx_NoAutoSaveFolder->SetTabOrder(1);
    Ed_NewFolder->SetTabOrder(2);
    Btn_SelFolder->SetTabOrder(3);
    Ed_CloneName->SetTabOrder(4);
    Ed_Label->SetTabOrder(5);
    SetAutoSize(true);

    OnCreate = [this](TObject *sender) { FormCreate(sender); };
    OnDestroy = [this](TObject *sender) { FormDestroy(sender); };
    OnClose = [this](TObject *sender, TCloseAction &action) { FormClose(sender, action); };
    Btn_SelFolder->OnClick = [this](TObject *sender) { Btn_SelFolderClick(sender); };
    Btn_Next->OnClick = [this](TObject *sender) { Btn_NextClick(sender); };
    Btn_Cancel->OnClick = [this](TObject *sender) { Btn_CancelClick(sender); };
    Ed_NewFolder->OnChange = [this](TObject *sender) { Ed_NewFolderChange(sender); };
    Ed_CloneName->OnChange = [this](TObject *sender) { Ed_NewFolderChange(sender); };
    ChkBx_CleanCopy->OnClick = [this](TObject *sender) { ChkBx_CleanCopyClick(sender); };
    ChkBx_NoAutoSaveFolder->OnClick = [this](TObject *sender) { ChkBx_CleanCopyClick(sender); };

    UpdaterPath = GetModuleFileName();
    SecurityProducts = [] { return QuerySecurityProducts(true, false, false); };
}

void TFrm_SelKU::FormCreate(TObject *) { CopyList = std::make_unique<TStringList>(); }

void TFrm_SelKU::FormDestroy(TObject *) { CopyList.reset(); }

void TFrm_SelKU::FormClose(TObject *, TCloseAction &action)
{
    if (!MayClose)
        action = caNone;
}

int TFrm_SelKU::Execute(const AnsiString &copyName, uint64_t c, uint64_t b, const AnsiString &currentRoot,
                        TScanDrivesClosure scanDrives, TCopyFileClosure copyFile)
{
    Busy = 0;
    MayClose = 0;
    CurrentRoot = currentRoot;
    Ed_CurRoot->SetText(currentRoot);
    Ed_Label->SetText(copyName);
    Ed_CloneName->SetText(copyName);
    ScanDrives = std::move(scanDrives);
    CopyFile = std::move(copyFile);
    C = c;
    B = b;
    Ed_NewFolder->SetText(ParentOfRoot(currentRoot));
    ShowFreeSpace();
    UpdateFullPath();
    return ShowModal();
}

uint64_t TFrm_SelKU::BuildCopyList()
{
    if (!CopyList)
        CopyList = std::make_unique<TStringList>();
    TLogClosure log = [this](int8_t index, const AnsiString &text, bool newLine) {
        return Log ? Log(index, text, newLine) : false;
    };
    return ::BuildCopyList(
        CurrentRoot, JournalPath, UpdaterPath, {ChkBx_CleanCopy->Checked(), ChkBx_NoAutoSaveFolder->Checked()},
        SystemFolderAccess(), [](const AnsiString &path) -> int64_t { return FileSizeOf(path); }, *CopyList, log);
}

void TFrm_SelKU::ShowFreeSpace()
{
    CopySize = BuildCopyList();
    char drive = '\0';
    if (ScanDrives && ScanDrives(0, CopySize + C, drive)) {
        Lbl_Hint->SetVisible(false);
        Lbl_FreeSpace->SetVisible(false);
        Btn_Next->SetEnabled(true);
        AnsiString folder = Ed_NewFolder->Text();
        if (!folder.empty()) {
            folder[0] = drive;
            Ed_NewFolder->SetText(folder);
        }
    } else {
        Lbl_Hint->SetVisible(true);
        Lbl_FreeSpace->SetCaption("Освободите " + SizeToText(static_cast<int64_t>(CopySize + C + B)));
        Lbl_FreeSpace->SetVisible(true);
        Btn_Next->SetEnabled(false);
    }
}

void TFrm_SelKU::UpdateFullPath()
{
    ShownPath = CopyFullPath(Ed_NewFolder->Text(), Ed_CloneName->Text());
    Ed_FullPath->SetText(ShownPath);
}

void TFrm_SelKU::Ed_NewFolderChange(TObject *) { UpdateFullPath(); }

void TFrm_SelKU::ChkBx_CleanCopyClick(TObject *)
{
    // The free-space display rebuilds the list itself.
    ShowFreeSpace();
}

void TFrm_SelKU::Btn_SelFolderClick(TObject *)
{
    if (Busy)
        return;
    SetEnabled(false);
    Hide();
    // The copy grows by the update's growth wherever it is placed.
    const AnsiString folder = ChooseFolderWithSpace("Выбор пути для создания копии ЦМТ", 0, CopySize + C,
                                                    CurrentRoot.empty() ? '\0' : AnsiUpperChar(CurrentRoot[0]));
    if (!folder.empty())
        Ed_NewFolder->SetText(folder);
    Show();
    SetEnabled(true);
    BringToFront();
}

bool TFrm_SelKU::FieldFilled(TEdit *field, TLabel *label)
{
    if (!field->Text().empty())
        return true;
    ShowInfoText("Не заполнено поле \n\"" + label->Caption() + "\"");
    if (field->CanFocus())
        field->SetFocus();
    return false;
}

void TFrm_SelKU::Btn_NextClick(TObject *)
{
    if (Busy)
        return;
    Ed_NewFolder->SetText(Trim(Ed_NewFolder->Text()));
    Ed_CloneName->SetText(Trim(Ed_CloneName->Text()));
    Ed_Label->SetText(Trim(Ed_Label->Text()));
    if (!FieldFilled(Ed_NewFolder, Label3) || !FieldFilled(Ed_CloneName, Label5) || !FieldFilled(Ed_Label, Label4))
        return;
    NewRoot = CopyFullPath(Ed_NewFolder->Text(), Ed_CloneName->Text());
    // Rollback removes only folders named by a full path; a relative one would be made, and later
    // cleared, in whatever folder is current.
    if (!IsAbsolutePath(NewRoot)) {
        ShowInfoText(
            "Укажите полный путь к папке: с буквой диска (\"C:\\...\") или сетевой (\"\\\\сервер\\ресурс\\...\")");
        if (Ed_NewFolder->CanFocus())
            Ed_NewFolder->SetFocus();
        return;
    }
    // A copy inside the installation would be made inside what it copies, and its rollback would
    // remove the installation's own folders.
    if (FolderWithin(NewRoot, CurrentRoot)) {
        ShowInfoText("Копию нельзя поместить в папку исходной ЦМТ:\n" + NewRoot);
        if (Ed_NewFolder->CanFocus())
            Ed_NewFolder->SetFocus();
        return;
    }
    // A folder that holds anything (an installation or the user's files) is never copied into: a
    // failed copy removes what it made, and that must never be someone's data.
    // The folder this dialog made at an earlier press is its own and is made afresh.
    const bool ownFolder = ExcludeTrailingBackslash(NewRoot) == ExcludeTrailingBackslash(CreatedFolder);
    if (DirectoryExists(NewRoot) && !FolderIsEmpty(NewRoot) && !ownFolder) {
        ShowInfoText("Выбранная папка не пуста");
        return;
    }
    if (WarnSecuritySoftware() != 1)
        return;

    Busy = 1;
    Hide();
    ShortcutName = Trim(Ed_Label->Text());
    // Rollback must know of the copy before anything of it exists.
    bool ok = LogCmd && LogCmd(ejc_Variant, "1") && LogCmd(ejc_CopyFolder, NewRoot);
    for (int i = 0; ok && i < CopyList->Count(); ++i) {
        const AnsiString entry = CopyList->Strings(i);
        ok = CopyFile && CopyFile(CurrentRoot + entry, NewRoot + entry, true, true);
    }
    CloseWithResult(ok ? SelKU_Copied : SelKU_CopyFailed);
}

void TFrm_SelKU::RemoveCreatedFolder()
{
    if (!CreatedFolder.empty()) {
        DeleteFolderTree(CreatedFolder);
        CreatedFolder.clear();
    }
}

bool TFrm_SelKU::JournalFoldersToMake()
{
    const TMissingFolders missing = MissingFolders(NewRoot, FileGetAttr);
    if (!missing.FileInTheWay.empty())
        return false;  // a file on the path is someone's: never named as a folder the run made
    if (!LogCmd)
        return true;  // a dialog outside a run: no journal, nothing to undo
    for (const AnsiString &folder : missing.Folders)
        if (!LogCmd(ejc_Created, CreatedFolderCommandText(folder)))
            return false;
    return !FlushJournal || FlushJournal();
}

int TFrm_SelKU::WarnSecuritySoftware()
{
    RemoveCreatedFolder();
    // The folder is made before the journal names the copy: a run stopped in between must still
    // leave a rollback that removes it. On a drive or share that is not there nothing is journaled.
    // A folder that cannot be made is said so, and the user chooses again.
    if (!DirectoryExists(IncludeTrailingBackslash(ExtractFileDrive(NewRoot))) || !JournalFoldersToMake() ||
        !CreateFolderPath(NewRoot, CreatedFolder)) {
        RemoveCreatedFolder();
        ShowInfoText("Невозможно создать папку:\n" + NewRoot);
        if (Ed_NewFolder->CanFocus())
            Ed_NewFolder->SetFocus();  // the folder is what the user corrects
        return -1;
    }
    AnsiString products;
    if (SecurityProducts)
        products = SecurityProducts();
    const bool yes = !products.empty() ? AskYesNo(3015, SecurityWarningText(products, NewRoot, CurrentRoot), true)
                                       : AskYesNo(3011, NewRoot, NewRoot, CurrentRoot, true);
    return yes ? 1 : -1;
}

void TFrm_SelKU::CloseWithResult(int result)
{
    if (result != SelKU_Copied)
        RemoveCreatedFolder();
    MayClose = 1;
    SetModalResult(result);
}

void TFrm_SelKU::Btn_CancelClick(TObject *)
{
    if (Busy)
        return;
    if (!Btn_Next->Enabled() || !AskYesNo(3003, true))
        CloseWithResult(SelKU_Cancelled);
}
