#pragma once
// Which product folder a journal was written for. A run keeps its journal in the product folder it
// works on, and every path the journal names is that run's; copied or moved with its installation, the
// journal lies in another folder, where undoing it or tidying up after it would change the installation
// it came from. A run names its product folder in a signed line right after its start; a journal of an
// earlier build has none and is told by the paths its lines name. What is told here comes from the
// journal's lines alone; whether two names lead to one folder is the caller's to say.
#include <functional>
#include <vector>

#include "framework/runtime/AnsiString.h"

// What a journal's well-signed command lines tell of the product folder its runs worked on.
struct TJournalFolder {
    // The folder its newest product-folder line names; empty in a journal of an earlier build. When it
    // is there nothing else counts.
    AnsiString Named;
    // Without it: each folder whose own temporary folder ("...\QMTUPDTA.TMP\") a line names as the
    // run's temporary folder or as the place of a backup: that folder was the product folder ...
    std::vector<AnsiString> ProductFolders;
    // ... and the folders of the product files a run in place backed up, which lie inside it. A copy
    // run's backups (the copy's files, the desktop's shortcut) tell nothing of it.
    std::vector<AnsiString> ProductFileFolders;
};

TJournalFolder JournalFolderOf(const std::vector<AnsiString> &lines);

// Whether two folder names (each with a trailing "\" or without) lead to one folder.
using TSameFolder = std::function<bool(const AnsiString &a, const AnsiString &b)>;

// The product folder a journal lying in `folder` was written for, when that is another one: the folder
// it names, else the first product folder its paths give that is not `folder`, else, when a product
// file it backed up lies outside `folder`, the folder all those files share (that file's own when they
// share none). Empty when the journal is `folder`'s, and when its lines tell nothing. Names that read as
// one folder are one; for others `sameFolder` decides (a short name, another drive letter or a link onto
// the same folder).
AnsiString OtherFolderOfJournal(const TJournalFolder &told, const AnsiString &folder, const TSameFolder &sameFolder);
