// Loading a stored screen into a table: the storage it comes from, and putting a checked screen into
// the model and the grid.
#include <algorithm>
#include <map>

#include "base/messages/TZExcept.h"
#include "base/messages/zmsg.h"
#include "framework/runtime/SysUtils.h"
#include "framework/windows/GridError.h"
#include "gridtable/screens/GridScreen.h"
#include "gridtable/model/UXGridTabService.h"
#include "storage/compound/dwfile.h"
#include "storage/compound/fun_struct.h"

namespace {

// The shared screens storage a load opened at run time: kept open for the life of the process.
std::unique_ptr<WFile> &SharedScreenFile()
{
    static std::unique_ptr<WFile> file;
    return file;
}

class WFileScreenRecords : public IScreenRecords {
public:
    explicit WFileScreenRecords(WFile &file) : file_(file) {}
    bool Next(std::span<const std::uint8_t> &record) override
    {
        if (!file_.ReadRecord(record_))
            return false;
        record = {record_.Data(), record_.Length()};
        return true;
    }

private:
    WFile &file_;
    WRec record_;
};

// Step of the load: the grid's sizes from the header (widths and heights without the line) and
// default cells with one row description per row.
void ApplySizes(TXGridModel &table, const STabDescription &header)
{
    IXGridHost &host = table.Host;
    host.SetGridSize(header.RowCount, header.ColCount, header.FixedRows, header.FixedCols);
    for (int r = 0; r < header.RowCount; ++r)
        host.SetGridRowHeight(r, header.RowHeights[static_cast<std::size_t>(r)]);
    for (int c = 0; c < header.ColCount; ++c)
        host.SetGridColWidth(c, header.ColWidths[static_cast<std::size_t>(c)]);
    CreateGridCells(table);
    // The component's own font, the current one until the stored fonts replace the table's.
    table.CurrentFontId = AddGridFont(table, GridFontFromTFont(host.GridFont()));
}

// Enters the stored fonts in order and returns, for each stored position, the id it got: a font equal
// to an earlier one takes that font's id.
std::vector<int> ApplyFonts(TXGridModel &table, std::vector<S_SGFont> &fonts)
{
    ClearGridFonts(table);
    std::vector<int> ids;
    ids.reserve(fonts.size());
    for (S_SGFont &font : fonts)
        ids.push_back(AddGridFont(table, std::make_unique<S_SGFont>(std::move(font))));
    return ids;
}

void RenumberRunFonts(TRunList &runs, const std::vector<int> &ids)
{
    for (S_SGText &run : runs)
        if (!run.IsImage() && run.Font < ids.size())
            run.Font = static_cast<std::uint16_t>(ids[run.Font]);
}

}  // namespace

TXGridScreenSource::TXGridScreenSource() = default;
TXGridScreenSource::~TXGridScreenSource() { CloseScreenStorage(*this); }

AnsiString MissingScreenText(int screen)
{
    return "Экрана с номером " + IntToStr(screen) + " не существует для данной таблицы";
}

void OpenScreenStorage(TXGridScreenSource &source, int screen, bool designing)
{
    CloseScreenStorage(source);
    source.Own.reset();  // a table's own file gives way to the screens storage
    source.Designing = designing;
    if (designing) {
        source.Own = std::make_unique<WFile>(DesignScreenFileName());
        source.SharedBefore = RizaFile;
        RizaFile = source.Own.get();
    } else if (RizaFile == nullptr) {
        SharedScreenFile() = std::make_unique<WFile>(RizaFileName, true);
        RizaFile = SharedScreenFile().get();
    }
    source.Storage = RizaFile;
    source.ReadsShared = true;
    source.Storage->OpenLogicalFile(static_cast<std::uint32_t>(screen));
}

void CloseScreenStorage(TXGridScreenSource &source)
{
    if (source.Storage == nullptr)
        return;
    if (source.ReadsShared && !source.Designing) {
        source.Storage = nullptr;
        return;
    }
    if (source.ReadsShared && RizaFile == source.Storage)
        RizaFile = source.SharedBefore;  // what was open before the design-mode load
    source.SharedBefore = nullptr;
    if (source.Own.get() == source.Storage)
        source.Own.reset();
    source.Storage = nullptr;
    source.ReadsShared = false;
}

