// The text base's file: mapped once per process and shared by every text base object.
#include <memory>

#include "base/files/AppPaths.h"
#include "base/files/MMBase.h"
#include "base/files/PathParts.h"
#include "base/files/TextBase.h"

TZLock TMRiza::lock_;
TInterlockedCounter TMRiza::uses_;
TMM_Base *TMRiza::sharedFile_ = nullptr;
const std::uint8_t *TMRiza::sharedView_ = nullptr;
std::size_t TMRiza::sharedSize_ = 0;

namespace {

const char *const FileName = "riza.sfr";
const char *const LastResortFolder = "e:\\qmt3\\cfg\\";

AnsiString WithBackslash(AnsiString folder)
{
    if (!folder.empty() && folder.back() != '\\')
        folder += '\\';
    return folder;
}

AnsiString ConfigFolder()
{
    const AnsiString configured = GetPathPartStr(ConfigFolderRecord, PathWhole);
    if (!configured.empty())
        return WithBackslash(configured);
    AnsiString found;
    if (FindFolderUpwards(found, "CFG") > 0)
        return WithBackslash(found);
    return LastResortFolder;
}

}  // namespace

bool TMRizaBs::LoadFile(const char *name, int length)
{
    CloseFile();
    // No exceptions: a file that cannot be mapped shows its error box and leaves no view.
    auto file = std::make_unique<TMM_Base>();
    if (file->Open(name, length) != 0 || !file->IsMapped() || file->View() == nullptr)
        return false;
    file_ = file.release();
    SetView(static_cast<const std::uint8_t *>(file_->View()), static_cast<std::size_t>(file_->Size()));
    return true;
}

void TMRizaBs::CloseFile()
{
    SetView(nullptr, 0);
    delete file_;
    file_ = nullptr;
}

void TMRiza::Open()
{
    // The test of the count, the first load and the copying of the shared handles happen under one
    // hold, so two first users cannot both load the file and no user copies a mapping being freed.
    TZLockHold hold(lock_);
    if (uses_.Value() == 0) {
        const AnsiString name = ConfigFolder() + FileName;
        if (LoadFile(name.c_str(), static_cast<int>(name.size()))) {
            sharedFile_ = file_;
            sharedView_ = view_;
            sharedSize_ = size_;
        }
    } else {
        file_ = sharedFile_;
        SetView(sharedView_, sharedSize_);
    }
    uses_.Increment();
}

void TMRiza::Release()
{
    TZLockHold hold(lock_);
    // This object's handles are the shared ones: they are dropped here, the mapping by the last user.
    file_ = nullptr;
    SetView(nullptr, 0);
    if (uses_.Value() > 0 && uses_.Decrement() == 0) {
        delete sharedFile_;
        sharedFile_ = nullptr;
        sharedView_ = nullptr;
        sharedSize_ = 0;
    }
}

std::int32_t TMRiza::UseCount() { return uses_.Value(); }

TBText::TBText(std::uint32_t section)
{
    Open();
    SeekRecord(section);
    first_ = RecordOffset();
}

TBText::~TBText() { Release(); }
