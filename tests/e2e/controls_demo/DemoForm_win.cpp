#include "tests/e2e/controls_demo/DemoForm.h"

#include <windows.h>

#include "base/messages/MessagePresenter.h"
#include "base/messages/zmsg.h"
#include "controls/RichEditEx.h"
#include "controls/dates/UXDateCombo.h"
#include "controls/buttons/UZButton.h"
#include "controls/UZFrmExr.h"
#include "controls/buttons/UZMLBtn.h"
#include "controls/buttons/UZSelBox.h"
#include "controls/messages/View_prt.h"
#include "controls/messages/dwait.h"
#include "controls/buttons/uXChkBx.h"
#include "controls/messages/umessages.h"
#include "controls/buttons/uzCheckBox.h"
#include "controls/buttons/uzRadioButton.h"
#include "controls/messages/zText.h"
#include "framework/windows/ExtCtrls.h"
#include "framework/windows/Menus.h"
#include "framework/windows/StdCtrls.h"
#include "framework/runtime/SysUtils.h"
#include "gridtable/model/CellLayout.h"
#include "gridtable/UXGridTable.h"
#include "storage/config/rdwr_cfg.h"
#include "tests/e2e/controls_demo/DemoEditForm.h"
#include "tests/e2e/controls_demo/DemoLog.h"
#include "tests/e2e/controls_demo/DemoProduct.h"

namespace {

enum : uint32_t { IdInt = 1, IdDecimal, IdText, IdNote, IdShort, IdSigned };

const SpyControlIdRow FieldIds[] = {
    {IdInt, "edInt"},   {IdDecimal, "edDecimal"}, {IdShort, "edShort"}, {IdSigned, "edSigned"},
    {IdText, "edText"}, {IdNote, "mmNote"},       {0, nullptr},
};

// The fields the menu's operations name.
constexpr const char *NumberFieldNames = "edInt#edDecimal#edShort#edSigned";
constexpr const char *FieldNames = "edInt#edDecimal#edShort#edSigned#edText#mmNote";

const char *const SelBoxItems[] = {"Київ", "Львів", "Одеса"};

AnsiString YesNo(bool yes) { return yes ? "yes" : "no"; }

// A text of the demonstration itself in the language its form shows.
const char *Say(const char *ukr, const char *rus) { return InterfaceLang() == elg_Ukr ? ukr : rus; }

// The grid table's lists of runs: list 0 holds the Ukrainian texts, list 1 the Russian ones.
int TableLanguage(ELang lang) { return lang == elg_Ukr ? 0 : 1; }

// The shown texts of a cell in the table's language, one after another.
AnsiString CellText(const TXGridTable &table, S_XSGCell &cell)
{
    AnsiString text;
    for (const S_SGText &run : CurrentCellTextList(table.Model(), cell))
        if (!run.IsImage() && run.Shown())
            text += run.Text;
    return text;
}

}  // namespace

TDemoForm::TDemoForm(TComponent *owner, TDemoLog &log, const AnsiString &root) : TForm(owner), log_(log), root_(root)
{
    BeginLoading();
    SetName("DemoForm");
    SetCaption("Елементи керування");
    SetBounds(4, 4, 1012, 752);
    Status = new TPanel(this);
    Status->SetName("pnStatus");
    Status->SetParent(this);
    Status->SetAlign(alBottom);
    Status->SetHeight(24);
    Status->SetBevelOuter(bvLowered);
    Status->SetAlignment(taLeftJustify);
    Status->SetCaption("Готово");
    BuildLanguageGroup();
    BuildMessageButtons();
    BuildFields();
    BuildOthers();
    BuildTable();
    EndLoading();
    HookSupervisor();
    // The status line is one line: a cell's two-line text shows there with its break as a space (the
    // log keeps it as it is).
    log_.OnLine = [this](const AnsiString &line) {
        Status->SetCaption(StringReplaceAll(StringReplaceAll(line, "\r\n", " "), "\n", " "));
    };
    OnShow = [this](TObject *) {
        Spy.BindForm(this, FieldIds, Descriptors.data());
        Spy.SetPopupByNames(FieldNames, FieldMenu);
        log_.Event("shown", "DemoForm");
    };
}

