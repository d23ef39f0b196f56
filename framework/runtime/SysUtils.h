#pragma once
// The runtime library's text, number, file, path and date helpers, with their familiar names.
// Text is CP1251 (AnsiString); file functions take and return CP1251 paths and meet the system
// through its UTF-16 (W) functions. A file that includes <windows.h> must do so before this header:
// the system's A/W name macros that clash with these names are undone here.
#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <type_traits>
#include <vector>

#include "framework/runtime/AnsiString.h"
#include "framework/runtime/Exception.h"

#ifdef DeleteFile
#undef DeleteFile
#endif
#ifdef CopyFile
#undef CopyFile
#endif

// ---- exceptions of the runtime library -------------------------------------------------------
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// A failed file system call: the message names the file, OsError() holds the system error code.
class EInOutError : public Exception {
public:
    EInOutError(AnsiString message, unsigned long osError) : Exception(std::move(message)), osError_(osError) {}
    unsigned long OsError() const { return osError_; }

private:
    unsigned long osError_;
};

// ---- text ------------------------------------------------------------------------------------
// Trim removes every byte up to and including the space (control characters too).
AnsiString Trim(const AnsiString &s);
AnsiString TrimLeft(const AnsiString &s);
AnsiString TrimRight(const AnsiString &s);

AnsiString IntToStr(long long value);
AnsiString UIntToStr(unsigned long long value);
AnsiString IntToHex(unsigned long long value, int digits);
// Decimal, optional sign, optional surrounding blanks; "$" or "0x" prefix reads hexadecimal.
// Throws EConvertError on anything else or on overflow.
int StrToInt(const AnsiString &s);
int StrToIntDef(const AnsiString &s, int defaultValue);
long long StrToInt64(const AnsiString &s);
long long StrToInt64Def(const AnsiString &s, long long defaultValue);
bool TryStrToInt(const AnsiString &s, int &value);
bool TryStrToInt64(const AnsiString &s, long long &value);

// Case rules of code page 1251: Latin, Russian (with Ё/ё), Ukrainian (Ґ/ґ, Є/є, І/і, Ї/ї) and the
// other Cyrillic letters of the page (Ђ, Ѓ, Љ, Њ, Ќ, Ћ, Џ, Ў, Ј, Ѕ).
char AnsiUpperChar(char c);
char AnsiLowerChar(char c);
AnsiString AnsiUpperCase(const AnsiString &s);
AnsiString AnsiLowerCase(const AnsiString &s);
// Compares by the upper-case forms, letters in alphabet order (Ё after Е, Ґ after Г, Є after Е,
// І and Ї after И): negative, zero or positive.
int AnsiCompareText(const AnsiString &a, const AnsiString &b);
bool AnsiSameText(const AnsiString &a, const AnsiString &b);
// Case-sensitive comparison in the same alphabet order (lower case before upper case of a letter
// is not implied: the order of the letters decides first, then case).
int AnsiCompareStr(const AnsiString &a, const AnsiString &b);
// ASCII-only case rules.
AnsiString UpperCase(const AnsiString &s);
AnsiString LowerCase(const AnsiString &s);
int CompareText(const AnsiString &a, const AnsiString &b);
bool SameText(const AnsiString &a, const AnsiString &b);

// 1-based position of sub in s, 0 when absent.
int Pos(const AnsiString &sub, const AnsiString &s);
AnsiString StringReplaceAll(const AnsiString &s, const AnsiString &from, const AnsiString &to);

// ---- Format ----------------------------------------------------------------------------------
// One argument of Format: an integer (signed or unsigned), a text or a floating-point number.
class TVarRec {
public:
    enum class Kind { Int, UInt, Text, Float };
    template <typename T, std::enable_if_t<std::is_integral_v<T> && std::is_signed_v<T>, int> = 0>
    TVarRec(T v) : kind_(Kind::Int), i_(v)
    {}
    template <typename T, std::enable_if_t<std::is_integral_v<T> && std::is_unsigned_v<T>, int> = 0>
    TVarRec(T v) : kind_(Kind::UInt), u_(v)
    {}
    TVarRec(double v) : kind_(Kind::Float), f_(v) {}
    TVarRec(const char *s) : kind_(Kind::Text), s_(s ? s : "") {}
    TVarRec(const AnsiString &s) : kind_(Kind::Text), s_(s) {}
    TVarRec(std::string_view s) : kind_(Kind::Text), s_(s) {}

