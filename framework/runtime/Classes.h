#pragma once
// Lists, string lists and streams with the runtime library's familiar names.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "framework/runtime/AnsiString.h"
#include "framework/runtime/Exception.h"

class EListError : public Exception {
public:
    using Exception::Exception;
};
class EStreamError : public Exception {
public:
    using Exception::Exception;
};
class EReadError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EWriteError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
// A file could not be created or opened; the message names the file and the system's reason.
class EFOpenError : public EStreamError {
public:
    EFOpenError(AnsiString message, unsigned long osError) : EStreamError(std::move(message)), osError_(osError) {}
    unsigned long OsError() const { return osError_; }

private:
    unsigned long osError_;
};
// An object was given a class it cannot work with (or a class name that is not known).
class EClassNotFound : public Exception {
public:
    using Exception::Exception;
};

// ---- TList: a list of pointers ---------------------------------------------------------------
// Comparer for Sort: negative, zero or positive like strcmp.
using TListSortCompare = int (*)(void *item1, void *item2);

class TList {
public:
    TList() = default;
    virtual ~TList() = default;

    int Add(void *item);
    void Insert(int index, void *item);
    void Delete(int index);
    int Remove(void *item);  // index it had, -1 when absent
    int IndexOf(void *item) const;
    void Clear();
    void Exchange(int i, int j);
    void Move(int from, int to);
    // Stable sort: items that compare equal keep their order.
    void Sort(TListSortCompare compare);
    void Pack();  // drops nil items

    int Count() const { return static_cast<int>(items_.size()); }
    void *Items(int index) const;
    void SetItem(int index, void *item);
    void *operator[](int index) const { return Items(index); }
    void *First() const { return Items(0); }
    void *Last() const { return Items(Count() - 1); }

private:
    void Check(int index) const;
    std::vector<void *> items_;
};

// ---- TStrings / TStringList ------------------------------------------------------------------
enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStream;

// Abstract list of strings, each with an attached object pointer (not owned).
class TStrings {
public:
    virtual ~TStrings() = default;

    virtual int Count() const = 0;
    virtual AnsiString Strings(int index) const = 0;
    virtual void SetString(int index, const AnsiString &s) = 0;
    virtual void *Objects(int index) const = 0;
    virtual void SetObject(int index, void *object) = 0;
    virtual void Insert(int index, const AnsiString &s) = 0;
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;
    // Index of the string, -1 when absent.
    virtual int IndexOf(const AnsiString &s) const;

    virtual int Add(const AnsiString &s);
    int AddObject(const AnsiString &s, void *object);
    void InsertObject(int index, const AnsiString &s, void *object);
    void AddStrings(const TStrings &other);
    void Assign(const TStrings &other);
    int IndexOfObject(void *object) const;
    AnsiString operator[](int index) const { return Strings(index); }

    // Every line followed by CR LF; setting splits at CR LF, LF or CR.
    AnsiString Text() const;
    void SetText(const AnsiString &text);
    // Separated by commas.
    AnsiString CommaText() const;

    // Bytes as they stand (CP1251), lines ended with CR LF. Throw EFOpenError or EStreamError. A save
    // replaces the file in one step (TReplacingFileStream): one that fails leaves the file as it was.
    void LoadFromFile(const AnsiString &fileName);
    void SaveToFile(const AnsiString &fileName) const;
    void LoadFromStream(TStream &stream);
    void SaveToStream(TStream &stream) const;

    // Suspend and resume showing changes; calls nest. Lines that a window shows are drawn once, at the
    // outermost EndUpdate, instead of at each change.
    void BeginUpdate()
    {
        if (updateCount_++ == 0)
            SetUpdateState(true);
    }
    void EndUpdate()
    {
        if (updateCount_ > 0 && --updateCount_ == 0)
            SetUpdateState(false);
    }
    bool Updating() const { return updateCount_ > 0; }

protected:
    virtual int CompareStrings(const AnsiString &a, const AnsiString &b) const;
    // Called as the first BeginUpdate starts an update and as the last EndUpdate ends it.
    virtual void SetUpdateState(bool) {}
    int updateCount_ = 0;
};

// One update of a list's lines, ended however its scope is left: a list an exception left inside an
// update would never be drawn again.
class TStringsUpdate {
public:
    explicit TStringsUpdate(TStrings &strings) : strings_(strings) { strings_.BeginUpdate(); }
    ~TStringsUpdate() { strings_.EndUpdate(); }
    TStringsUpdate(const TStringsUpdate &) = delete;
    TStringsUpdate &operator=(const TStringsUpdate &) = delete;

private:
    TStrings &strings_;
};

class TStringList : public TStrings {
public:
    using TStringListSortCompare = int (*)(TStringList *list, int index1, int index2);

    TStringList() = default;
    TStringList(const TStringList &other);
    TStringList &operator=(const TStringList &other);

    int Count() const override { return static_cast<int>(items_.size()); }
    AnsiString Strings(int index) const override;
    void SetString(int index, const AnsiString &s) override;
    void *Objects(int index) const override;
    void SetObject(int index, void *object) override;
    // In a sorted list Add puts the string at its place; Insert throws there.
    int Add(const AnsiString &s) override;
    void Insert(int index, const AnsiString &s) override;
    void Delete(int index) override;
    void Clear() override;
    int IndexOf(const AnsiString &s) const override;

