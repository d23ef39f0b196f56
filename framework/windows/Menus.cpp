#include "framework/windows/Menus.h"

#include <algorithm>
#include <map>

#include "framework/runtime/Exception.h"

namespace {
// Never destroyed: menus freed during static destruction still unregister.
std::map<unsigned, TMenuItem *> &Commands()
{
    static auto *commands = new std::map<unsigned, TMenuItem *>;
    return *commands;
}

unsigned NextCommand()
{
    // Window-system menu ids are 16-bit; 0 is "nothing chosen". Skip ids still in use after wrapping.
    static unsigned next = 0;
    for (int tries = 0; tries < 0xFFFF; ++tries) {
        next = next % 0xFFFF + 1;
        if (!Commands().count(next))
            return next;
    }
    throw Exception("Too many menu items");
}

struct KeyName {
    uint16_t key;
    const char *name;
};
constexpr KeyName kKeyNames[] = {
    {0x08, "BkSp"}, {0x09, "Tab"},   {0x0D, "Enter"}, {0x1B, "Esc"},  {0x20, "Space"},
    {0x21, "PgUp"}, {0x22, "PgDn"},  {0x23, "End"},   {0x24, "Home"}, {0x25, "Left"},
    {0x26, "Up"},   {0x27, "Right"}, {0x28, "Down"},  {0x2D, "Ins"},  {0x2E, "Del"},
};

AnsiString KeyToName(uint16_t key)
{
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
        return AnsiString(1, static_cast<char>(key));
    if (key >= 0x70 && key <= 0x87)
        return "F" + std::to_string(key - 0x70 + 1);
    for (const KeyName &k : kKeyNames)
        if (k.key == key)
            return k.name;
    return AnsiString();
}

AnsiString AsciiUpper(AnsiString s)
{
    for (char &c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return s;
}

bool StartsWithUpper(const AnsiString &text, const AnsiString &prefix)
{
    return text.size() >= prefix.size() && AsciiUpper(text.substr(0, prefix.size())) == AsciiUpper(prefix);
}
}  // namespace

TShortCut ShortCut(uint16_t key, TShiftState shift)
{
    if (key & 0xFF00)
        return 0;
    TShortCut sc = key;
    if (shift & ssShift)
        sc |= scShift;
    if (shift & ssCtrl)
        sc |= scCtrl;
    if (shift & ssAlt)
        sc |= scAlt;
    return sc;
}

AnsiString ShortCutToText(TShortCut shortCut)
{
    AnsiString name = KeyToName(shortCut & 0xFF);
    if (name.empty())
        return AnsiString();
    AnsiString text;
    if (shortCut & scShift)
        text += "Shift+";
    if (shortCut & scCtrl)
        text += "Ctrl+";
    if (shortCut & scAlt)
        text += "Alt+";
    return text + name;
}

TShortCut TextToShortCut(const AnsiString &text)
{
    AnsiString rest = text;
    TShortCut mods = 0;
    for (bool found = true; found;) {
        found = false;
        for (auto [prefix, bit] :
             {std::pair<const char *, TShortCut>{"Shift+", scShift}, {"Ctrl+", scCtrl}, {"Alt+", scAlt}})
            if (StartsWithUpper(rest, prefix)) {
                mods |= bit;
                rest.erase(0, std::char_traits<char>::length(prefix));
                found = true;
            }
    }
    AnsiString wanted = AsciiUpper(rest);
    if (wanted.empty())
        return 0;
    for (uint16_t key = 1; key < 0x100; ++key) {
        AnsiString name = KeyToName(key);
        if (!name.empty() && AsciiUpper(name) == wanted)
            return static_cast<TShortCut>(key | mods);
    }
    return 0;
}

// ---- TMenuItem ---------------------------------------------------------------------------------------

TMenuItem::TMenuItem(TComponent *owner) : TComponent(owner), command_(NextCommand()) { Commands()[command_] = this; }

TMenuItem::~TMenuItem()
{
    Clear();
    if (parent_)
        parent_->Remove(this);
    Commands().erase(command_);
}

TMenuItem *TMenuItem::FromCommand(unsigned command)
{
    auto it = Commands().find(command);
    return it == Commands().end() ? nullptr : it->second;
}

int TMenuItem::IndexOf(const TMenuItem *item) const
{
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TMenuItem::Insert(int index, TMenuItem *item)
{
    if (!item)
        return;
    for (TMenuItem *p = this; p; p = p->parent_)
        if (p == item)
            throw Exception("A menu item cannot hold itself");
    if (item->parent_)
        item->parent_->Remove(item);
    index = std::clamp(index, 0, Count());
    items_.insert(items_.begin() + index, item);
    item->parent_ = this;
}

void TMenuItem::Remove(TMenuItem *item)
{
    auto it = std::find(items_.begin(), items_.end(), item);
    if (it == items_.end())
        return;
    items_.erase(it);
    item->parent_ = nullptr;
}

void TMenuItem::Delete(int index)
{
    if (index < 0 || index >= Count())
        throw Exception("Menu index out of bounds (" + std::to_string(index) + ")");
    items_[static_cast<size_t>(index)]->Free();
}

void TMenuItem::Clear()
{
    while (!items_.empty())
        items_.back()->Free();
}

TMenuItem *TMenuItem::Find(const AnsiString &caption) const
{
    for (TMenuItem *item : items_)
        if (item->caption_ == caption)
            return item;
    return nullptr;
}

void TMenuItem::Click()
{
    if (enabled_ && OnClick)
        OnClick(this);
}

// ---- TMenu ---------------------------------------------------------------------------------------------

TMenu::TMenu(TComponent *owner) : TComponent(owner), items_(new TMenuItem(nullptr)) {}

TMenu::~TMenu() { items_->Free(); }

namespace {
TMenuItem *FindByShortCut(const TMenuItem *parent, TShortCut shortCut)
{
    for (int i = 0; i < parent->Count(); ++i) {
        TMenuItem *item = parent->Items(i);
        if (!item->Visible() || !item->Enabled())
            continue;
        if (item->ShortCut() == shortCut && item->Count() == 0)
            return item;
        if (TMenuItem *found = FindByShortCut(item, shortCut))
            return found;
    }
    return nullptr;
}
}  // namespace

TMenuItem *TMenu::FindItem(TShortCut shortCut) const { return shortCut ? FindByShortCut(items_, shortCut) : nullptr; }

bool TMenu::IsShortCut(uint16_t key, TShiftState shift)
{
    TMenuItem *item = FindItem(::ShortCut(key, shift));
    if (!item)
        return false;
    item->Click();
    return true;
}
