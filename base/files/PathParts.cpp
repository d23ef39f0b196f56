#include "base/files/PathParts.h"

#include <algorithm>
#include <cstring>

PathRecord ConfigFolderRecord;

namespace {

int Span(const char *text, int n)
{
    if (text == nullptr || n < 0)
        return 0;
    return n == 0 ? static_cast<int>(std::strlen(text)) : n;
}

bool IsFolderSeparator(char c) { return c == '\\' || c == ':'; }

struct Piece {
    std::uint32_t start;
    std::uint32_t length;
};

// Where a selected part lies in the record's text; false for an unknown selector.
bool Locate(const PathParts &p, int selector, Piece &piece)
{
    std::uint32_t drive = p.DriveWithColon();
    std::uint32_t nameAt = drive + p.folder;
    switch (selector) {
    case PathDrive: piece = {0, drive}; return true;
    case PathFolder: piece = {drive, p.folder}; return true;
    case PathDriveFolder: piece = {0, nameAt}; return true;
    case PathName: piece = {nameAt, p.name}; return true;
    case PathExt: piece = {nameAt + p.name, p.ExtWithDot()}; return true;
    case PathNameExt: piece = {nameAt, p.name + p.ExtWithDot()}; return true;
    case PathWhole: piece = {0, p.Total()}; return true;
    default: return false;
    }
}

int CopyOut(char *output, const char *from, std::uint32_t length)
{
    if (output != nullptr && length != 0) {
        std::memcpy(output, from, length);
        output[length] = 0;
    }
    return static_cast<int>(length);
}

void Store(PathRecord &record, const AnsiString &text)
{
    std::memset(record.text, 0, sizeof record.text);
    std::memcpy(record.text, text.data(), text.size());
    record.parts = ParsePathParts(record.text, static_cast<int>(text.size()));
}

}  // namespace

PathParts ParsePathParts(const char *text, int length)
{
    PathParts p;
    int len = Span(text, length);
    if (len == 0)
        return p;
    int i = len;
    while (i > 0 && text[i - 1] != '.' && !IsFolderSeparator(text[i - 1]))
        --i;
    if (i == 0) {
        p.name = static_cast<std::uint32_t>(len);
        return p;
    }
    if (text[i - 1] == '.') {
        p.ext = static_cast<std::uint32_t>(len - i);
        p.hasDot = true;
        int nameEnd = --i;
        while (i > 0 && !IsFolderSeparator(text[i - 1]))
            --i;
        p.name = static_cast<std::uint32_t>(nameEnd - i);
        if (i == 0)
            return p;
    } else {
        p.name = static_cast<std::uint32_t>(len - i);
    }
    // text[0, i) is the prefix; its last character is a backslash or a colon.
    if (text[i - 1] == ':') {
        p.drive = static_cast<std::uint32_t>(i - 1);
        p.hasColon = true;
        return p;
    }
    const void *colon = std::memchr(text, ':', static_cast<std::size_t>(i));
    if (colon != nullptr) {
        auto k = static_cast<int>(static_cast<const char *>(colon) - text);
        p.drive = static_cast<std::uint32_t>(k);
        p.hasColon = true;
        p.folder = static_cast<std::uint32_t>(i - k - 1);
    } else {
        p.folder = static_cast<std::uint32_t>(i);
    }
    return p;
}

void ClearPathRecord(PathRecord &record) { record = PathRecord{}; }

void AssignPathRecord(PathRecord &record, const PathRecord *source)
{
    record = source != nullptr ? *source : PathRecord{};
}

int SetPathRecord(PathRecord &record, const char *text)
{
    if (text == nullptr) {
        ClearPathRecord(record);
        return 0;
    }
    std::size_t len = std::strlen(text);
    if (len > static_cast<std::size_t>(MaxPathText)) {
        ClearPathRecord(record);
        return 0;
    }
    AnsiString path(text, len);
    PathParts p = ParsePathParts(path.data(), static_cast<int>(len));
    if (p.hasDot && p.ext == 0)
        path.pop_back();
    Store(record, path);
    return static_cast<int>(path.size());
}

int GetPathPart(const PathRecord &record, int selector, char *output)
{
    Piece piece{};
    if (!Locate(record.parts, selector, piece))
        return 0;
    return CopyOut(output, record.text + piece.start, piece.length);
}

AnsiString GetPathPartStr(const PathRecord &record, int selector)
{
    Piece piece{};
    if (!Locate(record.parts, selector, piece))
        return AnsiString();
    return AnsiString(record.text + piece.start, piece.length);
}

