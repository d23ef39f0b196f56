#pragma once
// A stored table screen written where a table at run time looks for it, and a form holding one table
// that shows it. Windows build only.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "base/files/AppPaths.h"
#include "controls/UDataModule.h"
#include "framework/windows/Forms.h"
#include "framework/runtime/SysUtils.h"
#include "gridtable/UXGridTable.h"
#include "storage/compound/fun_struct.h"
#include "storage/config/rdwr_cfg.h"
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

// Font 0 Arial 10 and font 1 the same underlined, as a fraction's numerator takes it.
inline std::vector<testdata::ScreenFont> ArialFonts()
{
    testdata::ScreenFont plain;
    plain.name = "Arial";
    plain.size = 10;
    plain.height = -13;
    testdata::ScreenFont under = plain;
    under.style = 0x04;
    return {plain, under};
}

// A run that is not shown.
inline testdata::ScreenRun Hidden(uint16_t font, const std::string &text, uint16_t number)
{
    testdata::ScreenRun run = Run(font, text, number);
    run.flags = 0x04;  // kind 1, not shown
    return run;
}

inline void Pump()
{
    for (int i = 0; i < 20; ++i)
        Application->ProcessMessages();
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

// The table shown on its form, stored screen and all; the editors' menus are captioned in the message
// language given (of the moment the screen loads).
struct ShownTable {
    StoredScreen stored;
    TTableForm *form;
    TXGridTable *table;
    explicit ShownTable(const testdata::GridScreenBuilder &b, int screen = 7, std::uint8_t messageLanguage = 1)
        : stored(b), form(MakeForm(stored, screen, messageLanguage)), table(form->Table)
    {
        form->Show();
        Pump();
    }
    ~ShownTable() { form->Free(); }
    ShownTable(const ShownTable &) = delete;
    ShownTable &operator=(const ShownTable &) = delete;

    static TTableForm *MakeForm(StoredScreen &stored, int screen, std::uint8_t messageLanguage)
    {
        stored.cfg.SetByte(CfgField::MessageLanguage, messageLanguage);
        return new TTableForm(nullptr, screen);
    }
    // The cell's point in the table's client area.
    POINT Centre(int row, int col)
    {
        const TRect r = table->GetGridCellRect(col, row);
        return POINT{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    }
    // A double click on the cell, as the window system delivers it.
    void DoubleClick(int row, int col)
    {
        const POINT p = Centre(row, col);
        SendMessageW(table->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
        SendMessageW(table->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
        SendMessageW(table->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(p.x, p.y));
        SendMessageW(table->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    }
    // The cell's rectangle on the screen, cut at the table's client area.
    TRect ScreenRect(int row, int col)
    {
        TRect r = table->GetGridCellRect(col, row);
        r.Right = std::min(r.Right, table->ClientWidth());
        r.Bottom = std::min(r.Bottom, table->ClientHeight());
        const TPoint at = table->ClientToScreen(Point(r.Left, r.Top));
        return Bounds(at.X, at.Y, r.Width(), r.Height());
    }
    int ClientBottomOnScreen() { return table->ClientToScreen(Point(0, table->ClientHeight())).Y; }
    // The cell (a span's master) and its current runs as whole runs, and their texts.
    S_XSGCell &Cell(int row, int col) { return *GetGridCell(table->Model(), row, col, true); }
    TRunList Runs(int row, int col) { return SnapshotCellTexts(table->Model(), Cell(row, col)); }
    std::vector<AnsiString> Texts(int row, int col)
    {
        std::vector<AnsiString> texts;
        for (const S_SGText &run : Runs(row, col))
            texts.push_back(run.Text);
        return texts;
    }
};

}  // namespace gridtest