TDemoForm::~TDemoForm() { log_.OnLine = nullptr; }

TZMLButton *TDemoForm::LangButton(const char *name, int x, int y, int w, int h, const AnsiString &ukr,
                                  const AnsiString &rus)
{
    auto *button = new TZMLButton(this);
    button->SetName(name);
    button->SetParent(this);
    button->SetBounds(x, y, w, h);
    button->CaptionL()->SetLUkr(ukr);
    button->CaptionL()->SetLRus(rus);
    langButtons_.push_back(button);
    return button;
}

TZButton *TDemoForm::KindButton(const char *name, int kind, int x, int y)
{
    auto *button = new TZButton(this);
    button->SetName(name);
    button->SetParent(this);
    button->SetBounds(x, y, 118, 26);
    button->SetDefText(kind);
    button->OnClick = [this, name](TObject *) { log_.Event("click", name); };
    kindButtons_.push_back(button);
    return button;
}

TLabel *TDemoForm::Label(const AnsiString &ukr, const AnsiString &rus, int x, int y, int w)
{
    auto *label = new TWithLangBoxes<TLabel>(this);
    label->SetParent(this);
    label->SetAutoSize(false);
    label->SetBounds(x, y, w, 16);
    label->CaptionL()->SetLUkr(ukr);
    label->CaptionL()->SetLRus(rus);
    labelTexts_.push_back(label->CaptionL());
    return label;
}

template <class T>
T *TDemoForm::Field(const char *name, int x, int y, int w, int h)
{
    T *control = new T(this);
    control->SetName(name);
    control->SetParent(this);
    control->SetBounds(x, y, w, h);
    return control;
}

void TDemoForm::BuildLanguageGroup()
{
    MultiLine = LangButton("btMultiLine", 8, 8, 130, 40, "Кнопка#у два рядки", "Кнопка#в две строки");
    MultiLine->OnClick = [this](TObject *) { log_.Event("click", "btMultiLine"); };

    Check = Field<TZCheckBox>("chkMark", 148, 8, 160, 20);
    Check->CaptionL()->SetLUkr("Позначка");
    Check->CaptionL()->SetLRus("Отметка");
    Check->OnClick = [this](TObject *) { log_.Event("click", "chkMark", Check->Checked() ? "1" : "0"); };
    RadioFirst = Field<TZRadioButton>("rbFirst", 148, 30, 110, 20);
    RadioFirst->CaptionL()->SetLUkr("Перший");
    RadioFirst->CaptionL()->SetLRus("Первый");
    RadioFirst->OnClick = [this](TObject *) { log_.Event("click", "rbFirst"); };
    RadioSecond = Field<TZRadioButton>("rbSecond", 262, 30, 110, 20);
    RadioSecond->CaptionL()->SetLUkr("Другий");
    RadioSecond->CaptionL()->SetLRus("Второй");
    RadioSecond->OnClick = [this](TObject *) { log_.Event("click", "rbSecond"); };

    LangSwitch = Field<TZButton>("btLanguage", 380, 8, 120, 40);
    LangSwitch->SetMultiline(true);
    LangSwitch->CaptionL()->SetLUkr("Мова: українська");
    LangSwitch->CaptionL()->SetLRus("Язык: русский");
    LangSwitch->SetImageNo(eil16x16_UA);
    LangSwitch->OnClick = [this](TObject *) {
        SwitchLanguage(InterfaceLang() == elg_Ukr ? elg_Rus : elg_Ukr);
        log_.Event("language", "btLanguage", InterfaceLang() == elg_Ukr ? "ukr" : "rus");
    };

    Intro = Field<TZText>("ztIntro", 8, 56, 492, 74);
    Intro->SetBorder(true);
    const char *ukr[] = {"Демонстрація елементів керування",
                         "Кожна подія записується в журнал і показується в рядку стану.",
                         "Кнопка мови перемикає всі підписи."};
    const char *rus[] = {"Демонстрация элементов управления",
                         "Каждое событие записывается в журнал и показывается в строке состояния.",
                         "Кнопка языка переключает все подписи."};
    for (int i = 0; i < 3; ++i) {
        Intro->SetText(ZTextUkr + i, ukr[i]);
        Intro->SetText(ZTextRus + i, rus[i]);
    }
    TFont bold;
    bold.Assign(*Intro->GetFont(0));
    bold.SetStyle(fsBold);
    bold.SetSize(10);
    Intro->SetFont(0, bold);
    Intro->SetHor(0, 1);
    Intro->SetClickChgMultyLine(true);

    const struct {
        const char *name;
        int kind;
    } kinds[] = {{"zbOk", EZBtnPDT_OK},       {"zbSave", EZBtnPDT_Save},  {"zbCancel", EZBtnPDT_Cancel},
                 {"zbApply", EZBtnPDT_Apply}, {"zbYes", EZBtnPDT_Yes},    {"zbNo", EZBtnPDT_No},
                 {"zbNext", EZBtnPDT_Next},   {"zbFresh", EZBtnPDT_Fresh}};
    for (int i = 0; i < 8; ++i)
        KindButton(kinds[i].name, kinds[i].kind, 8 + (i % 4) * 124, 138 + (i / 4) * 30);
}

