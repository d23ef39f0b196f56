// Folder-tree walks over IFolderAccess.
#include "storage/files/ourio.h"

#include "framework/runtime/SysUtils.h"

namespace {

bool Listable(const SFolderEntry &e) { return !(e.Attr & (faHidden | faSysFile | faVolumeID)); }
bool IsFolder(const SFolderEntry &e) { return (e.Attr & faDirectory) != 0; }
bool IsLink(const SFolderEntry &e) { return (e.Attr & faSymLink) != 0; }

// Folders of the tree in walk order into `folders`; folder links met on the way into `links`
// (without a trailing backslash), not entered; when `files` is given, the full names of the files each
// listing shows, folder by folder in walk order, so that a listing of every file needs no second pass.
void Walk(const AnsiString &folder, TStrings &folders, std::vector<AnsiString> *links, TStrings *files,
          IFolderAccess &fs)
{
    folders.Add(folder);
    std::vector<AnsiString> below;
    for (const SFolderEntry &e : fs.List(folder, "*.*")) {
        if (!Listable(e) || e.Name == "." || e.Name == "..")
            continue;
        if (!IsFolder(e)) {
            if (files)
                files->Add(folder + e.Name);
            continue;
        }
        if (IsLink(e)) {
            if (links)
                links->push_back(folder + e.Name);
            continue;
        }
        below.push_back(folder + e.Name + "\\");
    }
    for (const AnsiString &sub : below)
        Walk(sub, folders, links, files, fs);
}

int ListFiles(const TStrings &folders, const AnsiString &mask, TStrings &list, IFolderAccess &fs)
{
    int count = 0;
    for (int i = 0; i < folders.Count(); ++i) {
        AnsiString folder = folders.Strings(i);
        for (const SFolderEntry &e : fs.List(folder, mask)) {
            if (!Listable(e) || IsFolder(e))
                continue;
            list.Add(folder + e.Name);
            ++count;
        }
    }
    return count;
}

}  // namespace

void CollectFolders(const AnsiString &folder, TStrings &list, IFolderAccess &fs)
{
    Walk(folder, list, nullptr, nullptr, fs);
}

int ListFilesRecursive(const AnsiString &folder, const AnsiString &mask, TStrings &list, bool append, IFolderAccess &fs)
{
    if (!append)
        list.Clear();
    TStringList folders;
    if (mask == "*.*") {  // the walk's own listings show every file
        TStringList files;
        Walk(folder, folders, nullptr, &files, fs);
        list.AddStrings(files);
        return files.Count();
    }
    Walk(folder, folders, nullptr, nullptr, fs);
    return ListFiles(folders, mask, list, fs);
}

int DeleteFolderTree(const AnsiString &folder, IFolderAccess &fs)
{
    const AnsiString root = IncludeTrailingBackslash(folder);
    TStringList folders, files;
    std::vector<AnsiString> links;
    Walk(root, folders, &links, &files, fs);

    int failures = 0;
    // Read-only files are not made writable: they stay and count as failures.
    for (int i = 0; i < files.Count(); ++i)
        if (!fs.RemoveFile(files.Strings(i)))
            ++failures;
    for (const AnsiString &link : links)
        if (!fs.RemoveFolder(link))
            ++failures;
    for (int i = folders.Count() - 1; i >= 0; --i)
        if (!fs.RemoveFolder(ExcludeTrailingBackslash(folders.Strings(i))))
            ++failures;
    return failures;
}

bool GroupDialogKeeps(const AnsiString &folder, const AnsiString &itemText, const AnsiString &wantedExt,
                      const std::function<int(const AnsiString &)> &attrOf)
{
    if (wantedExt.empty() || folder.empty() || itemText.empty())
        return true;
    const AnsiString full = IncludeTrailingBackslash(folder) + itemText;
    int attr = attrOf(full);
    if (attr != -1 && (attr & faDirectory))
        return true;
    const AnsiString ext = wantedExt[0] == '.' ? wantedExt : "." + wantedExt;
    if (AnsiSameText(ExtractFileExt(itemText), ext))
        return true;
    int hidden = attrOf(full + ext);
    return hidden != -1 && !(hidden & faDirectory);
}
