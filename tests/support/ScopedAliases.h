#pragma once
// The process-wide alias lists holding exactly the given aliases (name, folder) while the object
// lives, filled as the environment loader fills them; the lists before it are restored afterwards.
#include <cstdint>
#include <initializer_list>
#include <utility>

#include "base/aliases/dPath.h"
#include "framework/runtime/Classes.h"

class TScopedAliases {
public:
    TScopedAliases(std::initializer_list<std::pair<AnsiString, AnsiString>> aliases)
        : savedNames_(AliasNames), savedFolders_(AliasFolders)
    {
        for (const auto &[name, folder] : aliases) {
            const int index = folders_.Add(folder);
            names_.AddObject(name, reinterpret_cast<void *>(static_cast<intptr_t>(index)));
        }
        names_.Sort();
        AliasNames = &names_;
        AliasFolders = &folders_;
    }
    ~TScopedAliases()
    {
        AliasNames = savedNames_;
        AliasFolders = savedFolders_;
    }
    TScopedAliases(const TScopedAliases &) = delete;
    TScopedAliases &operator=(const TScopedAliases &) = delete;

private:
    TStringList names_, folders_;
    TStringList *savedNames_, *savedFolders_;
};
