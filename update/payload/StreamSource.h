#pragma once
// The byte-source view of a framework stream (an open file, a memory stream).
#include "framework/runtime/Classes.h"
#include "update/payload/ByteSource.h"

class TStreamSource : public TByteStore {
public:
    explicit TStreamSource(TStream &stream) : stream_(stream) {}
    uint64_t Size() override;
    // Stream errors count as a failed read or write.
    bool ReadAt(uint64_t position, void *buffer, size_t count) override;
    bool WriteAt(uint64_t position, const void *data, size_t count) override;
    bool SetSize(uint64_t size) override;

private:
    TStream &stream_;
};
