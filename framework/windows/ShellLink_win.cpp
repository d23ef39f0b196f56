// The shell-link object and its persist-file interface.
#include <windows.h>
#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include "framework/runtime/Cp1251.h"
#include "framework/windows/ShellLink.h"

namespace {
// Starts COM for the duration of one call; ends it only when this call started it.
class ComScope {
public:
    ComScope() : result_(CoInitialize(nullptr)) {}
    ~ComScope()
    {
        if (SUCCEEDED(result_))
            CoUninitialize();
    }

private:
    HRESULT result_;
};
}  // namespace

bool SaveShellLinkFile(const AnsiString &target, const AnsiString &linkFile, const AnsiString &description,
                       const AnsiString &workingFolder, int showState)
{
    std::wstring name = Cp1251ToWide(linkFile);
    // A longer name would be cut and the link saved under another name.
    if (name.empty() || name.size() >= MAX_PATH)
        return false;
    ComScope com;
    IShellLinkW *link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void **>(&link))))
        return false;
    bool saved = false;
    if (SUCCEEDED(link->SetPath(Cp1251ToWide(target).c_str())) &&
        SUCCEEDED(link->SetDescription(Cp1251ToWide(description).c_str())) && SUCCEEDED(link->SetShowCmd(showState)) &&
        SUCCEEDED(link->SetWorkingDirectory(Cp1251ToWide(workingFolder).c_str()))) {
        IPersistFile *file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void **>(&file)))) {
            saved = SUCCEEDED(file->Save(name.c_str(), TRUE));
            if (saved)
                file->SaveCompleted(name.c_str());
            file->Release();
        }
    }
    link->Release();
    return saved;
}

void RefreshDesktopWindow() { UpdateWindow(GetDesktopWindow()); }