    Kind kind() const { return kind_; }
    long long asInt() const { return kind_ == Kind::UInt ? static_cast<long long>(u_) : i_; }
    unsigned long long asUInt() const { return kind_ == Kind::Int ? static_cast<unsigned long long>(i_) : u_; }
    double asFloat() const { return f_; }
    const AnsiString &asText() const { return s_; }

private:
    Kind kind_;
    long long i_ = 0;
    unsigned long long u_ = 0;
    double f_ = 0;
    AnsiString s_;
};

// Directives: %[-][width][.precision]type with types d, u, x, X, s, f and %% for a percent sign.
// For d/u/x the precision is the minimum number of digits ("%.10u" gives ten zero-padded digits);
// for s it is the maximum number of characters. A "*" width or precision takes the next argument.
// A directive with a missing or mistyped argument throws EConvertError.
AnsiString Format(const AnsiString &format, std::initializer_list<TVarRec> args);
AnsiString FormatV(const AnsiString &format, const std::vector<TVarRec> &args);

// The process-wide decimal separator used when numbers are turned into text and back; the base
// library sets it at start-up.
extern char DecimalSeparator;
AnsiString FloatToStr(double value);
// Accepts DecimalSeparator (and '.') as the separator. Throws EConvertError.
double StrToFloat(const AnsiString &s);

// ---- wildcard matching -----------------------------------------------------------------------
// Windows rules: '*' any run, '?' one character, case-insensitive (CP1251); "*.*" matches names
// with or without a dot, and a mask ending in "." matches a name without an extension.
bool MatchesMask(const AnsiString &name, const AnsiString &mask);

// ---- paths (pure: '\\', '/' and ':' are the separators) ---------------------------------------
AnsiString ExtractFilePath(const AnsiString &fileName);  // with the trailing backslash
AnsiString ExtractFileDir(const AnsiString &fileName);   // without it (keeps "C:\")
AnsiString ExtractFileName(const AnsiString &fileName);
AnsiString ExtractFileExt(const AnsiString &fileName);    // with the dot, "" when none
AnsiString ExtractFileDrive(const AnsiString &fileName);  // "C:" or "\\server\share"
AnsiString ChangeFileExt(const AnsiString &fileName, const AnsiString &extension);
AnsiString IncludeTrailingBackslash(const AnsiString &path);
AnsiString ExcludeTrailingBackslash(const AnsiString &path);
bool IsPathDelimiter(const AnsiString &s, int index);  // 1-based index

// ---- files and folders (Windows) ------------------------------------------------------------
constexpr int faReadOnly = 0x00000001;
constexpr int faHidden = 0x00000002;
constexpr int faSysFile = 0x00000004;
constexpr int faVolumeID = 0x00000008;
constexpr int faDirectory = 0x00000010;
constexpr int faArchive = 0x00000020;
constexpr int faNormal = 0x00000080;
constexpr int faTemporary = 0x00000100;
// A symbolic link or junction (the system's reparse-point flag); reported in TSearchRec::Attr.
constexpr int faSymLink = 0x00000400;
constexpr int faAnyFile = 0x000001FF;

