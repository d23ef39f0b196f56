#include <windows.h>

#include "bench/SlowdownGuard.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/BenchData.h"
#include "framework/runtime/Cp1251.h"

namespace fs = std::filesystem;

namespace {

constexpr uint64_t kSizeMB = 64;
constexpr int kRounds = 3;
// The limits, in times the floor, lie well between the engine as it was when the guard was written and
// one that drew its protocol list for every line. On this installation the copy took 1.2 to 1.5 times its
// floor (up to 2 on a busy machine), and 6 to 9 times when it drew every line. The run took 2 to 2.7
// times (up to 3.3 on a busy machine), and 10 to 13 times when it drew every line: on a small
// installation the run's costs that do not shrink with the installation weigh more than on a large one,
// where it took about 1.6 times.
constexpr double kRunLimit = 5, kCopyLimit = 3;
constexpr DWORD kStepTimeout = 180 * 1000;  // ms; a step that takes longer has hung

// The "name=value" lines a mode of this program printed.
using Figures = std::map<std::string, std::string>;

double Number(const Figures &figures, const std::string &name)
{
    const auto found = figures.find(name);
    return found == figures.end() ? 0 : std::stod(found->second);
}

// Runs this program in another mode, as tools/bench does: a process of its own per figure. Its standard
// output goes to `output` and is read back; its error output is ours. Empty when the step failed, its
// success mark (`okName`) not 1.
Figures Step(const std::wstring &arguments, const fs::path &output, const char *okName)
{
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring line = L"\"" + std::wstring(self) + L"\" " + arguments;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const HANDLE out = CreateFileW(output.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    if (out == INVALID_HANDLE_VALUE)
        return {};
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = out;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    const bool started =
        CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
    CloseHandle(out);
    if (!started)
        return {};
    DWORD code = 1;
    if (WaitForSingleObject(process.hProcess, kStepTimeout) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    else {
        std::fprintf(stderr, "slowdown guard: a step took more than %lu s and was stopped\n", kStepTimeout / 1000);
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, INFINITE);
    }
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    Figures figures;
    std::ifstream in(output);
    for (std::string text; std::getline(in, text);) {
        text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
        if (const size_t at = text.find('='); at != std::string::npos)
            figures[text.substr(0, at)] = text.substr(at + 1);
    }
    if (code != 0 || figures[okName] != "1") {
        std::fprintf(stderr, "slowdown guard: the step %s failed (exit code %lu)\n", WideToCp1251(arguments).c_str(),
                     code);
        return {};
    }
    return figures;
}

// Writes a file through to the disk, so that no step pays for the writing of the tree it starts from.
bool WriteThrough(const fs::path &file)
{
    const HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    const bool ok = handle != INVALID_HANDLE_VALUE && FlushFileBuffers(handle);
    if (handle != INVALID_HANDLE_VALUE)
        CloseHandle(handle);
    return ok;
}

// The folders every step works in, emptied; with `from`, `to` a fresh copy of it, written through.
void Fresh(const fs::path &work, const fs::path &from = {}, const fs::path &to = {})
{
    fs::remove_all(work / "run");
    fs::remove_all(work / "copies");
    fs::create_directories(work / "copies");
    if (from.empty())
        return;
    fs::copy(from, to, fs::copy_options::recursive);
    for (const fs::directory_entry &entry : fs::recursive_directory_iterator(to))
        if (entry.is_regular_file() && !WriteThrough(entry.path()))
            throw std::runtime_error("cannot write " + entry.path().string() + " through");
}

// Every file under `folder` read once, so that each step finds the installation in the page cache.
void ReadTree(const fs::path &folder)
{
    std::vector<char> buffer(1 << 20);
    for (const fs::directory_entry &entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) {
            std::ifstream in(entry.path(), std::ios::binary);
            while (in.read(buffer.data(), std::streamsize(buffer.size()))) {}
        }
}

std::wstring Quoted(const fs::path &path) { return L"\"" + path.wstring() + L"\""; }

struct Figure {
    const char *name;
    const char *what;
    const char *floorWhat;
    double limit;
    std::vector<double> values = {}, floors = {};
    double Min() const { return *std::min_element(values.begin(), values.end()); }
    double FloorMin() const { return *std::min_element(floors.begin(), floors.end()); }
    double Ratio() const { return Min() / std::max(FloorMin(), 1e-3); }
};

int Guard(const fs::path &work)
{
    std::printf("slowdown guard: the engine's update run and its copy of an installation, each beside its floor,\n"
                "the least of %d alternating rounds on %llu MB. A guard against a change that makes them many\n"
                "times slower, not a speed target: it fails only past %.0f times the floor for the run, %.0f for\n"
                "the copy (tools/bench measures the speed).\n",
                kRounds, (unsigned long long)kSizeMB, kRunLimit, kCopyLimit);
    const TBenchData data = WriteBenchData(work, kSizeMB);
    const fs::path inst = work / "inst", run = work / "run", copies = work / "copies", results = work / "results";
    std::printf("data: %llu files, %.0f MB; the update has %llu items, touching %.0f MB\n",
                (unsigned long long)data.files, double(data.installationBytes) / (1 << 20),
                (unsigned long long)data.items, double(data.touchedBytes) / (1 << 20));
    std::fflush(stdout);
    fs::create_directories(results);
    ReadTree(inst);
    const std::wstring updater = Quoted(run / "qmtupdt.exe");
    Figure runFigure{"update run", "update run, without its wait for the product",
                     "its floor: decode, back up, patch, flush", kRunLimit};
    Figure copyFigure{"copy", "copy of the installation", "its floor: CopyFileW and compare each file", kCopyLimit};
    for (int r = 1; r <= kRounds; ++r) {
        const std::wstring n = std::to_wstring(r);
        Fresh(work, inst, run);
        const Figures engineRun = Step(L"run " + updater, results / (L"run" + n), "run_ok");
        Fresh(work, inst, run);
        const Figures runFloor = Step(L"runfloor " + updater + L" " + Quoted(run / "floor") + L" apply",
                                      results / (L"runfloor" + n), "floor_ok");
        Fresh(work);
        const Figures engineCopy =
            Step(L"copy " + Quoted(inst) + L" " + Quoted(copies) + L" Engine", results / (L"copy" + n), "copy_ok");
        Fresh(work);
        const Figures copyFloor = Step(L"copyfloor " + Quoted(inst) + L" " + Quoted(copies / "floor") + L" compare",
                                       results / (L"copyfloor" + n), "floor_ok");
        if (engineRun.empty() || runFloor.empty() || engineCopy.empty() || copyFloor.empty())
            return 1;
        runFigure.values.push_back(Number(engineRun, "run_s") - Number(engineRun, "wait_s"));
        runFigure.floors.push_back(Number(runFloor, "floor_s"));
        copyFigure.values.push_back(Number(engineCopy, "copy_s"));
        copyFigure.floors.push_back(Number(copyFloor, "floor_s"));
        std::printf("round %d of %d: run %.3f s (its floor %.3f s), copy %.3f s (its floor %.3f s)\n", r, kRounds,
                    runFigure.values.back(), runFigure.floors.back(), copyFigure.values.back(),
                    copyFigure.floors.back());
        std::fflush(stdout);
    }
    bool passed = true;
    for (const Figure *figure : {&runFigure, &copyFigure}) {
        std::printf("%-46s %7.3f s   %-44s %7.3f s   ratio %5.2f (limit %.0f)\n", figure->what, figure->Min(),
                    figure->floorWhat, figure->FloorMin(), figure->Ratio(), figure->limit);
        passed = passed && figure->Ratio() <= figure->limit;
    }
    for (const Figure *figure : {&runFigure, &copyFigure})
        if (figure->Ratio() > figure->limit)
            std::printf("slowdown guard FAILED: the %s took %.1f times its floor, more than %.0f times: a change\n"
                        "has made it many times slower (tools/bench measures it on a large installation)\n",
                        figure->name, figure->Ratio(), figure->limit);
    if (passed)
        std::printf("slowdown guard passed: no figure past its limit\n");
    return passed ? 0 : 1;
}

}  // namespace

int SlowdownGuard(const AnsiString &work)
{
    const fs::path folder = Cp1251ToWide(work);
    int result = 1;
    try {
        result = Guard(folder);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "slowdown guard: %s\n", e.what());
    }
    std::error_code ignored;
    fs::remove_all(folder, ignored);  // the data is large: it goes whatever happened
    return result;
}