void TDemoForm::BuildMessageButtons()
{
    Label("Повідомлення:", "Сообщения:", 8, 204);
    const int w = 118, h = 26;
    auto at = [](int i) { return std::pair<int, int>(8 + (i % 4) * 124, 222 + (i / 4) * 30); };
    struct Spec {
        const char *name, *ukr, *rus;
        std::function<void()> run;
    };
    const AnsiString missing = DemoMissingFile(root_), errors = DemoErrorsFile(root_);
    const std::vector<Spec> specs = {
        {"btError", "Помилка", "Ошибка",
         [this] {
             ShowMessageNo(
                 Say("Файл даних пошкоджено.#Роботу не виконано.", "Файл данных повреждён.#Работа не выполнена."), 0);
             log_.Event("closed", "btError");
         }},
        {"btAlarm", "Тривога", "Тревога", [this] { ShowAlarm(); }},
        {"btQuestion", "Питання", "Вопрос",
         [this] {
             const bool yes = AskQuestion(Say("Зберегти зміни у відомості?", "Сохранить изменения в ведомости?"), 0);
             log_.Event("answer", "btQuestion", YesNo(yes));
         }},
        {"btWarning", "Попередження", "Предупреждение",
         [this] {
             ShowWarning(Say("Відомість ще не перевірено.", "Ведомость ещё не проверена."), 0);
             log_.Event("closed", "btWarning");
         }},
        {"btInfo", "Інформація", "Информация",
         [this] {
             ShowInformation(Say("Відомість містить 34 рядки.", "Ведомость содержит 34 строки."), 0);
             log_.Event("closed", "btInfo");
         }},
        {"btThreeWay", "Три відповіді", "Три ответа",
         [this] {
             const int answer = AskThreeWay(Say("Що зробити з рядком?", "Что сделать со строкой?"), 0);
             log_.Event("answer", "btThreeWay", IntToStr(answer));
         }},
        {"btChoice", "Вибір", "Выбор",
         [this] {
             log_.Event("answer", "btChoice", IntToStr(ChooseFromList("", {901, 902, 903})));
         }},
        {"btYesCancelNo", "Так / Відмова / Ні", "Да / Отказ / Нет",
         [this] {
             const int answer = AskYesCancelNo(Say("Записати зміни?", "Записать изменения?"), 0);
             log_.Event("answer", "btYesCancelNo", IntToStr(answer));
         }},
        {"btAskBox", "З прапорцем", "С флажком",
         [this] {
             const int answer = AskQuestionWithBox(Say("Видалити рядок?", "Удалить строку?"));
             log_.Event("answer", "btAskBox", IntToStr(answer));
         }},
        {"btOnce", "Один раз", "Один раз",
         [this] {
             const bool shown = ShowWarningOnce(Say("Дані буде перераховано.", "Данные будут пересчитаны."), 0);
             log_.Event("answer", "btOnce", YesNo(shown));
         }},
        {"btViewMissing", "Перегляд без файлу", "Просмотр без файла",
         [this, missing] {
             ShowMessageWithView(Say("Перевірку завершено з помилками.", "Проверка завершена с ошибками."), 0, missing,
                                 "");
             log_.Event("closed", "btViewMissing");
         }},
        {"btViewer", "Переглядач", "Просмотрщик",
         [this, errors] {
             ViewPrt = new TViewPrt(this);
             ViewPrt->AfterConstruction();
             ViewPrt->ErrorsFile = errors;
             ViewPrt->ShowModal();
             FreeAndNil(ViewPrt);
             log_.Event("closed", "btViewer");
         }},
        {"btWait", "Очікування", "Ожидание", [this] { ShowWaits(false); }},
        {"btNestedWait", "Вкладене очікування", "Вложенное ожидание", [this] { ShowWaits(true); }},
        {"btEditForm", "Редагування...", "Редактирование...", [this] { EditRecord(); }},
    };
    for (size_t i = 0; i < specs.size(); ++i) {
        const auto [x, y] = at(static_cast<int>(i));
        TZMLButton *button = LangButton(specs[i].name, x, y, w, h, specs[i].ukr, specs[i].rus);
        std::function<void()> run = specs[i].run;
        AnsiString name = specs[i].name;
        button->OnClick = [this, run, name](TObject *) {
            log_.Event("click", name);
            run();
        };
    }
}

