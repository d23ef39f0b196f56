// The demonstration program driven as a user drives it: inside a Wine desktop of its own, with real
// clicks and keys, judged by what a user sees (window texts, the status line, colours on the screen)
// and by the program's event log for what leaves no visible trace. Each scenario leaves a picture of
// the screen named after what it must show.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "base/messages/MessagePresenter.h"
#include "controls/dates/MonthGrid.h"
#include "controls/UZFrmExr.h"
#include "tests/e2e/DemoUser.h"
#include "tests/e2e/controls_demo/DemoProduct.h"
#include "tests/support/UpdaterRun.h"

namespace {

AnsiString Header(std::uint8_t kind, bool russian = false) { return MessageHeader(kind, russian); }

TControlSpec InMain(TControlSpec spec)
{
    spec.InMain = true;
    return spec;
}

// Where a day of the shown month stands on a month page whose window and left arrow button are where
// they are: a title as high as twice the arrow's distance from the top plus the arrow, then the day
// names, the line under them and six weeks of seven days, each as high as a line of the day names, and
// the today line; 2 pixels of margin at either side.
TPoint DayOnMonthPage(const TRect &page, const TRect &leftArrow, int year, int month, int day)
{
    const int title = 2 * (leftArrow.Top - page.Top) + TMonthLayout::ArrowHeight;
    const int cellHeight = (page.Height() - title - 9) / 8;
    const int cellWidth = (page.Width() - 4) / 7;
    const int cell = MonthDayCell(MakeMonthGrid(year, month), day);
    const int gridTop = page.Top + title + 2 + cellHeight + 1 + 2;
    return TPoint{page.Left + 2 + (cell % 7) * cellWidth + cellWidth / 2,
                  gridTop + (cell / 7) * cellHeight + cellHeight / 2};
}

class ControlsDemo : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(user.Start()) << Utf8(user.Failure()); }
    void TearDown() override
    {
        // Every scenario leaves the program as it found it: closing its main window ends it normally.
        EXPECT_EQ(0u, user.Close()) << "the demonstration did not end by its close button: " << Utf8(user.Failure());
    }
    // Clicks a button of the current window by its caption.
    ::testing::AssertionResult Press(const AnsiString &caption)
    {
        if (user.ClickOn(ByText("Button", caption)))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "no button " << Utf8(caption) << ": " << Utf8(user.Failure());
    }
    // Clicks a button of the main window, whichever window is current.
    ::testing::AssertionResult PressInMain(const AnsiString &caption)
    {
        TControlSpec spec = ByText("Button", caption);
        spec.InMain = true;
        if (user.ClickOn(spec))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "no button " << Utf8(caption) << ": " << Utf8(user.Failure());
    }
    ::testing::AssertionResult Logged(const AnsiString &line, size_t from = 0)
    {
        if (user.WaitLog(line, 20000, from))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << Utf8(user.Failure()) << "\nlog:\n" << Joined(user.Log());
    }
    TDemoUser user;
};

}  // namespace

TEST_F(ControlsDemo, TheFormSwitchesFromUkrainianToRussianInsideADesktop)
{
    EXPECT_GT(user.Window("Елементи керування").Width(), 0);
    for (const char *caption : {"Помилка", "Мова: українська", "Позначка", "Перший", "Редагування..."})
        EXPECT_TRUE(user.Has(ByText("Button", caption))) << Utf8(caption);
    EXPECT_TRUE(user.Has(ByText("Button", "Кнопка\nу два рядки")));
    EXPECT_TRUE(user.Has(ByText("Static", "Місто")));
    EXPECT_TRUE(user.WaitStatus("shown DemoForm"));
    EXPECT_TRUE(user.Shot("demo_form_in_ukrainian"));

    ASSERT_TRUE(Press("Мова: українська"));
    EXPECT_GT(user.Window("Элементы управления").Width(), 0) << Utf8(user.Failure());
    EXPECT_TRUE(user.WaitStatus("language btLanguage rus")) << Utf8(user.Failure());
    for (const char *caption : {"Ошибка", "Язык: русский", "Отметка", "Первый", "Редактирование..."})
        EXPECT_TRUE(user.Has(ByText("Button", caption))) << Utf8(caption);
    EXPECT_TRUE(user.Has(ByText("Button", "Кнопка\nв две строки")));
    EXPECT_FALSE(user.Has(ByText("Button", "Помилка")));
    // The plain labels go with the rest.
    EXPECT_TRUE(user.Has(ByText("Static", "Город")));
    EXPECT_FALSE(user.Has(ByText("Static", "Місто")));
    EXPECT_TRUE(user.Shot("demo_form_in_russian"));

    // The demonstration's dialogs go with it: a question with its header, text and buttons in Russian.
    ASSERT_TRUE(Press("Вопрос"));
    ASSERT_GT(user.Window(Header(MsgKindQuestion, true)).Width(), 0) << Utf8(user.Failure());
    EXPECT_TRUE(user.Shot("demo_question_in_russian"));
    ASSERT_TRUE(Press("Нет"));
    EXPECT_TRUE(Logged("answer btQuestion no"));
}

