#include "base/graphics/ZFont.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "framework/graphics/GdiObjects.h"

namespace {

constexpr std::uint8_t SizePointsTable[TZFont::SizeCount] = {5,  7,  8,  9,  10, 11, 12, 14, 16,
                                                             18, 20, 22, 24, 26, 28, 36, 48, 72};
constexpr std::uint16_t WeightTable[TZFont::WeightCount] = {0,   100, 200, 200, 300, 400, 400, 500,
                                                            600, 600, 700, 800, 800, 900, 900};
constexpr std::string_view FaceTable[TZFont::FaceCount] = {
    "", "Microsoft Sans Serif", "Arial", "Arial Cyr", "Times New Roman", "Courier New",
};
constexpr std::uint8_t WeightIndexNormal = 5, WeightIndexBold = 10;
constexpr std::uint16_t WeightNormal = 400, WeightBold = 700;
constexpr std::uint8_t BlackIndex = 29;

// The first index of `table` holding `value`, or its length.
template <class T, std::size_t N>
std::uint8_t IndexIn(const T (&table)[N], T value)
{
    return static_cast<std::uint8_t>(std::find(table, table + N, value) - table);
}

// Holds an attribute's index and value; false when both are held already.
template <class V>
bool Replace(std::uint8_t &index, std::uint8_t newIndex, V &value, V newValue)
{
    if (index == newIndex && value == newValue)
        return false;
    index = newIndex;
    value = newValue;
    return true;
}

// The system's family hints by face index: 1 roman, 3 and 4 swiss, 5 modern.
std::uint8_t FamilyOfFace(std::uint8_t faceIndex)
{
    switch (faceIndex) {
    case 1: return 0x10;
    case 3:
    case 4: return 0x20;
    case 5: return 0x30;
    default: return 0;
    }
}

}  // namespace

TZFont::TZFont()
    : sizeIndex_(SizeCount), colorIndex_(BlackIndex), weightIndex_(WeightIndexNormal),
      color_(TZColor::ValueOf(BlackIndex)), weight_(WeightNormal)
{}

TZFont::~TZFont() { ReleaseHandle(); }

void TZFont::ReleaseHandle()
{
    DeleteGdiObject(handle_);
    handle_ = nullptr;
    Changed();
}

void TZFont::TakeOver(const TFont &font)
{
    SetFaceName(font.Name());
    int points = font.Size();
    if (points >= 0 && points <= 0xFF)
        SetSizePoints(static_cast<std::uint8_t>(points));
    SetItalic((font.Style() & fsItalic) != 0);
    SetUnderline((font.Style() & fsUnderline) != 0);
    bool bold = (font.Style() & fsBold) != 0;
    SetFlag(FlagBold, bold);
    SetWeightIndex(bold ? WeightIndexBold : WeightIndexNormal);
}

void TZFont::SetFlag(std::uint8_t flag, bool on)
{
    std::uint8_t flags = static_cast<std::uint8_t>(on ? flags_ | flag : flags_ & ~flag);
    if (flags != flags_) {
        flags_ = flags;
        Changed();
    }
}

void TZFont::SetBold(bool on)
{
    SetFlag(FlagBold, on);
    SetWeight(on ? WeightBold : WeightNormal);
}

void TZFont::SetFaceIndex(std::uint8_t index)
{
    if (index >= FaceCount)
        index = 0;
    if (index == faceIndex_ && FaceTable[index] == faceName_)
        return;
    faceIndex_ = index;
    std::memcpy(faceName_, FaceTable[index].data(), FaceTable[index].size());
    faceName_[FaceTable[index].size()] = 0;
    Changed();
}

void TZFont::SetFaceName(std::string_view name)
{
    name = name.substr(0, std::min(name.size(), FaceNameSize - 1));
    if (name == faceName_)
        return;
    std::memcpy(faceName_, name.data(), name.size());
    faceName_[name.size()] = 0;
    faceIndex_ = IndexIn(FaceTable, name);
    if (faceIndex_ == FaceCount)
        faceIndex_ = 0;
    Changed();
}

void TZFont::SetSizeIndex(std::uint8_t index)
{
    if (index < SizeCount && Replace(sizeIndex_, index, sizePoints_, SizePointsTable[index]))
        Changed();
}

void TZFont::SetSizePoints(std::uint8_t points)
{
    if (Replace(sizeIndex_, IndexIn(SizePointsTable, points), sizePoints_, points))
        Changed();
}

void TZFont::SetColorIndex(std::uint8_t index)
{
    if (index < TZColor::Count && Replace(colorIndex_, index, color_, TZColor::ValueOf(index)))
        Changed();
}

void TZFont::SetColor(TColor value)
{
    std::uint8_t index = TZColor::IndexOf(value);
    TColor held = index < TZColor::SystemCount ? TZColor::ResolveColor(value) : value;
    if (Replace(colorIndex_, index, color_, held))
        Changed();
}

void TZFont::SetAngleIndex(std::uint8_t index)
{
    if (index < AngleCount && Replace(angleIndex_, index, angle_, static_cast<std::uint16_t>(index * 45)))
        Changed();
}

void TZFont::SetAngle(std::uint16_t degrees)
{
    if (degrees > 360)
        return;
    if (degrees == 360)
        degrees = 0;
    std::uint8_t index = degrees % 45 == 0 ? static_cast<std::uint8_t>(degrees / 45) : AngleCount;
    if (Replace(angleIndex_, index, angle_, degrees))
        Changed();
}

void TZFont::SetWeightIndex(std::uint8_t index)
{
    if (index < WeightCount && Replace(weightIndex_, index, weight_, WeightTable[index]))
        Changed();
}

void TZFont::SetWeight(std::uint16_t weight)
{
    if (weight <= 900 && Replace(weightIndex_, IndexIn(WeightTable, weight), weight_, weight))
        Changed();
}

void TZFont::SetPitch(std::uint8_t pitch)
{
    if (pitch >= PitchCount || pitch == pitch_)
        return;
    pitch_ = pitch;
    Changed();
}

std::int32_t TZFont::FontHeightToPixels(int pixelsPerInch, int zoomPercent)
{
    long long scaled = static_cast<long long>(sizePoints_) * zoomPercent;
    scaled = std::clamp<long long>(scaled, INT_MIN, INT_MAX);
    std::int32_t height = MulDivRound(static_cast<int>(scaled), pixelsPerInch, 7200);
    if (height != height_) {
        height_ = height;
        Changed();
    }
    return height_;
}

TFontRecord TZFont::LogicalFont() const
{
    TFontRecord record;
    record.Height = -height_;
    record.Escapement = record.Orientation = angle_ * 10;
    record.Weight = weight_;
    record.Italic = (flags_ & FlagItalic) != 0;
    record.Underline = (flags_ & FlagUnderline) != 0;
    record.CharSet = CyrillicCharset;
    record.PitchAndFamily = static_cast<std::uint8_t>(pitch_ | FamilyOfFace(faceIndex_));
    record.FaceName = faceName_;
    return record;
}