void TDemoForm::BuildFields()
{
    const int top = 352;
    Label("Ціле число", "Целое число", 8, top, 84);
    IntField = Field<TEdit>("edInt", 8, top + 18, 84, 22);
    Label("Дробове число", "Дробное число", 100, top, 100);
    DecimalField = Field<TEdit>("edDecimal", 100, top + 18, 92, 22);
    Label("Коротке дробове", "Короткое дробное", 200, top, 96);
    ShortField = Field<TEdit>("edShort", 200, top + 18, 92, 22);
    Label("Зі знаком", "Со знаком", 300, top, 84);
    SignedField = Field<TEdit>("edSigned", 300, top + 18, 84, 22);
    Label("Текст", "Текст", 392, top, 108);
    TextField = Field<TEdit>("edText", 392, top + 18, 108, 22);
    Label("Примітка", "Примечание", 8, top + 46);
    NoteField = Field<TMemo>("mmNote", 8, top + 64, 400, 50);
    Done = Field<TButton>("btDone", 416, top + 64, 84, 26);
    Done->SetCaption("Готово");
    Done->OnClick = [this](TObject *) { log_.Event("click", "btDone"); };
    Descriptors = PackDescriptorTable({
        {IdInt, SpyFieldInteger, 0, 0, 0},
        {IdDecimal, SpyFieldLongDecimal, 2, 0, 0},
        {IdText, 0, 0, 0, 0},
        {IdNote, 0, 0, 0, 0},
        {IdShort, SpyFieldShortDecimal, 2, 0, 0},
        {IdSigned, SpyFieldInteger, 0, 0, SpyFieldSigned},
    });
    BuildFieldMenu();
}

