#pragma once
// Common controls: the progress bar, the rich edit and the up-down.
#include "framework/windows/Controls.h"
#include "framework/windows/StdCtrls.h"

class TProgressBar : public TWinControl {
public:
    explicit TProgressBar(TComponent *owner);
    int Min() const { return min_; }
    void SetMin(int min);
    int Max() const { return max_; }
    void SetMax(int max);
    // Kept between Min and Max.
    int Position() const { return position_; }
    void SetPosition(int position);
    int Step() const { return step_; }
    void SetStep(int step) { step_ = step; }
    // Advances by Step, wrapping to Min past Max as the system's bar does.
    void StepIt();
    void StepBy(int delta);

protected:
    void CreateParams(TCreateParams &params) override;
    void InitializeWnd() override;

private:
    void Apply();
    int min_ = 0, max_ = 100, position_ = 0, step_ = 10;
};

// The rich-edit box on the system's rich-edit library, loaded when the first one is made. It is a
// memo: Lines, selection, clipboard, ReadOnly and ScrollBars work as there; PlainText keeps it to
// plain text of one format. Keyboard-layout changes arrive as WM_INPUTLANGCHANGE in WndProc.
class TRichEdit : public TMemo {
public:
    explicit TRichEdit(TComponent *owner);
    bool PlainText() const { return plainText_; }
    // Takes effect when the window is made (the box must be empty to change it).
    void SetPlainText(bool plainText);
    // Scrolls the caret into view.
    void ScrollToCaret();

protected:
    void CreateParams(TCreateParams &params) override;
    void InitializeWnd() override;

private:
    bool plainText_ = false;
};

// Makes the keyboard layout of a language (0x0419 Russian, 0x0422 Ukrainian, 0x0409 English) the
// active one of this thread, loading it when needed; false when the system has none for it.
bool ActivateKeyboardLayoutOf(unsigned short languageId);
// The language of the thread's active keyboard layout.
unsigned short ActiveKeyboardLanguage();

// Arrows that step a number between Min and Max; with an associated control (an edit) the number
// is shown in it.
class TUpDown : public TWinControl {
public:
    explicit TUpDown(TComponent *owner);
    int Min() const { return min_; }
    void SetMin(int min);
    int Max() const { return max_; }
    void SetMax(int max);
    int Increment() const { return increment_; }
    void SetIncrement(int increment);
    // Kept between Min and Max.
    int Position() const;
    void SetPosition(int position);
    TWinControl *Associate() const { return associate_; }
    void SetAssociate(TWinControl *control);
    // Thousands separators in the associated control's number.
    bool Thousands() const { return thousands_; }
    void SetThousands(bool thousands);

    // After an arrow changed the position.
    TNotifyEvent OnClick;

    void WndProc(TMessage &message) override;

protected:
    void CreateParams(TCreateParams &params) override;
    void InitializeWnd() override;
    void Notification(TComponent *component, bool removing) override;

private:
    void Apply();
    int min_ = 0, max_ = 100, increment_ = 1;
    int position_ = 0;
    TWinControl *associate_ = nullptr;
    bool thousands_ = true;
};
