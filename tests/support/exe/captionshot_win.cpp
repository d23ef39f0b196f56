// A form with an extra button drawn into its caption bar, left of the system's buttons, by a hook on
// its window procedure; its client area shows the framework's drawn elements (themed when the system's
// visual styles are on, classic otherwise). Shown for a few seconds inside a Wine desktop so that the
// test runner can take a screenshot of the frame and caption (tools/test saves it).
#include <windows.h>

#include "framework/windows/ExtCtrls.h"
#include "framework/windows/Forms.h"
#include "framework/windows/NonClient.h"
#include "framework/windows/Subclass.h"
#include "framework/graphics/Themes.h"

namespace {
class TCaptionShotForm : public TForm {
public:
    explicit TCaptionShotForm(TComponent *owner) : TForm(owner)
    {
        SetCaption("Кнопка в заголовке окна");
        SetPosition(poScreenCenter);
        SetClientWidth(460);
        SetClientHeight(200);
        SetColor(clBtnFace);
        OnPaint = [this](TObject *) { PaintElements(); };

        auto *panel = new TPanel(this);
        panel->SetParent(this);
        panel->SetBounds(300, 110, 150, 76);
        panel->SetBevelOuter(bvRaised);
        panel->SetBevelInner(bvLowered);
        panel->SetCaption("Панель");

        auto *timer = new TTimer(this);
        timer->SetInterval(8000);
        timer->OnTimer = [](TObject *) { Application->Terminate(); };
    }
    ~TCaptionShotForm() override { hook_.Unhook(); }

    void HookCaption()
    {
        hook_.Hook(Handle(), [this](TMessage &m) { CaptionProc(m); });
        RepaintFrame(Handle());
    }

private:
    // Where the extra button goes: one caption button's place left of the three system ones.
    TRect ButtonRect() const
    {
        int size = Screen->SystemMetric(smCxSize), frame = Screen->SystemMetric(smCxFrame);
        int left = Width() - frame - 4 * size + 2;
        int top = Screen->SystemMetric(smCyFrame) + 2;
        return Bounds(left, top, size - 2, Screen->SystemMetric(smCySize) - 4);
    }

    void CaptionProc(TMessage &m)
    {
        hook_.CallOldProc(m);
        switch (m.Msg) {
        case WM_NCPAINT:
        case WM_NCACTIVATE:
        case WM_SIZE: DrawButton(); break;
        case WM_NCHITTEST:
            // The caption does not start a drag on the button.
            if (m.Result == HTCAPTION) {
                TPoint p = ScreenToWindow(Handle(), PointFromLParam(m.LParam));
                TRect r = ButtonRect();
                if (p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom)
                    m.Result = HTBORDER;
            }
            break;
        default: break;
        }
    }

    void DrawButton()
    {
        TWindowCanvas canvas(Handle());
        DrawElement(canvas, CaptionButtonElement(tcbHelp, tsNormal), ButtonRect());
    }

    void PaintElements()
    {
        TCanvas *c = Canvas();
        c->Font()->Assign(*Font());
        c->Brush()->SetStyle(bsClear);
        struct Sample {
            TThemeElement element;
            const char *text;
        } samples[] = {
            {PushButtonElement(tsNormal), "Обычная"},      {PushButtonElement(tsPressed), "Нажата"},
            {PushButtonElement(tsDisabled), "Недоступна"}, {CheckBoxElement(tcUnchecked, tsNormal), ""},
            {CheckBoxElement(tcChecked, tsNormal), ""},    {CheckBoxElement(tcMixed, tsNormal), ""},
            {CheckBoxElement(tcChecked, tsDisabled), ""},  {ComboDropButtonElement(tsNormal), ""},
            {ComboDropButtonElement(tsPressed), ""},       {CaptionButtonElement(tcbHelp, tsPressed), ""},
        };
        // The first row as the system draws it (themed when its styles are on), the second classic.
        TRecordingThemeLibrary classic(false);
        for (int row = 0; row < 2; ++row) {
            SetThemeLibrary(row ? &classic : nullptr);
            int top = row ? 120 : 10;
            int x = 10;
            for (int i = 0; i < 3; ++i, x += 96) {
                TRect r = Bounds(x, top, 88, 25);
                DrawElement(*c, samples[i].element, r);
                TRect content = ElementContentRect(*c, samples[i].element, r);
                c->DrawText(samples[i].text, content, dtCenter | dtVCenter | dtSingleLine);
            }
            x = 10;
            for (int i = 3; i < 10; ++i, x += 30)
                DrawElement(*c, samples[i].element, Bounds(x, top + 40, i < 7 ? 13 : 17, i < 7 ? 13 : 17));
        }
        SetThemeLibrary(nullptr);
        TRect frame = Bounds(300, 10, 150, 22);
        DrawElement(*c, ComboBoxFrameElement(tfsNormal), frame);
        DrawElement(*c, ComboDropButtonElement(tsNormal), Rect(frame.Right - 19, 12, frame.Right - 2, 30));
        TRect text = Rect(304, 12, frame.Right - 21, 30);
        c->DrawText("01.12.2026", text, dtLeft | dtVCenter | dtSingleLine | dtExternalLeading | dtNoPrefix);
        c->DrawFocusRect(Rect(302, 13, frame.Right - 21, 29));
        TRect edge = Bounds(300, 40, 150, 56);
        c->DrawEdge(edge, EDGE_ETCHED, BF_RECT | BF_ADJUST);
        c->SetTextJustification(30, 2);
        c->TextOut(edge.Left + 4, edge.Top + 4, "Строка по ширине");
        c->SetTextJustification(0, 0);
        c->TextOut(edge.Left + 4, edge.Top + 24, "Строка по ширине");
        c->Brush()->SetStyle(bsSolid);
    }

    TSubClass hook_;
};
}  // namespace

int main()
{
    TCaptionShotForm *form;
    Application->CreateForm(form);
    form->Show();
    form->HookCaption();
    Application->Run();
    return 0;
}
