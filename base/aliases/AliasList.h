#pragma once
// TLBsAls: a list of alias entries in file order, loaded from and saved to alias files, with its
// lookups: find an alias, resolve it to a folder in a chosen language, substitute the alias prefix
// of a text ("CFG#cfg.qmt"). An information that begins with the at sign stands for the
// application folder. ExpandAliases expands paths that begin with the at sign.
#include <cstdint>
#include <span>
#include <string_view>

#include "base/aliases/AliasEntry.h"
#include "base/aliases/AliasFileForms.h"
#include "framework/runtime/AnsiString.h"

// List flag bits.
enum : std::uint8_t {
    AlsFolderBackslash = 0x02,  // resolved folders end with a backslash
    AlsLineForm = 0x08,         // binary files hold text lines (the line form)
    AlsLoaded = 0x10,
    AlsWriteMarkers = 0x20,  // two-language information is written with '^' and '&'
    AlsHasErrors = 0x80,     // at least one entry has an error
};

// The list's flag word: flags, the two separators and the last error of a load or save.
struct SAlsFlagWord {
    std::uint8_t flags = 0;
    char recordSeparator = 0x01;
    char textSeparator = '#';
    std::uint8_t lastError = 0;
};

class TLBsAls;

// Loads a list on its first lookup; returns 1 when it did.
using TAliasLoader = int (*)(void *context);
// Called per entry by ForEach; false stops the walk.
using TAliasEach = bool (*)(void *context, TLBsAls &list, SALS_Link &entry, void *parameter);

// The application folder without its trailing backslash, as the at sign of an information stands
// for; taken on first need and kept. SetAliasAppFolder puts another folder in its place.
const AnsiString &AliasAppFolder();
void SetAliasAppFolder(const AnsiString &folder);

class TLBsAls {
public:
    TLBsAls() = default;
    // Frees the entries the list holds (a shared list's holder lets go of them first).
    virtual ~TLBsAls();
    TLBsAls(const TLBsAls &) = delete;
    TLBsAls &operator=(const TLBsAls &) = delete;

    // Loading: 1 on success or when already loaded; 0 with last error 8 (cannot open), 9 (empty)
    // or 11 (damaged), the list unchanged. The binary form read is the line form when the list has
    // flag 0x08, else the record form. Entries are appended to any already there.
    int LoadBinary(const char *fileName, int nameLength = 0);
    int LoadText(const char *fileName, int nameLength = 0);
    int LoadBinaryImage(std::span<const std::uint8_t> file);
    int LoadTextImage(std::span<const std::uint8_t> file);

    // Saving a loaded list: 1 on success; 0 when not loaded (no file) or when the file cannot be
    // written (last error 8; an existing file is kept as it was). Entries with errors are left out.
    int SaveBinary(const char *fileName, int nameLength = 0);
    int SaveText(const char *fileName, int nameLength = 0);
    AliasFileImage BinaryImage() const;
    AliasFileImage TextImage() const;

    // Appends an entry parsed as a text line (asLine or list flag 0x08) or as a binary record
    // (length 0 = up to the NUL).
    SALS_Link *AddLink(const char *text, int length, bool asLine);

    // The first good entry with this identifier (length 0 = up to the NUL); no loading.
    SALS_Link *Find(const char *id, int length = 0) const;
    // Parses the text (length 0 = up to the NUL; receives the text's length) as a line into the
    // entry and returns the 1-based position of the text separator; 0 without one.
    int SplitAliasPrefix(SALS_Link &entry, const char *text, int &length) const;
    // The alias's folder in the language (0 Ukrainian, 1 Russian, 2 whole); returns its length, 0
    // for an unknown alias or an empty part.
    int ResolveAlias(AnsiString &output, std::uint8_t language, int idLength, const char *id);
    // "ALIAS#rest" becomes the alias's folder followed by the rest ("" for an unknown alias); a text
    // without the separator is copied. Returns the output's length.
    int Substitute(AnsiString &output, std::uint8_t language, int textLength, const char *text);
    // "ALIAS#info": the alias's information becomes the bytes after the separator. Returns the new
    // information length; 0 and no change for an unknown alias or a text without separator; -1 and
    // no change for an information longer than dfMaxLenAliasInfo.
    int SetInfoFromText(const char *text, int length = 0);
    // Calls back for each entry in order until it returns false; the number of true results.
    int ForEach(void *parameter, TAliasEach callback, void *context);

    // The chain.
    void FreeAll();
    SALS_Link *Head() const { return head_; }
    SALS_Link *Before(const SALS_Link *entry) const;
    static SALS_Link *After(const SALS_Link *entry) { return entry == nullptr ? nullptr : entry->next; }
    SALS_Link *Last() const;

    const SAlsFlagWord &FlagWord() const { return word_; }
    bool Flag(std::uint8_t bit) const { return (word_.flags & bit) != 0; }
    void SetFlag(std::uint8_t bit, bool on);
    char RecordSeparator() const { return word_.recordSeparator; }
    void SetRecordSeparator(char c) { word_.recordSeparator = c; }
    char TextSeparator() const { return word_.textSeparator; }
    void SetTextSeparator(char c) { word_.textSeparator = c; }
    std::uint8_t LastError() const { return word_.lastError; }

    void SetLoader(TAliasLoader loader, void *context);

protected:
    // Calls the loader when the list is not loaded and has one.
    void EnsureLoaded();
    SALS_Link *Append(std::string_view source, bool asLine);
    int LoadEntries(bool damaged, bool empty, const std::vector<std::string_view> &items, bool asLines);
    AliasFileImage Image(bool text) const;
    int Load(const char *fileName, int nameLength, bool text);
    int Save(const char *fileName, int nameLength, bool text);
    // The list takes another chain (it does not free the one it had).
    void SetHead(SALS_Link *head);

    SAlsFlagWord word_;
    TAliasLoader loader_ = nullptr;
    void *loaderContext_ = nullptr;

private:
    SALS_Link *head_ = nullptr;
    // The last entry appended, so that loading a list does not walk the chain for every entry; null
    // until the first append to the chain the list holds.
    SALS_Link *tail_ = nullptr;
};

// A path that begins with the at sign: the alias's folder (Russian), a backslash and the rest of the
// path; with an empty alias the rest alone. Any other path is returned unchanged. An unknown alias
// gives "" rather than a path that no longer says where it lies.
AnsiString ExpandAliases(TLBsAls &list, const AnsiString &path, const AnsiString &alias);
