// Measuring and removing the dead space of compound files.
#include <memory>
#include <vector>

#include "base/messages/zmsg.h"
#include "storage/compound/dwfile.h"
#include "storage/compound/dwfile_internal.h"
#include "storage/compound/wstore.h"
#include "storage/utilities/dutilfile.h"

using namespace dwfile_detail;

int DeadSpace::Percent() const
{
    if (area == 0 || used > area)
        return 0;
    return static_cast<int>(100 - used * 100 / area);
}

DeadSpace MeasureDeadSpace(const WFile &file)
{
    if (!file.Compound())
        throw ZError("Файл " + file.Name() + " не является составным", 0);
    DeadSpace space;
    space.area = file.DataEnd() - DataStartFor(file.FileCount());
    for (uint32_t i = 0; i < file.FileCount(); ++i)
        space.used += file.EntryLength(i);
    return space;
}

bool IsCompactFile(const AnsiString &name)
{
    try {
        WFile file(name, true);
        const DeadSpace space = MeasureDeadSpace(file);
        return space.used == space.area;
    } catch (const ZError &e) {
        ShowZError(e);
        return true;
    }
}

int DeadSpacePercent(const AnsiString &name)
{
    try {
        WFile file(name, true);
        return MeasureDeadSpace(file).Percent();
    } catch (const ZError &e) {
        ShowZError(e);
        return 0;
    }
}

namespace {

// Writes the packed image of a compound file: the same header size, then every logical file's chain
// in one piece, deleted records left out, every link NoLink.
class PackedWriter {
public:
    PackedWriter(WFile &source, WStore &target) : source_(source), target_(target) {}

    void Write()
    {
        const uint32_t count = source_.FileCount();
        std::vector<uint8_t> head(DataStartFor(count));
        position_ = head.size();
        target_.Seek(static_cast<uint32_t>(position_));
        WRec record;
        for (uint32_t i = 0; i < count; ++i) {
            const uint64_t first = position_;
            source_.OpenLogicalFile(i);
            while (source_.ReadRecord(record))
                Append(record.Flags(), record.Length(), record.Data());
            Append(EndRecord[0], 1, EndRecord + RecordHeaderSize);
            StoreU32(head.data() + EntryPositionAt(i), static_cast<uint32_t>(first));
            StoreU32(head.data() + EntryLengthAt(i), static_cast<uint32_t>(position_ - first));
        }
        Drain();
        StoreU32(head.data(), static_cast<uint32_t>(position_));
        StoreU32(head.data() + 4, count);
        target_.Seek(0);
        Put(head.data(), head.size());
    }

private:
    void Append(uint8_t flags, uint32_t length, const uint8_t *data)
    {
        position_ += RecordHeaderSize + length;
        // Chains that share records (a damaged directory) could add up beyond 32-bit positions.
        if (position_ > 0xFFFFFFFFu)
            throw ZError("Файл " + source_.Name() + " не может быть сжат: сжатый файл превысил 4 Гбайт", 0);
        uint8_t head[RecordHeaderSize];
        EncodeRecordHeader(head, {flags, NoLink, static_cast<uint16_t>(length)});
        buffer_.insert(buffer_.end(), head, head + RecordHeaderSize);
        buffer_.insert(buffer_.end(), data, data + length);
        if (buffer_.size() >= BufferSize)
            Drain();
    }

    void Drain()
    {
        Put(buffer_.data(), buffer_.size());
        buffer_.clear();
    }

    void Put(const uint8_t *bytes, std::size_t n)
    {
        if (n != 0 && target_.Write(bytes, static_cast<uint32_t>(n)) != n)
            throw ZError("Для файла " + target_.Name() + " запись выполнена не полностью", 0);
    }

    static constexpr std::size_t BufferSize = 1 << 20;
    WFile &source_;
    WStore &target_;
    uint64_t position_ = 0;
    std::vector<uint8_t> buffer_;
};

}  // namespace

bool PackCompoundFile(const AnsiString &name, int threshold)
{
    auto source = std::make_unique<WFile>(name, true);
    if (MeasureDeadSpace(*source).Percent() < threshold)
        return false;
    WStoreSystem &files = StoreSystem();
    const AnsiString original = source->Name();
    const AnsiString packed = original + "$";
    // Packing writes the whole file: it holds the writer lock as every writer does, so that no commit
    // or edit lands in the original between its reading and its replacement, and reads the directory
    // again under that hold.
    std::unique_ptr<WWriterLock> hold = files.OpenWriterLock(original);
    if (!hold->TryLock())
        RaiseWriterBusy(original);
    // The packed copy is complete and on the disk before it replaces the original in one step, so
    // whatever fails, the user keeps a whole file: the old one, or the packed one.
    files.Delete(packed);
    try {
        source->ReloadDirectory();
        WriteCompoundHeader(packed, source->FileCount());
        {
            std::unique_ptr<WStore> target = files.Open(packed, 4);
            PackedWriter(*source, *target).Write();
            target->Flush();
        }
        // Every handle on the original is closed before the replacement, the lock's too: the system
        // does not replace a file that is open. A writer that takes the lock in the moment between
        // has the original open, and the replacement is then refused with the original kept whole.
        source.reset();
        hold.reset();
        files.Replace(original, packed);
    } catch (...) {
        files.Delete(packed);
        throw;
    }
    return true;
}
