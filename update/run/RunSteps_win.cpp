// Steps of the run that find the product, keep a second updater out and check that the update fits
// the installation.
#include <exception>
#include <string>
#include <vector>

#include "framework/runtime/Classes.h"
#include "framework/runtime/Kernel.h"
#include "framework/runtime/SysUtils.h"
#include "update/journal/JournalLine.h"
#include "update/run/MsgBoxes.h"
#include "update/run/ProductFolder.h"
#include "update/payload/StreamSource.h"
#include "update/run/VersionCheck.h"
#include "update/run/uMain.h"

namespace {

// The name, as stored on disk, of the first entry matching `pattern` (a folder when `folderOnly`).
bool FindEntry(const AnsiString &pattern, int attr, bool folderOnly, AnsiString &name)
{
    TSearchRec rec;
    if (FindFirst(pattern, attr, rec) != 0)
        return false;
    bool found = false;
    do {
        found = !folderOnly || (rec.Attr & faDirectory) != 0;
        if (found)
            name = rec.Name;
    } while (!found && FindNext(rec) == 0);
    FindClose(rec);
    return found;
}

// Only a folder named "exe" (any case) counts, not a file.
bool HasExeFolder(const AnsiString &folder)
{
    AnsiString name;
    return FindEntry(folder + "exe", faDirectory, true, name);
}

// The first `count` bytes of a file, or fewer when it is shorter.
std::vector<uint8_t> ReadFileStart(const AnsiString &fileName, size_t count)
{
    TFileStream file(fileName, fmOpenRead | fmShareDenyNone);
    std::vector<uint8_t> bytes(count);
    size_t got = 0;
    while (got < count) {
        long n = file.Read(bytes.data() + got, static_cast<long>(count - got));
        if (n <= 0)
            break;
        got += static_cast<size_t>(n);
    }
    bytes.resize(got);
    return bytes;
}

}  // namespace

bool TForm1::CheckSeveralCopies()
{
    if (!OwnMutex.Create(UpdaterMutexName(ExtractFileName(SelfPath))) || OwnMutex.AlreadyExisted()) {
        LogAndShowError(5005);
        return false;
    }
    return true;
}

bool TForm1::InitData()
{
    const bool found = Guarded([&] {
        AnsiString folder = ExtractFilePath(SelfPath);
        ProductFolder = folder;
        JournalPath = JournalPathFor(folder, NewVersion);
        if (auto product = ProductFolderOf(folder, HasExeFolder)) {
            ProductFolder = *product;
            return true;
        }
        return false;
    });
    JournalPath = JournalPathFor(ProductFolder, NewVersion);
    if (found)
        Log(ept_Plain, "Предположительно. Папка исходной ЦМТ: " + ProductFolder, true);
    return found;
}

bool TForm1::CheckVersion()
{
    Log(ept_Plain, "...ПРОВЕРКА ВЕРСИИ ОБНОВЛЕНИЯ", true);
    return Guarded([&] {
        std::vector<uint8_t> image = ReadFileStart(ProductFolder + "Cfg\\CFG.QMT", CfgRawViewLength);
        ReadCfgRawView(image.data(), image.size(), *Cfg, CfgTail);

        TUpdateVersions versions;
        versions.NewVersion = NewVersion;
        versions.BaseVersion = BaseVersion;
        versions.BaseVersionShort = BaseVersionShort;
        versions.Correction = Correction != 0;
        versions.AcceptedBuilds = AcceptedBuilds;
        SetRunCaption(VersionCheckCaption(versions));

        uint32_t stamp = 0;
        {
            TFileStream exe(ProductFolder + "exe\\qmt.exe", fmOpenRead | fmShareDenyNone);
            TStreamSource source(exe);
            if (!GetPeTimeStamp(source, stamp)) {
                Log(ept_Exception, "Заголовок исполняемого файла ЦМТ неполон: " + exe.FileName(), true);
                return false;
            }
        }
        SectionNumber = 0;
        return CheckInstalled(*this, *Cfg, stamp, versions);
    });
}

bool TForm1::FindProductExe(bool copy, bool silent)
{
    TErrorModeGuard noCriticalErrorBoxes;
    if (copy) {
        if (!DirectoryExists(CopyFolder))
            return true;
        Log(ept_Plain, "Поиск исполняемого файла ЦМТ", true);
    }
    const bool found = Guarded([&] {
        const AnsiString base = copy ? CopyFolder : ProductFolder;
        AnsiString exeFolder, exeName;
        const bool there = FindEntry(base + "exe", faDirectory, true, exeFolder) &&
                           FindEntry(base + exeFolder + "\\qmt.exe", faAnyFile, false, exeName);
        if (there)
            MutexName[copy ? 1 : 0] = ProductMutexName(base + exeFolder + "\\" + exeName);
        else if (!silent && !copy)
            LogAndShowError(5009);
        return there;
    });
    return CheckStep(found, false);
}

bool TForm1::AcquireProductMutex(int slot)
{
    TNamedMutex &mutex = ProductMutex[slot];
    if (mutex.Held())
        return true;
    if (!mutex.Create(MutexName[slot]) || mutex.AlreadyExisted()) {
        mutex.Close();
        return false;
    }
    return true;
}

bool TForm1::WaitProductClosed(int slot)
{
    for (;;) {
        PauseRun(300);
        PauseRun(300);
        for (int attempt = 1; attempt <= 10; ++attempt) {
            if (AcquireProductMutex(slot))
                return false;
            Log(ept_Plain,
                "Программа ЦМТ либо еще одно обновление обнаружены в памяти. Ожидаем 1 секунду. Попытка " +
                    std::to_string(attempt) + " из 10",
                true);
            PauseRun(1000);
        }
        if (!AskYesNo(3007, SelfPath, true))
            break;
    }
    LogAndShowError(5007, {SelfPath});
    return true;
}

void TForm1::StartProduct()
{
    if (UpdateVariant == 1)
        ProductFolder = CopyFolder;
    AnsiString exe = ProductFolder + "EXE\\qmt.exe";
    SetCurrentDir(ProductFolder);
    if (StartProcess(exe, AnsiString(), ProductFolder, swShowMaximized) != 0) {
        ShowError(5017);
        return;
    }
    Close();
}
