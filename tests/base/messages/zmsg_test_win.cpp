// System errors and string-resource texts of the message service.
#include <windows.h>

#include <gtest/gtest.h>

#include "base/messages/zmsg.h"
#include "framework/runtime/Kernel.h"
#include "framework/windows/PromptScript.h"

namespace {
ZError RaisedFor(DWORD code, const AnsiString &arg)
{
    SetLastError(code);
    try {
        RaiseWindowsError(arg);
    } catch (const ZError &e) {
        return e;
    }
    ADD_FAILURE() << "no throw";
    return ZError("", 0);
}
}  // namespace

TEST(WindowsError, RaisedErrorCarriesTheSystemTextAndCode)
{
    AnsiString text = SysErrorMessage(ERROR_FILE_NOT_FOUND);
    ASSERT_FALSE(text.empty());
    ZError e = RaisedFor(ERROR_FILE_NOT_FOUND, "Не открыт файл a.txt");
    EXPECT_EQ(99, e.Number());
    EXPECT_EQ("Не открыт файл a.txt#(" + text + "[Win=00000002])", e.Message());
    // Shown whole: number 99 takes the message as one argument.
    EXPECT_EQ(e.Message(), MessageText(e.Message(), e.Number()));

    EXPECT_EQ(text + "[Win=00000002]", RaisedFor(ERROR_FILE_NOT_FOUND, "").Message());
    // A code the system has no text for still gives its number, in upper-case hex.
    EXPECT_EQ("[Win=2000ABCD]", RaisedFor(0x2000ABCD, "").Message());
}

TEST(WindowsError, ShowLastWindowsErrorShowsTheSystemTextWithoutTheCode)
{
    TPromptScript script;
    script.Answer(IDOK).Answer(IDOK).Answer(IDOK);
    SetLastError(ERROR_ACCESS_DENIED);
    ShowLastWindowsError("Запись в b.txt");
    SetLastError(0);
    ShowLastWindowsError("Нет ошибки");
    SetLastError(0x2000ABCD);
    ShowLastWindowsError("Без текста");
    ASSERT_EQ(3u, script.Seen().size());
    EXPECT_EQ("Запись в b.txt\n(" + SysErrorMessage(ERROR_ACCESS_DENIED) + ")", script.Seen()[0].Text);
    EXPECT_EQ("Нет ошибки", script.Seen()[1].Text);
    EXPECT_EQ("Без текста", script.Seen()[2].Text);
}

TEST(MessageResources, WithoutAProviderTextsComeFromTheStringTable)
{
    EXPECT_EQ("Заменить файл a.txt?", MessageText("a.txt", 2005));
    EXPECT_EQ("Заменить файл $?", ProviderText(2005));
    TPromptScript script;
    script.Answer(IDYES);
    EXPECT_TRUE(AskQuestion("c:\\x.dat", 5));
    EXPECT_EQ("Заменить файл c:\\x.dat?", script.Seen().at(0).Text);
}
