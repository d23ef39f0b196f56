#pragma once
// A plain file over one system file handle, open from construction to destruction. Every failure is
// raised as ZError with the file name as argument: 1 missing file, 17 read from a file opened for
// writing, 18 write to a file opened for reading, 21 a position outside 32 bits, 99 a system error,
// 999 replacement refused by the user (already told).
#include <cstdint>

#include "framework/runtime/AnsiString.h"
#include "framework/runtime/RawFile.h"

class SFile {
public:
    // Modes: 1 read an existing file; 2 create, asking before replacing an existing one; 3 create,
    // replacing silently; 4 read and write an existing file. The name may be an alias path
    // ("CFG#cfg.qmt"). The file is shared for reading and writing with other openers and opened with
    // the sequential-scan hint. Any other mode throws the plain integer 0.
    SFile(const AnsiString &name, uint8_t mode);
    // Takes over a handle the caller opened for reading and writing (mode 4), for a file opened in a
    // way the modes do not offer (shared with nobody); `name` is already resolved.
    SFile(const AnsiString &name, RawFileHandle handle);
    ~SFile();
    SFile(const SFile &) = delete;
    SFile &operator=(const SFile &) = delete;

    const AnsiString &Name() const { return name_; }
    uint8_t Mode() const { return mode_; }

    // Bytes read; fewer than n, or 0, at the end of the file.
    uint32_t Read(void *buffer, uint32_t n);
    uint32_t Write(const void *buffer, uint32_t n);
    // The text's bytes followed by CR LF, in one write.
    uint32_t WriteText(const AnsiString &text);
    // Writes at a position not beyond the current one (ZError 18 otherwise), then moves to the end.
    uint32_t WriteAt(uint32_t position, const void *buffer, uint32_t n);
    // Writes what the system still buffers through to the disk.
    void Flush();
    // Makes the file end at the position, dropping every byte from there on.
    void Truncate();

    // Positioning returns the new position.
    uint32_t Seek(uint32_t position);
    // Origin 0 start, 1 current position, 2 end.
    uint32_t SeekFrom(int32_t distance, int origin);
    uint32_t Tell();

private:
    uint32_t Move(int64_t distance, int origin);
    void CheckReadable() const;
    void CheckWritable() const;

    AnsiString name_;
    RawFileHandle handle_ = InvalidRawFile;
    uint8_t mode_;
};
