#pragma once
// The text base: numbered two-language texts for the product's screens and documents, kept in the
// read-only file "riza.sfr" of the configuration folder.
//
// The file is a compound file. Its directory is the table of sections: u32 data end, u32 section
// count, then per section {u32 position of its first record, u32 length of its chain}; a section is
// a chain of records in the 7-byte header form {u8 flags, u32 link, u16 length, data}, closed by the
// end record. The data of a text record is {u16 text number, u8 flags, u16 text length L, L bytes}.
// A text is an optional Russian part opened by 0x04 and closed by 0x05 or 0x03, an optional
// Ukrainian part opened by the 0x05 right after the Russian part and closed by 0x03 or the text's
// end, and an optional tail after the first 0x03.
//
// TMRizaBs walks a file image in memory and checks every position and length it reads against the
// image, so it works on any bytes. TMRiza maps the file once per process and shares the mapping
// between its users; TBText and its two kinds are what callers use.
#include <cstddef>
#include <cstdint>
#include <span>

#include "base/memory/ZLock.h"
#include "framework/runtime/AnsiString.h"
#include "framework/runtime/Kernel.h"

class TMM_Base;

using TRizaData = std::span<const std::uint8_t>;

class TMRizaBs {
public:
    // Record flag: the record was deleted and stays in the chain only for its link.
    static constexpr std::uint8_t DeletedFlag = 0x80;
    // No link: the next record of the chain follows this one.
    static constexpr std::uint32_t NoLink = 0xFFFFFFFF;
    // The compound file's limit of a record's data; a longer (or empty) record is damage.
    static constexpr std::uint16_t MaxRecordLength = 20000;
    // The length of a section that holds only its end record.
    static constexpr std::uint32_t EmptySectionLength = 8;

    TMRizaBs() = default;
    TMRizaBs(const TMRizaBs &) = delete;
    TMRizaBs &operator=(const TMRizaBs &) = delete;

    // Walks bytes the caller keeps alive (null: no view). Selects no section.
    void SetView(const std::uint8_t *view, std::size_t size);
    const std::uint8_t *View() const { return view_; }
    std::size_t ViewSize() const { return size_; }
    // The section count of the header; 0 without a view or a whole header.
    std::uint32_t SectionCount() const;

    // Selects section n: both record positions become its first record's. Without a view, for n
    // beyond the count or for a table entry outside the image, no section is selected (-1, 0, 0).
    bool SeekRecord(std::uint32_t n);
    // Starts the walk again at a record position; 0 is the current section's first record.
    void Rewind(std::uint32_t offset);
    // The data of the section's next live record; false at the end record, at the end of a section
    // that has none, and at the first damaged record (one that runs outside the image, is empty or
    // longer than a compound file's record may be, or a chain that visits more records than the
    // image can hold). Deleted records are skipped; links are followed.
    bool NextRecord(TRizaData &data);
    // The data of the next text record with this number (records too short for a text, or whose
    // text runs past their data, are passed over); empty when the section has none.
    TRizaData FindRecordById(std::uint16_t id);
    // The second word of the section's table entry is the length of its chain: 8 is a section that
    // holds only its end record. True as well without a view or a current record.
    bool IsSectionType8() const;

    int Section() const { return section_; }
    std::uint32_t RecordOffset() const { return record_; }
    std::uint32_t NextOffset() const { return next_; }

    // Maps a file (`length` bytes of the name, 0 = up to the NUL) without exceptions: a failure
    // shows the file's error box and leaves no view. The mapping is the caller's to close with
    // CloseFile (TMRiza hands it to the process's shared state instead). Windows only.
    bool LoadFile(const char *name, int length);
    void CloseFile();

    // Record data helpers. Spans are packed words: the length in the low half, the offset from the
    // text's first byte in the high half; 0 is empty.
    static bool IsTextNumber(TRizaData data, std::uint16_t id);
    // At least the 5 bytes before the text, and the text inside the data.
    static bool IsTextRecord(TRizaData data);
    // The text's bytes (empty for a record that is no text record).
    static TRizaData TextOf(TRizaData data);
    static std::uint16_t TextLength(TRizaData data);
    static std::uint8_t TextFlags(TRizaData data);
    // With flags bits 0 and 1 both clear a record has a tail part.
    static bool HasTail(TRizaData data);
    static std::uint32_t RussianSpan(TRizaData data);
    static std::uint32_t UkrainianSpan(TRizaData data);
    static std::uint32_t TailSpan(TRizaData data);
    // Language 1 the Russian span, 0 the Ukrainian span, any other the whole text.
    static std::uint32_t LanguageSpan(TRizaData data, int language);
    // Copies a span of the text into a buffer of `capacity` bytes (no terminator); returns the count.
    static std::uint32_t CopySpan(TRizaData data, std::uint32_t span, char *buffer, std::size_t capacity);

protected:
    void EndSection() { next_ = 0; }
    std::uint32_t TableWord(std::uint32_t n, int word) const;

    std::int32_t section_ = -1;
    std::uint32_t record_ = 0;
    std::uint32_t next_ = 0;
    TMM_Base *file_ = nullptr;
    const std::uint8_t *view_ = nullptr;
    std::size_t size_ = 0;
    // Records visited since the walk was last started.
    std::uint32_t visits_ = 0;
};

// The process's one mapping of "riza.sfr", shared by every text base object. Windows only.
class TMRiza : public TMRizaBs {
public:
    // Takes the shared mapping, loading the file when this is its first user: from the process's
    // configuration folder when it is set, else the "CFG" folder found upwards from the program's,
    // else "e:\qmt3\cfg\". A failed load counts as a user as well, so that the file is tried (and its
    // error shown) once until every user has gone.
    void Open();
    // Gives the mapping back; the last user closes it.
    void Release();

    // The number of users of the shared mapping.
    static std::int32_t UseCount();

private:
    static TZLock lock_;
    static TInterlockedCounter uses_;
    static TMM_Base *sharedFile_;
    static const std::uint8_t *sharedView_;
    static std::size_t sharedSize_;
};

class TBText : public TMRiza {
public:
    explicit TBText(std::uint32_t section);
    ~TBText();

    // The data of the text record with this number, its flags kept; empty when there is none.
    TRizaData FindText(std::uint16_t number);
    // The text of a language (see LanguageSpan), or "????text" when it is empty or missing.
    AnsiString GetText(std::uint16_t number, int language);
    // Copies the text of a language into a buffer of `capacity` bytes, without a terminator, and
    // returns the count; 0 when the number is missing.
    std::uint32_t GetTextInto(char *buffer, std::size_t capacity, std::uint16_t number, int language);
    // The text of a language into `text` and the tail into `tail` (when the record's flags allow a
    // tail), each when given and no more than its capacity. Returns a packed word: the text's length
    // in the low half and the tail's in the high half (what was copied where a buffer was given).
    std::uint32_t GetTextParts(std::uint16_t number, int language, char *text, std::size_t textCapacity, char *tail,
                               std::size_t tailCapacity);

    std::uint32_t FirstRecord() const { return first_; }
    std::uint8_t LastFlags() const { return flags_; }

private:
    std::uint32_t first_ = 0;
    std::uint8_t flags_ = 0;
};

// The screen texts.
class TBTextEkr : public TBText {
public:
    TBTextEkr() : TBText(SectionNumber) {}
    static constexpr std::uint32_t SectionNumber = 1421;
    std::uint32_t Extra = 0;
};

// The document texts.
class TBTextDoc : public TBText {
public:
    TBTextDoc() : TBText(SectionNumber) {}
    static constexpr std::uint32_t SectionNumber = 1421;
};