TEST_F(ControlsDemo, MessagesAnsweredAsAUserAnswersThemInsideADesktop)
{
    // A question answered "No", then "Yes".
    ASSERT_TRUE(Press("Питання"));
    ASSERT_GT(user.Window(Header(MsgKindQuestion)).Width(), 0) << Utf8(user.Failure());
    EXPECT_TRUE(user.Shot("demo_question_before_its_answers"));
    ASSERT_TRUE(Press("Ні"));
    EXPECT_TRUE(user.WaitGone(Header(MsgKindQuestion)));
    EXPECT_TRUE(Logged("answer btQuestion no"));
    EXPECT_TRUE(user.WaitStatus("answer btQuestion no"));
    user.Window("");
    ASSERT_TRUE(Press("Питання"));
    ASSERT_GT(user.Window(Header(MsgKindQuestion)).Width(), 0);
    ASSERT_TRUE(Press("Так"));
    EXPECT_TRUE(Logged("answer btQuestion yes"));

    // A choice list answered by clicking its second item.
    user.Window("");
    ASSERT_TRUE(Press("Вибір"));
    ASSERT_GT(user.Window(Header(MsgKindChoice)).Width(), 0);
    // The items are the dialog's buttons without a caption, in their order.
    ASSERT_TRUE(user.ClickOn(ByText("Button", "", 1))) << Utf8(user.Failure());
    EXPECT_TRUE(user.Shot("demo_choice_list_second_item_clicked"));
    ASSERT_TRUE(Press("Вибрати"));
    EXPECT_TRUE(Logged("answer btChoice 1"));

    // An error in the alarm colours: a red dialog.
    user.Window("");
    ASSERT_TRUE(Press("Тривога"));
    const TRect alarm = user.Window(Header(MsgKindError));
    ASSERT_GT(alarm.Width(), 0);
    EXPECT_TRUE(user.Shot("demo_error_in_alarm_colours"));
    EXPECT_EQ("FF0000", user.Pixel(alarm.Right - 12, alarm.Bottom - 12));
    ASSERT_TRUE(Press("Вихід"));
    EXPECT_TRUE(Logged("closed btAlarm"));

    // The view button of an error whose file is missing tells so, and the error stays.
    user.Window("");
    ASSERT_TRUE(Press("Перегляд без файлу"));
    ASSERT_GT(user.Window(Header(MsgKindError)).Width(), 0);
    ASSERT_TRUE(Press("Перегляд"));
    ASSERT_GT(user.Popup().Width(), 0);
    EXPECT_TRUE(user.WaitFor(ByText("Static", "Нема інформації для перегляду !")).Width() > 0) << Utf8(user.Failure());
    EXPECT_TRUE(user.Shot("demo_view_button_with_missing_file"));
    ASSERT_TRUE(Press("OK"));
    EXPECT_TRUE(user.WaitClosed());
    ASSERT_GT(user.Window(Header(MsgKindError)).Width(), 0);
    ASSERT_TRUE(Press("Вихід"));
    EXPECT_TRUE(Logged("closed btViewMissing"));
}

