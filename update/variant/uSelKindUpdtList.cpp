// The copy list and the texts of the update-variant dialog.
#include "update/variant/uSelKindUpdtList.h"

#include <algorithm>

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
