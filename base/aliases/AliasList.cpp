#include "base/aliases/AliasList.h"

#include <cstring>
#include <mutex>

#include "base/aliases/AliasFileIO.h"
#include "base/text/LangText.h"

namespace {

std::mutex appFolderMutex;
AnsiString appFolder;
bool appFolderKnown = false;

std::string_view Text(const char *text, int length)
{
    if (text == nullptr)
        return {};
    return {text, length > 0 ? static_cast<std::size_t>(length) : std::strlen(text)};
}

}  // namespace

const AnsiString &AliasAppFolder()
{
    std::lock_guard<std::mutex> lock(appFolderMutex);
    if (!appFolderKnown) {
        appFolder = ProgramFolderOfAliases();
        appFolderKnown = true;
    }
    return appFolder;
}

void SetAliasAppFolder(const AnsiString &folder)
{
    std::lock_guard<std::mutex> lock(appFolderMutex);
    appFolder = folder;
    appFolderKnown = true;
}

TLBsAls::~TLBsAls() { FreeAll(); }

// ---- loading and saving ---------------------------------------------------------------------

int TLBsAls::LoadBinary(const char *fileName, int nameLength) { return Load(fileName, nameLength, false); }

int TLBsAls::LoadText(const char *fileName, int nameLength) { return Load(fileName, nameLength, true); }

int TLBsAls::Load(const char *fileName, int nameLength, bool text)
{
    if (Flag(AlsLoaded))
        return 1;
    AliasFileImage file;
    const std::string_view name = Text(fileName, nameLength);
    if (name.empty() || !ReadAliasFile(AnsiString(name), file)) {
        word_.lastError = AliasErrOpen;
        return 0;
    }
    return text ? LoadTextImage(file) : LoadBinaryImage(file);
}

int TLBsAls::LoadBinaryImage(std::span<const std::uint8_t> file)
{
    if (Flag(AlsLoaded))
        return 1;
    std::vector<std::string_view> items;
    const bool lines = Flag(AlsLineForm);
    const bool ok = lines ? SplitAliasLineFile(file, items) : SplitAliasRecordFile(file, items);
    return LoadEntries(!ok, file.empty(), items, lines);
}

int TLBsAls::LoadTextImage(std::span<const std::uint8_t> file)
{
    if (Flag(AlsLoaded))
        return 1;
    std::vector<std::string_view> items;
    const bool ok = SplitAliasTextFile(file, items);
    return LoadEntries(!ok, file.empty(), items, true);
}

int TLBsAls::LoadEntries(bool damaged, bool empty, const std::vector<std::string_view> &items, bool asLines)
{
    if (empty || damaged) {
        word_.lastError = empty ? AliasErrEmpty : AliasErrDamaged;
        return 0;
    }
    for (std::string_view item : items)
        Append(item, asLines);
    word_.flags |= AlsLoaded;
    return 1;
}

AliasFileImage TLBsAls::Image(bool text) const
{
    const bool lines = text || Flag(AlsLineForm);
    std::vector<AnsiString> items;
    for (const SALS_Link *e = head_; e != nullptr; e = e->next) {
        if (e->error != 0)
            continue;
        items.push_back(lines ? FormatAliasLine(*e, word_.textSeparator, Flag(AlsWriteMarkers))
                              : FormatAliasRecord(*e, word_.recordSeparator));
    }
    if (text)
        return JoinAliasTextFile(items);
    return Flag(AlsLineForm) ? JoinAliasLineFile(items) : JoinAliasRecordFile(items);
}

AliasFileImage TLBsAls::BinaryImage() const { return Image(false); }

AliasFileImage TLBsAls::TextImage() const { return Image(true); }

int TLBsAls::Save(const char *fileName, int nameLength, bool text)
{
    if (!Flag(AlsLoaded))
        return 0;
    const std::string_view name = Text(fileName, nameLength);
    if (name.empty() || !WriteAliasFile(AnsiString(name), Image(text))) {
        word_.lastError = AliasErrOpen;
        return 0;
    }
    return 1;
}

int TLBsAls::SaveBinary(const char *fileName, int nameLength) { return Save(fileName, nameLength, false); }

int TLBsAls::SaveText(const char *fileName, int nameLength) { return Save(fileName, nameLength, true); }

// ---- entries --------------------------------------------------------------------------------

SALS_Link *TLBsAls::AddLink(const char *text, int length, bool asLine) { return Append(Text(text, length), asLine); }

SALS_Link *TLBsAls::Append(std::string_view source, bool asLine)
{
    auto *entry = new SALS_Link;
    if (asLine || Flag(AlsLineForm))
        ParseAliasLine(*entry, source, word_.textSeparator);
    else
        ParseAliasRecord(*entry, source, word_.recordSeparator);
    if (entry->error != 0)
        word_.flags |= AlsHasErrors;
    // From the last entry this list appended: another holder of a shared chain may have appended
    // behind it since.
    SALS_Link *last = tail_ != nullptr ? tail_ : head_;
    while (last != nullptr && last->next != nullptr)
        last = last->next;
    if (last != nullptr)
        last->next = entry;
    else
        head_ = entry;
    tail_ = entry;
    return entry;
}

