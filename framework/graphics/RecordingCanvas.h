#pragma once
// A canvas that draws nothing: it records every drawing call and measures text with fixed metrics, so
// that layout code can be tested without a screen (in both builds).
//
// Metrics, for a font of h = |Height| pixels: every character is (h + 1) / 2 pixels wide (one more in
// bold), a line is h pixels high, the ascent is h - h / 4 and the descent h / 4.
#include <vector>

#include "framework/graphics/Graphics.h"

struct TCanvasCall {
    AnsiString
        Op;      // "FillRect", "Rectangle", "MoveTo", "LineTo", "TextOut", "TextRect", "DrawText", "CopyRect", "Draw",
                 // "DrawFrameControl", "DrawEdge", "DrawFocusRect", "SetTextJustification"
    TRect Rect;  // the rectangle of FillRect, Rectangle, TextRect, DrawText and CopyRect (destination)
    int X = 0, Y = 0;
    AnsiString Text;
    // The font, colours and flags in effect: font height, style and colour, brush colour, DrawText flags.
    int FontHeight = 0;
    TFontStyles FontStyle = 0;
    TColor FontColor = 0;
    TColor BrushColor = 0;
    unsigned Flags = 0;
    // DrawFrameControl's kind, DrawEdge's edge.
    unsigned Kind = 0;
};

class TRecordingCanvas : public TCanvas {
public:
    explicit TRecordingCanvas(const TRect &clip = Rect(0, 0, 1024, 768)) : clip_(clip) {}

    const std::vector<TCanvasCall> &Calls() const { return calls_; }
    // The calls of one kind, in order.
    std::vector<TCanvasCall> CallsOf(const AnsiString &op) const;
    void ClearCalls() { calls_.clear(); }

    void FillRect(const TRect &rect) override;
    void Rectangle(int left, int top, int right, int bottom) override;
    using TCanvas::Rectangle;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void TextOut(int x, int y, const AnsiString &text) override;
    void TextRect(const TRect &rect, int x, int y, const AnsiString &text) override;
    TSize TextExtent(const AnsiString &text) override;
    int DrawText(const AnsiString &text, TRect &rect, unsigned flags) override;
    TTextMetrics TextMetrics() override;
    void CharWidths(int (&widths)[256]) override;
    TRect ClipRect() override { return clip_; }
    void CopyRect(const TRect &dest, TCanvas &source, const TRect &sourceRect) override;
    void Draw(int x, int y, TBitmap &bitmap) override;
    TColor Pixel(int, int) override { return clNone; }
    // Recorded with the kind (or edge) in Kind and the state (or sides) in Flags; the rectangle is
    // adjusted as the system does for DFCS_ADJUSTRECT and BF_ADJUST.
    void DrawFrameControl(TRect &rect, unsigned kind, unsigned state) override;
    void DrawEdge(TRect &rect, unsigned edge, unsigned sides) override;
    void DrawFocusRect(const TRect &rect) override;
    // Recorded with the extra pixels in X and the count in Y.
    void SetTextJustification(int breakExtra, int breakCount) override;

private:
    int CharWidth() const;
    int LineHeight() const;
    // Lines as DrawText would break them into the given width (0: no wrapping).
    std::vector<AnsiString> BreakLines(const AnsiString &text, int width, unsigned flags) const;
    void Record(const char *op, const TRect &rect, int x, int y, const AnsiString &text, unsigned flags = 0);

    TRect clip_;
    std::vector<TCanvasCall> calls_;
};
