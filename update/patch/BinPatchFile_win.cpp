#include "update/patch/BinPatchFile.h"

#include <memory>
#include <span>

#include "framework/runtime/Classes.h"
#include "framework/runtime/Kernel.h"
#include "framework/runtime/SysUtils.h"
#include "update/patch/BinPatch.h"
#include "update/apply/FileOps.h"
#include "update/run/uMain.h"

namespace {

constexpr int8_t LogError = 26;
constexpr int8_t LogText = 0;
constexpr int ProgressSteps = 3;

bool Fail(TRunLog &log, const AnsiString &text)
{
    log.Log(LogError, text, true);
    return false;
}

bool FailOnFile(TRunLog &log, const AnsiString &text, const AnsiString &fileName)
{
    log.Log(LogError, text, true);
    log.Log(LogText, fileName, true);
    return false;
}

std::unique_ptr<TFileStream> OpenShared(const AnsiString &fileName, unsigned short mode)
{
    try {
        return std::make_unique<TFileStream>(fileName, mode);
    } catch (const Exception &) {
        return nullptr;
    }
}

// Maps a file read-only. The mapping has no name: under a name shared by every process, a second
// updater running at the same time (on this installation or another) would either get the first one's
// view instead of its own file or fail its patch.
bool MapReadOnly(TFileMapping &mapping, const TFileStream &file) { return mapping.Map(file.Handle(), false, 0, ""); }

std::span<const std::uint8_t> Bytes(const TFileMapping &mapping)
{
    return {static_cast<const std::uint8_t *>(mapping.Data()), static_cast<std::size_t>(mapping.Size())};
}

}  // namespace

bool ApplyPatchFiles(TRunLog &log, const AnsiString &oldName, const AnsiString &outName, const AnsiString &patchName,
                     const TPatchProgress &progress)
{
    const auto oldFile = OpenShared(oldName, fmOpenRead | fmShareDenyWrite);
    if (!oldFile)
        return FailOnFile(log, "Невозможно открыть файл", oldName);
    TFileMapping oldMap;
    if (!MapReadOnly(oldMap, *oldFile))
        return Fail(log, oldMap.ViewFailed() ? "Невозможно создать отображение pBufIn"
                                             : "Невозможно создать hMapIn мэппинг");

    const auto patchFile = OpenShared(patchName, fmOpenRead | fmShareDenyWrite);
    if (!patchFile)
        return FailOnFile(log, "Невозможно открыть файл", patchName);
    TFileMapping patchMap;
    if (!MapReadOnly(patchMap, *patchFile))
        return Fail(log, patchMap.ViewFailed() ? "Невозможно создать отображение pBufPatch"
                                               : "Невозможно создать hMapPatch мэппинг");

    const PatchPlan plan = PlanPatch(Bytes(oldMap), Bytes(patchMap));
    if (!plan.Ok())
        return Fail(log, PatchFaultText(plan));
    progress(1, ProgressSteps);

    std::unique_ptr<TFileStream> outFile;
    try {
        outFile = FileOpCreate(outName, fmShareDenyWrite);
    } catch (const Exception &) {}
    if (!outFile)
        return FailOnFile(log, "Невозможно создать файл", outName);
    TFileMapping outMap;
    AnsiString failure;
    if (!FileOpMapWritable(outMap, *outFile, plan.newSize, ""))
        failure = outMap.ViewFailed() ? "Невозможно создать отображение pBufOut" : "Невозможно создать hMapOut мэппинг";
    else {
        progress(2, ProgressSteps);
        ApplyPatchPlan(plan, Bytes(oldMap), Bytes(patchMap),
                       {static_cast<std::uint8_t *>(outMap.Data()), static_cast<std::size_t>(plan.newSize)});
        progress(ProgressSteps, ProgressSteps);
        outMap.Close();
        try {
            FileOpResize(*outFile, outName, plan.newSize);
        } catch (const Exception &e) {
            failure = e.Message();
        }
    }
    if (failure.empty())
        return true;
    outMap.Close();
    outFile.reset();
    FileOpDelete(outName);
    return Fail(log, failure);
}

bool TForm1::ApplyPatchMapped(const AnsiString &oldName, const AnsiString &outName, const AnsiString &patchName)
{
    return ApplyPatchFiles(*this, oldName, outName, patchName, [this](int position, int maximum) {
        if (Progress->Max() != maximum)
            Progress->SetMax(maximum);
        Progress->SetPosition(position);
    });
}
