#include <memory>

#include "base/graphics/BuiltinIcons.h"
#include "base/text/CfgLanguage.h"
#include "base/input/fun_other.h"
#include "controls/UZLangBox.h"
#include "controls/messages/View_prt.h"
#include "controls/messages/umessages.h"
#include "controls/buttons/uzCheckBox.h"
#include "controls/buttons/uzRadioButton.h"
#include "framework/windows/Dialogs.h"
#include "framework/windows/ExtCtrls.h"
#include "framework/graphics/ImgList.h"
#include "framework/windows/StdCtrls.h"
#include "framework/runtime/SysUtils.h"

namespace {

constexpr int ImageSize = 64;
// The built-in icon drawn for each image of one colour set: error, question, warning, information.
constexpr int ImageIcons[4] = {IconError, IconChoice, IconWarning, IconInformation};

// The design places of the buttons the kinds move back to.
constexpr int NoWatchLeft = 276, WatchExitLeft = 133, NarrowWidth = 50, WideWidth = 75;

void FillImageList(TImageList &list)
{
    // Drawn once for the process; every dialog makes its list from them.
    static const std::vector<std::vector<uint8_t>> images = [] {
        std::vector<std::vector<uint8_t>> drawn;
        for (bool alarm : {false, true})
            for (int icon : ImageIcons)
                drawn.push_back(BuiltinIconImage(icon, ImageSize, alarm));
        return drawn;
    }();
    for (const std::vector<uint8_t> &image : images) {
        TIcon picture;
        picture.LoadFromImage(image.data(), image.size(), ImageSize, ImageSize);
        list.AddIcon(picture);
    }
}

TButton *MakeButton(TDMessages *form, const char *name, int left, int width, const AnsiString &caption, int tabOrder)
{
    auto *button = new TButton(form);
    button->SetName(name);
    button->SetParent(form);
    button->SetBounds(left, 136, width, 20);
    button->SetCaption(caption);
    button->SetTabOrder(tabOrder);
    return button;
}

void MoveUp(TControl *control, int by) { control->SetTop(control->Top() - by); }

class TDialogPresenter : public TMessagePresenter {
public:
    TMessageResult Present(TMessageRequest &request) override
    {
        std::unique_ptr<TDMessages, void (*)(TDMessages *)> dialog(new TDMessages(nullptr, true, request.Kind),
                                                                   [](TDMessages *d) { d->Free(); });
        dialog->AfterConstruction();
        dialog->Text = request.Text;
        dialog->HasView = request.HasView;
        dialog->ErrorsFile = request.ErrorsFile;
        dialog->InaccuraciesFile = request.InaccuraciesFile;
        if (request.Kind == MsgKindQuestionBox) {
            if (!request.BoxCaption.empty()) {
                dialog->Ask->CaptionL()->SetLRus(request.BoxCaption);
                dialog->Ask->CaptionL()->SetLUkr(request.BoxCaption);
            }
            if (request.BoxHidden)
                dialog->Ask->Hide();
        }
        if (request.Kind == MsgKindChoice)
            for (auto &item : request.Choices)
                dialog->ChoiceList.push_back(std::move(item));
        request.Choices.clear();

        TMessageResult result;
        result.ModalResult = dialog->ShowModal();
        result.ThreeWay = dialog->ThreeWay;
        result.YesCancelNo = dialog->YesCancelNo;
        result.Selection = dialog->Selection;
        result.BoxChecked = dialog->Ask->Checked();
        return result;
    }
};

TDialogPresenter presenter;
TMessagePresenter *replaced = nullptr;
bool registered = false;

}  // namespace

void SetLangText(TControl *control, const AnsiString &russian, const AnsiString &ukrainian)
{
    control->SetCaption(InterfaceLang() == elg_Ukr ? ukrainian : russian);
}

