#pragma once
// What the copy of an installation takes and how the dialog's texts are put together: the product
// subfolders of a clean copy, the list of files and folders to copy with their total size, the path of
// the copy and the text that names security software found on the computer.
#include <cstdint>
#include <functional>
#include <vector>

#include "framework/runtime/AnsiString.h"
#include "framework/runtime/Wmi.h"

class IFolderAccess;
class TStringList;

// The 16 product subfolders a clean copy takes, the last two being the AutoSave folders.
constexpr int ProductFolderCount = 16;
constexpr int ProductFoldersWithoutAutoSave = 14;
extern const char *const ProductFolders[ProductFolderCount];

// A protocol line through the run's log (index into the protocol table, text, new line).
using TLogClosure = std::function<bool(int8_t index, const AnsiString &text, bool newLine)>;
// Size of a file, -1 when the path names no readable file.
using TFileSizeQuery = std::function<int64_t(const AnsiString &path)>;

struct TCopyListChoice {
    bool CleanCopy = false;   // only the product subfolders
    bool NoAutoSave = false;  // without the AutoSave folders
};

// Fills `list` with the paths, relative to `root` (with trailing "\"), of every folder (ending in "\")
// and file to copy, sorted without case; returns the bytes of its files. Files directly in the root,
// the journal and the updater itself are never listed.
uint64_t BuildCopyList(const AnsiString &root, const AnsiString &journalPath, const AnsiString &updaterPath,
                       TCopyListChoice choice, IFolderAccess &fs, const TFileSizeQuery &fileSize, TStringList &list,
                       const TLogClosure &log);

// The text with a trailing "\" added when it is not empty and has none.
AnsiString WithTrailingBackslash(const AnsiString &text);

// The copy's folder as the dialog shows it: the trimmed parent folder and the trimmed copy name, each
// followed by "\" when the result so far is not empty.
AnsiString CopyFullPath(const AnsiString &parentFolder, const AnsiString &copyName);

// The parent folder of an installation folder (with or without trailing "\").
AnsiString ParentOfRoot(const AnsiString &root);

// Whether `folder` is the folder `root` or lies inside it, both full paths compared as the system
// resolves them: without case, "/" as "\", with "." and ".." names and a trailing "\" or not.
bool FolderWithin(const AnsiString &folder, const AnsiString &root);

// One kind of security software with the names found (values already as text; an empty list: none).
struct TSecurityKind {
    enum Kind { AntiVirus, AntiSpyware, Firewall } Which;
    std::vector<AnsiString> Names;
};

// A product's name as the security text shows it: a text unchanged, a number in decimal, a flag as
// "true" or "false", any other single value "?"; nothing for an empty, null or array value.
AnsiString SecurityValueText(const TWmiValue &value);

// The products found, each kind under its header ("  Антивирусное ПО:" ...), each name on a line of
// its own after four blanks; kinds with no product are left out. Empty when nothing was found.
AnsiString SecurityProductsText(const std::vector<TSecurityKind> &kinds, bool ukrainian);

// The question about security software found: the products, the folder created and the two folders
// that should be excluded from checking.
AnsiString SecurityWarningText(const AnsiString &products, const AnsiString &newRoot, const AnsiString &currentRoot);

// The security software the management service reports (both security-centre namespaces are tried):
// antivirus and antispyware products when `antivirus` is set, firewalls when `firewall` is set, as
// SecurityProductsText. Empty when none is reported or the service cannot tell (Windows build).
AnsiString QuerySecurityProducts(bool antivirus, bool firewall, bool ukrainian);
