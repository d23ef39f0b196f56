#include "update/payload/Lzma86File.h"

#include <exception>
#include <memory>

#include "framework/runtime/Classes.h"
#include "framework/runtime/SysUtils.h"
#include "update/apply/FileOps.h"
#include "update/payload/StreamSource.h"

namespace {

// Writes `bytes` as the whole new content of `fileName`; on failure the partial file is deleted.
bool WriteWholeFile(const AnsiString &fileName, const std::vector<uint8_t> &bytes)
{
    bool ok = false;
    bool created = false;
    try {
        const auto out = FileOpCreate(fileName, fmShareDenyWrite);
        created = true;
        TStreamSource target(*out);
        if (!bytes.empty()) {
            if (const uint32_t error = PassFileOpGate(TFileOp::Write, fileName))
                ThrowFileOpWriteError(fileName, error);
        }
        ok = bytes.empty() || target.WriteAt(0, bytes.data(), bytes.size());
    } catch (const Exception &) {
        ok = false;
    }
    if (!ok && created)
        FileOpDelete(fileName);
    return ok;
}

bool ReadWholeFile(const AnsiString &fileName, std::vector<uint8_t> &bytes)
{
    TFileStream in(fileName, fmOpenRead | fmShareDenyWrite);
    TStreamSource source(in);
    bytes.resize(size_t(source.Size()));
    return bytes.empty() || source.ReadAt(0, bytes.data(), bytes.size());
}

// Decodes the stream at `offset` of `source` and writes it whole into `outName`: the unpacked size, 0
// on failure.
uint64_t DecodeToFile(const AnsiString &outName, TByteSource &source, uint64_t offset, const TLzmaProgress &progress)
{
    std::vector<uint8_t> plain;
    try {
        uint8_t header[kLzma86HeaderSize];
        uint64_t size = 0;
        if (source.Size() == 0 || !source.ReadAt(offset, header, sizeof header) ||
            !GetLzma86UnpackSize(header, sizeof header, size) || size == 0 || size > SIZE_MAX)
            return 0;
        plain.resize(size_t(size));
        if (!Lzma86Decode(source, offset, plain.data(), plain.size(), progress))
            return 0;
    } catch (const std::exception &) {  // no memory for the output
        return 0;
    }
    return WriteWholeFile(outName, plain) ? plain.size() : 0;
}

}  // namespace

uint64_t DecompressFileLzma86(const AnsiString &outName, const AnsiString &inName, uint64_t offset,
                              TLzmaProgressCallback callback, void *userData)
{
    try {
        TFileStream in(inName, fmOpenRead | fmShareDenyWrite);
        TStreamSource source(in);
        return DecodeToFile(outName, source, offset, {callback, userData});
    } catch (const Exception &) {  // the input cannot be opened
        return 0;
    }
}

uint64_t DecompressMemoryLzma86(const AnsiString &outName, const uint8_t *data, size_t size,
                                TLzmaProgressCallback callback, void *userData)
{
    TMemorySource source(data, size);
    return DecodeToFile(outName, source, 0, {callback, userData});
}

std::vector<uint8_t> CompressFileToMemory(const AnsiString &inName, TLzmaProgressCallback callback, void *userData)
{
    std::vector<uint8_t> packed;
    try {
        std::vector<uint8_t> plain;
        if (!ReadWholeFile(inName, plain) || !Lzma86Encode(plain.data(), plain.size(), packed, {callback, userData}))
            packed.clear();
    } catch (const std::exception &) {
        packed.clear();
    }
    return packed;
}

uint64_t CompressFileLzma86(const AnsiString &inName, const AnsiString &outName, TLzmaProgressCallback callback,
                            void *userData)
{
    const std::vector<uint8_t> packed = CompressFileToMemory(inName, callback, userData);
    if (packed.empty() || !WriteWholeFile(outName, packed))
        return 0;
    return packed.size();
}

uint64_t GetLzma86UnpackSize(const AnsiString &fileName, uint64_t offset)
{
    try {
        TFileStream in(fileName, fmOpenRead | fmShareDenyWrite);
        TStreamSource source(in);
        uint8_t header[kLzma86HeaderSize];
        uint64_t size = 0;
        if (!source.ReadAt(offset, header, sizeof header) || !GetLzma86UnpackSize(header, sizeof header, size))
            return 0;
        return size;
    } catch (const Exception &) {
        return 0;
    }
}
