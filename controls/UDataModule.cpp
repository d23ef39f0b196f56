#include "controls/UDataModule.h"

TDM_Misc *DM_Misc = nullptr;

TDM_Misc::TDM_Misc(TComponent *owner) : TDataModule(owner)
{
    SetName("DM_Misc");
    _ImgLs16x16 = MakeImgLs16x16(this);
}

void CreateDM_Misc()
{
    if (!DM_Misc) {
        DM_Misc = new TDM_Misc(nullptr);
        DM_Misc->AfterConstruction();
    }
}

void FreeDM_Misc() { FreeAndNil(DM_Misc); }