void TDemoForm::BuildFieldMenu()
{
    FieldMenu = new TPopupMenu(this);
    FieldMenu->SetName("pmFields");
    // The field the menu works on is the supervisor's current one: the field the user is in.
    auto current = [this] {
        const SpyControlIdRow *row = Spy.CurrentIdRow();
        return AnsiString(row && Spy.CurrentKind() != SpyKind::None ? row->name : "none");
    };
    auto text = [this](TEdit *field) { return field->Name() + "=" + field->Text(); };
    const std::vector<std::pair<const char *, std::function<void()>>> items = {
        {"Вставити",
         [this, current] {
             log_.Event("paste", current(), TSpyEdit_Bs::PasteText());
             Spy.PasteIntoField();
         }},
        {"Копіювати",
         [this, current] {
             Spy.CopyFromField();
             log_.Event("copy", current(), TSpyEdit_Bs::PasteText());
         }},
        {"-", nullptr},
        {"Очистити числа",
         [this] {
             Spy.ClearTextByNames(NumberFieldNames);
             log_.Event("clear", "pmFields", NumberFieldNames);
         }},
        {"Лише читання",
         [this] {
             Spy.SetEditableByNames(NumberFieldNames, false);
             log_.Event("readonly", "pmFields", NumberFieldNames);
         }},
        {"Редагувати",
         [this] {
             Spy.SetEditableByNames(NumberFieldNames, true);
             log_.Event("editable", "pmFields", NumberFieldNames);
         }},
        {"Показати число і дату",
         [this, text] {
             Spy.ShowRealByName("edShort", 2, false, 0, true, false, 1234.5);
             Spy.ShowIntegerByName(-15, "edSigned", true, false);
             Spy.ShowDateByName(Date->GetPackedDate(), "edText", false);
             log_.Event("show", "pmFields", text(ShortField) + " " + text(SignedField) + " " + text(TextField));
         }},
    };
    for (const auto &[caption, run] : items) {
        auto *item = new TMenuItem(FieldMenu);
        item->SetCaption(caption);
        if (run) {
            std::function<void()> command = run;
            item->OnClick = [command](TObject *) { command(); };
        }
        FieldMenu->Items()->Add(item);
    }
}

void TDemoForm::HookSupervisor()
{
    Spy.HomeControl = Done;
    Spy.OnField = [this](uint8_t event) -> int32_t {
        if (event == TSpyEdit_Bs::FieldEventAccepted) {
            const SpyControlIdRow *row = Spy.CurrentIdRow();
            const char *name = row ? row->name : "?";
            log_.Event("accepted", name, Spy.CurrentText());
        }
        return 0;
    };
    Spy.MessageFunction = [](const AnsiString &, int number) { ShowMessageNo("", number); };
    Spy.SecondMessageFunction = [](const AnsiString &, int number) { ShowMessageNo("", number); };
    const std::pair<TCustomEdit *, uint32_t> fields[] = {{IntField, IdInt},       {DecimalField, IdDecimal},
                                                         {ShortField, IdShort},   {SignedField, IdSigned},
                                                         {TextField, IdText},     {NoteField, IdNote}};
    for (const auto &[field, id] : fields) {
        TCustomEdit *edit = field;
        const uint32_t fieldId = id;
        edit->OnEnter = [this, fieldId](TObject *) { Spy.EnterField(fieldId); };
        edit->OnKeyPress = [this, edit](TObject *, char &key) {
            const char typed = key;
            key = Spy.KeyPressFilter(key);
            if (typed && !key)
                log_.Event("refused", edit->Name(), AnsiString(1, typed));
        };
        edit->OnKeyDown = [this](TObject *, uint16_t &key, TShiftState shift) {
            const uint16_t pressed = key;
            key = Spy.KeyDownFilter(key, shift, false);
            // Enter belongs to the supervisor: once it has moved the focus to the home button, the same
            // key must not press that button as well.
            if (pressed == VK_RETURN)
                key = 0;
        };
    }
}

