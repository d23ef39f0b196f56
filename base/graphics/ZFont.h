#pragma once
// A compact font description: a font's attributes kept as small table indexes and their values,
// from which the system font is made on demand, and its drawing record, which also holds the
// character widths and text metrics of a device context prepared for drawing with it.
//
// Every setter clears the "current" flag (the system font no longer matches) unless the value is
// the one already held; a value outside its bounds is ignored. Setting by index takes the value
// from the index's table; setting by value looks up the first index with an equal value, or the
// table's length when there is none.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/graphics/ZColor.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/WinHandles.h"

class TZFont {
public:
    enum : std::uint8_t { FlagItalic = 0x01, FlagUnderline = 0x02, FlagBold = 0x04, FlagCurrent = 0x80 };
    // Table lengths, also the index of a value no row holds.
    static constexpr std::uint8_t SizeCount = 18, AngleCount = 8, WeightCount = 15, PitchCount = 3, FaceCount = 6;
    // The face name field: 31 bytes and the terminating zero.
    static constexpr std::size_t FaceNameSize = 32;
    static constexpr std::uint8_t CyrillicCharset = 204;

    // Not italic, underlined or bold, no face, weight index 5 (400) and colour index 29 (black).
    TZFont();
    ~TZFont();
    TZFont(const TZFont &) = delete;
    TZFont &operator=(const TZFont &) = delete;

    // Takes over a framework font's face name, size in points, italic and underline, and its
    // boldness as weight index 10 (700) or 5 (400).
    void TakeOver(const TFont &font);

    std::uint8_t Flags() const { return flags_; }
    bool IsCurrent() const { return (flags_ & FlagCurrent) != 0; }
    void SetItalic(bool on) { SetFlag(FlagItalic, on); }
    void SetUnderline(bool on) { SetFlag(FlagUnderline, on); }
    // Bold is weight 700, not bold 400.
    void SetBold(bool on);

    // 1 "Microsoft Sans Serif", 2 "Arial", 3 "Arial Cyr", 4 "Times New Roman", 5 "Courier New"; any
    // other index clears the face (index 0, empty name).
    std::uint8_t FaceIndex() const { return faceIndex_; }
    const char *FaceName() const { return faceName_; }
    void SetFaceIndex(std::uint8_t index);
    // A name longer than 31 bytes keeps its first 31.
    void SetFaceName(std::string_view name);

    // Sizes 5 to 72 points in 18 steps.
    std::uint8_t SizeIndex() const { return sizeIndex_; }
    std::uint8_t SizePoints() const { return sizePoints_; }
    void SetSizeIndex(std::uint8_t index);
    void SetSizePoints(std::uint8_t points);

    // Colour indexes and values of TZColor; a system colour set by value is held as the colour it
    // shows now.
    std::uint8_t ColorIndex() const { return colorIndex_; }
    TColor Color() const { return color_; }
    void SetColorIndex(std::uint8_t index);
    void SetColor(TColor value);

    // Angles in steps of 45 degrees; by value 0-360, 360 held as 0.
    std::uint8_t AngleIndex() const { return angleIndex_; }
    std::uint16_t Angle() const { return angle_; }
    void SetAngleIndex(std::uint8_t index);
    void SetAngle(std::uint16_t degrees);

    // Weights 0-900 by index 0-14.
    std::uint8_t WeightIndex() const { return weightIndex_; }
    std::uint16_t Weight() const { return weight_; }
    void SetWeightIndex(std::uint8_t index);
    void SetWeight(std::uint16_t weight);

    // 0 default, 1 fixed, 2 variable.
    std::uint8_t Pitch() const { return pitch_; }
    void SetPitch(std::uint8_t pitch);

    // The character height in device units for a density and a zoom in percent: points × zoom ×
    // pixels per inch / 7200, rounded; held for the next RecreateFont and returned.
    std::int32_t FontHeightToPixels(int pixelsPerInch, int zoomPercent);
    std::int32_t HeightPixels() const { return height_; }

    // The logical-font record the system font is made from: the height as a character height,
    // escapement and orientation in tenths of a degree, the Cyrillic character set, the pitch and
    // the family hint of the face index.
    TFontRecord LogicalFont() const;
    // Deletes the system font, then, when `create` is set, makes a new one from LogicalFont and
    // marks it current. Windows build only.
    void RecreateFont(bool create = true);
    HFONT Handle() const { return handle_; }

private:
    void SetFlag(std::uint8_t flag, bool on);
    void ReleaseHandle();
    void Changed() { flags_ &= static_cast<std::uint8_t>(~FlagCurrent); }

    std::uint8_t flags_ = 0;
    std::uint8_t faceIndex_ = 0;
    std::uint8_t sizeIndex_ = 0;
    std::uint8_t colorIndex_ = 0;
    std::uint8_t angleIndex_ = 0;
    std::uint8_t weightIndex_ = 0;
    std::uint8_t pitch_ = 0;
    std::uint8_t sizePoints_ = 0;
    TColor color_ = 0;
    std::uint16_t angle_ = 0;
    std::uint16_t weight_ = 0;
    char faceName_[FaceNameSize] = {};
    HFONT handle_ = nullptr;
    std::int32_t height_ = 0;
};

// A font description with what drawing text with it needs: the widths of the characters 0-255 and
// the text metrics of its font.
class TZDrawFont : public TZFont {
public:
    const int *CharWidths() const { return widths_; }
    const TTextMetrics &Metrics() const { return metrics_; }

    // When the system font is current: selects it into the device context (where it stays), measures
    // the widths and metrics, and sets the context to draw text from the baseline at the left, in
    // the font's colour, on a transparent background. Windows build only.
    void PrepareTextDC(HDC dc);

private:
    int widths_[256] = {};
    TTextMetrics metrics_;
};
