// The search for the product's configuration folder.
#include "base/messages/TZExcept.h"
#include "storage/utilities/dutilfile.h"

AnsiString ProductRootFolder;

const char *const DefaultProductFolder = "E:\\QMT3\\";
const char *const DefaultCfgFolder = "E:\\QMT3\\CFG\\";

AnsiString FindCfgFolderFrom(const AnsiString &programFolder, FolderProbe probe, void *context)
{
    // A "CFG" folder in the program's folder or the nearest ancestor.
    AnsiString found;
    const int length = FindFolderUpwardsFrom(found, programFolder, "CFG", probe, context);
    if (length != 0) {
        const std::size_t cut = found.rfind('\\', static_cast<std::size_t>(length) - 1);
        ProductRootFolder = cut == AnsiString::npos ? AnsiString() : found.substr(0, cut + 1);
        return found;
    }
    if (probe(DefaultCfgFolder, context)) {
        ProductRootFolder = DefaultProductFolder;
        return DefaultCfgFolder;
    }
    // "CFG" beside the program's folder: a candidate the upward search leaves out when its path is
    // too long for the search's buffer.
    AnsiString parent = programFolder;
    if (!parent.empty() && parent.back() == '\\')
        parent.pop_back();
    const std::size_t cut = parent.rfind('\\');
    parent.resize(cut == AnsiString::npos ? 0 : cut + 1);
    if (!parent.empty() && probe(parent + "CFG\\", context)) {
        ProductRootFolder = parent;
        return parent + "CFG\\";
    }
    ProductRootFolder.clear();
    throw TZExcept("Отсутствует директория CFG", 0);
}
