// Choosing where the update's temporary files go, over the drive queries and the run's steps.
#include "update/variant/FreeSpace.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "framework/runtime/SysUtils.h"
#include "update/journal/JournalLine.h"
#include "update/run/RunLog.h"

const char *const ProductTempFolderName = "QMTUPDTA.TMP\\";
const char *const DriveTempFolderName = "QMTUPDT.TMP\\";
const char *const PickedTempFolderName = "QMTUPDTM.TMP\\";
const char *const SpeedTestFileName = "~qmttmp.tmp";

namespace {
char DriveOf(const AnsiString &folder) { return folder.empty() ? '\0' : AnsiUpperChar(folder[0]); }

AnsiString LastName(const AnsiString &folder) { return ExtractFileName(ExcludeTrailingBackslash(folder)); }
}  // namespace

bool IsSharedTempFolder(const AnsiString &folder)
{
    const AnsiString name = LastName(folder) + "\\";
    return AnsiCompareText(name, DriveTempFolderName) == 0 || AnsiCompareText(name, PickedTempFolderName) == 0;
}

AnsiString RunTempFolder(const AnsiString &shared, const AnsiString &journalPath,
                         const std::function<bool(const AnsiString &folder)> &exists)
{
    const AnsiString key = AnsiUpperCase(journalPath);
    uint32_t number = LineHash(key.data(), key.size());
    for (;;) {
        char name[16];
        std::snprintf(name, sizeof name, "RUN%08X\\", static_cast<unsigned>(number++));
        const AnsiString folder = IncludeTrailingBackslash(shared) + name;
        if (!exists(folder))
            return folder;
    }
}