TDMessages::TDMessages(TComponent *owner, bool normalColour, std::uint8_t kind)
    : TForm(owner), kind_(kind), normalColour_(normalColour)
{
    BeginLoading();
    SetName("DMessages");
    SetBorderStyle(bsToolWindow);
    SetClientWidth(342);
    SetClientHeight(166);
    SetColor(clSkyBlue);
    Font()->SetName("MS Sans Serif");
    Font()->SetHeight(-11);
    SetFormStyle(fsStayOnTop);
    SetKeyPreview(true);
    SetPosition(poScreenCenter);
    SetScaled(false);
    OnCreate = [this](TObject *sender) { FormCreate(sender); };
    OnKeyDown = [this](TObject *sender, std::uint16_t &key, TShiftState shift) { FormKeyDown(sender, key, shift); };
    OnPaint = [this](TObject *sender) { FormPaint(sender); };
    OnShow = [this](TObject *sender) { FormShow(sender); };

    Timer = new TTimer(this);
    Timer->SetName("Timer");
    Timer->OnTimer = [this](TObject *sender) { OnTimer(sender); };
    Image = new TImage(this);
    Image->SetName("Image");
    Image->SetParent(this);
    Image->SetBounds(16, 36, ImageSize, ImageSize);
    Image->SetStretch(true);
    ImageList = new TImageList(this, ImageSize, ImageSize);
    ImageList->SetName("ImageList");
    FillImageList(*ImageList);
    btYes = MakeButton(this, "btYes", 16, NarrowWidth, "&Так", 0);
    btYes->SetModalResult(mrOk);
    btYes->OnClick = [this](TObject *sender) { btYesClick(sender); };
    btWatchExit = MakeButton(this, "btWatchExit", WatchExitLeft, WideWidth, "&Перегляд", 1);
    btWatchExit->SetVisible(false);
    btWatchExit->OnClick = [this](TObject *sender) { btWatchExitClick(sender); };
    btNoWatch = MakeButton(this, "btNoWatch", NoWatchLeft, NarrowWidth, "&Ні", 2);
    btNoWatch->OnClick = [this](TObject *sender) { btNoWatchClick(sender); };
    Ask = new TZCheckBox(this);
    Ask->SetName("Ask");
    Ask->SetParent(this);
    Ask->SetParentColor(true);
    Ask->SetBounds(80, 112, 193, 17);
    Ask->SetAlignment(taLeftJustify);
    Ask->SetVisible(false);
    Ask->SetTabOrder(3);
    Ask->SetCaption("&Не задавати більше це питання");
    Ask->CaptionL()->SetLRus("&Не задавать больше этот вопрос");
    Ask->CaptionL()->SetLUkr("&Не задавати більше це питання");
    EndLoading();

    if (kind_ == MsgKindThreeWay)
        ThreeWay = 3;
    if (kind_ == MsgKindYesCancelNo)
        YesCancelNo = 2;
    SetLangText(btYes, "&Да", "&Так");
    SetLangText(btWatchExit, "&Просмотр", "&Перегляд");
    SetLangText(btNoWatch, "&Нет", "&Ні");
    if (!normalColour_) {
        imageOffset_ = 4;
        SetColor(clRed);
    }
    Image->Picture()->Bitmap()->SetSize(ImageList->Width(), ImageList->Height());

    // The default layout: one exit button, a view button beside it shown only when asked for.
    SetLangText(btWatchExit, "&Выход", "&Вихід");
    btWatchExit->SetVisible(true);
    btWatchExit->OnClick = [this](TObject *sender) { btNoWatchClick(sender); };
    btYes->SetVisible(false);
    btNoWatch->OnClick = [this](TObject *sender) { btWatchExitClick(sender); };
    btNoWatch->SetBounds(btNoWatch->Left() - 25, btNoWatch->Top(), WideWidth, btNoWatch->Height());
    btNoWatch->SetVisible(false);
    SetLangText(btNoWatch, "&Просмотр", "&Перегляд");
    reference_ = btWatchExit;

    auto question = [this] {
        SetLangText(btYes, "&Да", "&Так");
        btYes->SetVisible(true);
        SetLangText(btWatchExit, "&Просмотр", "&Перегляд");
        btWatchExit->SetVisible(false);
        btWatchExit->OnClick = [this](TObject *sender) { btWatchExitClick(sender); };
        SetLangText(btNoWatch, "&Нет", "&Ні");
        btNoWatch->SetBounds(NoWatchLeft, btNoWatch->Top(), NarrowWidth, btNoWatch->Height());
        btNoWatch->SetVisible(true);
        btNoWatch->OnClick = [this](TObject *sender) { btNoWatchClick(sender); };
        reference_ = btYes;
    };
    switch (kind_) {
    case MsgKindQuestion: question(); break;
    case MsgKindThreeWay:
        question();
        btYes->SetCaption("1");
        btWatchExit->SetCaption("2");
        btWatchExit->SetBounds(WatchExitLeft + (WideWidth - NarrowWidth) / 2, btWatchExit->Top(), NarrowWidth,
                               btWatchExit->Height());
        btWatchExit->SetVisible(true);
        btNoWatch->SetCaption("3");
        break;
    case MsgKindQuestionBox:
        question();
        Ask->SetVisible(true);
        reference_ = Ask;
        break;
    case MsgKindChoice:
        SetLangText(btYes, "&Выбрать", "&Вибрати");
        btYes->SetWidth(WideWidth);
        btYes->SetVisible(true);
        SetLangText(btNoWatch, "&Отказаться", "&Відмовитись");
        btNoWatch->SetBounds(Width() - 25 - WideWidth, btNoWatch->Top(), WideWidth, btNoWatch->Height());
        btNoWatch->SetVisible(true);
        btNoWatch->OnClick = [this](TObject *sender) { btNoWatchClick(sender); };
        btWatchExit->SetVisible(false);
        ItemGap = Canvas()->TextHeight("Щ");
        reference_ = btYes;
        break;
    case MsgKindWarningOnce:
        btWatchExit->OnClick = [this](TObject *sender) { btWatchExitClick(sender); };
        Ask->SetVisible(true);
        Ask->SetAlignment(taRightJustify);
        reference_ = Ask;
        break;
    case MsgKindYesCancelNo:
        question();
        SetLangText(btWatchExit, "&Отказ", "&Відмова");
        btWatchExit->SetWidth(WideWidth);
        btWatchExit->SetVisible(true);
        reference_ = btWatchExit;
        break;
    default: break;  // error, warning, information and unknown kinds keep the default layout
    }

    const int image = MessageImageOf(kind_);
    TCanvas *canvas = Image->Canvas();
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(Rect(0, 0, ImageList->Width(), ImageList->Height()));
    if (image >= 0)
        ImageList->Draw(*canvas, 0, 0, imageOffset_ + image);
}

