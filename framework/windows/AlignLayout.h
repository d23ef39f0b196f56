#pragma once
// Where aligned controls go inside their parent's client area: top-aligned controls stack downwards
// from the top (in order of their Top), bottom-aligned upwards from the bottom, then left- and
// right-aligned ones share the height that is left, and client-aligned ones fill what remains.
// Controls aligned alNone or alCustom, and hidden ones, keep their bounds and take no room.
#include <vector>

#include "framework/windows/Controls.h"

struct TAlignItem {
    TAlign Align = alNone;
    TRect Bounds;
    bool Visible = true;
};

std::vector<TRect> LayoutAligned(const TRect &client, const std::vector<TAlignItem> &items);
