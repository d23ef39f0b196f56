// Settings of the Wine prefix that the whole-program scenarios need, made once before they run.
#include <windows.h>

#include <gtest/gtest.h>

namespace {

// Under Wine on a screen without a window manager (the tests' virtual screen) every hidden window that
// Wine leaves to the window manager waits two seconds for an answer that never comes: each answered box
// and the closing of the main window would cost that. The scenarios' updaters, and only they (by their
// file name), get windows Wine manages itself. Windows itself has no such setting to make.
class WineSettingsForScenarios : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (!GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version"))
            return;
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\qmtupdt_e2e.exe\\X11 Driver", 0, nullptr,
                            0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
            return;
        RegSetValueExW(key, L"Managed", 0, REG_SZ, reinterpret_cast<const BYTE *>(L"N"), 2 * sizeof(wchar_t));
        RegCloseKey(key);
    }
};

const ::testing::Environment *const wineSettings = ::testing::AddGlobalTestEnvironment(new WineSettingsForScenarios);

}  // namespace