SALS_Link *TLBsAls::Find(const char *id, int length) const
{
    const std::string_view key = Text(id, length);
    if (key.empty())
        return nullptr;
    for (SALS_Link *e = head_; e != nullptr; e = e->next)
        if (e->error == 0 && e->Id() == key)
            return e;
    return nullptr;
}

void TLBsAls::FreeAll()
{
    while (head_ != nullptr) {
        SALS_Link *next = head_->next;
        delete head_;
        head_ = next;
    }
    tail_ = nullptr;
}

void TLBsAls::SetHead(SALS_Link *head)
{
    head_ = head;
    tail_ = nullptr;
}

SALS_Link *TLBsAls::Before(const SALS_Link *entry) const
{
    for (SALS_Link *e = head_; e != nullptr; e = e->next)
        if (e->next == entry && entry != nullptr)
            return e;
    return nullptr;
}

SALS_Link *TLBsAls::Last() const
{
    SALS_Link *e = head_;
    while (e != nullptr && e->next != nullptr)
        e = e->next;
    return e;
}

void TLBsAls::SetFlag(std::uint8_t bit, bool on)
{
    word_.flags = static_cast<std::uint8_t>(on ? word_.flags | bit : word_.flags & ~bit);
}

void TLBsAls::SetLoader(TAliasLoader loader, void *context)
{
    loader_ = loader;
    loaderContext_ = context;
}

void TLBsAls::EnsureLoaded()
{
    if (!Flag(AlsLoaded) && loader_ != nullptr)
        loader_(loaderContext_);
}

// ---- lookups --------------------------------------------------------------------------------

int TLBsAls::SplitAliasPrefix(SALS_Link &entry, const char *text, int &length) const
{
    const std::string_view s = Text(text, length);
    length = static_cast<int>(s.size());
    const std::size_t sep = s.find(word_.textSeparator);
    if (sep == std::string_view::npos)
        return 0;
    ParseAliasLine(entry, s, word_.textSeparator);
    return static_cast<int>(sep) + 1;
}

int TLBsAls::ResolveAlias(AnsiString &output, std::uint8_t language, int idLength, const char *id)
{
    EnsureLoaded();
    output.clear();
    const SALS_Link *entry = Find(id, idLength);
    if (entry == nullptr)
        return 0;
    const AnsiString part = GetLangText(language, entry->Info());
    if (part.empty())
        return 0;
    if (part.front() == '@') {
        output = AliasAppFolder();
        if (part.size() > 1) {
            if (part[1] != '\\')
                output += '\\';
            output.append(part, 1);
        }
    } else {
        output = part;
    }
    if (Flag(AlsFolderBackslash) && !output.empty() && output.back() != '\\')
        output += '\\';
    return static_cast<int>(output.size());
}

int TLBsAls::Substitute(AnsiString &output, std::uint8_t language, int textLength, const char *text)
{
    EnsureLoaded();
    output.clear();
    int length = textLength;
    SALS_Link prefix;
    const int sep = SplitAliasPrefix(prefix, text, length);
    if (sep == 0) {
        if (length > 0)
            output.assign(text, static_cast<std::size_t>(length));
        return length;
    }
    if (prefix.idLength == 0 || ResolveAlias(output, language, prefix.idLength, prefix.id) == 0)
        return 0;
    output.append(text + sep, static_cast<std::size_t>(length - sep));
    return static_cast<int>(output.size());
}

int TLBsAls::SetInfoFromText(const char *text, int length)
{
    EnsureLoaded();
    SALS_Link prefix;
    const int sep = SplitAliasPrefix(prefix, text, length);
    if (sep == 0 || prefix.idLength == 0)
        return 0;
    SALS_Link *entry = Find(prefix.id, prefix.idLength);
    if (entry == nullptr)
        return 0;
    const std::string_view info(text + sep, static_cast<std::size_t>(length - sep));
    if (info.size() > static_cast<std::size_t>(dfMaxLenAliasInfo))
        return -1;
    std::memcpy(entry->info, info.data(), info.size());
    entry->info[info.size()] = 0;
    entry->infoLength = static_cast<std::uint16_t>(info.size());
    return static_cast<int>(info.size());
}

int TLBsAls::ForEach(void *parameter, TAliasEach callback, void *context)
{
    if (callback == nullptr)
        return 0;
    EnsureLoaded();
    int count = 0;
    for (SALS_Link *e = head_; e != nullptr; e = e->next) {
        if (!callback(context, *this, *e, parameter))
            break;
        ++count;
    }
    return count;
}

AnsiString ExpandAliases(TLBsAls &list, const AnsiString &path, const AnsiString &alias)
{
    if (path.empty() || path.front() != '@')
        return path;
    const AnsiString rest = path.substr(1);
    if (alias.empty())
        return rest;
    AnsiString key = alias;
    if (key.back() != list.TextSeparator())
        key += list.TextSeparator();
    AnsiString folder;
    if (list.Substitute(folder, LangRus, static_cast<int>(key.size()), key.data()) == 0)
        return AnsiString();
    if (folder.back() != '\\')
        folder += '\\';
    return folder + rest;
}
