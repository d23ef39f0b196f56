// Demo helper: writes a sample installation of version 3.1.1.2 and, inside it, the shipped updater
// carrying a correction to 3.1.1.5 (a replaced help file and a new file), for a user to watch a run.
//   sampleupdate.exe UPDATER_EXE FOLDER [TEMP_BYTES [NEW_VERSION]]
// FOLDER is made empty first; the installation is FOLDER itself with the updater as FOLDER\qmtupdt.exe.
// TEMP_BYTES sets the room the update asks for its temporary files (1000 by default); a NEW_VERSION
// whose first three numbers differ from 3.1.1 (3.1.2, say) makes it a version step, which updates a
// copy of the installation that the variant dialog makes.
// Exit code 0 when written, 1 when something failed (the reason on stderr), 2 for wrong arguments.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <vector>

#include "framework/runtime/Classes.h"
#include "framework/runtime/SysUtils.h"
#include "tests/support/InstallationBuilder.h"
#include "tests/support/PayloadBuilder.h"
#include "update/payload/PartNfo.h"

namespace {

std::vector<uint8_t> Bytes(const AnsiString &text) { return std::vector<uint8_t>(text.begin(), text.end()); }

void Write(const AnsiString &fileName, const std::vector<uint8_t> &bytes)
{
    ForceDirectories(ExtractFilePath(fileName));
    TFileStream file(fileName, fmCreate);
    if (!bytes.empty())
        file.WriteBuffer(bytes.data(), static_cast<long>(bytes.size()));
}

std::vector<uint8_t> Read(const AnsiString &fileName)
{
    TFileStream file(fileName, fmOpenRead | fmShareDenyNone);
    std::vector<uint8_t> bytes(static_cast<size_t>(file.Size()));
    if (!bytes.empty())
        file.ReadBuffer(bytes.data(), static_cast<long>(bytes.size()));
    return bytes;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc < 3 || argc > 5)
        return 2;
    try {
        AnsiString folder = IncludeTrailingBackslash(argv[2]);
        RemoveTestFolder(folder);
        ForceDirectories(folder);

        TestInstallation installation;
        installation.VersionText = "5-3.1.1.2";
        BuildInstallation(folder, installation);
        Write(folder + "Help\\readme.txt", Bytes("Справка ЦМТ-5, версия 3.1.1.2\r\n"));
        Write(folder + "Data\\tables.dat", PatternBytes(20000, 11));

        TestPayloadBuilder payload;
        payload.Image = Read(argv[1]);
        payload.BaseVersion = "3.1.1.2";
        payload.NewVersion = argc > 4 ? argv[4] : "3.1.1.5";
        if (argc > 3)
            payload.TempBytes = static_cast<uint32_t>(std::strtoul(argv[3], nullptr, 10));
        payload.Builds = {installation.TimeStamp};
        payload.AddSection();
        payload.AddFile(ADDREPL, "Help\\readme.txt",
                        Bytes("Справка ЦМТ-5, версия 3.1.1.5\r\nИсправлены ошибки печати.\r\n"));
        payload.AddFile(ADDREPL, "Help\\changes.txt", Bytes("3.1.1.5: исправлена печать отчётов.\r\n"));
        Write(folder + "qmtupdt.exe", payload.Build().Bytes);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "sampleupdate: %s\n", e.what());
        return 1;
    }
    return 0;
}
