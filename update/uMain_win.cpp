// The main window: its layout, and closing only once the run has finished.
#include "update/uMain.h"

#include "framework/Classes.h"
#include "update/Journal.h"
#include "update/MsgBoxes.h"

TForm1 *Form1 = nullptr;
uint8_t CfgTail[CfgRawTailLength];

namespace {

// The protocol list box as the journal's protocol list: the newest line is selected, and so in view.
class TListBoxProtocol : public TProtocolList {
public:
    explicit TListBoxProtocol(TListBox *box) : box_(box) {}
    int Count() const override { return box_->Items()->Count(); }
    void Add(const AnsiString &line) override
    {
        box_->Items()->Add(line);
        ShowLast();
    }
    void ExtendLast(const AnsiString &text) override
    {
        int last = Count() - 1;
        box_->Items()->SetString(last, box_->Items()->Strings(last) + text);
        ShowLast();
    }

private:
    void ShowLast() { box_->SetItemIndex(Count() - 1); }
    TListBox *box_;
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

    Label1 = new TLabel(this);
    Label1->SetName("Label1");
    Label1->SetParent(this);
    Label1->SetCaption("Протокол");
    Label1->SetAlign(alTop);

    LsBx_Prot = new TListBox(this);
    LsBx_Prot->SetName("LsBx_Prot");
    LsBx_Prot->SetParent(this);
    LsBx_Prot->SetAlign(alClient);
    protocol_ = std::make_unique<TListBoxProtocol>(LsBx_Prot);

    OnCreate = [this](TObject *sender) { FormCreate(sender); };
    OnActivate = [this](TObject *sender) { FormActivate(sender); };
    OnClose = [this](TObject *sender, TCloseAction &action) { FormClose(sender, action); };
    OnDestroy = [this](TObject *sender) { FormDestroy(sender); };
}

TForm1::~TForm1()
{
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