TDMessages::~TDMessages()
{
    // The items own their radio buttons: freed here, each leaves the form before the form frees its
    // children.
    ChoiceList.clear();
}

int TDMessages::TextLeft() const { return Image->Width() + 2 * Image->Left(); }

void TDMessages::FormCreate(TObject *)
{
    if (FormScaling)
        ScaleFormToScreen(this);
}

void TDMessages::FormShow(TObject *)
{
    const bool russian = MessageLanguage() != 0;
    SetCaption(MessageHeader(kind_, russian));
    if (kind_ == MsgKindWarningOnce) {
        // The box keeps the room it had beside its caption as shown (the "&" of the old caption is not
        // drawn, so it is not counted: counting it would clip the new caption's end).
        const int margin = Ask->Width() - Canvas()->TextWidth(ShownCaption(Ask->Caption()));
        Ask->SetCaption(russian ? "В дальнейшем не выводить это предупреждение."
                                : "Подалі не виводити це попередження.");
        Ask->SetWidth(Canvas()->TextWidth(Ask->Caption()) + margin);
    }
    if (!normalColour_)
        Canvas()->Font()->SetStyle(Canvas()->Font()->Style() | fsBold);

    if (kind_ == MsgKindChoice) {
        PlaceChoices();
    } else {
        AnsiString shown = Text;
        if (!shown.empty() && shown[0] == '~') {
            shown.erase(0, 1);
            CentreLines = false;
        }
        Text = shown;
        int maxLineHeight = 0;
        LineCount = LayoutMarkupTextHash(Text, ClientWidth() - TextLeft(), *Canvas(), maxLineHeight, textHeight_, false,
                                         Layout);
        TextBlockHeight = textHeight_ + 6;
    }

    SpareHeight = MessageSpareHeight(ClientHeight(), Height(), reference_->Top(), TextBlockHeight, Image->Height());
    const int spare = SpareHeight;
    switch (kind_) {
    case MsgKindError:
    case MsgKindWarning:
    case MsgKindInformation: MoveUp(btWatchExit, spare); break;
    case MsgKindQuestion:
    case MsgKindChoice:
        MoveUp(btYes, spare);
        MoveUp(btNoWatch, spare);
        break;
    case MsgKindThreeWay:
    case MsgKindYesCancelNo:
        MoveUp(btYes, spare);
        MoveUp(btNoWatch, spare);
        MoveUp(btWatchExit, spare);
        break;
    case MsgKindQuestionBox:
        MoveUp(Ask, spare);
        MoveUp(btYes, spare);
        MoveUp(btNoWatch, spare);
        break;
    case MsgKindWarningOnce:
        MoveUp(btWatchExit, spare);
        MoveUp(Ask, spare);
        Ask->SetLeft((Width() - Ask->Width()) / 2);
        break;
    default: break;
    }
    SetHeight(Height() - spare);
    Image->SetTop((reference_->Top() - Image->Height()) / 2);

    if (HasView) {
        if (kind_ == MsgKindError || kind_ == MsgKindWarning || kind_ == MsgKindInformation) {
            btNoWatch->SetVisible(true);
            MoveUp(btNoWatch, spare);
        } else if (kind_ == MsgKindQuestion) {
            btWatchExit->SetVisible(true);
            MoveUp(btWatchExit, spare);
        }
    }
    if (kind_ == MsgKindChoice) {
        // The buttons stand beside their items as they will be painted.
        int top = (reference_->Top() - TextBlockHeight) / 2;
        for (auto &item : ChoiceList) {
            auto *radio = static_cast<TZRadioButton *>(item->Control);
            radio->SetTop(top + (static_cast<int>(item->Word2) - radio->Height()) / 2);
            top += static_cast<int>(item->Word2) + ItemGap;
        }
    }
}

