#pragma once
// Alias paths: "CFG#cfg.qmt" names the file cfg.qmt in the folder registered for the alias CFG.
#include "framework/runtime/AnsiString.h"

class TStringList;

// The process-wide alias lists, filled by the product-environment loader; null until it creates them.
// AliasNames: upper-case alias names, sorted; each carries as its object the index of its folder text
// in AliasFolders. A folder text that begins with 0x04 holds a Russian and a Ukrainian folder.
extern TStringList *AliasNames;
extern TStringList *AliasFolders;

// A path without "#" is returned unchanged. Otherwise alias (upper-cased, trimmed) "#" file (trimmed):
// the alias's folder followed directly by the file; an alias with no file gives the alias itself.
// ZError 6 when both parts are empty, ZError 7 for an unknown alias.
AnsiString ResolveAliasPath(const AnsiString &path);

// The folder text of an alias, in the record-text language when it holds two. ZError 7 (with the
// upper-cased alias) when the alias is unknown or the lists do not exist yet.
AnsiString AliasFolder(const AnsiString &alias);
