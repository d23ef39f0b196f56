// The payload reader on a file, and the main window's payload steps.
#include "framework/runtime/Classes.h"
#include "framework/runtime/Kernel.h"
#include "update/payload/Payload.h"
#include "update/payload/StreamSource.h"
#include "update/run/uMain.h"

bool ReadPayloadFile(const AnsiString &fileName, TRunLog &log, TPayloadInfo &info)
{
    try {
        // Others may go on reading and writing the file; the seal tells whether it is whole.
        TFileStream file(fileName, fmOpenRead | fmShareDenyNone);
        TStreamSource source(file);
        return ReadPayload(source, fileName, log, info);
    } catch (const Exception &e) {
        log.Log(26, e.Message() + " ", true);
        return false;
    }
}

TPayloadItems::TPayloadItems(const AnsiString &fileName)
{
    try {
        file_ = std::make_unique<TFileStream>(fileName, fmOpenRead | fmShareDenyNone);
    } catch (const Exception &) {
    }
}

TPayloadItems::~TPayloadItems() = default;

bool TPayloadItems::Read(const TPartNfo &item, std::vector<uint8_t> &bytes)
{
    if (!file_)
        return false;
    try {
        TStreamSource source(*file_);
        bytes.resize(item.Rec[PN_ItemLength]);
        return source.ReadAt(item.Position, bytes.data(), bytes.size());
    } catch (const Exception &) {
        return false;
    }
}

bool TForm1::ReadUpdatePayload(const AnsiString &fileName)
{
    TPayloadInfo info;
    const bool ok = ReadPayloadFile(fileName.empty() ? GetModuleFileName() : fileName, *this, info);
    Items = std::move(info.Items);
    ItemCount = info.ItemCount;
    TempBytesNeeded = info.TempBytesNeeded;
    Growth = info.Growth;
    NewVersion = info.NewVersion;
    BaseVersion = info.BaseVersion;
    NewVersionShort = info.NewVersionShort;
    BaseVersionShort = info.BaseVersionShort;
    AcceptedBuilds = std::move(info.AcceptedBuilds);
    Correction = info.Correction ? 1 : 0;
    return ok;
}

void TForm1::LogPayloadItem(uint8_t type, const AnsiString &name, uint32_t section, uint32_t number)
{
    ::LogPayloadItem(*this, type, name, section, number);
}
