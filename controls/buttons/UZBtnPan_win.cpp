#include "controls/buttons/UZBtnPan.h"

#include "controls/buttons/UZButton.h"
#include "framework/windows/Forms.h"

namespace {
// The panel's close-query handler on its form: a type of its own, so that the panel can tell its
// handler from any other the form may have been given since.
struct TZBtnPanCloseQuery {
    TZBtnPanel *panel;
    void operator()(TObject *Sender, bool &CanClose) const { panel->FormCloseQuery(Sender, CanClose); }
};

constexpr int PanelHeight = 43;
}  // namespace

TZBtnPanel::TZBtnPanel(TComponent *owner) : TPanel(owner), TZBtnPanData(this)
{
    SetBevelInner(bvRaised);
    SetBevelOuter(bvLowered);
    SetAlign(alBottom);
    SetHeight(PanelHeight);
    Constraints()->SetMinHeight(PanelHeight);
    SetKind(ZBtnPanDefaultKinds);
    for (TComponent *c = owner; c; c = c->Owner()) {
        if (auto *form = dynamic_cast<TForm *>(c)) {
            form_ = form;
            break;
        }
    }
    if (form_) {
        previousCloseQuery_ = form_->OnCloseQuery;
        form_->OnCloseQuery = TZBtnPanCloseQuery{this};
    }
}

TZBtnPanel::~TZBtnPanel()
{
    // A panel freed before its form gives the form its previous handler back, unless the form has
    // been given another since. A form being freed has no handlers left to mend.
    if (form_ && !form_->Destroying()) {
        auto *ours = form_->OnCloseQuery.target<TZBtnPanCloseQuery>();
        if (ours && ours->panel == this)
            form_->OnCloseQuery = previousCloseQuery_;
    }
}

void TZBtnPanel::SetKind(TZBtnPanKinds kinds)
{
    kind_ = kinds;
    struct Spec {
        EZBtnPanKind kind;
        TZButton *TZBtnPanel::*button;
        int left;
        int width;
        int tag;
        EZBtnPDT text;
    };
    const Spec specs[] = {
        {EZBtnPan_SaveY, &TZBtnPanel::saveY_, 1, 86, 1, EZBtnPDT_Save},
        {EZBtnPan_SaveN, &TZBtnPanel::saveN_, Width() - 104, 96, 2, EZBtnPDT_NotSave},
        {EZBtnPan_Fresh, &TZBtnPanel::fresh_, 9, 96, 0, EZBtnPDT_Fresh},
        {EZBtnPan_Apply, &TZBtnPanel::apply_, Width() - 105, 96, 0, EZBtnPDT_Apply},
    };
    for (const Spec &s : specs) {
        TZButton *&button = this->*s.button;
        bool wanted = (kinds & ZBtnPanBit(s.kind)) != 0;
        if (wanted && !button) {
            button = new TZButton(this);
            button->SetParent(this);
            button->SetBounds(s.left, 9, s.width, 25);
            button->SetTag(s.tag);
            button->SetDefText(s.text);
            switch (s.kind) {
            case EZBtnPan_SaveY:
            case EZBtnPan_SaveN: button->OnClick = [this](TObject *sender) { CloseFormWith(sender); }; break;
            case EZBtnPan_Fresh: button->OnClick = [this](TObject *sender) { FreshClick(sender); }; break;
            case EZBtnPan_Apply:
                button->OnClick = [this](TObject *sender) { ApplyClick(sender); };
                button->SetTabOrder(1);
                break;
            }
        } else if (!wanted && button) {
            button->Free();
            button = nullptr;
        }
    }
    if (Fits())
        Arrange();
    else
        Widen();
}

std::vector<TZBtnPanSlot> TZBtnPanel::Slots() const
{
    std::vector<TZBtnPanSlot> slots;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl *c = Controls(i);
        slots.push_back({c->Left(), c->Top(), c->Width(), c->Height()});
    }
    return slots;
}

bool TZBtnPanel::Fits() const { return Width() >= ZBtnPanMinWidth(Slots()); }

void TZBtnPanel::Widen()
{
    SetWidth(ZBtnPanMinWidth(Slots()));
    // A panel without a window is arranged by its resize; one with a window when the window reports
    // the size, which may come later.
    Arrange();
}

void TZBtnPanel::Arrange()
{
    // The panel has no window frame: its client area is as wide as the panel, and the window's own
    // client rectangle may lag behind a size not yet delivered.
    auto placed = ZBtnPanArrange(Width(), Width(), Height(), Slots());
    for (int i = 0; i < ControlCount(); ++i) {
        TControl *c = Controls(i);
        const TZBtnPanSlot &p = placed[static_cast<size_t>(i)];
        c->SetBounds(p.Left, p.Top, p.Width, p.Height);
    }
}

bool TZBtnPanel::CanResize(int &newWidth, int &newHeight)
{
    if (!ZBtnPanWidthAccepted(Width(), newWidth, Slots()))
        return false;
    return TPanel::CanResize(newWidth, newHeight);
}

void TZBtnPanel::Resize()
{
    TPanel::Resize();
    Arrange();
}

void TZBtnPanel::Loaded()
{
    TPanel::Loaded();
    // Provisional lefts that put the buttons in their standing order before arranging: save and
    // close first, then refresh, apply, and close without saving last.
    if (saveY_ && !(ControlCount() > 0 && Controls(0) == saveY_))
        saveY_->SetLeft(0);
    if (saveN_)
        saveN_->SetLeft(Width());
    if (apply_)
        apply_->SetLeft(Width() - 1);
    if (fresh_)
        fresh_->SetLeft(Width() - 2);
    if (Fits())
        Arrange();
    else
        Widen();
}

void TZBtnPanel::CloseFormWith(TObject *Sender)
{
    if (!form_)
        return;
    SetClosedByButton(true);
    auto *component = dynamic_cast<TComponent *>(Sender);
    form_->SetModalResult(component ? static_cast<int>(component->Tag()) : 0);
    if (!form_->Modal())
        form_->Close();
}

void TZBtnPanel::CancelForm()
{
    if (!form_)
        return;
    SetClosedByButton(true);
    form_->SetModalResult(2);
    if (!form_->Modal())
        form_->Close();
}

void TZBtnPanel::FormCloseQuery(TObject *Sender, bool &CanClose)
{
    CanClose = true;
    if (previousCloseQuery_) {
        previousCloseQuery_(Sender, CanClose);
        if (!CanClose)
            return;
    }
    if (!form_)
        return;
    int modalResult = form_->ModalResult();
    CanClose = DecideClose(modalResult);
    form_->SetModalResult(modalResult);
}
