#pragma once
// Lists the segments of a JPEG file without decoding it: each marker segment and each run of
// entropy-coded data becomes one item of a list, own segments can be inserted among them, the items
// can be written back as bytes, and the list can be written as text with a description per segment.
//
// Every item covers bytes that follow the previous item's, so writing the items of a split back in
// order gives the source again, whatever the source holds after its first two bytes.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "framework/runtime/AnsiString.h"
#include "framework/runtime/Classes.h"

class TSFile;

// One segment: where its bytes lie in the source, or its own data (written with its kind's marker
// and length in front).
struct TZJPEGItem {
    static constexpr std::uint32_t OwnData = 0xFFFFFFFF;

    std::uint8_t kind = 0;
    std::uint8_t flag = 0;  // 0 the bytes lie in the source, 1 the item carries its own data
    std::uint32_t length = 0;
    std::uint32_t offset = OwnData;  // in the source; OwnData for an item with its own data
    std::vector<std::uint8_t> data;  // the own data (flag 1)
};

class TZJPEG {
public:
    // Item kinds: 0 entropy-coded data, 1 to 34 the markers below, 35 any other marker.
    enum Kind : std::uint8_t {
        jkData = 0,
        jkTEM = 1,
        jkSOF0 = 2,  // 2 to 5: SOF0 to SOF3
        jkDHT = 6,
        jkSOF5 = 7,  // 7 to 9: SOF5 to SOF7
        jkJPG = 10,
        jkSOF9 = 11,  // 11 to 13: SOF9 to SOF11
        jkDAC = 14,
        jkSOF13 = 15,  // 15 to 17: SOF13 to SOF15
        jkRST0 = 18,   // 18 to 25: RST0 to RST7
        jkRST7 = 25,
        jkSOI = 26,
        jkEOI = 27,
        jkSOS = 28,
        jkDQT = 29,
        jkDNL = 30,
        jkDRI = 31,
        jkAPP0 = 32,
        jkAPP15 = 33,
        jkCOM = 34,
        jkOther = 35,
    };
    // A run of entropy-coded data is cut into items of at most this many bytes.
    static constexpr std::uint32_t MaxDataRun = 61440;
    // The most own data a segment's 16-bit length can count (it counts itself as well).
    static constexpr std::uint32_t MaxSegmentData = 65533;

    TZJPEG() = default;
    ~TZJPEG();
    TZJPEG(const TZJPEG &) = delete;
    TZJPEG &operator=(const TZJPEG &) = delete;

    // Splits a file mapped for the purpose (Windows only); a file that cannot be mapped shows its
    // error box. 0 success, 1 not mapped or not beginning with SOI (the list is then empty).
    int SplitFile(const AnsiString &name);
    // The same for bytes in memory.
    int SplitBuffer(const std::uint8_t *data, std::size_t size);
    // The walk: the list is cleared, the size kept, and the data split into items. 1 (and an empty
    // list) when the data does not begin with SOI.
    int Split(const std::uint8_t *data, std::size_t size);

    // Appends an item of the source (nothing for length 0).
    void AddItem(std::uint8_t kind, std::uint32_t length, std::uint32_t offset);
    // Inserts an item with a copy of the data before `index` (at the end for an index past it;
    // nothing without data).
    void InsertData(int index, std::uint8_t kind, const std::uint8_t *data, std::uint32_t length);
    // Splits the data and appends a copy of every item to `destination`, whose owner frees them
    // (they are made with new). Returns the count appended: 0 for data that does not split.
    int CopyItems(const std::uint8_t *data, std::size_t size, TList *destination);

    // The bytes of one item: an item of the source is copied from the source (only what lies inside
    // it); an item with its own data is written as its kind's marker, the big-endian length (data
    // length + 2) and the data, and writes nothing when its kind has no marker bytes or its data is
    // longer than MaxSegmentData. Each returns the count of bytes written.
    static std::uint32_t AppendSegment(std::vector<std::uint8_t> &out, const TZJPEGItem &item,
                                       std::span<const std::uint8_t> source);
    static std::uint32_t WriteSegment(TSFile &file, const TZJPEGItem &item, std::span<const std::uint8_t> source);
    // A segment of a kind with marker bytes into a buffer of `capacity` bytes: marker, big-endian
    // length + 2, data. 0 (nothing written) for a kind without marker bytes, data longer than
    // MaxSegmentData or a buffer too small.
    static std::uint32_t BuildSegment(std::uint8_t *buffer, std::size_t capacity, std::uint8_t kind,
                                      std::uint32_t length, const std::uint8_t *data);
    // Every item of the list written back in order.
    std::vector<std::uint8_t> WriteAll(std::span<const std::uint8_t> source) const;

    // Splits the source file and writes one line per item to a text file. The text is written beside
    // the text file and replaces it once whole, so a failure leaves an existing one as it was. 0
    // success, 1 the source does not split (nothing written), 2 the text file could not be written
    // (its error shown) or is the source itself, however it is spelt (refused before anything is
    // written).
    int DumpToText(const AnsiString &sourceName, const AnsiString &textName);
    // One line per item of a list into an open file: its description, an empty line for kinds 0 and
    // 35. False when a line did not reach the file.
    static bool DumpList(TSFile &file, const TList *list);
    // The lines DumpList writes, each ended by CR LF.
    static AnsiString DumpText(const TList *list);

    // The description line of a kind ("" for kinds 0 and 35 and any unknown kind).
    static const char *Description(std::uint8_t kind);
    // The kind of the byte after 0xFF.
    static std::uint8_t KindOfMarker(std::uint8_t marker);
    // The second marker byte written for a kind, or -1 for a kind that cannot be written.
    static int MarkerOfKind(std::uint8_t kind);
    // SOI, EOI, TEM and RST0 to RST7 stand alone; every other marker is followed by a length.
    static bool HasLength(std::uint8_t kind);

    // Null until the first item.
    TList *List() const { return list_; }
    int Count() const { return list_ == nullptr ? 0 : list_->Count(); }
    const TZJPEGItem *Item(int index) const;
    std::size_t SourceSize() const { return sourceSize_; }
    void Clear();

private:
    TList &Items();

    TList *list_ = nullptr;
    std::size_t sourceSize_ = 0;
};
