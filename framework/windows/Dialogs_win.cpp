#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

#include "framework/runtime/Cp1251.h"
#include "framework/windows/Dialogs.h"
#include "framework/windows/Forms.h"

int MessageBoxPrompt(void *owner, const AnsiString &text, const AnsiString &caption, unsigned flags)
{
    TPrompt prompt{TPromptKind::MessageBox, owner, caption, text, AnsiString(), flags, nullptr};
    if (auto answer = ScriptedAnswer(prompt))
        return answer->Result;
    return MessageBoxW(static_cast<HWND>(owner), Cp1251ToWide(text).c_str(), Cp1251ToWide(caption).c_str(), flags);
}

void ShowMessage(const AnsiString &text)
{
    HWND owner = nullptr;
    if (TForm *active = Screen->ActiveForm(); active && active->HandleAllocated())
        owner = active->Handle();
    MessageBoxPrompt(owner, text, Application->Title(), mbOk);
}

TOpenDialog::TOpenDialog(TComponent *owner) : TComponent(owner), files_(std::make_unique<TStringList>()) {}

TOpenDialog::~TOpenDialog() = default;

namespace {
// "a|b|c|d" -> "a\0b\0c\0d\0\0", as the system takes a filter.
std::wstring SystemFilter(const AnsiString &filter)
{
    std::wstring w = Cp1251ToWide(filter);
    for (wchar_t &c : w)
        if (c == L'|')
            c = L'\0';
    w.push_back(L'\0');
    w.push_back(L'\0');
    return w;
}
}  // namespace

// Passes the system dialog's notifications to the component's events. The hook's own window is a
// child of the dialog's.
struct TOpenDialogHook {
    static UINT_PTR CALLBACK Proc(HWND hook, UINT message, WPARAM, LPARAM lParam)
    {
        if (message == WM_INITDIALOG) {
            auto *ofn = reinterpret_cast<OPENFILENAMEW *>(lParam);
            SetWindowLongPtrW(hook, DWLP_USER, static_cast<LONG_PTR>(ofn->lCustData));
            reinterpret_cast<TOpenDialog *>(ofn->lCustData)->handle_ = GetParent(hook);
            return 0;
        }
        if (message != WM_NOTIFY)
            return 0;
        auto *dialog = reinterpret_cast<TOpenDialog *>(GetWindowLongPtrW(hook, DWLP_USER));
        if (!dialog)
            return 0;
        switch (reinterpret_cast<NMHDR *>(lParam)->code) {
        case CDN_INITDONE:
            if (dialog->OnShow)
                dialog->OnShow(dialog);
            break;
        case CDN_FOLDERCHANGE:
            if (dialog->OnFolderChange)
                dialog->OnFolderChange(dialog);
            break;
        default: break;
        }
        return 0;
    }
};

AnsiString TOpenDialog::Folder() const
{
    if (!handle_)
        return AnsiString();
    wchar_t folder[MAX_PATH * 2] = L"";
    LRESULT n =
        SendMessageW(static_cast<HWND>(handle_), CDM_GETFOLDERPATH, MAX_PATH * 2, reinterpret_cast<LPARAM>(folder));
    return n > 0 ? WideToCp1251(folder) : AnsiString();
}

