#include "tests/support/ShellLinks.h"

#include <windows.h>
#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include "framework/runtime/Cp1251.h"

bool ReadShellLink(const AnsiString &linkFile, TShellLinkInfo &info)
{
    const bool com = SUCCEEDED(CoInitialize(nullptr));
    IShellLinkW *link = nullptr;
    bool ok = false;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void **>(&link)))) {
        IPersistFile *file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void **>(&file)))) {
            if (SUCCEEDED(file->Load(Cp1251ToWide(linkFile).c_str(), STGM_READ))) {
                wchar_t buf[MAX_PATH * 2] = {};
                // The item list holds the target in full Unicode; the plain path may have been kept
                // in the system's ANSI code page.
                LPITEMIDLIST items = nullptr;
                if (SUCCEEDED(link->GetIDList(&items)) && items && SHGetPathFromIDListW(items, buf))
                    info.Target = WideToCp1251(buf);
                CoTaskMemFree(items);
                buf[0] = 0;
                if (info.Target.empty() && SUCCEEDED(link->GetPath(buf, MAX_PATH * 2, nullptr, SLGP_RAWPATH)))
                    info.Target = WideToCp1251(buf);
                buf[0] = 0;
                link->GetWorkingDirectory(buf, MAX_PATH * 2);
                info.WorkingFolder = WideToCp1251(buf);
                buf[0] = 0;
                link->GetDescription(buf, MAX_PATH * 2);
                info.Description = WideToCp1251(buf);
                link->GetShowCmd(&info.ShowCmd);
                ok = true;
            }
            file->Release();
        }
        link->Release();
    }
    if (com)
        CoUninitialize();
    return ok;
}
