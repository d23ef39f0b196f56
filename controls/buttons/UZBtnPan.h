#pragma once
// The bottom panel of an editing form: up to four standard buttons (save and close, close without
// saving, refresh, apply) and the small protocol it runs with its form — load, check, save, and a
// question when the form is closed with unsaved changes. The placement of the buttons and the
// protocol's rules are kept apart from the window so that they can be checked without one.
#include <cstdint>
#include <functional>
#include <vector>

#include "framework/runtime/Component.h"
#include "framework/windows/Controls.h"
#include "framework/windows/ExtCtrls.h"
#include "framework/runtime/Types.h"

// ---- placement of the buttons -------------------------------------------------------------------

// A child of the panel as placement sees it.
struct TZBtnPanSlot {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
};

// The narrowest panel the buttons fit in: their widths, 2 px each, and 8 px at either end.
int ZBtnPanMinWidth(const std::vector<TZBtnPanSlot> &children);
// Whether the panel may take newWidth: growing always may, shrinking below the minimum may not.
bool ZBtnPanWidthAccepted(int width, int newWidth, const std::vector<TZBtnPanSlot> &children);
// Where the children stand after arranging, in the order given: one is centred horizontally (its top
// kept); two stand 8 px from either end; three or more keep their order by left, the first 8 px from
// the left and equal gaps between them. With two or more each is centred vertically.
std::vector<TZBtnPanSlot> ZBtnPanArrange(int width, int clientWidth, int height,
                                         const std::vector<TZBtnPanSlot> &children);

// ---- the data-editing protocol ------------------------------------------------------------------

// The protocol's flags and events, told apart from the window: who the events name as their sender
// is given at construction.
class TZBtnPanData {
public:
    explicit TZBtnPanData(TObject *sender) : sender_(sender) {}
    virtual ~TZBtnPanData() = default;
    TZBtnPanData(const TZBtnPanData &) = delete;
    TZBtnPanData &operator=(const TZBtnPanData &) = delete;

    // Marks the data initialised and runs OnInitData.
    void DoInit();
    // True runs DoInit unless the data is already initialised; false does nothing.
    void InitOnce(bool once);
    void ResetInit() { initialised_ = false; }
    bool Initialised() const { return initialised_; }
    // Runs OnLoadData; the loaded data is unchanged.
    void DoLoad();
    // OnCheckData's verdict; true without one.
    bool DoCheck();
    // Once OnCheckChange has reported a change, the data stays changed until a load or a save.
    bool IsChanged();
    void SetChanged(bool changed) { changed_ = changed; }
    // Runs OnSaveData. Returns false only when it reported a failure; then the data stays changed.
    bool DoSave();
    bool Saved() const { return saved_; }
    // True checks and, when the check passes, saves; false only clears the flag.
    void SetSaved(bool saved);
    // The apply button: check, then save when the check passes.
    void ApplyClick(TObject *Sender);
    // The refresh button: load again.
    void FreshClick(TObject *Sender);

    // The form is being closed by one of the panel's buttons (set just before it closes).
    bool ClosedByButton() const { return closedByButton_; }
    void SetClosedByButton(bool byButton) { closedByButton_ = byButton; }
    // Whether the form may close, by its modal result: 1 checks and saves; 2 set by a button closes;
    // 0, or 2 from elsewhere, asks about unsaved changes (yes: check and save, modal result 1; no:
    // the changes are dropped). A refusal clears the closed-by-button flag and the modal result.
    bool DecideClose(int &modalResult);

    TNotifyEvent OnInitData;
    TNotifyEvent OnLoadData;
    std::function<void(bool &bRet)> OnSaveData;
    std::function<bool(TObject *Sender)> OnCheckData;
    std::function<bool(TObject *Sender)> OnCheckChange;
    // Asks whether unsaved changes are to be saved (true: yes); without it the message service asks.
    std::function<bool(TObject *Sender)> OnOutSel;

private:
    bool AskToSave();

    TObject *sender_;
    bool changed_ = false;
    bool saved_ = false;
    bool initialised_ = false;
    bool closedByButton_ = false;
};

// ---- the panel ----------------------------------------------------------------------------------

enum EZBtnPanKind : uint8_t { EZBtnPan_SaveN, EZBtnPan_SaveY, EZBtnPan_Fresh, EZBtnPan_Apply };
// A set of kinds: bit k for kind k.
using TZBtnPanKinds = unsigned;
constexpr TZBtnPanKinds ZBtnPanBit(EZBtnPanKind kind) { return 1u << kind; }
constexpr TZBtnPanKinds ZBtnPanDefaultKinds = ZBtnPanBit(EZBtnPan_SaveN) | ZBtnPanBit(EZBtnPan_SaveY);

class TForm;
class TZButton;

// The button panel, at the bottom of its form. It answers its form's close query (the form's own
// handler, set before the panel is made, runs first) and gives it back when the panel goes first.
class TZBtnPanel : public TPanel, public TZBtnPanData {
public:
    explicit TZBtnPanel(TComponent *owner);
    ~TZBtnPanel() override;

    TZBtnPanKinds Kind() const { return kind_; }
    // Makes the buttons of the kinds in the set and frees the others; widens the panel when they do
    // not fit, else arranges them.
    void SetKind(TZBtnPanKinds kinds);
    // The buttons (null when their kind is not in the set).
    TZButton *SaveButton() const { return saveY_; }
    TZButton *NotSaveButton() const { return saveN_; }
    TZButton *ApplyButton() const { return apply_; }
    TZButton *FreshButton() const { return fresh_; }
    // The form the panel works with: the first form up its owner chain, or null.
    TForm *Form() const { return form_; }

    // Closes the form with the modal result of the sender's tag (1 save, 2 do not save); a form
    // that is not modal is closed at once. Nothing without a form.
    void CloseFormWith(TObject *Sender);
    // Closes the form without saving.
    void CancelForm();
    // The form's close query.
    void FormCloseQuery(TObject *Sender, bool &CanClose);

    // Places the buttons as arranging does (called on every resize).
    void Arrange();

protected:
    void Loaded() override;
    bool CanResize(int &newWidth, int &newHeight) override;
    void Resize() override;

private:
    std::vector<TZBtnPanSlot> Slots() const;
    bool Fits() const;
    void Widen();

    TForm *form_ = nullptr;
    std::function<void(TObject *, bool &)> previousCloseQuery_;
    TZBtnPanKinds kind_ = 0;
    TZButton *saveY_ = nullptr;
    TZButton *saveN_ = nullptr;
    TZButton *apply_ = nullptr;
    TZButton *fresh_ = nullptr;
};
