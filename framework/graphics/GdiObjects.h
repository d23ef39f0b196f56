#pragma once
// The system objects behind the framework's drawing objects: made in the Windows build; the native
// build, which has no system to draw with, makes none and gives null.
#include "framework/graphics/WinHandles.h"

class TFont;
class TBrush;
class TPen;

HFONT CreateFontHandle(const TFont &font);
HBRUSH CreateBrushHandle(const TBrush &brush);
HPEN CreatePenHandle(const TPen &pen);
// Deletes a GDI object of any kind; null is ignored.
void DeleteGdiObject(void *object);
