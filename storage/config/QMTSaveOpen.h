#pragma once
// TQMTSaveOpen: the product's open and save dialogs with its own titles and a dialog that chooses
// a group of files of one extension, remembering the folders used.
#include <memory>

#include "framework/windows/Dialogs.h"

class TQMTSaveOpen : public TComponent {
public:
    // `startFolder` becomes the current and the starting folder; an empty filter means all files.
    explicit TQMTSaveOpen(TComponent *owner, const AnsiString &startFolder = AnsiString(),
                          const AnsiString &filter = AnsiString());

    // "Description|*.ext|..."; empty: "Все файлы (*.*)|*.*".
    void SetFilter(const AnsiString &filter);
    const AnsiString &Filter() const { return filter_; }

    // Each shows its dialog modally and returns true when the user confirmed. A non-empty filter or
    // starting folder replaces the component's own first.
    bool OpenFile(const AnsiString &filter = AnsiString(), const AnsiString &startFolder = AnsiString(),
                  const AnsiString &defaultExt = AnsiString());
    bool SaveFile(const AnsiString &filter = AnsiString(), const AnsiString &startFolder = AnsiString(),
                  const AnsiString &defaultExt = AnsiString());
    // Several files at once; the list shows only folders and files of `wantedExt`.
    bool SelectGroup(const AnsiString &wantedExt, const AnsiString &filter = AnsiString(),
                     const AnsiString &startFolder = AnsiString());

    // The file chosen last (the first one of a group) and every file of the last choice.
    const AnsiString &FileName() const { return fileName_; }
    TStrings *Files() const { return files_.get(); }
    // The folder of the last choice, and the folder the dialogs start from.
    const AnsiString &CurrentFolder() const { return currentFolder_; }
    const AnsiString &StartFolder() const { return startFolder_; }
    // Whether the save dialog was last in a folder other than the starting one.
    bool FolderChanged() const { return folderChanged_; }
    // Whether the system is of version 6 or later.
    bool NewStyleSystem() const { return newStyleSystem_; }

    TOpenDialog *OpenDialog() const { return open_; }
    TSaveDialog *SaveDialog() const { return save_; }

private:
    void Prepare(TOpenDialog *dialog, const AnsiString &filter, const AnsiString &startFolder,
                 const AnsiString &defaultExt);
    bool Finish(TOpenDialog *dialog, bool confirmed);
    void SaveFolderChanged(TObject *sender);
    void PruneGroupList(TObject *sender);

    TOpenDialog *open_;
    TSaveDialog *save_;
    bool newStyleSystem_ = false;
    AnsiString currentFolder_, startFolder_, filter_;
    AnsiString wantedExt_;
    AnsiString fileName_;
    std::unique_ptr<TStringList> files_;
    bool folderChanged_ = false;
};
