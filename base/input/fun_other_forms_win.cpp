// The utilities that work on forms: rescaling for the screen's density, placement, menus by item
// name, lists of forms.
#include <set>
#include <vector>

#include "base/input/fun_other.h"
#include "framework/runtime/Classes.h"
#include "framework/windows/Forms.h"
#include "framework/windows/Menus.h"

// ---- fonts and forms for the screen ----------------------------------------------------------------

void ScaleFontToArial(TFont &font)
{
    font.SetName("Arial");
    if (DesignDensity != 0)
        font.SetSize(MulDivRound(font.Size(), ScreenDensity, DesignDensity));
}

namespace {

// The height correction of a font that was scaled with its form: undoes the density ratio and
// applies the screen's pixels per inch instead, when those differ from the design value.
void CorrectFontHeight(TFont &font)
{
    const int ppi = Screen->PixelsPerInch();
    if (ppi == FormDesignPixelsPerInch || ScreenDensity == 0 || FormDesignPixelsPerInch == 0)
        return;
    font.SetHeight(MulDivRound(font.Height(), DesignDensity * ppi, ScreenDensity * FormDesignPixelsPerInch));
}

}  // namespace

void RescaleControlFont(TControl &control)
{
    if (control.ParentFont())
        return;
    control.Font()->SetName("Arial");
    CorrectFontHeight(*control.Font());
}

void RescaleChildFonts(TWinControl *control)
{
    if (control == nullptr)
        return;
    for (int i = 0; i < control->ControlCount(); ++i) {
        TControl *child = control->Controls(i);
        if (dynamic_cast<TForm *>(child) != nullptr || child->RescaleFonts(ScreenDensity, DesignDensity))
            continue;
        if (auto *holder = dynamic_cast<TWinControl *>(child); holder != nullptr && holder->ControlCount() > 0)
            RescaleChildFonts(holder);
        RescaleControlFont(*child);
    }
}

void ScaleFormToScreen(TForm *form)
{
    if (form == nullptr || ScreenDensity == DesignDensity || DesignDensity == 0)
        return;
    const bool scaled = form->Scaled(), autoScroll = form->AutoScroll();
    const int scrollX = form->HorzScrollPosition(), scrollY = form->VertScrollPosition();
    form->SetScaled(true);
    form->SetAutoScroll(false);
    form->Font()->SetName("Arial");
    // As the framework's own rescaling does: the client area grows with the contents, the frame
    // stays as thick as it is, and the form stays where it is.
    const int left = form->Left(), top = form->Top();
    const int clientWidth = form->ClientWidth(), clientHeight = form->ClientHeight();
    form->ScaleBy(ScreenDensity, DesignDensity);
    form->SetBounds(left, top, form->Width(), form->Height());
    form->SetClientWidth(MulDivRound(clientWidth, ScreenDensity, DesignDensity));
    form->SetClientHeight(MulDivRound(clientHeight, ScreenDensity, DesignDensity));
    CorrectFontHeight(*form->Font());
    RescaleChildFonts(form);
    form->SetScaled(scaled);
    form->SetAutoScroll(autoScroll);
    form->SetHorzScrollPosition(scrollX);
    form->SetVertScrollPosition(scrollY);
}

void ClampFormToScreen(const TRect &workArea, TForm *form, int left, int top)
{
    if (form == nullptr)
        return;
    const TPoint at = ClampToArea(workArea, form->Width(), form->Height(), left, top);
    form->SetBounds(at.X, at.Y, form->Width(), form->Height());
}

bool CascadeFormOverWait(TForm *form)
{
    if (form == nullptr || form->BorderStyle() == bsNone || form->WindowState() != wsNormal ||
        form->Position() == poScreenCenter || form->Position() == poMainFormCenter ||
        form->Position() == poOwnerFormCenter)
        return false;
    TForm *over = nullptr;
    for (int i = 0; i < Screen->FormCount() && over == nullptr; ++i) {
        TForm *other = Screen->Forms(i);
        if (other != form && other->Visible() && other->ClassName() == "TFWait")
            over = other;
    }
    if (over == nullptr && Application != nullptr && Application->MainForm() != form)
        over = Application->MainForm();
    if (over == nullptr)
        return false;
    ClampFormToScreen(Screen->WorkArea(), form, over->Left() + CascadeOffsetX, over->Top() + CascadeOffsetY);
    return true;
}