TEST_F(ControlsDemo, AMonthPageDroppedDownPicksADayAndEscBringsTheDateBackInsideADesktop)
{
    const TControlSpec field = InMain(Below("Edit", "Дата"));
    ASSERT_TRUE(user.WaitText(field, "15.03.2024")) << Utf8(user.Failure());
    ASSERT_TRUE(user.ClickOn(RightOf("Button", "15.03.2024"))) << Utf8(user.Failure());
    ASSERT_GT(user.Popup().Width(), 0) << Utf8(user.Failure());
    const TRect page = user.Find(Nth("QmtWindow", 0)), arrow = user.Find(Nth("Button", 0));
    ASSERT_GT(page.Width(), 0);
    ASSERT_GT(arrow.Width(), 0);
    EXPECT_TRUE(user.Shot("demo_month_page_dropped_down"));

    const TPoint day = DayOnMonthPage(page, arrow, 2024, 3, 20);
    ASSERT_TRUE(user.Click(day.X, day.Y));
    EXPECT_TRUE(user.WaitText(field, "20.03.2024")) << Utf8(user.Failure());
    EXPECT_TRUE(Logged("change dcDate 20.03.2024"));
    EXPECT_TRUE(user.Shot("demo_month_page_day_20_clicked_into_the_field"));

    // The page stays after a click; Esc brings back the date it was dropped down with and closes it.
    ASSERT_TRUE(user.Keys({"RIGHT", "RIGHT", "ESCAPE"}));
    EXPECT_TRUE(user.WaitClosed()) << Utf8(user.Failure());
    EXPECT_TRUE(user.WaitText(field, "15.03.2024")) << Utf8(user.Failure());
    EXPECT_TRUE(Logged("change dcDate 15.03.2024"));
    EXPECT_TRUE(user.Shot("demo_date_back_to_15_03_after_esc"));

    // A click on the month arrow keeps the keyboard there: Enter turns the month again and picks no
    // day, the page stays.
    user.Window("");
    ASSERT_TRUE(user.ClickOn(RightOf("Button", "15.03.2024"))) << Utf8(user.Failure());
    ASSERT_GT(user.Popup().Width(), 0) << Utf8(user.Failure());
    const TRect back = user.Find(Nth("Button", 0));
    ASSERT_TRUE(user.Click(Centre(back).X, Centre(back).Y));
    const size_t before = user.Log().size();
    ASSERT_TRUE(user.Keys({"RETURN"}));
    Sleep(500);
    EXPECT_EQ("Button|", user.Focus().substr(0, 7)) << Utf8(user.Focus());
    EXPECT_GT(user.Popup(2000).Width(), 0) << "Enter on the arrow closed the page";
    EXPECT_EQ(before, user.Log().size()) << Joined(user.Log());
    ASSERT_TRUE(user.Keys({"ESCAPE", "ESCAPE"}));
    EXPECT_TRUE(user.WaitText(field, "15.03.2024")) << Utf8(user.Failure());
}

TEST_F(ControlsDemo, PaintedCheckBoxAndSelectionBoxByMouseAndSpaceInsideADesktop)
{
    const AnsiString caption = "Повідомляти про кожну зміну відомості електронною поштою та в журналі подій";
    const TRect check = user.Find(ByText("QmtWindow", caption));
    ASSERT_GT(check.Width(), 0) << Utf8(user.Failure());
    // On its box, at the top left.
    ASSERT_TRUE(user.Click(check.Left + 10, check.Top + 10));
    EXPECT_TRUE(Logged("check xcNotify 1"));
    ASSERT_TRUE(user.Keys({"SPACE"}));
    EXPECT_TRUE(Logged("check xcNotify 0"));
    ASSERT_TRUE(user.Keys({"SPACE"}));
    EXPECT_TRUE(Logged("check xcNotify 1"));

    ASSERT_TRUE(user.ClickOn(ByText("QmtWindow", "Київ"))) << Utf8(user.Failure());
    EXPECT_TRUE(Logged("select sbCity Львів"));
    EXPECT_TRUE(user.WaitText(ByText("QmtWindow", "Львів"), "Львів"));
    ASSERT_TRUE(user.Keys({"SPACE"}));
    EXPECT_TRUE(Logged("select sbCity Одеса"));
    EXPECT_TRUE(user.WaitText(ByText("QmtWindow", "Одеса"), "Одеса"));
    EXPECT_TRUE(user.Shot("demo_check_box_ticked_and_selection_box_on_odesa"));
}

TEST_F(ControlsDemo, TheCaptionButtonClicksAndADragOffItDoesNotInsideADesktop)
{
    const TRect window = user.Window("");
    TCaptionMetrics metrics{GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME), GetSystemMetrics(SM_CXSIZE),
                            GetSystemMetrics(SM_CYSIZE)};
    const TRect button = CaptionButtonRect(window.Width(), metrics);
    const TPoint on{window.Left + (button.Left + button.Right) / 2, window.Top + (button.Top + button.Bottom) / 2};
    ASSERT_TRUE(user.Click(on.X, on.Y));
    EXPECT_TRUE(Logged("click feCaption"));
    EXPECT_TRUE(user.Shot("demo_caption_button_clicked"));

    // Pressed, dragged off and released away from it: no click.
    const size_t before = user.Log().size();
    ASSERT_TRUE(user.Press(on.X, on.Y));
    ASSERT_TRUE(user.MoveTo(on.X - 120, on.Y + 200));
    EXPECT_TRUE(user.Shot("demo_caption_button_raised_while_dragged_off"));
    ASSERT_TRUE(user.Release(on.X - 120, on.Y + 200));
    // The next event is a click elsewhere: nothing came between.
    ASSERT_TRUE(PressInMain("Готово"));
    EXPECT_TRUE(Logged("click btDone", before));
    const std::vector<AnsiString> log = user.Log();
    ASSERT_GT(log.size(), before);
    EXPECT_EQ("click btDone", log[before]) << Joined(log);
}

