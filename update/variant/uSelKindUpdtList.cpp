// The copy list and the texts of the update-variant dialog.
#include "update/variant/uSelKindUpdtList.h"

#include <algorithm>
#include <vector>

#include "framework/runtime/Classes.h"
#include "framework/runtime/SysUtils.h"
#include "storage/files/ourio.h"

const char *const ProductFolders[ProductFolderCount] = {
    "Base",      "Cfg",      "Doc",       "Exe",         "Rus\\LBN",     "Rus\\Data", "Rus\\Etalon",   "Rus\\Frg_Std",
    "Rus\\Updt", "Ukr\\LBN", "Ukr\\Data", "Ukr\\Etalon", "Ukr\\Frg_Std", "Ukr\\Updt", "Rus\\AutoSave", "Ukr\\AutoSave",
};

namespace {
bool StartsWith(const AnsiString &text, const AnsiString &prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}
}  // namespace

uint64_t BuildCopyList(const AnsiString &root, const AnsiString &journalPath, const AnsiString &updaterPath,
                       TCopyListChoice choice, IFolderAccess &fs, const TFileSizeQuery &fileSize, TStringList &list,
                       const TLogClosure &log)
{
    const AnsiString journal = AnsiUpperCase(journalPath);
    const AnsiString self = AnsiUpperCase(updaterPath);
    log(0, "Построение списка файлов " + root, true);

    list.Clear();
    list.SetDuplicates(dupIgnore);
    list.SetSorted(true);
    if (choice.CleanCopy) {
        const int count = choice.NoAutoSave ? ProductFoldersWithoutAutoSave : ProductFolderCount;
        for (int i = 0; i < count; ++i) {
            const AnsiString folder = root + ProductFolders[i] + "\\";
            CollectFolders(folder, list, fs);
            ListFilesRecursive(folder, "*.*", list, true, fs);
        }
    } else {
        CollectFolders(root, list, fs);
        ListFilesRecursive(root, "*.*", list, true, fs);
        if (choice.NoAutoSave) {
            list.SetSorted(false);
            const AnsiString rus = AnsiUpperCase(root + "Rus\\AutoSave\\");
            const AnsiString ukr = AnsiUpperCase(root + "Ukr\\AutoSave\\");
            for (int i = list.Count() - 1; i >= 0; --i) {
                const AnsiString entry = AnsiUpperCase(list.Strings(i));
                if (StartsWith(entry, rus) || StartsWith(entry, ukr))
                    list.Delete(i);
            }
        }
    }
    list.SetSorted(true);   // sorts once
    list.SetSorted(false);  // so that entries can be rewritten in place

    log(0, "Подсчет размера", true);
    uint64_t total = 0;
    for (int i = list.Count() - 1; i >= 0; --i) {
        const AnsiString entry = list.Strings(i);
        const AnsiString upper = AnsiUpperCase(entry);
        const AnsiString relative = entry.substr(std::min(root.size(), entry.size()));
        // Files directly in the root (the journal among them) and the root itself are never copied.
        if (upper == journal || upper == self || relative.find('\\') == AnsiString::npos) {
            list.Delete(i);
            continue;
        }
        list.SetString(i, relative);
        const int64_t size = fileSize(entry);
        if (size > 0)
            total += static_cast<uint64_t>(size);
    }
    log(0, "Завершено", true);
    return total;
}

AnsiString WithTrailingBackslash(const AnsiString &text)
{
    return text.empty() || text.back() == '\\' ? text : text + "\\";
}

AnsiString CopyFullPath(const AnsiString &parentFolder, const AnsiString &copyName)
{
    return WithTrailingBackslash(WithTrailingBackslash(Trim(parentFolder)) + Trim(copyName));
}

AnsiString ParentOfRoot(const AnsiString &root) { return ExtractFileDir(ExcludeTrailingBackslash(root)); }

namespace {

// A full path as the system resolves it, for comparison: "/" read as "\", empty and "." names dropped,
// ".." taking the name before it away (never the drive or the share), the trailing dots and blanks of
// a name dropped, upper case; names joined by "\" without a trailing one.
AnsiString ComparablePath(const AnsiString &path)
{
    AnsiString text = path;
    std::replace(text.begin(), text.end(), '/', '\\');
    const bool share = text.size() >= 2 && text[0] == '\\' && text[1] == '\\';
    const size_t fixed = share ? 2 : 1;  // the server and its share, or the drive
    std::vector<AnsiString> names;
    size_t start = share ? 2 : 0;
    while (start <= text.size()) {
        size_t end = text.find('\\', start);
        if (end == AnsiString::npos)
            end = text.size();
        AnsiString name = text.substr(start, end - start);
        start = end + 1;
        if (name == "..") {
            if (names.size() > fixed)
                names.pop_back();
            continue;
        }
        while (!name.empty() && (name.back() == '.' || name.back() == ' '))
            name.pop_back();
        if (!name.empty())
            names.push_back(name);
    }
    AnsiString result = share ? "\\\\" : "";
    for (size_t i = 0; i < names.size(); ++i)
        result += (i ? "\\" : "") + names[i];
    return AnsiUpperCase(result);
}

}  // namespace

bool FolderWithin(const AnsiString &folder, const AnsiString &root)
{
    const AnsiString f = ComparablePath(folder), r = ComparablePath(root);
    return !r.empty() && (f == r || (f.size() > r.size() && f.compare(0, r.size(), r) == 0 && f[r.size()] == '\\'));
}

AnsiString SecurityValueText(const TWmiValue &value)
{
    switch (value.Type) {
    case TWmiValue::String: return value.Text;
    case TWmiValue::Int32:
    case TWmiValue::UInt8: return IntToStr(value.Number);
    case TWmiValue::Boolean: return value.Number ? "true" : "false";
    case TWmiValue::OtherScalar: return "?";
    case TWmiValue::None: break;
    }
    return AnsiString();
}

AnsiString SecurityProductsText(const std::vector<TSecurityKind> &kinds, bool ukrainian)
{
    static const char *const headers[2][3] = {
        {"  Антивирусное ПО:", "  Антишпионское ПО:", "  Межсетевой экран:"},
        {"  Антивірусне ПЗ:", "  Антишпигунське ПЗ:", "  Міжмережевий екран:"},
    };
    AnsiString text;
    for (const TSecurityKind &kind : kinds) {
        if (kind.Names.empty())
            continue;
        if (!text.empty())
            text += "\n";
        text += headers[ukrainian ? 1 : 0][kind.Which];
        for (const AnsiString &name : kind.Names)
            if (!name.empty())
                text += "\n    " + name;
    }
    return text;
}

AnsiString SecurityWarningText(const AnsiString &products, const AnsiString &newRoot, const AnsiString &currentRoot)
{
    return products + "\n\nСоздана папка:\n" + newRoot +
           "\n\n    Перед продолжением обновления - настоятельно рекомендуется исключить папки ЦМТ:\n\n" + newRoot +
           "\n   и\n" + currentRoot +
           "\n\nиз проверки\n\n    В противном случае есть вероятность неуспешности обновления.\n\n"
           "    Вы готовы продолжать?\n(добавлены ли папки ЦМТ в \"исключения\"?)";
}
