#include "base/graphics/ZFont.h"

void TZFont::RecreateFont(bool create)
{
    ReleaseHandle();
    if (!create)
        return;
    handle_ = CreateFontFromRecord(LogicalFont());
    if (handle_ != nullptr)
        flags_ |= FlagCurrent;
}

void TZDrawFont::PrepareTextDC(HDC dc)
{
    if (!IsCurrent() || Handle() == nullptr || dc == nullptr)
        return;
    SelectTextFont(dc, Handle(), TZColor::ResolveColor(Color()));
    metrics_ = DCTextMetrics(dc);
    DCCharWidths(dc, widths_);
}
