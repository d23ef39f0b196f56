// The resource number of the strip of 16 x 16 glyphs (resources/glyphs16.bmp, drawn by tools/glyphs16).
#pragma once
#define IDB_GLYPHS16 2001