void FreeFormList(TList *&list, bool freeList)
{
    FreeObjectList(list, freeList, [](void *item) { static_cast<TForm *>(item)->Free(); });
}

// ---- menus -------------------------------------------------------------------------------------------

void SetMenuItemsEnabled(TMenuItem *item, bool enabled)
{
    if (item == nullptr)
        return;
    for (int i = 0; i < item->Count(); ++i) {
        item->Items(i)->SetEnabled(enabled);
        SetMenuItemsEnabled(item->Items(i), enabled);
    }
}

namespace {

// A menu bar already shown takes the items' new states.
void RefreshMenuBar(TForm *form)
{
    if (form->Menu() != nullptr && form->HandleAllocated())
        form->Menu()->Rebuild();
}

}  // namespace

void SetMenuItemsEnabled(TForm *form, bool enabled)
{
    if (form != nullptr && form->Menu() != nullptr) {
        SetMenuItemsEnabled(form->Menu()->Items(), enabled);
        RefreshMenuBar(form);
    }
}

namespace {

void CollectItems(TMenuItem *item, std::vector<TMenuItem *> &items, std::set<TMenuItem *> &seen)
{
    if (!seen.insert(item).second)
        return;
    items.push_back(item);
    for (int i = 0; i < item->Count(); ++i)
        CollectItems(item->Items(i), items, seen);
}

// The menu items of the form in menu order: those of its menus and those it owns directly.
std::vector<TMenuItem *> FormMenuItems(TForm *form)
{
    std::vector<TMenuItem *> items;
    std::set<TMenuItem *> seen;
    auto addMenu = [&](TMenu *menu) {
        if (menu == nullptr)
            return;
        seen.insert(menu->Items());  // the root holds the entries but is no entry itself
        for (int i = 0; i < menu->Items()->Count(); ++i)
            CollectItems(menu->Items()->Items(i), items, seen);
    };
    addMenu(form->Menu());
    for (int i = 0; i < form->ComponentCount(); ++i) {
        TComponent *c = form->Components(i);
        if (auto *menu = dynamic_cast<TMenu *>(c))
            addMenu(menu);
        else if (auto *item = dynamic_cast<TMenuItem *>(c))
            CollectItems(item, items, seen);
    }
    return items;
}

// Runs `apply` on each named item of the form, each name used once, until every name was met.
template <class Apply>
void ForNamedMenuItems(TForm *form, const AnsiString &names, Apply apply)
{
    if (form == nullptr)
        return;
    std::vector<AnsiString> wanted;
    for (size_t start = 0; start <= names.size();) {
        size_t hash = names.find('#', start);
        if (hash == AnsiString::npos)
            hash = names.size();
        if (hash > start)
            wanted.push_back(names.substr(start, hash - start));
        start = hash + 1;
    }
    for (TMenuItem *item : FormMenuItems(form)) {
        if (wanted.empty())
            break;
        for (size_t i = 0; i < wanted.size(); ++i) {
            if (wanted[i] == item->Name()) {
                apply(*item);
                wanted.erase(wanted.begin() + static_cast<std::ptrdiff_t>(i));
                break;
            }
        }
    }
    RefreshMenuBar(form);
}

}  // namespace

void EnableMenuItemsByName(TForm *form, const AnsiString &names, bool enabled)
{
    ForNamedMenuItems(form, names, [enabled](TMenuItem &item) {
        if (!enabled && item.ShortCut() != 0) {
            item.SetTag(item.ShortCut());
            item.SetShortCut(0);
        } else if (enabled && item.Tag() != 0) {
            item.SetShortCut(static_cast<TShortCut>(item.Tag()));
            item.SetTag(0);
        }
        item.SetEnabled(enabled);
    });
}

void ShowMenuItemsByName(TForm *form, const AnsiString &names, bool visible)
{
    ForNamedMenuItems(form, names, [visible](TMenuItem &item) { item.SetVisible(visible); });
}