bool FileExists(const AnsiString &fileName);  // a file, not a folder
bool DirectoryExists(const AnsiString &directory);
bool CreateDir(const AnsiString &dir);
// Creates every missing folder of the path; true when the folder exists afterwards.
bool ForceDirectories(const AnsiString &dir);
bool RemoveDir(const AnsiString &dir);
bool DeleteFile(const AnsiString &fileName);
// Renames or moves a file or folder; moves across volumes by copying; refuses to replace an
// existing target.
bool RenameFile(const AnsiString &oldName, const AnsiString &newName);
// Puts a file in the place of another one on the same volume in one step, replacing it when it exists;
// returns only when the move has been written through to the disk.
bool ReplaceFileWith(const AnsiString &target, const AnsiString &replacement);
bool CopyFile(const AnsiString &from, const AnsiString &to, bool failIfExists);
// Whether two names lead to one existing file, however each is spelt (case, separators, relative or
// absolute, a short name, a link or another drive onto the same folder); false when either is missing.
bool SameFile(const AnsiString &a, const AnsiString &b);
// Attributes of a file or folder, -1 when it does not exist.
int FileGetAttr(const AnsiString &fileName);
// 0 on success, otherwise the system error code.
int FileSetAttr(const AnsiString &fileName, int attr);
// Size in bytes, -1 when the file cannot be read.
long long FileSizeOf(const AnsiString &fileName);
AnsiString GetCurrentDir();
bool SetCurrentDir(const AnsiString &dir);
// The error code of the last failed system call of this thread.
unsigned long GetLastOSError();

// Time of last write as a DOS packed date-time (date in the high word), local time.
struct TSearchRec {
    int Time = 0;
    long long Size = 0;
    int Attr = 0;
    AnsiString Name;
    int ExcludeAttr = 0;
    void *FindHandle = nullptr;
};

// Lists the entries of a folder matching the mask of `path` ("C:\dir\*.*"). `attr` selects which
// kinds may appear besides plain files: an entry with faHidden, faSysFile, faVolumeID or
// faDirectory is listed only when that flag is in `attr` (so 0 lists visible plain files only).
// "." and ".." are listed like the system lists them. Returns 0 or a system error code; after a
// 0 from FindFirst, FindClose must be called.
int FindFirst(const AnsiString &path, int attr, TSearchRec &rec);
int FindNext(TSearchRec &rec);
void FindClose(TSearchRec &rec);

// ---- dates -----------------------------------------------------------------------------------
// Days since 30 December 1899; the fraction is the time of day.
using TDateTime = double;

// Throws EConvertError for an impossible date or time.
TDateTime EncodeDate(unsigned short year, unsigned short month, unsigned short day);
TDateTime EncodeTime(unsigned short hour, unsigned short min, unsigned short sec, unsigned short msec);
bool TryEncodeDate(unsigned short year, unsigned short month, unsigned short day, TDateTime &result);
void DecodeDate(TDateTime value, unsigned short &year, unsigned short &month, unsigned short &day);
void DecodeTime(TDateTime value, unsigned short &hour, unsigned short &min, unsigned short &sec, unsigned short &msec);
bool IsLeapYear(unsigned short year);
// 28-31 (0 for a month outside 1-12).
unsigned short DaysInAMonth(unsigned short year, unsigned short month);
int DayOfWeek(TDateTime value);  // 1 Sunday .. 7 Saturday
// Local time, read through the clock seam (framework/Clock.h).
TDateTime Now();
TDateTime Date();
TDateTime Time();
// Patterns: d dd m mm mmmm yy yyyy h hh n nn s ss z zzz, text in double or single quotes copied as it
// stands; any other character copied. "m" right after "h"/"hh" means minutes. "mmmm" (any case) is
// the Russian month name in the form a date with its day takes ("07 декабря 2026"), from the
// library's own table, whatever the system's language.
AnsiString FormatDateTime(const AnsiString &format, TDateTime value);
AnsiString DateToStr(TDateTime value);      // dd.mm.yyyy
AnsiString TimeToStr(TDateTime value);      // hh:nn:ss
AnsiString DateTimeToStr(TDateTime value);  // dd.mm.yyyy hh:nn:ss
// Seconds since 1 January 1970 as a date-time of the same zone (a UTC stamp gives UTC).
TDateTime UnixTimeToDateTime(long long seconds);
// A UTC date-time as local time, by the system's time-zone rules for that date (Windows). A value
// the system cannot convert is returned unchanged.
TDateTime UtcToLocalDateTime(TDateTime utc);
// DOS packed date-time (date<<16 | time) <-> TDateTime.
TDateTime FileDateToDateTime(int fileDate);
int DateTimeToFileDate(TDateTime value);
