// The main window: its layout, and closing only once the run has finished.
#include "update/run/uMain.h"

#include <chrono>
#include <deque>

#include "framework/runtime/Classes.h"
#include "framework/runtime/Clock.h"
#include "update/journal/Journal.h"
#include "update/run/MsgBoxes.h"

TForm1 *Form1 = nullptr;
uint8_t CfgTail[CfgRawTailLength];

namespace {

// The protocol list box as the journal's protocol list: the newest line is selected, and so in view.
// On the screen a line added to the box repaints it and its scroll bar, which under some systems costs
// more than the step the line reports; so while the box is shown, lines wait and reach it together a
// few times a second, added inside one update of the box's lines so that it is drawn once for them (and
// keeps the keyboard when it has it). Lines still waiting are shown before a message box and at the
// end of the run.
class TListBoxProtocol : public TProtocolList {
public:
    explicit TListBoxProtocol(TListBox *box) : box_(box) {}
    int Count() const override { return box_->Items()->Count() + int(waiting_.size()); }
    void Add(const AnsiString &line) override
    {
        if (!box_->HandleAllocated()) {
            box_->Items()->Add(line);
            box_->SetItemIndex(Count() - 1);
            return;
        }
        waiting_.push_back(line);
        ShowIfDue();
    }
    void ExtendLast(const AnsiString &text) override
    {
        if (!waiting_.empty()) {
            waiting_.back() += text;
        } else if (!box_->HandleAllocated()) {
            const int last = Count() - 1;
            box_->Items()->SetString(last, box_->Items()->Strings(last) + text);
            box_->SetItemIndex(last);
            return;
        } else {
            extension_ += text;
        }
        ShowIfDue();
    }
    void ShowWaiting() override
    {
        if (waiting_.empty() && extension_.empty())
            return;
        // A line the box refuses ends this showing, not the box's drawing: the update ends however the
        // showing is left, and the lines not yet in the box wait for the next one.
        TStrings &items = *box_->Items();
        TStringsUpdate update(items);
        if (!extension_.empty() && items.Count() > 0) {
            const int last = items.Count() - 1;
            items.SetString(last, items.Strings(last) + extension_);
        }
        extension_.clear();
        while (!waiting_.empty()) {
            items.Add(waiting_.front());
            waiting_.pop_front();
        }
        box_->SetItemIndex(items.Count() - 1);
        shown_ = std::chrono::steady_clock::now();
    }

    // Shows the waiting lines when the last showing is a pace ago.
    void ShowIfDue()
    {
        if (std::chrono::steady_clock::now() - shown_ >= std::chrono::milliseconds(PaceMilliseconds))
            ShowWaiting();
    }

private:
    // The box is drawn whole each time it shows lines (they scroll it), which costs more than the
    // progress bar's step: it is shown at a slower pace than the bar, still several times a second.
    static constexpr int PaceMilliseconds = 250;
    TListBox *box_;
    std::deque<AnsiString> waiting_;
    AnsiString extension_;  // text for the end of the box's last line
    std::chrono::steady_clock::time_point shown_{};
};

}  // namespace

TForm1::TForm1(TComponent *owner) : TForm(owner)
{
    SetName("Form1");
    SelfPath = GetModuleFileName();
    SetPosition(poScreenCenter);
    SetBounds(0, 0, 700, 316);

    Pn_Exit = new TPanel(this);
    Pn_Exit->SetName("Pn_Exit");
    Pn_Exit->SetParent(this);
    Pn_Exit->SetCaption("");
    Pn_Exit->SetHeight(41);
    Pn_Exit->SetAlign(alBottom);
    Pn_Exit->SetVisible(false);

    Btn_Close = new TButton(this);
    Btn_Close->SetName("Btn_Close");
    Btn_Close->SetParent(Pn_Exit);
    Btn_Close->SetCaption("Выход");
    Btn_Close->SetBounds(300, 8, 90, 25);
    Btn_Close->OnClick = [this](TObject *sender) { Btn_CloseClick(sender); };

    PnStatus = new TPanel(this);
    PnStatus->SetName("PnStatus");
    PnStatus->SetParent(this);
    PnStatus->SetCaption("");
    PnStatus->SetHeight(25);
    PnStatus->SetAlign(alBottom);
    PnStatus->SetVisible(false);

    PrBar = new TProgressBar(this);
    PrBar->SetName("PrBar");
    PrBar->SetParent(this);
    PrBar->SetMax(100);
    PrBar->SetHeight(17);
    PrBar->SetAlign(alBottom);
    Progress = std::make_unique<TProgressPace>(PrBar);

    Label1 = new TLabel(this);
    Label1->SetName("Label1");
    Label1->SetParent(this);
    Label1->SetCaption("Протокол");
    Label1->SetAlign(alTop);

    LsBx_Prot = new TListBox(this);
    LsBx_Prot->SetName("LsBx_Prot");
    LsBx_Prot->SetParent(this);
    LsBx_Prot->SetAlign(alClient);
    auto protocol = std::make_unique<TListBoxProtocol>(LsBx_Prot);
    Progress->BeforeMessages = [list = protocol.get()] { list->ShowIfDue(); };
    protocol_ = std::move(protocol);
    SetBeforeMessageBox(this, [this] { protocol_->ShowWaiting(); });

    OnCreate = [this](TObject *sender) { FormCreate(sender); };
    OnActivate = [this](TObject *sender) { FormActivate(sender); };
    OnClose = [this](TObject *sender, TCloseAction &action) { FormClose(sender, action); };
    OnDestroy = [this](TObject *sender) { FormDestroy(sender); };
}

TForm1::~TForm1()
{
    ClearBeforeMessageBox(this);
    delete JournalStream;
    delete HandledFiles;
}

void TForm1::FormCreate(TObject *)
{
    HandledFiles = new TStringList;
    HandledFiles->SetSorted(true);
    HandledFiles->SetDuplicates(dupIgnore);
    SetCaption("");
}

void TForm1::FormClose(TObject *, TCloseAction &Action) { Action = RunFinished ? caFree : caNone; }

void TForm1::Btn_CloseClick(TObject *) { Close(); }

void TForm1::FormDestroy(TObject *)
{
    OwnMutex.Close();
    ProductMutex[0].Close();
    ProductMutex[1].Close();
    delete HandledFiles;
    HandledFiles = nullptr;
    Items.clear();
    AcceptedBuilds.clear();
}

void TForm1::PauseRun(unsigned milliseconds)
{
    // The run holds the window's thread: while it waits (for the product to close, ten seconds and
    // more) the window would stay undrawn, black, and look hung. Only painting is done here, so nothing
    // the user clicks runs before its step.
    protocol_->ShowWaiting();
    Progress->Show();
    ClockSleepServing(milliseconds, [] { Application->ProcessPaintMessages(); });
}

void TForm1::SetRunCaption(const AnsiString &caption) { SetCaption(caption); }

void TForm1::ShowRunError(int id, const std::vector<AnsiString> &arguments)
{
    if (arguments.empty())
        ShowError(id);
    else if (arguments.size() == 1)
        ShowError(id, arguments[0]);
    else
        ShowError(id, arguments[0], arguments[1]);
}
