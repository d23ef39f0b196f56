#pragma once
// Windows path texts split into drive, folder, name and extension. Only the backslash separates
// folders; the colon ends the drive; the last dot of the last component starts the extension.
// Texts are a pointer and a length (0 = up to the NUL); outputs get a terminating NUL unless said
// otherwise; every routine returns the length it produced.
#include <cstdint>

#include "framework/runtime/AnsiString.h"

// The lengths of the parts in text order: drive, colon, folder (with its leading and trailing
// backslashes), name, dot, extension. Their sum is the text length.
struct PathParts {
    std::uint32_t drive = 0;  // without the colon
    std::uint32_t folder = 0;
    std::uint32_t name = 0;
    std::uint32_t ext = 0;  // without the dot
    bool hasColon = false;
    bool hasDot = false;

    std::uint32_t DriveWithColon() const { return drive + (hasColon ? 1 : 0); }
    std::uint32_t ExtWithDot() const { return ext + (hasDot ? 1 : 0); }
    std::uint32_t Total() const { return DriveWithColon() + folder + name + ExtWithDot(); }
};

PathParts ParsePathParts(const char *text, int length);

// The longest path a record holds.
constexpr int MaxPathText = 260;

// A path with its parts. A value-initialised record (PathRecord{}) is an empty path.
struct PathRecord {
    PathParts parts;
    char text[MaxPathText + 1] = {};
};

// The product environment's configuration folder, set once while the environment starts.
extern PathRecord ConfigFolderRecord;

// Lengths 0 and an empty text.
void ClearPathRecord(PathRecord &record);
// A copy of the source, or an empty record without one.
void AssignPathRecord(PathRecord &record, const PathRecord *source);
// Stores a path (null: the record is emptied) and returns its length. A path that ends with a dot
// loses that dot. A path longer than 260 characters is refused: 0, and the record is emptied, so
// that nothing goes on using the path it held before.
int SetPathRecord(PathRecord &record, const char *text);

// Part selectors of the getter and the replacer.
enum PathPart : int {
    PathDrive = 0,        // drive with its colon
    PathFolder = 1,       // folder
    PathDriveFolder = 2,  // drive and folder
    PathName = 3,         // name
    PathExt = 4,          // extension with its dot
    PathNameExt = 5,      // name and extension
    PathWhole = 6,        // the whole path
};

// The length of a part; with an output and a non-zero length the part and a NUL are copied (the
// output must hold 261 bytes). A selector outside 0-6 gives 0.
int GetPathPart(const PathRecord &record, int selector, char *output);
inline int GetPathDrive(const PathRecord &r, char *out) { return GetPathPart(r, PathDrive, out); }
inline int GetPathFolder(const PathRecord &r, char *out) { return GetPathPart(r, PathFolder, out); }
inline int GetPathDriveFolder(const PathRecord &r, char *out) { return GetPathPart(r, PathDriveFolder, out); }
inline int GetPathName(const PathRecord &r, char *out) { return GetPathPart(r, PathName, out); }
inline int GetPathExt(const PathRecord &r, char *out) { return GetPathPart(r, PathExt, out); }
inline int GetPathNameExt(const PathRecord &r, char *out) { return GetPathPart(r, PathNameExt, out); }
inline int GetPathWhole(const PathRecord &r, char *out) { return GetPathPart(r, PathWhole, out); }
AnsiString GetPathPartStr(const PathRecord &record, int selector);

// Replaces one part by a text (length 0 = up to the NUL; an empty text removes the part) and
// returns the new path length. The drive gets a colon, a folder backslashes at both ends, drive and
// folder a closing backslash, an extension a leading dot, where the text lacks them. Without a text,
// or when the new path would be longer than 260 characters, the record stays as it was and the
// result is 0.
int ReplacePathPart(PathRecord &record, int selector, const char *text, int length);
inline int SetPathDrive(PathRecord &r, const char *t, int n) { return ReplacePathPart(r, PathDrive, t, n); }
inline int SetPathFolder(PathRecord &r, const char *t, int n) { return ReplacePathPart(r, PathFolder, t, n); }
inline int SetPathDriveFolder(PathRecord &r, const char *t, int n) { return ReplacePathPart(r, PathDriveFolder, t, n); }
inline int SetPathName(PathRecord &r, const char *t, int n) { return ReplacePathPart(r, PathName, t, n); }
inline int SetPathExt(PathRecord &r, const char *t, int n) { return ReplacePathPart(r, PathExt, t, n); }
inline int SetPathNameExt(PathRecord &r, const char *t, int n) { return ReplacePathPart(r, PathNameExt, t, n); }
inline int SetPathWhole(PathRecord &r, const char *t, int n) { return ReplacePathPart(r, PathWhole, t, n); }

// Parts of a plain text, copied with a NUL when an output is given and the part is not empty.
int GetExtOf(char *output, const char *text, int length);          // extension without the dot
int GetNameExtOf(char *output, const char *text, int length);      // name, dot and extension
int GetDriveFolderOf(char *output, const char *text, int length);  // drive, colon and folder
int GetNameOf(char *output, const char *text, int length);         // bare name
// The text up to its extension (without the dot; a text without a dot whole), then, for a new
// extension of non-zero length (0 = up to its NUL), a dot unless it begins with one and the new
// extension; terminated. An empty stem gives 0 and writes nothing. The output is required.
int ChangeExtOf(char *output, const char *text, const char *newExt, int newExtLength, int textLength);

// Copies the text and appends a backslash when it is non-empty and lacks one; terminated.
int CopyWithBackslash(char *output, const char *text, int length);
// Copies the text less one trailing backslash (C:\ becomes C:); terminated.
int CopyWithoutBackslash(char *output, const char *text, int length);

// The upward folder search over a folder probe: tries appFolder + name, then the same name in each
// ancestor up to the drive root. Found: `result` is the found folder with a trailing backslash and
// the length returned leaves that backslash out. Not found: 0, with `result` holding the last
// candidate tried. Without a name `result` is appFolder with one trailing backslash and the length
// is its length. A candidate that would not fit 260 characters with its backslash counts as absent.
using FolderProbe = bool (*)(const AnsiString &path, void *context);
int FindFolderUpwardsFrom(AnsiString &result, const AnsiString &appFolder, const char *folderName,
                          FolderProbe isDirectory, void *context);

// The application folder (with its trailing backslash) cut after a text: when `cutAfter` occurs in
// it (first occurrence, case-sensitive), the folder is cut after the character that follows it
// ("C:\P\EXE\" cut after "P" is "C:\P\"). At most 260 characters; with `withoutBackslash` one
// trailing backslash is dropped.
AnsiString CutAppFolder(const AnsiString &folder, const char *cutAfter, bool withoutBackslash);