TEST_F(ControlsDemo, TheSupervisorRefusesWhatADecimalFieldCannotHoldAndAcceptsOnEnterInsideADesktop)
{
    const TControlSpec decimal = InMain(Below("Edit", "Дробове число"));
    ASSERT_TRUE(user.ClickOn(decimal)) << Utf8(user.Failure());
    // A letter and a second separator are refused; "." stands for the separator.
    ASSERT_TRUE(user.Type("1a,5,."));
    EXPECT_TRUE(user.WaitText(decimal, "1,5")) << Utf8(user.Failure());
    EXPECT_TRUE(Logged("refused edDecimal a"));
    EXPECT_TRUE(Logged("refused edDecimal ,"));
    EXPECT_TRUE(user.Shot("demo_decimal_field_holding_1_5"));
    ASSERT_TRUE(user.Keys({"RETURN"}));
    EXPECT_TRUE(Logged("accepted edDecimal 1,5"));
    EXPECT_TRUE(user.WaitStatus("accepted edDecimal 1,5")) << Utf8(user.Failure());
    // The field is left for the home control.
    EXPECT_EQ("Button|Готово", user.Focus());

    // The integer field refuses the separator.
    const TControlSpec integer = InMain(Below("Edit", "Ціле число"));
    ASSERT_TRUE(user.ClickOn(integer));
    ASSERT_TRUE(user.Type("4,2"));
    EXPECT_TRUE(user.WaitText(integer, "42"));
    EXPECT_TRUE(Logged("refused edInt ,"));
    ASSERT_TRUE(user.Keys({"RETURN"}));
    EXPECT_TRUE(Logged("accepted edInt 42"));
}

TEST_F(ControlsDemo, TheShortAndSignedFieldsAndTheFieldsMenuOfTheSupervisorsOperationsInsideADesktop)
{
    const TControlSpec shortField = InMain(Below("Edit", "Коротке дробове"));
    const TControlSpec signedField = InMain(Below("Edit", "Зі знаком"));
    const TControlSpec textField = InMain(Below("Edit", "Текст"));
    const TControlSpec integer = InMain(Below("Edit", "Ціле число"));
    // The fields' menu opened from the keyboard on the field with the focus, its n-th command chosen.
    auto command = [&](int n) {
        std::vector<AnsiString> keys = {"shift+F10"};
        keys.insert(keys.end(), static_cast<size_t>(n), "DOWN");
        keys.push_back("RETURN");
        return user.Keys(keys);
    };
    enum { Paste = 1, Copy, ClearNumbers, ReadOnly, Editable, ShowByName };

    // Six digits in all in the short decimal; a sign only first in the signed one.
    ASSERT_TRUE(user.ClickOn(shortField)) << Utf8(user.Failure());
    ASSERT_TRUE(user.Type("1234567"));
    EXPECT_TRUE(user.WaitText(shortField, "123456")) << Utf8(user.Failure());
    EXPECT_TRUE(Logged("refused edShort 7"));
    ASSERT_TRUE(user.Keys({"RETURN"}));
    EXPECT_TRUE(Logged("accepted edShort 123456"));
    ASSERT_TRUE(user.ClickOn(signedField));
    ASSERT_TRUE(user.Type("-4-2"));
    EXPECT_TRUE(user.WaitText(signedField, "-42")) << Utf8(user.Failure());
    EXPECT_TRUE(Logged("refused edSigned -"));
    ASSERT_TRUE(user.Keys({"RETURN"}));
    EXPECT_TRUE(Logged("accepted edSigned -42"));

    // A text copied by the menu is pasted into the short decimal neither by the menu nor by Ctrl+V.
    ASSERT_TRUE(user.ClickOn(textField));
    ASSERT_TRUE(user.Type("abc"));
    ASSERT_TRUE(user.Keys({"RETURN"}));
    EXPECT_TRUE(Logged("accepted edText abc"));
    ASSERT_TRUE(user.ClickOn(textField));
    ASSERT_TRUE(command(Copy));
    EXPECT_TRUE(Logged("copy edText abc"));
    ASSERT_TRUE(user.ClickOn(shortField));
    ASSERT_TRUE(command(Paste));
    EXPECT_TRUE(Logged("paste edShort abc"));
    ASSERT_TRUE(user.Keys({"ctrl+v"}));
    ASSERT_TRUE(user.Keys({"RETURN"}));
    EXPECT_TRUE(user.WaitText(shortField, "123456")) << Utf8(user.Failure());
    // A number copied from the integer field goes in whole and is accepted at once.
    ASSERT_TRUE(user.ClickOn(integer));
    ASSERT_TRUE(user.Type("17"));
    ASSERT_TRUE(user.Keys({"RETURN"}));
    ASSERT_TRUE(user.ClickOn(integer));
    ASSERT_TRUE(command(Copy));
    EXPECT_TRUE(Logged("copy edInt 17"));
    ASSERT_TRUE(user.ClickOn(shortField));
    ASSERT_TRUE(command(Paste));
    EXPECT_TRUE(Logged("accepted edShort 17"));
    for (const AnsiString &line : user.Log())
        EXPECT_NE("accepted edShort abc", line);

    // A number and the date field's date shown in fields named by their names.
    ASSERT_TRUE(command(ShowByName));
    EXPECT_TRUE(user.WaitText(shortField, "1234,50")) << Utf8(user.Failure());
    EXPECT_TRUE(user.WaitText(signedField, "-15")) << Utf8(user.Failure());
    EXPECT_TRUE(user.WaitText(textField, "15.03.2024")) << Utf8(user.Failure());
    EXPECT_TRUE(user.Shot("demo_fields_number_and_date_shown_by_name"));

    // The number fields read-only in the button face's colour, then editable and white again.
    const TRect box = user.Find(integer);
    const int x = box.Right - 6, y = (box.Top + box.Bottom) / 2;
    EXPECT_EQ("FFFFFF", user.Pixel(x, y));
    ASSERT_TRUE(command(ReadOnly));
    EXPECT_TRUE(Logged("readonly pmFields edInt#edDecimal#edShort#edSigned"));
    Sleep(300);
    EXPECT_NE("FFFFFF", user.Pixel(x, y));
    EXPECT_TRUE(user.Shot("demo_number_fields_read_only"));
    ASSERT_TRUE(user.ClickOn(textField));
    ASSERT_TRUE(command(Editable));
    EXPECT_TRUE(Logged("editable pmFields edInt#edDecimal#edShort#edSigned"));
    Sleep(300);
    EXPECT_EQ("FFFFFF", user.Pixel(x, y));
    // Cleared by name.
    ASSERT_TRUE(command(ClearNumbers));
    EXPECT_TRUE(user.WaitText(shortField, "")) << Utf8(user.Failure());
    EXPECT_TRUE(user.WaitText(signedField, "")) << Utf8(user.Failure());
    EXPECT_TRUE(user.WaitText(integer, "")) << Utf8(user.Failure());
    EXPECT_TRUE(user.WaitText(textField, "15.03.2024")) << "a field not named was cleared";
}

