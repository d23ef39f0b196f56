// Path parts and wildcard matching (pure text work on Windows paths).
#include "framework/runtime/SysUtils.h"

namespace {
bool IsDelim(char c) { return c == '\\' || c == '/' || c == ':'; }

// Index just past the last '\', '/' or ':' (0 when none).
size_t NameStart(const AnsiString &s)
{
    size_t i = s.size();
    while (i > 0 && !IsDelim(s[i - 1]))
        --i;
    return i;
}

bool MatchFrom(const char *n, const char *nEnd, const char *m, const char *mEnd)
{
    // Iterative matcher with one back-track point for the last '*'.
    const char *starM = nullptr, *starN = nullptr;
    while (n < nEnd) {
        if (m < mEnd && *m == '*') {
            starM = ++m;
            starN = n;
        } else if (m < mEnd && (*m == '?' || AnsiUpperChar(*m) == AnsiUpperChar(*n))) {
            ++m;
            ++n;
        } else if (starM) {
            m = starM;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (m < mEnd && *m == '*')
        ++m;
    return m == mEnd;
}
}  // namespace

AnsiString ExtractFilePath(const AnsiString &fileName) { return fileName.substr(0, NameStart(fileName)); }

AnsiString ExtractFileDir(const AnsiString &fileName)
{
    size_t i = NameStart(fileName);
    // Keep the delimiter of a root ("C:\") and a bare drive ("C:").
    if (i > 1 && (fileName[i - 1] == '\\' || fileName[i - 1] == '/') && !IsDelim(fileName[i - 2]))
        --i;
    return fileName.substr(0, i);
}

AnsiString ExtractFileName(const AnsiString &fileName) { return fileName.substr(NameStart(fileName)); }

AnsiString ExtractFileExt(const AnsiString &fileName)
{
    size_t start = NameStart(fileName);
    size_t dot = fileName.rfind('.');
    if (dot == AnsiString::npos || dot < start)
        return "";
    return fileName.substr(dot);
}

AnsiString ExtractFileDrive(const AnsiString &fileName)
{
    if (fileName.size() >= 2 && fileName[1] == ':')
        return fileName.substr(0, 2);
    if (fileName.size() >= 2 && fileName[0] == '\\' && fileName[1] == '\\') {
        // \\server\share
        size_t server = fileName.find('\\', 2);
        if (server == AnsiString::npos)
            return fileName;
        size_t share = fileName.find('\\', server + 1);
        return fileName.substr(0, share);
    }
    return "";
}

AnsiString ChangeFileExt(const AnsiString &fileName, const AnsiString &extension)
{
    size_t start = NameStart(fileName);
    size_t dot = fileName.rfind('.');
    if (dot == AnsiString::npos || dot < start)
        return fileName + extension;
    return fileName.substr(0, dot) + extension;
}

AnsiString IncludeTrailingBackslash(const AnsiString &path)
{
    if (!path.empty() && path.back() == '\\')
        return path;
    return path + '\\';
}

AnsiString ExcludeTrailingBackslash(const AnsiString &path)
{
    if (!path.empty() && path.back() == '\\')
        return path.substr(0, path.size() - 1);
    return path;
}

bool IsPathDelimiter(const AnsiString &s, int index)
{
    return index >= 1 && static_cast<size_t>(index) <= s.size() && s[static_cast<size_t>(index) - 1] == '\\';
}

bool MatchesMask(const AnsiString &name, const AnsiString &mask)
{
    const char *n = name.data(), *nEnd = n + name.size();
    const char *m = mask.data(), *mEnd = m + mask.size();
    // "*.*" and masks ending in ".*" also match names without a dot: the system treats the dot of a
    // dotless name as present and empty.
    if (mEnd - m >= 2 && mEnd[-1] == '*' && mEnd[-2] == '.' && name.find('.') == AnsiString::npos)
        return MatchFrom(n, nEnd, m, mEnd - 2);
    // A mask ending in "." matches a name without an extension.
    if (mEnd - m >= 1 && mEnd[-1] == '.' && name.find('.') == AnsiString::npos)
        return MatchFrom(n, nEnd, m, mEnd - 1);
    return MatchFrom(n, nEnd, m, mEnd);
}