void TDemoForm::BuildOthers()
{
    const int top = 488;
    Label("Дата", "Дата", 8, top);
    Date = Field<TXDateCombo>("dcDate", 8, top + 18, 150, 24);
    Date->SetUseCheckBox(true);
    Date->SetChecked(true);
    Date->SetSelDate(EncodeDate(2024, 3, 15));
    Date->OnChange = [this](TObject *) { log_.Event("change", "dcDate", Date->GetsSelDate()); };
    Date->OnChkBxClick = [this](TObject *) { log_.Event("check", "dcDate", Date->GetChecked() ? "1" : "0"); };

    XCheck = Field<TXCheckBox>("xcNotify", 176, top, 324, 48);
    XCheck->CaptionL()->SetLUkr("Повідомляти про кожну зміну відомості електронною поштою та в журналі подій");
    XCheck->CaptionL()->SetLRus("Сообщать о каждом изменении ведомости электронной почтой и в журнале событий");
    XCheck->SetWrapping(true);
    XCheck->SetShowBorder(true);
    XCheck->OnCheck = [this](TObject *) { log_.Event("check", "xcNotify", IntToStr(XCheck->State())); };

    Label("Місто", "Город", 8, top + 56);
    SelBox = Field<TZSelBox>("sbCity", 8, top + 74, 200, 24);
    SelBox->SetCaption(SelBoxItems[0]);
    SelBox->OnSelect = [this](TObject *) {
        SelBoxItem = (SelBoxItem + 1) % 3;
        SelBox->SetCaption(SelBoxItems[SelBoxItem]);
        log_.Event("select", "sbCity", SelBoxItems[SelBoxItem]);
    };

    Label("Нотатки", "Заметки", 220, top + 56);
    Rich = Field<TRichEditEx>("reNotes", 220, top + 74, 280, 60);
    Rich->SetText("Текст з розкладкою клавіатури");
    Rich->OnLangChange = [this](TObject *) { log_.Event("layout", "reNotes"); };

    Extender = new TFormExtender(this);
    Extender->SetName("feCaption");
    Extender->OnClick = [this](TObject *) { log_.Event("click", "feCaption"); };
}

void TDemoForm::BuildTable()
{
    // The table takes the room right of the other controls down to the status line, and follows the
    // form's size.
    const int left = 516, top = 26, margin = 8;
    Label("Таблиця", "Таблица", left, 8);
    Table = Field<TXGridTable>("gtSheet", left, top, ClientWidth() - left - margin,
                               ClientHeight() - Status->Height() - top - margin);
    Table->SetAnchors(akLeft | akTop | akRight | akBottom);
    Table->SetBorderStyle(ebsSingle);
    Table->Model().Language = static_cast<uint8_t>(TableLanguage(InterfaceLang()));
    Table->SetNumFileScreen(DemoScreenNumber);
    Table->OnSelectCell = [this](TObject *, int col, int row, bool &canSelect) {
        if (canSelect)
            log_.Event("cell", "gtSheet", IntToStr(row) + "," + IntToStr(col));
    };
    // The two-button editor shows the cell's two button texts: the application captions them.
    Table->OnBeforeCellEdit = [this](TObject *, S_XSGCell *cell) {
        if (cell->EditKind != 9)
            return;
        for (int n = 0; n < 2; ++n)
            if (TZButton *button = Table->GetCellEditorButton(n))
                button->SetCaption(GetRunTextByNumber(Table->Model(), *cell, n + 1));
    };
    Table->OnBtnClickInCell = [this](TObject *, S_XSGCell *cell) {
        log_.Event("button", "gtSheet", IntToStr(cell->Row) + "," + IntToStr(cell->Col));
    };
    Table->OnAfterCellEdit = [this](TObject *, S_XSGCell *cell, EXSGEditValue &, bool changed) {
        // A value is the same in both languages: the other language's list takes the edited one (the
        // table lays the cell out again when it paints it).
        if (changed) {
            CompactCellRuns(*cell);
            GetCellTextList(*cell, 1 - Table->Model().Language) = GetCellTextList(*cell, Table->Model().Language);
        }
        log_.Event(changed ? "edited" : "unchanged", "gtSheet",
                   IntToStr(cell->Row) + "," + IntToStr(cell->Col) + " " + CellText(*Table, *cell));
    };
}