TEST_F(ControlsDemo, TheEditingFormAsksBeforeItClosesWithAChangeInsideADesktop)
{
    const AnsiString form = "Редагування запису";
    ASSERT_TRUE(Press("Редагування..."));
    ASSERT_GT(user.Window(form).Width(), 0) << Utf8(user.Failure());
    EXPECT_TRUE(Logged("load editForm Папір офісний|10"));
    const TControlSpec name = Below("Edit", "Назва"), quantity = Below("Edit", "Кількість");
    EXPECT_EQ("Папір офісний", user.Text(name));
    ASSERT_TRUE(user.ClickOn(name));
    ASSERT_TRUE(user.Keys({"END"}));
    ASSERT_TRUE(user.Type(" A4"));
    EXPECT_TRUE(user.WaitText(name, "Папір офісний A4"));
    // Closed by the system's close keys with the change unsaved: asked first.
    ASSERT_TRUE(user.Keys({"alt+F4"}));
    ASSERT_GT(user.Window(Header(MsgKindQuestion)).Width(), 0) << Utf8(user.Failure());
    EXPECT_TRUE(user.Shot("demo_editing_form_asks_whether_to_save"));
    ASSERT_TRUE(Press("Ні"));
    EXPECT_TRUE(user.WaitGone(form));
    EXPECT_TRUE(Logged("closed editForm 2 Папір офісний|10"));

    // Changed again and closed by its own button that does not save: nothing asked, nothing saved.
    user.Window("");
    ASSERT_TRUE(Press("Редагування..."));
    ASSERT_GT(user.Window(form).Width(), 0);
    ASSERT_TRUE(user.ClickOn(quantity));
    ASSERT_TRUE(user.Keys({"END"}));
    ASSERT_TRUE(user.Type("0"));
    EXPECT_TRUE(user.WaitText(quantity, "100"));
    EXPECT_TRUE(user.Shot("demo_editing_form_with_its_button_panel"));
    ASSERT_TRUE(Press("Не зберігати"));
    EXPECT_TRUE(user.WaitGone(form));
    EXPECT_TRUE(Logged("closed editForm 2 Папір офісний|10"));
    EXPECT_EQ(0u, user.Do("top|1000|" + Header(MsgKindQuestion)).rfind("no", 0)) << "nothing is asked";

    // Changed and saved by its save button.
    user.Window("");
    ASSERT_TRUE(Press("Редагування..."));
    ASSERT_GT(user.Window(form).Width(), 0);
    ASSERT_TRUE(user.ClickOn(quantity));
    ASSERT_TRUE(user.Keys({"END", "BACK", "BACK"}));
    ASSERT_TRUE(user.Type("25"));
    ASSERT_TRUE(Press("Зберегти"));
    EXPECT_TRUE(user.WaitGone(form));
    EXPECT_TRUE(Logged("saved editForm Папір офісний|25"));
    EXPECT_TRUE(Logged("closed editForm 1 Папір офісний|25"));
}

