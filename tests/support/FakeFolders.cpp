#include "tests/support/FakeFolders.h"

#include <stdexcept>

#include "framework/runtime/SysUtils.h"

namespace {
AnsiString Key(const AnsiString &path) { return AnsiUpperCase(ExcludeTrailingBackslash(path)); }
}  // namespace

AnsiString FakeFolders::Resolve(const AnsiString &path) const
{
    AnsiString p = ExcludeTrailingBackslash(path);
    // Replace a link (or a link prefix) by the link's target, repeatedly (links may chain).
    for (int guard = 0; guard < 16; ++guard) {
        bool changed = false;
        for (const Node &n : nodes_) {
            if (!(n.attr & faSymLink))
                continue;
            AnsiString prefix = Key(n.path) + "\\";
            if (Key(p) == Key(n.path)) {
                p = n.target;
                changed = true;
                break;
            }
            if (Key(p).compare(0, prefix.size(), prefix) == 0) {
                p = n.target + p.substr(prefix.size() - 1);
                changed = true;
                break;
            }
        }
        if (!changed)
            break;
    }
    return p;
}

int FakeFolders::Find(const AnsiString &path) const
{
    AnsiString k = Key(Resolve(path));
    for (size_t i = 0; i < nodes_.size(); ++i)
        if (Key(nodes_[i].path) == k)
            return static_cast<int>(i);
    return -1;
}

bool FakeFolders::HasChildren(const AnsiString &path) const
{
    AnsiString k = Key(path);
    for (const Node &n : nodes_)
        if (Key(ExtractFileDir(n.path)) == k && Key(n.path) != k)
            return true;
    return false;
}

void FakeFolders::AddFolder(const AnsiString &path, int attr)
{
    AnsiString parent = ExtractFileDir(path);
    bool atDriveRoot = parent.size() <= 3 && ExtractFileDrive(parent) == ExcludeTrailingBackslash(parent);
    if (!atDriveRoot && Find(parent) < 0)
        throw std::logic_error("no parent folder for " + path);
    nodes_.push_back({ExcludeTrailingBackslash(path), attr | faDirectory, ""});
}

void FakeFolders::AddFile(const AnsiString &path, int attr)
{
    if (Find(ExtractFileDir(path)) < 0)
        throw std::logic_error("no parent folder for " + path);
    nodes_.push_back({path, attr & ~faDirectory, ""});
}

void FakeFolders::AddFolderLink(const AnsiString &path, const AnsiString &target)
{
    if (Find(ExtractFileDir(path)) < 0 || Find(target) < 0)
        throw std::logic_error("link " + path + " needs its parent and its target");
    nodes_.push_back({path, faDirectory | faSymLink, ExcludeTrailingBackslash(target)});
}

bool FakeFolders::Exists(const AnsiString &path) const { return Find(path) >= 0; }

std::vector<SFolderEntry> FakeFolders::List(const AnsiString &folder, const AnsiString &mask)
{
    std::vector<SFolderEntry> out;
    int f = Find(folder);
    if (f < 0 || !(nodes_[f].attr & faDirectory))
        return out;
    AnsiString k = Key(nodes_[f].path);
    for (const Node &n : nodes_)
        if (Key(ExtractFileDir(n.path)) == k && Key(n.path) != k && MatchesMask(ExtractFileName(n.path), mask))
            out.push_back({ExtractFileName(n.path), n.attr});
    return out;
}

bool FakeFolders::RemoveFile(const AnsiString &fileName)
{
    int i = Find(fileName);
    if (i < 0 || (nodes_[i].attr & (faDirectory | faReadOnly)))
        return false;
    removed.push_back(fileName);
    nodes_.erase(nodes_.begin() + i);
    return true;
}

bool FakeFolders::RemoveFolder(const AnsiString &folder)
{
    // A link is removed itself, whatever its target holds.
    AnsiString k = Key(folder);
    for (size_t i = 0; i < nodes_.size(); ++i)
        if ((nodes_[i].attr & faSymLink) && Key(nodes_[i].path) == k) {
            removed.push_back(ExcludeTrailingBackslash(folder));
            nodes_.erase(nodes_.begin() + static_cast<long>(i));
            return true;
        }
    int i = Find(folder);
    if (i < 0 || !(nodes_[i].attr & faDirectory) || HasChildren(nodes_[i].path))
        return false;
    removed.push_back(ExcludeTrailingBackslash(folder));
    nodes_.erase(nodes_.begin() + i);
    return true;
}