void OpenScreenFile(TXGridScreenSource &source, const AnsiString &path)
{
    CloseScreenStorage(source);
    source.Own.reset();
    source.Own = std::make_unique<WFile>(path, SimpleMode::Read);
    source.Storage = source.Own.get();
    source.ReadsShared = false;
}

void CloseSharedScreenStorage()
{
    if (SharedScreenFile() == nullptr)
        return;
    if (RizaFile == SharedScreenFile().get())
        RizaFile = nullptr;
    SharedScreenFile().reset();
}

void TrimDateCellRuns(S_XSGCell &cell)
{
    if (cell.EditKind != 6)
        return;
    for (TRunList *runs : {&cell.Runs1, &cell.Runs0}) {
        if (runs->empty())
            continue;
        runs->resize(1);
        runs->front().Flags &= static_cast<std::uint8_t>(~RunShown);
        runs->front().Number = 1;
    }
}

void ApplyGridScreen(TXGridModel &table, SGridScreen &screen, bool designing)
{
    const STabDescription &header = screen.Header;
    ApplySizes(table, header);
    table.Colours.Clear();
    table.Colours.Count = screen.Colours.Count;
    std::copy(std::begin(screen.Colours.Colours), std::end(screen.Colours.Colours), std::begin(table.Colours.Colours));
    const std::vector<int> ids = ApplyFonts(table, screen.Fonts);

    for (int r = 0; r < header.RowCount; ++r) {
        for (int c = 0; c < header.ColCount; ++c) {
            S_XSGCell &cell = table.Rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
            cell = std::move(screen.Cells[static_cast<std::size_t>(r) * header.ColCount + c]);
            RenumberRunFonts(cell.Runs1, ids);
            RenumberRunFonts(cell.Runs0, ids);
            TrimDateCellRuns(cell);
            if (designing)
                table.Host.MeasureGridCell(cell);
            if (cell.EditKind == 5 && CurrentCellTextList(table, cell).empty())
                RebuildFractionCell(table, cell, 0);
        }
    }
}

bool FindEditableCell(TXGridModel &table, bool move)
{
    IXGridHost &host = table.Host;
    table.HasEditable = false;
    const int row = host.GridCurrentRow(), col = host.GridCurrentCol();
    if (row >= host.GridFixedRows() && col >= host.GridFixedCols() && IsCellEditable(table, row, col)) {
        table.HasEditable = true;
        return true;
    }
    const int rows = GetGridRowCount(table), cols = GetGridColCount(table);
    for (int r = host.GridFixedRows(); r < rows; ++r) {
        for (int c = host.GridFixedCols(); c < cols; ++c) {
            if (IsCellEditable(table, r, c)) {
                if (move)
                    host.SetGridCurrentCell(r, c);
                table.HasEditable = true;
                return true;
            }
        }
    }
    return false;
}

bool LoadGridScreen(TXGridModel &table, TXGridScreenSource &source)
{
    SGridScreen screen;
    bool loaded = false;
    try {
        OpenScreenStorage(source, source.NumFileScreen, source.Designing);
        WFileScreenRecords records(*source.Storage);
        loaded = ReadGridScreen(records, screen);
    } catch (const ZError &) {
        // A storage that cannot be opened or read holds no screen for this table.
    } catch (const TZExcept &) {
    } catch (const EInvalidGridOperation &) {
        CloseScreenStorage(source);
        throw;
    }
    CloseScreenStorage(source);

    if (loaded)
        ApplyGridScreen(table, screen, source.Designing);
    if (source.Designing) {
        if (loaded)
            table.Host.SetGridTopLeft(screen.Header.FixedRows, screen.Header.FixedCols);
        else
            table.Host.ShowGridMessage(MissingScreenText(source.NumFileScreen));
        return loaded;
    }
    if (!source.EditorCreated) {
        source.EditorCreated = true;
        table.Host.CreateCellEditor();
    }
    if (loaded)
        FindEditableCell(table, true);
    return loaded;
}
