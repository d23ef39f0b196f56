#pragma once
// Windows build only: the GDI objects behind the framework's drawing objects.
#include "framework/WinHandles.h"

class TFont;
class TBrush;
class TPen;

HFONT CreateFontHandle(const TFont &font);
HBRUSH CreateBrushHandle(const TBrush &brush);
HPEN CreatePenHandle(const TPen &pen);
// Deletes a GDI object of any kind; null is ignored.
void DeleteGdiObject(void *object);
