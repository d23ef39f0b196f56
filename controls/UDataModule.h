#pragma once
// The process-wide data module of the controls: it holds the shared image list of 16 x 16 glyphs
// (EImgLs16x16 names them) that buttons and the grid table draw from.
#include "framework/runtime/Component.h"

class TImageList;

class TDM_Misc : public TDataModule {
public:
    // Makes the image list and loads the glyph strip from the program's resources. A program built
    // without the strip gets an empty list (nothing is drawn); the native build has no image lists.
    explicit TDM_Misc(TComponent *owner);

    TImageList *_ImgLs16x16 = nullptr;
};

// The one instance, from the controls' start-up to their shutdown; null outside that time.
extern TDM_Misc *DM_Misc;
// Start-up step: makes DM_Misc, without owner, unless it exists.
void CreateDM_Misc();
// Shutdown step: frees DM_Misc and clears the pointer.
void FreeDM_Misc();

// The image list of 16 x 16 glyphs, loaded from the strip; null where there are no image lists.
TImageList *MakeImgLs16x16(TComponent *owner);