void TDMessages::PlaceChoices()
{
    const int left = TextLeft();
    int listHeight = 0;
    for (size_t i = 0; i < ChoiceList.size(); ++i) {
        SMsgTest &item = *ChoiceList[i];
        auto *radio = new TZRadioButton(this);
        radio->SetParent(this);
        radio->SetParentColor(true);
        radio->SetCaption(AnsiString());
        radio->SetWidth(radio->Height());
        radio->SetLeft(left);
        radio->OnClick = [this](TObject *sender) { ChoiceClick(sender); };
        // Numbered before the first one is checked, so that a dialog closed without a click chooses
        // the item shown checked.
        radio->SetTag(static_cast<intptr_t>(i));
        delete item.Control;
        item.Control = radio;
        int maxLineHeight = 0, height = 0;
        item.Word1 = static_cast<std::uint32_t>(LayoutMarkupTextHash(
            item.Text, ClientWidth() - left - radio->Width(), *Canvas(), maxLineHeight, height, false, item.Lines));
        item.Word2 = static_cast<std::uint32_t>(height);
        listHeight += height + ItemGap;
    }
    if (!ChoiceList.empty())
        static_cast<TZRadioButton *>(ChoiceList.front()->Control)->SetChecked(true);
    TextBlockHeight = listHeight + 6;
}

void TDMessages::FormPaint(TObject *)
{
    TCanvas &canvas = *Canvas();
    if (!normalColour_) {
        canvas.Font()->SetColor(clWhite);
        canvas.Font()->SetStyle(canvas.Font()->Style() | fsBold);
    }
    canvas.Brush()->SetStyle(bsClear);
    const int top = (reference_->Top() - TextBlockHeight) / 2;
    if (kind_ == MsgKindChoice) {
        PaintChoices(top);
        return;
    }
    DrawMarkupText(Text, canvas, CentreLines ? MarkupAlignCentre : MarkupAlignLeft, Layout, textHeight_, LineCount, 1,
                   Rect(TextLeft(), top, ClientWidth() - 3, top + TextBlockHeight));
}

