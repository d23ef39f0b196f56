#include "update/DbbRekeyFile.h"

#include <memory>

#include "framework/Classes.h"
#include "framework/SysUtils.h"
#include "update/JournalLine.h"
#include "update/StreamSource.h"
#include "update/uMain.h"

bool RekeyDbbFiles(TRunLog &log, const AnsiString &source, const AnsiString &destination, uint32_t oldKey,
                   uint32_t newKey, const TRekeyProgress &progress)
{
    DeleteFile(destination);
    AnsiString failure;
    bool created = false;
    try {
        TFileStream in(source, fmOpenRead | fmShareDenyWrite);
        TFileStream out(destination, fmCreate | fmShareDenyWrite);
        created = true;
        TStreamSource from(in), to(out);
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
        DeleteFile(destination);
    log.Log(ept_Exception, failure, true);
    return false;
}

bool TForm1::RekeyDbbFile(const AnsiString &source, const AnsiString &destination, uint32_t oldKey, uint32_t newKey)
{
    return RekeyDbbFiles(*this, source, destination, oldKey, newKey, [this](int position, int maximum) {
        PrBar->SetMax(maximum);
        PrBar->SetStep(1);
        PrBar->SetPosition(position);
    });
}
