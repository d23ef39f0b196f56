#pragma once
// A stored table screen written where a table at run time looks for it, and a form holding one table
// that shows it. Windows build only.
#include <string>
#include <vector>

#include "base/AppPaths.h"
#include "controls/UDataModule.h"
#include "framework/Forms.h"
#include "framework/SysUtils.h"
#include "gridtable/UXGridTable.h"
#include "storage/fun_struct.h"
#include "storage/rdwr_cfg.h"
#include "tests/support/GridScreenBuilder.h"
#include "tests/support/ScopedAliases.h"
#include "tests/support/TempFolder.h"

namespace gridtest {

inline testdata::ScreenRun Run(uint16_t font, const std::string &text, uint16_t number)
{
    testdata::ScreenRun run;
    run.font = font;
    run.text = text;
    run.number = number;
    return run;
}

// Both language lists get the same runs.
inline void Texts(testdata::ScreenCell &cell, std::vector<testdata::ScreenRun> runs)
{
    cell.runs1 = runs;
    cell.runs0 = std::move(runs);
}

// A form built in code holding one table that shows stored screen 7 (or another) of "Riza.sfr" in the
// folder of the CFG alias.
class TTableForm : public TForm {
public:
    explicit TTableForm(TComponent *owner, int screen = 7) : TForm(owner)
    {
        BeginLoading();
        SetBorderStyle(bsNone);
        SetColor(clBtnFace);
        SetBounds(0, 0, 470, 250);
        Table = new TXGridTable(this);
        Table->SetParent(this);
        Table->SetBounds(8, 8, 454, 234);
        Table->SetBorderStyle(ebsSingle);
        Table->SetNumFileScreen(screen);
        EndLoading();
    }
    TXGridTable *Table;
};

// The screen written where the table looks for it, and the configuration colours of run time.
struct StoredScreen {
    TempFolder temp;
    TScopedAliases aliases{{"CFG", temp.Path()}};
    s_Cfg cfg;
    s_Cfg *before = Cfg;
    bool ownImages = DM_Misc == nullptr;
    explicit StoredScreen(const testdata::GridScreenBuilder &b)
    {
        if (ownImages)
            CreateDM_Misc();
        const testdata::Bytes file = b.File(7, 8);
        WriteWholeFile(temp / "Riza.sfr", std::string(file.begin(), file.end()));
        cfg.SetU32(CfgField::MarkedFixedColour, 0xC8D0D4);
        cfg.SetU32(CfgField::MarkedEditableColour, 0xE8FFE8);
        cfg.SetU32(CfgField::SelectedCellColour, 0xA0FFFF);
        cfg.SetU32(CfgField::RowSelectionColour, 0x90EE90);
        Cfg = &cfg;
    }
    ~StoredScreen()
    {
        Cfg = before;
        CloseSharedScreenStorage();  // before the folder goes
        if (ownImages)
            FreeDM_Misc();
    }
};

}  // namespace gridtest