void TDemoForm::SwitchLanguage(ELang lang)
{
    SetInterfaceLang(lang);
    SetCaption(lang == elg_Ukr ? "Елементи керування" : "Элементы управления");
    for (TZMLButton *button : langButtons_)
        button->CaptionL()->SetLang(lang);
    for (TZButton *button : kindButtons_)
        button->CaptionL()->SetLang(lang);
    for (TZLangBox *text : labelTexts_)
        text->SetLang(lang);
    Check->CaptionL()->SetLang(lang);
    RadioFirst->CaptionL()->SetLang(lang);
    RadioSecond->CaptionL()->SetLang(lang);
    LangSwitch->CaptionL()->SetLang(lang);
    LangSwitch->SetImageNo(lang == elg_Ukr ? eil16x16_UA : eil16x16_RU);
    XCheck->CaptionL()->SetLang(lang);
    SelBox->HintL()->SetLang(lang);
    Intro->SetLang(lang);
    // The message dialogs take their headers from the configuration's message language.
    Cfg->SetByte(CfgField::MessageLanguage, lang == elg_Ukr ? 0 : 1);
    // The table's captions: its cells laid out again from their whole runs in the other list.
    TXGridModel &model = Table->Model();
    for (int r = 0; r < Table->RowCount(); ++r)
        for (int c = 0; c < Table->ColCount(); ++c)
            if (S_XSGCell *cell = GetGridCell(model, r, c, false))
                CompactCellRuns(*cell);
    model.Language = static_cast<uint8_t>(TableLanguage(lang));
    RelayoutGridCells(model);
    Table->Invalidate();
}

void TDemoForm::Pump(int milliseconds)
{
    const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    do {
        Application->ProcessMessages();
        Sleep(10);
    } while (static_cast<int>(end - GetTickCount()) > 0);
}

void TDemoForm::ShowAlarm()
{
    auto *dialog = new TDMessages(nullptr, false, MsgKindError);
    dialog->AfterConstruction();
    dialog->Text = Say("Базу даних заблоковано іншою програмою!#Зміни не збережено.",
                       "База данных заблокирована другой программой!#Изменения не сохранены.");
    dialog->ShowModal();
    dialog->Free();
    log_.Event("closed", "btAlarm");
}

void TDemoForm::ShowWaits(bool nested)
{
    if (!nested) {
        TZWait wait(this, 520, 300, 0, Say("Зачекайте: обчислюється відомість", "Подождите: вычисляется ведомость"));
        log_.Event("shown", "wait");
        Pump(1500);
    } else {
        TNZWait outer;
        outer.Open(0, true, Say("Зовнішня операція", "Внешняя операция"));
        log_.Event("shown", "nestedWait", "outer");
        Pump(800);
        {
            TNZWait inner;
            inner.Open(0, true, Say("Вкладена операція", "Вложенная операция"));
            log_.Event("shown", "nestedWait", "inner");
            Pump(800);
            inner.Close();
        }
        log_.Event("shown", "nestedWait", "outer again");
        Pump(500);
        outer.Close();
    }
    log_.Event("closed", nested ? "nestedWait" : "wait");
}

void TDemoForm::EditRecord()
{
    auto *form = new TDemoEditForm(this, *this, log_);
    form->AfterConstruction();
    const int result = form->ShowModal();
    form->Free();
    log_.Event("closed", "editForm", IntToStr(result) + " " + RecordName + "|" + RecordQuantity);
}