int ReplacePathPart(PathRecord &record, int selector, const char *text, int length)
{
    Piece piece{};
    if (text == nullptr || !Locate(record.parts, selector, piece))
        return 0;
    AnsiString part(text, static_cast<std::size_t>(Span(text, length)));
    if (!part.empty()) {
        switch (selector) {
        case PathDrive:
            if (part.back() != ':')
                part += ':';
            break;
        case PathFolder:
            if (part.front() != '\\')
                part.insert(part.begin(), '\\');
            if (part.back() != '\\')
                part += '\\';
            break;
        case PathDriveFolder:
            if (part.back() != '\\')
                part += '\\';
            break;
        case PathExt:
            if (part.front() != '.')
                part.insert(part.begin(), '.');
            break;
        default: break;
        }
    }
    std::uint32_t total = record.parts.Total();
    AnsiString path(record.text, piece.start);
    path += part;
    path.append(record.text + piece.start + piece.length, total - piece.start - piece.length);
    if (path.size() > static_cast<std::size_t>(MaxPathText))
        return 0;
    Store(record, path);
    return static_cast<int>(path.size());
}

int GetExtOf(char *output, const char *text, int length)
{
    PathParts p = ParsePathParts(text, length);
    return CopyOut(output, text + p.Total() - p.ext, p.ext);
}

int GetNameExtOf(char *output, const char *text, int length)
{
    PathParts p = ParsePathParts(text, length);
    std::uint32_t n = p.name + p.ExtWithDot();
    return CopyOut(output, text + p.Total() - n, n);
}

int GetDriveFolderOf(char *output, const char *text, int length)
{
    PathParts p = ParsePathParts(text, length);
    return CopyOut(output, text, p.DriveWithColon() + p.folder);
}

int GetNameOf(char *output, const char *text, int length)
{
    PathParts p = ParsePathParts(text, length);
    return CopyOut(output, text + p.DriveWithColon() + p.folder, p.name);
}

int ChangeExtOf(char *output, const char *text, const char *newExt, int newExtLength, int textLength)
{
    if (output == nullptr)
        return 0;
    PathParts p = ParsePathParts(text, textLength);
    std::uint32_t stem = p.Total() - p.ExtWithDot();
    if (stem == 0)
        return 0;
    std::memcpy(output, text, stem);
    std::uint32_t out = stem;
    int extLength = Span(newExt, newExtLength);
    if (extLength > 0) {
        if (newExt[0] != '.')
            output[out++] = '.';
        std::memcpy(output + out, newExt, static_cast<std::size_t>(extLength));
        out += static_cast<std::uint32_t>(extLength);
    }
    output[out] = 0;
    return static_cast<int>(out);
}

int CopyWithBackslash(char *output, const char *text, int length)
{
    int len = Span(text, length);
    if (output == nullptr)
        return len == 0 || text[len - 1] == '\\' ? len : len + 1;
    if (len > 0)
        std::memcpy(output, text, static_cast<std::size_t>(len));
    if (len > 0 && text[len - 1] != '\\')
        output[len++] = '\\';
    output[len] = 0;
    return len;
}

int CopyWithoutBackslash(char *output, const char *text, int length)
{
    int len = Span(text, length);
    if (len > 0 && text[len - 1] == '\\')
        --len;
    if (output == nullptr)
        return len;
    if (len > 0)
        std::memcpy(output, text, static_cast<std::size_t>(len));
    output[len] = 0;
    return len;
}

int FindFolderUpwardsFrom(AnsiString &result, const AnsiString &appFolder, const char *folderName,
                          FolderProbe isDirectory, void *context)
{
    result = appFolder;
    if (folderName == nullptr || *folderName == 0)
        return static_cast<int>(result.size());
    AnsiString folder = appFolder;
    if (folder.empty() || folder.back() != '\\')
        folder += '\\';
    for (;;) {
        result = folder + folderName;
        if (result.size() < static_cast<std::size_t>(MaxPathText) && isDirectory(result, context)) {
            int found = static_cast<int>(result.size());
            result += '\\';
            return found;
        }
        // The parent: step back over the trailing backslash, then to the previous one.
        std::size_t cut = folder.size() >= 2 ? folder.rfind('\\', folder.size() - 2) : AnsiString::npos;
        if (cut == AnsiString::npos)
            return 0;
        folder.resize(cut + 1);
    }
}

AnsiString CutAppFolder(const AnsiString &folder, const char *cutAfter, bool withoutBackslash)
{
    AnsiString out = folder;
    if (cutAfter != nullptr && *cutAfter != 0) {
        std::size_t at = out.find(cutAfter);
        if (at != AnsiString::npos)
            out.resize(std::min(out.size(), at + std::strlen(cutAfter) + 1));
    }
    if (out.size() > static_cast<std::size_t>(MaxPathText))
        out.resize(static_cast<std::size_t>(MaxPathText));
    if (withoutBackslash && !out.empty() && out.back() == '\\')
        out.pop_back();
    return out;
}
