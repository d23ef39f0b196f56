#include <gtest/gtest.h>

#include "framework/runtime/Exception.h"
#include "framework/windows/Menus.h"

namespace {
TMenuItem *Item(TMenuItem *parent, const char *caption, TShortCut sc = 0)
{
    auto *item = new TMenuItem(nullptr);
    item->SetCaption(caption);
    item->SetShortCut(sc);
    parent->Add(item);
    return item;
}
}  // namespace

TEST(Menus, ShortCutTextsBothWays)
{
    EXPECT_EQ(0x4000 | 'C', TextToShortCut("Ctrl+C"));
    EXPECT_EQ(0x2000 | 0x4000 | 0x74, TextToShortCut("shift+CTRL+f5"));
    EXPECT_EQ(0x8000 | 0x2E, TextToShortCut("Alt+Del"));
    EXPECT_EQ("Shift+Ctrl+F5", ShortCutToText(0x6074));
    EXPECT_EQ("Ins", ShortCutToText(0x2D));
    EXPECT_EQ("", ShortCutToText(0));
    EXPECT_EQ(0, TextToShortCut("Ctrl+"));
    EXPECT_EQ(0, TextToShortCut("Ctrl+Ж"));
    for (TShortCut sc : {TShortCut(0x4000 | 'V'), TShortCut(0x2000 | 0x2D), TShortCut(0x0D), TShortCut(0xE000 | 0x87)})
        EXPECT_EQ(sc, TextToShortCut(ShortCutToText(sc))) << sc;
    EXPECT_EQ(0x4000 | 'A', ShortCut('A', ssCtrl));
    EXPECT_EQ(0, ShortCut(0x1234, 0));
}

TEST(Menus, PopupMenuFindsTheItemOfAShortCut)
{
    TPopupMenu menu(nullptr);
    std::vector<AnsiString> clicked;
    TMenuItem *copy = Item(menu.Items(), "Копировать", TextToShortCut("Ctrl+C"));
    Item(menu.Items(), "-");
    TMenuItem *edit = Item(menu.Items(), "Правка");
    TMenuItem *paste = Item(edit, "Вставить", TextToShortCut("Ctrl+V"));
    TMenuItem *hidden = Item(edit, "Удалить", TextToShortCut("Del"));
    hidden->SetVisible(false);
    for (TMenuItem *i : {copy, paste, hidden})
        i->OnClick = [&clicked](TObject *s) { clicked.push_back(static_cast<TMenuItem *>(s)->Caption()); };

    EXPECT_EQ(copy, menu.FindItem(TextToShortCut("Ctrl+C")));
    EXPECT_EQ(paste, menu.FindItem(TextToShortCut("Ctrl+V")));
    EXPECT_EQ(nullptr, menu.FindItem(TextToShortCut("Del")));  // hidden items take no keys
    EXPECT_TRUE(menu.IsShortCut('V', ssCtrl));
    EXPECT_FALSE(menu.IsShortCut('V', ssCtrl | ssShift));
    paste->SetEnabled(false);
    EXPECT_FALSE(menu.IsShortCut('V', ssCtrl));
    paste->Click();  // a disabled item does not run its handler
    EXPECT_EQ((std::vector<AnsiString>{"Вставить"}), clicked);
    EXPECT_TRUE(menu.Items()->Items(1)->IsLine());
    EXPECT_EQ(edit, menu.Items()->Find("Правка"));
    EXPECT_EQ(1, paste->MenuIndex() + 1);
}

TEST(Menus, ItemsFreeTheirSubItemsAndLeaveTheirParent)
{
    TPopupMenu menu(nullptr);
    TMenuItem *file = Item(menu.Items(), "Файл");
    TMenuItem *open = Item(file, "Открыть");
    unsigned command = open->Command();
    EXPECT_EQ(open, TMenuItem::FromCommand(command));
    TMenuItem *moved = Item(file, "Сохранить");
    menu.Items()->Add(moved);  // moves: leaves "Файл"
    EXPECT_EQ(1, file->Count());
    EXPECT_EQ(2, menu.Items()->Count());
    menu.Items()->Delete(0);
    EXPECT_EQ(nullptr, TMenuItem::FromCommand(command));
    EXPECT_EQ(1, menu.Items()->Count());
    EXPECT_THROW(moved->Add(menu.Items()), Exception);
    menu.Items()->Clear();
    EXPECT_EQ(0, menu.Items()->Count());
}