namespace {

// The table as a user sees it: its client area and the sizes of its screen (each column and row with
// its line of 1 pixel), scrolled by `scrolled` rows below the fixed ones.
struct TableView {
    TRect client;
    testdata::GridScreenBuilder screen = DemoScreen();
    int scrolled = 0;

    int ColLeft(int col) const
    {
        int x = client.Left;
        for (int c = 0; c < col; ++c)
            x += screen.widths[c] + 1;
        return x;
    }
    int RowTop(int row) const
    {
        int y = client.Top;
        for (int r = 0; r < row; ++r)
            if (r < screen.fixedRows || r >= screen.fixedRows + scrolled)
                y += screen.heights[r] + 1;
        return y;
    }
    // A point inside a cell, away from its text: near its right edge, halfway down.
    TPoint Inside(int row, int col) const
    {
        return TPoint{ColLeft(col) + screen.widths[col] - 6, RowTop(row) + screen.heights[row] / 2};
    }
};

}  // namespace

TEST_F(ControlsDemo, TableKeysSkipCellsThatCannotBeEditedAndScrollASpanUnderTheFixedRowsInsideADesktop)
{
    TableView table;
    table.client = user.Client(InMain(Below("QmtWindow", "Таблиця")));
    ASSERT_GT(table.client.Width(), 0) << Utf8(user.Failure());
    const TPoint start = table.Inside(DemoRow::Number, DemoCol::Values);
    ASSERT_TRUE(user.Click(start.X, start.Y));
    // The current cell in the configured colour.
    EXPECT_EQ("FFFFA0", user.Pixel(start.X, start.Y));

    auto step = [&](const char *key, const AnsiString &expected) {
        const size_t from = user.Log().size();
        if (user.Keys({key}) && user.WaitLog("cell gtSheet " + expected, 20000, from))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << key << " to " << Utf8(expected) << "\n" << Joined(user.Log());
    };
    ASSERT_TRUE(step("DOWN", "3,2"));
    ASSERT_TRUE(step("RIGHT", "3,3"));
    ASSERT_TRUE(step("DOWN", "4,3"));
    // The notes beside the labels below cannot be edited: Down goes on to the span under them, whole.
    ASSERT_TRUE(step("DOWN", "11,1"));
    EXPECT_TRUE(user.Shot("demo_table_span_is_the_current_cell"));
    // The span stands whole in the table as tall as the form: nothing has scrolled, and its last row
    // shows the current cell's colour at its right end.
    const TPoint spanEnd = table.Inside(DemoRow::SpanEnd, DemoCol::Notes);
    EXPECT_EQ("FFFFA0", user.Pixel(spanEnd.X, spanEnd.Y));
    // The span's master stands in the label column, where nothing below can be edited; the keys leave
    // the span by the notes column they came along, both ways.
    ASSERT_TRUE(step("DOWN", "14,3"));
    ASSERT_TRUE(step("UP", "11,1"));
    ASSERT_TRUE(step("UP", "4,3"));
    ASSERT_TRUE(step("DOWN", "11,1"));
    ASSERT_TRUE(step("DOWN", "14,3"));
    ASSERT_TRUE(step("LEFT", "14,2"));
    // The wheel over the table steps onto the span and off it again by the values column, both ways.
    const TPoint over = Centre(table.client);
    auto turn = [&](int notches, const AnsiString &expected) {
        const size_t from = user.Log().size();
        if (user.Wheel(over.X, over.Y, notches) && user.WaitLog("cell gtSheet " + expected, 20000, from))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "wheel " << notches << " to " << Utf8(expected) << "\n"
                                             << Joined(user.Log());
    };
    ASSERT_TRUE(turn(1, "11,1"));
    ASSERT_TRUE(turn(1, "10,2"));
    ASSERT_TRUE(turn(-1, "11,1"));
    ASSERT_TRUE(turn(-1, "14,2"));
    EXPECT_TRUE(user.Shot("demo_table_the_wheel_left_the_span_by_the_values_column"));
    // Down the plain rows until the span's first row has scrolled under the fixed rows (how many rows
    // that takes depends on the table's height): the span's light blue just below the heads, and the
    // row below the span where its third row stood before.
    table.scrolled = 10;
    const int headsY = table.RowTop(DemoRow::Heads) + 4, belowY = table.RowTop(DemoRow::Heads + 1) + 3;
    const int afterSpanY = table.RowTop(DemoRow::FirstPlain) + 3;
    const int x = table.ColLeft(DemoCol::Values) + 20;
    auto spanUnderHeads = [&] { return user.Pixel(x, belowY) == "D0E8FF" && user.Pixel(x, afterSpanY) != "D0E8FF"; };
    for (int row = DemoRow::FirstPlain + 1; row < DemoRow::Count && !spanUnderHeads(); ++row)
        ASSERT_TRUE(step("DOWN", std::to_string(row) + ",2"));
    EXPECT_TRUE(user.Shot("demo_table_span_scrolled_under_the_fixed_rows"));
    // Under the heads the fixed row's grey, and the span's light blue just below them.
    EXPECT_EQ("D8D8D8", user.Pixel(x, headsY));
    EXPECT_TRUE(spanUnderHeads()) << Utf8(user.Pixel(x, belowY)) << " " << Utf8(user.Pixel(x, afterSpanY));
}

