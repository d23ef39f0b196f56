// The product is still running when the updater starts: the updater waits for it, goes on once it is
// closed, and gives up with a clear error when the user does not want to wait any longer.
#include <gtest/gtest.h>

#include "framework/runtime/SysUtils.h"
#include "tests/support/InstallationBuilder.h"
#include "tests/support/UpdaterRun.h"

namespace {

bool Contains(const AnsiString &text, const AnsiString &part) { return text.find(part) != AnsiString::npos; }

// An installation of 3.0.9 whose "qmt.exe" is the stand-in product, which holds the product's mutex
// while it runs and ends when a file "quit" appears beside it.
struct RunningProduct {
    AnsiString Root;
    AnsiString Outside;  // the stand-in's current folder, outside the installation
    TStartedProcess Product;

    explicit RunningProduct(const char *name)
    {
        Root = MakeTestFolder(name);
        Outside = MakeTestFolder((AnsiString(name) + "_outside").c_str());
        TestInstallation older;
        older.VersionText = "5-3.0.9";
        BuildInstallation(Root, older);
        WriteFileBytes(Root + "EXE\\qmt.exe", ReadFileBytes(QMT_HELPER_DIR "\\standin_product.exe"));
        WriteFileBytes(Root + "qmtupdt_e2e.exe", UpdaterWith(TestPayloadBuilder{}));
    }
    ~RunningProduct()
    {
        Quit();
        RemoveTestFolder(Root);
        RemoveTestFolder(Outside);
    }
    bool Start()
    {
        return Product.Start("\"" + Root + "EXE\\qmt.exe\"", Outside) && WaitForFile(Outside + "started.txt", 30000);
    }
    // Closes the stand-in and takes away the file that told it to.
    void Quit()
    {
        if (!Product.Handle())
            return;
        WriteFileBytes(Root + "EXE\\quit", {});
        Product.Wait(10000);
        DeleteFile(Root + "EXE\\quit");
    }
};

}  // namespace

TEST(RunningProduct, ClosedWhileTheUpdaterWaits)
{
    RunningProduct product("qmt_e2e_running_closed");
    FileTree before = ReadInstallation(product.Root);
    ASSERT_TRUE(product.Start());

    TStartedProcess run;
    ASSERT_TRUE(run.Start("\"" + product.Root + "qmtupdt_e2e.exe\"", product.Root));
    Sleep(3000);
    product.Quit();

    // Once the product is gone the run goes on to the version check (which this installation fails).
    AnsiString texts;
    EXPECT_EQ(0u, AnswerBoxes(run.Id(), {"Ошибка!=1"}, texts));
    EXPECT_TRUE(Contains(texts, "Обновление предназначено для редакции ЦМТ")) << Utf8(texts);
    AnsiString protocolFile = product.Root + "Протокол_qmt_3.1.1.txt";
    ASSERT_TRUE(WaitForFile(protocolFile, 30000));
    Sleep(300);
    std::vector<AnsiString> protocol = ProtocolLines(protocolFile);
    EXPECT_TRUE(HasLineWith(
        protocol, "Программа ЦМТ либо еще одно обновление обнаружены в памяти. Ожидаем 1 секунду. Попытка 1 из 10"))
        << Joined(protocol);
    EXPECT_FALSE(HasLineWith(
        protocol, "Программа ЦМТ либо еще одно обновление обнаружены в памяти. Ожидаем 1 секунду. Попытка 10 из 10"))
        << Joined(protocol);
    EXPECT_TRUE(HasLineWith(protocol, " ...проверка соответствия QMT.EXE")) << Joined(protocol);
    EXPECT_TRUE(CloseUpdater(run));
    EXPECT_TRUE(SameTree(before, ReadInstallation(product.Root)));
}

TEST(RunningProduct, UserStopsWaiting)
{
    RunningProduct product("qmt_e2e_running_kept");
    FileTree before = ReadInstallation(product.Root);
    ASSERT_TRUE(product.Start());

    TStartedProcess run;
    ASSERT_TRUE(run.Start("\"" + product.Root + "qmtupdt_e2e.exe\"", product.Root));
    // After ten seconds of waiting the user is asked whether to wait on; No ends the run.
    AnsiString texts;
    EXPECT_EQ(0u, AnswerBoxes(run.Id(), {"Внимание!=7", "Ошибка!=1"}, texts));
    EXPECT_TRUE(Contains(texts, "Возможно программа ЦМТ-5 не закрыта")) << Utf8(texts);
    EXPECT_TRUE(Contains(texts, "Возможно выполняется приложение ЦМТ-5.")) << Utf8(texts);
    AnsiString protocolFile = product.Root + "Протокол_qmt_3.1.1.txt";
    ASSERT_TRUE(WaitForFile(protocolFile, 30000));
    Sleep(300);
    std::vector<AnsiString> protocol = ProtocolLines(protocolFile);
    EXPECT_TRUE(HasLineWith(
        protocol, "Программа ЦМТ либо еще одно обновление обнаружены в памяти. Ожидаем 1 секунду. Попытка 10 из 10"))
        << Joined(protocol);
    EXPECT_FALSE(HasLineWith(protocol, " ...проверка соответствия QMT.EXE")) << Joined(protocol);
    EXPECT_TRUE(CloseUpdater(run));
    product.Quit();
    EXPECT_TRUE(SameTree(before, ReadInstallation(product.Root)));
}
