#pragma once
// Windows build only: the GDI objects behind the framework's drawing objects.
#include "framework/WinHandles.h"

class TFont;

HFONT CreateFontHandle(const TFont &font);
// Deletes a GDI object of any kind; null is ignored.
void DeleteGdiObject(void *object);