bool EarlierRunsEntry(const AnsiString &name)
{
    const AnsiString upper = AnsiUpperCase(name);
    if (upper == "WRK" || upper == "LNK")
        return true;
    if (upper.size() < 4 || upper.compare(0, 3, "BAK") != 0)
        return false;
    return std::all_of(upper.begin() + 3, upper.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int CompareDiskNfo(const sDskNfo &a, const sDskNfo &b) { return a.Free > b.Free ? 1 : 0; }

uint32_t SpeedTestDelay(uint64_t elapsedMilliseconds)
{
    const uint64_t ms = elapsedMilliseconds % 1000;
    const uint64_t seconds = elapsedMilliseconds / 1000 % 60;
    const uint64_t minutes = elapsedMilliseconds / 60000 % 60;
    return static_cast<uint32_t>(minutes * 100000 + seconds * 1000 + ms);
}

bool PickTempDrive(uint64_t C, uint64_t B, const AnsiString &productFolder, IDriveQueries &drives, TRunLog &log,
                   char &drive)
{
    const uint32_t mask = drives.LogicalDriveMask();
    char windowsDrive = '\0';
    const AnsiString windowsFolder = drives.WindowsFolder();
    if (!windowsFolder.empty()) {
        windowsDrive = DriveOf(windowsFolder);
        log.Log(ept_Plain, "i: Папка с ОС:" + windowsFolder, true);
    }
    const char productDrive = DriveOf(productFolder);

    std::vector<sDskNfo> candidates;
    for (int i = 0; i < 26; ++i) {
        if (!(mask & (1u << i)))
            continue;
        const char letter = static_cast<char>('A' + i);
        const AnsiString root = AnsiString(1, letter) + ":\\";
        if (!drives.IsFixedDrive(root))
            continue;
        log.Log(ept_Plain, "Рассматривается диск " + root, true);
        const uint64_t free = drives.FreeBytes(root);
        const uint64_t need = letter == productDrive ? B + C : B;
        if (need > free)
            continue;
        sDskNfo info;
        if (!drives.TestSpeed(root, info))
            continue;
        info.Drive = letter;
        info.Free = free;
        candidates.push_back(info);
    }
    if (candidates.empty())
        return false;

    const sDskNfo *picked = &candidates.front();
    if (candidates.size() > 1) {
        std::stable_sort(candidates.begin(), candidates.end(),
                         [](const sDskNfo &a, const sDskNfo &b) { return CompareDiskNfo(b, a) == 1; });
        picked = nullptr;
        for (const sDskNfo &c : candidates)
            if (c.Drive != windowsDrive && (!picked || c.Delay < picked->Delay))
                picked = &c;
        if (!picked)
            picked = &candidates.front();
    }
    drive = picked->Drive;
    return true;
}

uint64_t PickedFolderNeed(const AnsiString &folder, uint64_t C, uint64_t B, char productDrive)
{
    return DriveOf(folder) == AnsiUpperChar(productDrive) ? B + C : B;
}

AnsiString ChooseFolderWithSpace(const AnsiString &title, uint64_t C, uint64_t B, char productDrive,
                                 const TFolderChoice &choice)
{
    for (;;) {
        AnsiString path;
        // A chosen item without a file-system path (the computer, a network place) is asked again.
        do {
            if (!choice.Browse(title, path))
                return AnsiString();
        } while (path.empty());

        const AnsiString folder = IncludeTrailingBackslash(path);
        const uint64_t free = choice.FreeBytes(folder);
        const uint64_t need = PickedFolderNeed(folder, C, B, productDrive);
        if (need <= free)
            return folder;
        if (!choice.AskChooseAgain(free, need))
            return AnsiString();
    }
}

bool CheckFreeSpace(const AnsiString &productFolder, uint64_t C, uint64_t B, bool lastRunProblems,
                    AnsiString &tempFolder, TRunLog &log, const TFreeSpaceSteps &steps)
{
    log.Log(ept_Plain, "Проверка свободного места", true);
    const uint64_t free = steps.FreeBytes(productFolder);

    if (!tempFolder.empty()) {
        log.Log(ept_Plain, "Очистка старой временной папки", true);
        steps.RemoveTempFolder(tempFolder);
        tempFolder.clear();
    }

    log.Log(ept_Plain, productFolder, true);
    log.Log(ept_Plain, "Папка ЦМТ (размер после обновления)", true);
    if (!log.CheckStep(C <= free, false)) {
        log.Log(ept_Plain, "НЕДОСТАТОЧНО МЕСТА, необходимо освободить минимум " + UIntToStr(C) + " байт", true);
        return false;
    }

    log.Log(ept_Plain, "Поиск места для временных файлов", true);
    bool result = true;
    if (C + B < free) {
        tempFolder = productFolder + ProductTempFolderName;
    } else {
        log.Log(ept_Plain, "В папке ЦМТ недостаточно места. Выбор папки для временных файлов.", true);
        bool choose = true;
        if (lastRunProblems) {
            log.Log(ept_Plain, "В связи с проблемами прошлого запуска Вы должны выбрать папку вручную", true);
        } else {
            char drive = '\0';
            if (steps.ScanDrives(C, B, drive)) {
                log.Log(ept_Plain, "Выбрана папка для временных файлов", true);
                // Every installation that falls back to this drive shares the place: the run keeps its
                // files in a folder of its own there.
                tempFolder = steps.RunFolderIn(AnsiString(1, drive) + ":\\" + DriveTempFolderName);
                log.Log(ept_Plain, tempFolder, true);
                log.CheckStep(true, false);
                choose = false;
            } else {
                log.CheckStep(false, false);
                log.Log(ept_Plain, "Недостаточно места на диске(дисках)", true);
                log.Log(ept_Plain, "Попробуйте освободить место и задать папку вручную", true);
                log.Log(ept_Plain, "Требуется: ", true);
                log.Log(ept_Plain,
                        "Если выбран диск \"" + productFolder.substr(0, 1) + "\" - " + UIntToStr(C + B) + " байт",
                        true);
                log.Log(ept_Plain, "Если другой - " + UIntToStr(B) + " байт", true);
            }
        }
        if (choose) {
            AnsiString folder = steps.ChooseFolder("Выбор папки для временных файлов", C, B, DriveOf(productFolder));
            if (folder.empty()) {
                log.Log(ept_Plain, "Пользователь оказался от выбора", true);
                result = false;
            } else {
                tempFolder = steps.RunFolderIn(IncludeTrailingBackslash(folder) + PickedTempFolderName);
            }
        }
    }
    if (!tempFolder.empty() && !steps.LogCmd(ejc_TempFolder, tempFolder)) {
        // Rollback would not know of the folder: the run must not make it.
        tempFolder.clear();
        result = false;
    }
    return result;
}
