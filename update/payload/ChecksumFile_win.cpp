#include "update/payload/ChecksumFile.h"

#include <memory>

#include "update/payload/Checksum.h"
#include "update/payload/StreamSource.h"

namespace {

// Open for reading while others may go on reading and writing it.
std::unique_ptr<TFileStream> OpenShared(const AnsiString &fileName)
{
    return std::make_unique<TFileStream>(fileName, fmOpenRead | fmShareDenyNone);
}

}  // namespace

bool ChecksumFile(const AnsiString &fileName, uint32_t &sum, uint64_t &size)
{
    sum = 0;
    size = 0;
    try {
        auto file = OpenShared(fileName);
        TStreamSource source(*file);
        size = source.Size();
        return ChecksumStream(source, sum, 0, 0);
    } catch (const Exception &) {
        return false;
    }
}

bool ChecksumFilePart(const AnsiString &fileName, uint64_t start, uint64_t length, uint32_t &sum)
{
    sum = 0;
    try {
        auto file = OpenShared(fileName);
        TStreamSource source(*file);
        return ChecksumStreamPart(source, start, length, sum);
    } catch (const Exception &) {
        return false;
    }
}
