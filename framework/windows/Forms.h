#pragma once
// Forms, the application object and the screen.
#include <memory>
#include <type_traits>
#include <vector>

#include "framework/windows/Controls.h"
#include "framework/runtime/Exception.h"

using TBorderIcons = unsigned;
constexpr TBorderIcons biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8;
enum TPosition { poDesigned, poDefault, poScreenCenter, poMainFormCenter, poOwnerFormCenter };
enum TFormStyle { fsNormal, fsStayOnTop };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TCloseAction { caNone, caHide, caFree, caMinimize };

using TCloseEvent = std::function<void(TObject *Sender, TCloseAction &Action)>;
using TCloseQueryEvent = std::function<void(TObject *Sender, bool &CanClose)>;

// The density forms are designed for; a form shown on a screen of another density rescales itself.
constexpr int DesignPixelsPerInch = 96;

class TButton;
class TMainMenu;

class TForm : public TWinControl {
public:
    explicit TForm(TComponent *owner);
    ~TForm() override;

    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle style);
    TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons icons);
    TPosition Position() const { return position_; }
    void SetPosition(TPosition position) { position_ = position; }
    TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle style);
    TWindowState WindowState() const { return windowState_; }
    void SetWindowState(TWindowState state);
    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool preview) { keyPreview_ = preview; }
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    // Rescale to the screen's density when it differs from DesignPixelsPerInch (on by default).
    bool Scaled() const { return scaled_; }
    void SetScaled(bool scaled) { scaled_ = scaled; }
    // Scroll bars appear when the controls reach beyond the client area; the scroll positions are how
    // far the contents are scrolled (0 at the top left, at most the overhang).
    bool AutoScroll() const { return autoScroll_; }
    void SetAutoScroll(bool autoScroll);
    int HorzScrollPosition() const { return scrollX_; }
    int VertScrollPosition() const { return scrollY_; }
    void SetHorzScrollPosition(int position) { ScrollTo(position, scrollY_); }
    void SetVertScrollPosition(int position) { ScrollTo(scrollX_, position); }
    // Scrolls so that the control (on this form, at any depth) lies inside the client area.
    void ScrollInView(TControl *control);
    // A canvas on the client area: drawn on in OnPaint, usable for measuring at any time (its font
    // follows the form's font).
    TCanvas *Canvas() const;

    // The menu bar; its shortcuts work while the form is active.
    TMainMenu *Menu() const { return menu_; }
    void SetMenu(TMainMenu *menu);

    // The window's own icons: the large one for task switching, the small one for the caption (a
    // form given no small icon shows the large one there too). Set on this window only, never on the
    // window class the forms share. The form owns them and lets them go after its window is gone.
    void SetIcon(std::unique_ptr<TIcon> large, std::unique_ptr<TIcon> small = nullptr);
    TIcon *Icon() const { return largeIcon_.get(); }
    TIcon *SmallIcon() const { return smallIcon_.get(); }

    int ClientWidth() const override;
    int ClientHeight() const override;
    void SetClientWidth(int width) override;
    void SetClientHeight(int height) override;

    void Show();
    void Hide();
    void Close();
    // Shows the form modally and returns its modal result; the prompt seam may answer instead.
    int ShowModal();
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result) { modalResult_ = result; }
    bool Modal() const { return modal_; }
    // Frees the form once the messages in hand are handled (safe from the form's own handlers).
    void Release();
    // Asks OnCloseQuery whether the form may close.
    virtual bool CloseQuery();
    void BringToFront() override;
    // The control that has the focus on this form, or null.
    TWinControl *ActiveControl() const;
    // Tab, Enter and Esc not wanted by the focused control: move the focus, press the default or the
    // cancel button. True when the key was used.
    bool DialogKey(uint16_t key, TShiftState shift);

    // Runs OnCreate (the application does it after constructing a form; Show does it if not yet done).
    void AfterConstruction();
    // Runs OnDestroy; Free and the owner's clean-up call it before the destructor.
    void BeforeDestruction() override;
    // Freed inside its own modal loop (by a handler, by its owner's freeing, by a release handled in
    // the loop), the form leaves its owner, ends the loop with mrCancel and is released after it.
    bool DeferFree() override;

    TNotifyEvent OnCreate;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnPaint;

    void WndProc(TMessage &message) override;

protected:
    void CreateParams(TCreateParams &params) override;
    void InitializeWnd() override;
    void VisibleChanged() override;
    void AdjustSize() override;
    void BoundsChanged() override;
    void FontChanged() override;
    bool WantsPaint() const override { return true; }
    void PaintWindow(HDC dc) override;
    virtual void DoClose(TCloseAction &action);

