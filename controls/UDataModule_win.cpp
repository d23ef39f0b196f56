#include "controls/UDataModule.h"
#include "framework/graphics/ImgList.h"
#include "resources/glyphs16.h"

TImageList *MakeImgLs16x16(TComponent *owner)
{
    auto *list = new TImageList(owner, 16, 16);
    list->SetName("_ImgLs16x16");
    // The strip's magenta is the transparent colour.
    list->LoadFromResourceID(IDB_GLYPHS16, clFuchsia);
    return list;
}
