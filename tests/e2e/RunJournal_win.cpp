#include "tests/e2e/RunJournal.h"

#include <algorithm>
#include <string>

#include "framework/runtime/Cp1251.h"
#include "framework/runtime/SysUtils.h"
#include "tests/support/UpdaterRun.h"

bool JournalEnded(const AnsiString &fileName)
{
    AnsiString last;
    for (const AnsiString &line : ProtocolLines(fileName))
        if (!line.empty() && line[0] == '>')
            last = line;
    return last.find("Конец") != AnsiString::npos;
}

int JournalCommands(const AnsiString &fileName)
{
    HANDLE file =
        CreateFileW(Cp1251ToWide(fileName).c_str(), GENERIC_READ,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    std::string content;
    char buffer[65536];
    DWORD n = 0;
    while (ReadFile(file, buffer, sizeof buffer, &n, nullptr) && n)
        content.append(buffer, n);
    CloseHandle(file);
    int count = !content.empty() && content[0] == '>' ? 1 : 0;
    for (size_t at = content.find("\n>"); at != std::string::npos; at = content.find("\n>", at + 1))
        ++count;
    return count;
}

bool WaitForJournalCommands(const AnsiString &fileName, int count, int timeout)
{
    int seen = 0;
    for (ULONGLONG start = GetTickCount64(); GetTickCount64() - start < ULONGLONG(timeout); Sleep(2)) {
        int now = JournalCommands(fileName);
        if (now >= count || (seen > 0 && now == 0 && !FileExists(fileName)))
            return true;
        seen = std::max(seen, now);
    }
    return false;
}