void TDMessages::PaintChoices(int top)
{
    TCanvas &canvas = *Canvas();
    for (auto &item : ChoiceList) {
        const int buttonWidth = item->Control ? static_cast<TControl *>(item->Control)->Width() : 0;
        const int height = static_cast<int>(item->Word2);
        DrawMarkupText(item->Text, canvas, MarkupAlignLeft, item->Lines, height, static_cast<int>(item->Word1), 0,
                       Rect(TextLeft() + buttonWidth, top, ClientWidth() - 3, top + TextBlockHeight));
        top += height + ItemGap;
    }
}

void TDMessages::ChoiceClick(TObject *Sender)
{
    if (auto *radio = dynamic_cast<TComponent *>(Sender))
        Selection = static_cast<int>(radio->Tag());
}

void TDMessages::FormKeyDown(TObject *, std::uint16_t &Key, TShiftState)
{
    if (Key == 27)
        CloseDialog();
}

void TDMessages::btYesClick(TObject *)
{
    if (kind_ == MsgKindThreeWay)
        ThreeWay = 1;
    else if (kind_ == MsgKindYesCancelNo)
        YesCancelNo = 1;
    else
        return;  // the button's modal result closes the dialog
    SetModalResult(mrOk);
}

void TDMessages::btWatchExitClick(TObject *)
{
    switch (kind_) {
    case MsgKindThreeWay:
        ThreeWay = 2;
        CloseDialog();
        break;
    case MsgKindYesCancelNo:
        YesCancelNo = 3;
        CloseDialog();
        break;
    case MsgKindWarningOnce: CloseDialog(); break;
    default: ShowViewer(); break;
    }
}

void TDMessages::btNoWatchClick(TObject *)
{
    if (kind_ == MsgKindThreeWay)
        ThreeWay = 3;
    else if (kind_ == MsgKindYesCancelNo)
        YesCancelNo = 2;
    CloseDialog();
}

void TDMessages::OnTimer(TObject *) { BringToFront(); }

void TDMessages::CloseDialog()
{
    // Any close answers 2, whether the dialog runs its own modal loop or a script shows it.
    SetModalResult(mrCancel);
    Close();
}

void TDMessages::ShowViewer()
{
    Timer->SetEnabled(false);
    const bool missing = (ErrorsFile.empty() && InaccuraciesFile.empty()) ||
                         (!ErrorsFile.empty() && !FileExists(ErrorsFile)) ||
                         (!InaccuraciesFile.empty() && !FileExists(InaccuraciesFile));
    if (missing) {
        ShowMessage("Нема інформації для перегляду !");
        Timer->SetEnabled(true);
        return;
    }
    // The viewer pointer is cleared and the timer runs again on every way out, a file that cannot be
    // read included.
    struct Restore {
        TDMessages *dialog;
        ~Restore()
        {
            FreeAndNil(ViewPrt);
            dialog->Timer->SetEnabled(true);
        }
    } restore{this};
    ViewPrt = new TViewPrt(this);
    ViewPrt->AfterConstruction();
    ViewPrt->ErrorsFile = ErrorsFile;
    ViewPrt->InaccuraciesFile = InaccuraciesFile;
    ViewPrt->ShowModal();
}

std::uint8_t AskDontAskAgain(const AnsiString &text)
{
    std::unique_ptr<TDMessages, void (*)(TDMessages *)> dialog(new TDMessages(nullptr, true, MsgKindQuestionBox),
                                                               [](TDMessages *d) { d->Free(); });
    dialog->AfterConstruction();
    dialog->Text = text;
    const int result = dialog->ShowModal();
    return static_cast<std::uint8_t>((result == mrOk ? 1 : 0) | (dialog->Ask->Checked() ? 2 : 0));
}

void StartMessageDialog()
{
    if (registered)
        return;
    replaced = SetMessagePresenter(&presenter);
    // Still there from a run before, put back by a presenter that was registered over it.
    if (replaced == &presenter)
        replaced = nullptr;
    registered = true;
}

void StopMessageDialog()
{
    if (!registered)
        return;
    // A presenter registered after the dialog stays: the one it replaced goes back only while the
    // dialog is still the one registered.
    if (&CurrentMessagePresenter() == &presenter)
        SetMessagePresenter(replaced);
    replaced = nullptr;
    registered = false;
}
