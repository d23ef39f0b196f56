#include "controls/UDataModule.h"

// The native build has no image lists: the data module stands without one.
TImageList *MakeImgLs16x16(TComponent *) { return nullptr; }
