// The file dialog's shell list view through list-view messages.
#include <windows.h>
#include <commctrl.h>

#include "framework/runtime/Cp1251.h"
#include "framework/windows/DialogFileList.h"

namespace {
HWND ListOf(void *dialog)
{
    HWND view = FindWindowExW(static_cast<HWND>(dialog), nullptr, L"SHELLDLL_DefView", nullptr);
    return view ? FindWindowExW(view, nullptr, L"SysListView32", nullptr) : nullptr;
}

AnsiString ItemText(HWND list, int index)
{
    wchar_t text[MAX_PATH * 2] = L"";
    LVITEMW item{};
    item.iSubItem = 0;
    item.pszText = text;
    item.cchTextMax = MAX_PATH * 2;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    return WideToCp1251(text);
}
}  // namespace

int PruneDialogFileList(void *dialog, const std::function<bool(const AnsiString &itemText)> &keep)
{
    HWND list = ListOf(dialog);
    if (!list)
        return -1;
    int deleted = 0;
    int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = count - 1; i >= 0; --i)
        if (!keep(ItemText(list, i)) && SendMessageW(list, LVM_DELETEITEM, static_cast<WPARAM>(i), 0))
            ++deleted;
    return deleted;
}

std::vector<AnsiString> DialogFileListItems(void *dialog)
{
    std::vector<AnsiString> items;
    HWND list = ListOf(dialog);
    if (!list)
        return items;
    int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
        items.push_back(ItemText(list, i));
    return items;
}