bool TOpenDialog::Execute()
{
    TPrompt prompt{
        Saving() ? TPromptKind::SaveFile : TPromptKind::OpenFile, nullptr, title_, fileName_, Name(), options_, this};
    std::vector<AnsiString> chosen;
    if (auto answer = ScriptedAnswer(prompt)) {
        if (answer->Result == 0 || answer->Paths.empty())
            return false;
        chosen = answer->Paths;
    } else {
        std::vector<wchar_t> buffer(32768, L'\0');
        std::wstring proposed = Cp1251ToWide(fileName_);
        proposed.copy(buffer.data(), std::min(proposed.size(), buffer.size() - 1));
        std::wstring filter = SystemFilter(filter_), title = Cp1251ToWide(title_), dir = Cp1251ToWide(initialDir_),
                     ext = Cp1251ToWide(defaultExt_);
        OPENFILENAMEW ofn{};
        ofn.lStructSize = sizeof ofn;
        if (TForm *active = Screen->ActiveForm(); active && active->HandleAllocated())
            ofn.hwndOwner = active->Handle();
        ofn.lpstrFilter = filter_.empty() ? nullptr : filter.c_str();
        ofn.nFilterIndex = static_cast<DWORD>(filterIndex_);
        ofn.lpstrFile = buffer.data();
        ofn.nMaxFile = static_cast<DWORD>(buffer.size());
        ofn.lpstrInitialDir = initialDir_.empty() ? nullptr : dir.c_str();
        ofn.lpstrTitle = title_.empty() ? nullptr : title.c_str();
        ofn.lpstrDefExt = defaultExt_.empty() ? nullptr : ext.c_str();
        ofn.Flags = (options_ & ~static_cast<unsigned>(ofAllowMultiSelect)) | OFN_EXPLORER |
                    ((options_ & ofAllowMultiSelect) ? OFN_ALLOWMULTISELECT : 0);
        if (OnShow || OnFolderChange) {
            ofn.Flags |= OFN_ENABLEHOOK;
            ofn.lpfnHook = &TOpenDialogHook::Proc;
            ofn.lCustData = reinterpret_cast<LPARAM>(this);
        }
        BOOL ok = Saving() ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
        handle_ = nullptr;
        if (!ok)
            return false;
        filterIndex_ = static_cast<int>(ofn.nFilterIndex);
        // One name, or with multi-select the folder followed by the names, each ended by a zero.
        std::vector<std::wstring> parts;
        for (const wchar_t *p = buffer.data(); *p; p += wcslen(p) + 1)
            parts.emplace_back(p);
        if (parts.size() == 1) {
            chosen.push_back(WideToCp1251(parts[0]));
        } else {
            std::wstring folder = parts[0];
            if (!folder.empty() && folder.back() != L'\\')
                folder += L'\\';
            for (size_t i = 1; i < parts.size(); ++i)
                chosen.push_back(WideToCp1251(folder + parts[i]));
        }
    }
    files_->Clear();
    for (const AnsiString &path : chosen)
        files_->Add(path);
    fileName_ = chosen.front();
    return true;
}

bool BrowseForFolder(void *owner, const AnsiString &title, int rootFolder, unsigned flags, AnsiString &path,
                     AnsiString &displayName)
{
    TPrompt prompt{TPromptKind::BrowseFolder, owner, title, AnsiString(), AnsiString(), flags, nullptr};
    if (auto answer = ScriptedAnswer(prompt)) {
        if (answer->Result == 0 || answer->Paths.empty())
            return false;
        path = answer->Paths[0];
        displayName = answer->Paths.size() > 1 ? answer->Paths[1] : AnsiString();
        return true;
    }
    LPITEMIDLIST root = nullptr;
    if (rootFolder && FAILED(SHGetSpecialFolderLocation(nullptr, rootFolder, &root)))
        root = nullptr;
    std::wstring wtitle = Cp1251ToWide(title);
    wchar_t name[MAX_PATH] = L"";
    BROWSEINFOW bi{};
    bi.hwndOwner = static_cast<HWND>(owner);
    bi.pidlRoot = root;
    bi.pszDisplayName = name;
    bi.lpszTitle = wtitle.c_str();
    bi.ulFlags = flags;
    LPITEMIDLIST chosen = SHBrowseForFolderW(&bi);
    if (root)
        CoTaskMemFree(root);
    if (!chosen)
        return false;
    wchar_t folder[MAX_PATH] = L"";
    path = SHGetPathFromIDListW(chosen, folder) ? WideToCp1251(folder) : AnsiString();
    displayName = WideToCp1251(name);
    CoTaskMemFree(chosen);
    return true;
}