private:
    void ScrollTo(int x, int y);
    void MeasureScrollRange();
    void UpdateScrollBars();
    void Scroll(int bar, unsigned code);
    void ApplyPosition();
    void ScaleToScreen();
    void CloseModal();
    unsigned long WindowStyle() const;
    unsigned long WindowExStyle() const;
    void SendIcons();
    void FocusOnActivation();

    TBorderStyle borderStyle_ = bsSizeable;
    TBorderIcons borderIcons_ = biSystemMenu | biMinimize | biMaximize;
    TPosition position_ = poDesigned;
    TFormStyle formStyle_ = fsNormal;
    TWindowState windowState_ = wsNormal;
    bool keyPreview_ = false;
    bool autoSize_ = false;
    bool scaled_ = true;
    bool autoScroll_ = false;
    int scrollX_ = 0, scrollY_ = 0;
    int rangeX_ = 0, rangeY_ = 0;
    bool updatingScroll_ = false;
    std::unique_ptr<TControlCanvas> canvas_;
    bool scaledDone_ = false;
    bool created_ = false;
    bool destroyedEventDone_ = false;
    bool positioned_ = false;
    bool modal_ = false;
    bool releaseAfterModal_ = false;
    int modalResult_ = mrNone;
    TMainMenu *menu_ = nullptr;
    std::unique_ptr<TIcon> largeIcon_, smallIcon_;
    // The window of the control that had the focus when the form was left, focused again when the form
    // is activated. A window, not a pointer: the control may be freed meanwhile.
    HWND focusedWhenLeft_ = nullptr;
};

class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;

    void Initialize() {}
    // Constructs a form owned by the application, stores it in `reference`, runs its OnCreate; the
    // first form made this way becomes the main form.
    // A data module is made the same way and runs its OnCreate; it never becomes the main form.
    template <class T>
    T *CreateForm(T *&reference)
    {
        T *form = new T(this);
        reference = form;
        if constexpr (std::is_base_of_v<TForm, T>)
            if (!mainForm_)
                mainForm_ = form;
        form->AfterConstruction();
        return form;
    }
    // Shows the main form and handles messages until the main form closes or Terminate is called;
    // then frees the forms and components the application owns.
    void Run();
    // Handles the messages waiting now and returns.
    void ProcessMessages();
    // Draws the program's windows that wait to be drawn, and handles nothing else: input, timers and
    // posted messages stay queued, so nothing the user does runs before the program is ready for it.
    void ProcessPaintMessages();
    // Waits for one message and handles it.
    void HandleMessage();
    void Terminate();
    bool Terminated() const { return terminated_; }

    TForm *MainForm() const { return mainForm_; }
    void SetMainForm(TForm *form) { mainForm_ = form; }
    // The program's full path.
    AnsiString ExeName() const;
    const AnsiString &Title() const { return title_; }
    void SetTitle(const AnsiString &title) { title_ = title; }
    // Shows an exception's message in an error box (through the prompt seam).
    void ShowException(const std::exception &e);
    // What happens to an exception that escapes an event handler.
    void HandleException(const std::exception &e);

private:
    bool ProcessMessage();
    TForm *mainForm_ = nullptr;
    bool terminated_ = false;
    AnsiString title_;
};

// Indexes of system metrics (the system's values): the caption's height; the width of the vertical and
// the height of the horizontal scroll bar; the thin border, the 3-D edge and the sizing frame of a
// window; the caption buttons; icons large and small; the menu's check glyph; nonzero when the mouse
// buttons are swapped (the right one is the primary one).
constexpr int smCyCaption = 4, smCxIcon = 11, smCyIcon = 12;
constexpr int smCxVScroll = 2, smCyHScroll = 3, smCxBorder = 5, smCyBorder = 6, smCxDlgFrame = 7, smCyDlgFrame = 8,
              smSwapButton = 23, smCxSize = 30, smCySize = 31, smCxFrame = 32, smCyFrame = 33, smCxEdge = 45,
              smCyEdge = 46, smCxSmIcon = 49, smCySmIcon = 50, smCxSmSize = 52, smCySmSize = 53, smCxMenuCheck = 71,
              smCyMenuCheck = 72;

class TScreen : public TComponent {
public:
    TScreen();

    int PixelsPerInch() const;
    // Makes PixelsPerInch report this density (0: the system's again), font sizes included; for
    // tests of forms scaled to another screen.
    void SetPixelsPerInch(int pixelsPerInch);
    // A system metric (the system's index: smCyCaption, smCxIcon...).
    int SystemMetric(int index) const;
    int Width() const;
    int Height() const;
    TRect WorkArea() const;
    int WorkAreaWidth() const { return WorkArea().Width(); }
    int WorkAreaHeight() const { return WorkArea().Height(); }

    // The form that is active in this program, or null.
    TForm *ActiveForm() const;
    // The framework control that has the keyboard focus, or null.
    TWinControl *ActiveControl() const;
    int FormCount() const { return static_cast<int>(forms_.size()); }
    TForm *Forms(int index) const { return forms_.at(static_cast<size_t>(index)); }

    // The cursor shown over every window of the program (crHourGlass while busy); crDefault gives the
    // controls their own.
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor);

private:
    friend void ScreenAddForm(TForm *);
    friend void ScreenRemoveForm(TForm *);
    friend void ScreenSetActiveForm(TForm *, bool);
    std::vector<TForm *> forms_;
    TForm *activeForm_ = nullptr;
    TCursor cursor_ = crDefault;
    int pixelsPerInch_ = 0;
};

extern TApplication *Application;
extern TScreen *Screen;