namespace {
// The line of the table's edit event of a cell after the first `from` lines, or empty.
AnsiString EditedLine(const std::vector<AnsiString> &log, size_t from, const AnsiString &cell)
{
    for (size_t i = from; i < log.size(); ++i)
        if (log[i].rfind("edited gtSheet " + cell + " ", 0) == 0)
            return log[i];
    return AnsiString();
}
}  // namespace

TEST_F(ControlsDemo, TableCellsEditedInPlaceByTheirEditorsInsideADesktop)
{
    TableView table;
    table.client = user.Client(InMain(Below("QmtWindow", "Таблиця")));
    ASSERT_GT(table.client.Width(), 0) << Utf8(user.Failure());
    auto open = [&](int row) {
        const TPoint at = table.Inside(row, DemoCol::Values);
        user.Window("");
        if (!user.DoubleClick(at.X, at.Y) || user.Popup().Width() <= 0)
            return ::testing::AssertionFailure() << "no editor over row " << row << ": " << Utf8(user.Failure());
        return ::testing::AssertionSuccess();
    };
    auto edited = [&](size_t from, const AnsiString &cell) {
        for (int waited = 0; waited < 20000; waited += 100) {
            const AnsiString line = EditedLine(user.Log(), from, cell);
            if (!line.empty())
                return line.substr(16 + cell.size());
            Sleep(100);
        }
        return AnsiString("(no edit event)");
    };

    // Bottom up: an edit that grows its row moves the rows below it.
    size_t from = 0;
    // A cell button clicked.
    from = user.Log().size();
    ASSERT_TRUE(open(DemoRow::Buttons));
    EXPECT_TRUE(user.Shot("demo_table_cell_buttons"));
    ASSERT_TRUE(user.ClickOn(Nth("Button", 0))) << Utf8(user.Failure());
    EXPECT_TRUE(Logged("button gtSheet 10,2", from));
    // The buttons' editor stays until it is left.
    user.Keys({"ESCAPE"});
    EXPECT_TRUE(user.WaitClosed());

    // A list item chosen: the second choice, accepted with Enter.
    from = user.Log().size();
    ASSERT_TRUE(open(DemoRow::List));
    // Nothing chosen yet: the first Down takes the first choice, the second one the next.
    ASSERT_TRUE(user.Keys({"DOWN", "DOWN"}));
    EXPECT_TRUE(user.Shot("demo_table_list_editor_on_its_second_item"));
    ASSERT_TRUE(user.Keys({"RETURN"}));
    EXPECT_EQ("кг", edited(from, "9,2")) << Joined(user.Log());

    // A date picked: the editor's date field starts on a day of its own; its month page is dropped
    // down, day 20 clicked, the page closed with Enter and the date accepted with Enter.
    from = user.Log().size();
    ASSERT_TRUE(open(DemoRow::Date));
    const AnsiString shown = user.Text(Nth("Edit", 0));
    ASSERT_EQ(10u, shown.size()) << Utf8(shown);
    const int month = std::stoi(shown.substr(3, 2)), year = std::stoi(shown.substr(6, 4));
    EXPECT_TRUE(user.Shot("demo_table_date_editor"));
    ASSERT_TRUE(user.ClickOn(RightOf("Button", shown))) << Utf8(user.Failure());
    ASSERT_GT(user.Popup().Width(), 0);
    const TRect page = user.Find(Nth("QmtWindow", 0)), arrow = user.Find(Nth("Button", 0));
    const TPoint day = DayOnMonthPage(page, arrow, year, month, 20);
    ASSERT_TRUE(user.Click(day.X, day.Y));
    EXPECT_TRUE(user.Shot("demo_table_date_editor_with_day_20_picked"));
    ASSERT_TRUE(user.Keys({"RETURN"}));
    EXPECT_TRUE(user.WaitClosed());
    ASSERT_TRUE(user.Keys({"RETURN"}));
    const AnsiString picked = "20." + shown.substr(3);
    EXPECT_NE(AnsiString::npos, edited(from, "8,2").find(picked)) << Utf8(picked) << "\n" << Joined(user.Log());

    // A fraction: the numerator, the denominator under it, Enter.
    from = user.Log().size();
    ASSERT_TRUE(open(DemoRow::Fraction));
    ASSERT_TRUE(user.Type("3"));
    ASSERT_TRUE(user.ClickOn(Nth("Edit", 1))) << Utf8(user.Failure());
    ASSERT_TRUE(user.Type("4"));
    EXPECT_TRUE(user.Shot("demo_table_fraction_editor_holding_3_4"));
    ASSERT_TRUE(user.Keys({"RETURN"}));
    const AnsiString fraction = edited(from, "7,2");
    EXPECT_NE(AnsiString::npos, fraction.find('3')) << Utf8(fraction);
    EXPECT_NE(AnsiString::npos, fraction.find('4')) << Utf8(fraction);
    // The numerator's line break is written escaped: the event stays one line of the log.
    EXPECT_NE(AnsiString::npos, fraction.find("\\n")) << Utf8(fraction);

    // A number.
    from = user.Log().size();
    ASSERT_TRUE(open(DemoRow::Number));
    // The editor's own menu, opened from the keyboard: each caption with its shortcut.
    ASSERT_TRUE(user.Keys({"shift+F10"}));
    Sleep(500);
    EXPECT_TRUE(user.Shot("demo_table_number_editor_menu"));
    ASSERT_TRUE(user.Keys({"ESCAPE"}));
    ASSERT_TRUE(user.Keys({"END", "BACK", "BACK"}));
    ASSERT_TRUE(user.Type("42"));
    EXPECT_TRUE(user.Shot("demo_table_number_editor_holding_42"));
    ASSERT_TRUE(user.Keys({"RETURN"}));
    EXPECT_EQ("42", edited(from, "2,2")) << Joined(user.Log());

    // A long text typed into a cell that had no text grows its row.
    const int lineY = table.RowTop(DemoRow::LongText + 1) - 1, lineX = table.ColLeft(DemoCol::Values) + 40;
    const AnsiString lineBefore = user.Pixel(lineX, lineY);
    from = user.Log().size();
    ASSERT_TRUE(open(DemoRow::LongText));
    ASSERT_TRUE(user.Type("a note long enough to take three lines of this narrow column of the table"));
    ASSERT_TRUE(user.Keys({"ctrl+RETURN"}));
    EXPECT_NE(AnsiString::npos, edited(from, "6,2").find("a note long enough")) << Joined(user.Log());
    EXPECT_TRUE(user.Shot("demo_table_row_grown_by_a_long_text"));
    // Where the row's bottom line was, the cell goes on.
    EXPECT_NE(lineBefore, user.Pixel(lineX, lineY)) << "the row kept its height";

    // A two-line text applied with Ctrl+Enter.
    from = user.Log().size();
    ASSERT_TRUE(open(DemoRow::RichText));
    ASSERT_TRUE(user.Keys({"END", "RETURN"}));
    ASSERT_TRUE(user.Type("second line"));
    EXPECT_TRUE(user.Shot("demo_table_rich_editor_with_two_lines"));
    ASSERT_TRUE(user.Keys({"ctrl+RETURN"}));
    const AnsiString rich = edited(from, "5,2");
    EXPECT_NE(AnsiString::npos, rich.find("Короткий опис")) << Utf8(rich);
    EXPECT_NE(AnsiString::npos, rich.find("second line")) << Utf8(rich);
    // The one-line status line shows the break as a space.
    EXPECT_EQ(AnsiString::npos, user.Status().find('\n')) << Utf8(user.Status());
    EXPECT_TRUE(user.Shot("demo_table_rich_text_applied_in_two_lines"));
}