    // Binary search of a sorted list: true and the index when found, otherwise false and the index
    // where it would be inserted. On an unsorted list a linear search.
    bool Find(const AnsiString &s, int &index) const;
    void Sort();
    void CustomSort(TStringListSortCompare compare);
    void Exchange(int i, int j);

    bool Sorted() const { return sorted_; }
    void SetSorted(bool sorted);
    TDuplicates Duplicates() const { return duplicates_; }
    void SetDuplicates(TDuplicates d) { duplicates_ = d; }
    // Off: comparison by the CP1251 case rules (AnsiCompareText); on: AnsiCompareStr.
    bool CaseSensitive() const { return caseSensitive_; }
    void SetCaseSensitive(bool on);

protected:
    int CompareStrings(const AnsiString &a, const AnsiString &b) const override;

private:
    struct Item {
        AnsiString text;
        void *object = nullptr;
    };
    void Check(int index) const;
    int InsertAt(int index, const AnsiString &s, void *object);
    std::vector<Item> items_;
    bool sorted_ = false;
    bool caseSensitive_ = false;
    TDuplicates duplicates_ = dupIgnore;
};

// ---- streams ---------------------------------------------------------------------------------
enum TSeekOrigin { soFromBeginning = 0, soFromCurrent = 1, soFromEnd = 2 };

class TStream {
public:
    virtual ~TStream() = default;
    // Reads up to count bytes; returns how many it read (0 at the end).
    virtual long Read(void *buffer, long count) = 0;
    // Writes up to count bytes; returns how many it wrote.
    virtual long Write(const void *buffer, long count) = 0;
    virtual long long Seek(long long offset, TSeekOrigin origin) = 0;
    virtual long long Size();
    // Truncates or extends; the position stays unless it would lie past the new end.
    virtual void SetSize(long long newSize) = 0;

    long long Position() { return Seek(0, soFromCurrent); }
    void SetPosition(long long pos) { Seek(pos, soFromBeginning); }
    // Read or write exactly count bytes or throw EReadError / EWriteError.
    void ReadBuffer(void *buffer, long count);
    void WriteBuffer(const void *buffer, long count);
    // Copies count bytes from source's position (count 0: all of source from its start). Returns the
    // number copied; throws when source ends early.
    long long CopyFrom(TStream &source, long long count);

protected:
    // What the stream can tell about its last failed read or write (file name, system reason),
    // added to the messages of ReadBuffer and WriteBuffer; "" when nothing.
    virtual AnsiString FailureDetail() const { return ""; }
};

// File open modes and share modes, combined with "|": fmOpenRead | fmShareDenyWrite.
constexpr unsigned short fmOpenRead = 0x0000;
constexpr unsigned short fmOpenWrite = 0x0001;
constexpr unsigned short fmOpenReadWrite = 0x0002;
constexpr unsigned short fmShareCompat = 0x0000;
constexpr unsigned short fmShareExclusive = 0x0010;
constexpr unsigned short fmShareDenyWrite = 0x0020;
constexpr unsigned short fmShareDenyRead = 0x0030;
constexpr unsigned short fmShareDenyNone = 0x0040;
// Creates (or empties) the file, open for reading and writing; share bits may be added.
constexpr unsigned short fmCreate = 0xFF00;

// A file over a system handle. Write goes straight to the system: nothing is held in this process,
// so a killed program leaves on disk every byte that Write returned for.
class TFileStream : public TStream {
public:
    // Throws EFOpenError naming the file and the system's reason.
    TFileStream(const AnsiString &fileName, unsigned short mode);
    ~TFileStream() override;
    TFileStream(const TFileStream &) = delete;
    TFileStream &operator=(const TFileStream &) = delete;

    long Read(void *buffer, long count) override;
    long Write(const void *buffer, long count) override;
    long long Seek(long long offset, TSeekOrigin origin) override;
    long long Size() override;
    void SetSize(long long newSize) override;

    const AnsiString &FileName() const { return fileName_; }
    // The system handle (HANDLE).
    void *Handle() const { return handle_; }
    // The system's code of the last failed read or write, 0 when none.
    unsigned long LastError() const { return lastError_; }

protected:
    // Over a handle the subclass opened; the stream closes it.
    TFileStream(const AnsiString &fileName, void *handle) : fileName_(fileName), handle_(handle) {}
    AnsiString FailureDetail() const override;

    unsigned long lastError_ = 0;

private:
    AnsiString fileName_;
    void *handle_;
};

// A stream in memory, growing as it is written.
class TMemoryStream : public TStream {
public:
    long Read(void *buffer, long count) override;
    long Write(const void *buffer, long count) override;
    long long Seek(long long offset, TSeekOrigin origin) override;
    long long Size() override { return static_cast<long long>(data_.size()); }
    void SetSize(long long newSize) override;

    void Clear();
    void LoadFromStream(TStream &stream);
    void SaveToStream(TStream &stream);
    void LoadFromFile(const AnsiString &fileName);
    // Replaces the file in one step, as TStrings::SaveToFile does.
    void SaveToFile(const AnsiString &fileName);

    char *Memory() { return data_.data(); }
    const char *Memory() const { return data_.data(); }

private:
    std::vector<char> data_;
    long long position_ = 0;
};
