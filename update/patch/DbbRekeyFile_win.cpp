#include "update/patch/DbbRekeyFile.h"

#include <memory>

#include "framework/runtime/Classes.h"
#include "framework/runtime/SysUtils.h"
#include "update/apply/FileOps.h"
#include "update/journal/JournalLine.h"
#include "update/payload/StreamSource.h"
#include "update/run/uMain.h"

namespace {

// The destination's writes pass the engine's file-operation gate, one per piece written.
class TGatedStore : public TStreamSource {
public:
    TGatedStore(TStream &stream, const AnsiString &name) : TStreamSource(stream), name_(name) {}
    bool WriteAt(uint64_t position, const void *data, size_t count) override
    {
        if (const uint32_t error = PassFileOpGate(TFileOp::Write, name_))
            ThrowFileOpWriteError(name_, error);
        return TStreamSource::WriteAt(position, data, count);
    }

private:
    const AnsiString &name_;
};

}  // namespace

bool RekeyDbbFiles(TRunLog &log, const AnsiString &source, const AnsiString &destination, uint32_t oldKey,
                   uint32_t newKey, const TRekeyProgress &progress)
{
    FileOpDelete(destination);
    AnsiString failure;
    bool created = false;
    try {
        TFileStream in(source, fmOpenRead | fmShareDenyWrite);
        const std::unique_ptr<TFileStream> out = FileOpCreate(destination, fmShareDenyWrite);
        created = true;
        TStreamSource from(in);
        TGatedStore to(*out, destination);
        const RekeyResult result = RekeyDbb(from, to, oldKey, newKey, progress);
        if (result.Ok()) {
            if (result.trailingBytes != 0)
                log.Log(ept_Plain, RekeyTrailingText(result), true);
            return true;
        }
        failure = RekeyFaultText(result);
    } catch (const Exception &e) {
        failure = e.Message();
    }
    if (created)
        FileOpDelete(destination);
    log.Log(ept_Exception, failure, true);
    return false;
}

bool TForm1::RekeyDbbFile(const AnsiString &source, const AnsiString &destination, uint32_t oldKey, uint32_t newKey)
{
    return RekeyDbbFiles(*this, source, destination, oldKey, newKey, [this](int position, int maximum) {
        if (Progress->Max() != maximum)
            Progress->SetMax(maximum);
        Progress->SetPosition(position);
    });
}
