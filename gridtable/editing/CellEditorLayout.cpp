#include "gridtable/editing/CellEditorLayout.h"

#include <algorithm>

int NumberEditorFormat(int kind)
{
    switch (kind) {
    case EditKindUnsigned: return 2;
    case EditKindSigned: return 3;
    case EditKindWhole: return 1;
    default: return 0;
    }
}

TRect ClipEditorToClient(const TRect &cell, int clientWidth, int clientHeight)
{
    TRect r = cell;
    r.Right = std::max(r.Left, std::min(r.Right, clientWidth));
    r.Bottom = std::max(r.Top, std::min(r.Bottom, clientHeight));
    return r;
}

// ---- the rich editor -------------------------------------------------------------------------------

int RichEditorSecondRow(int extent, int first, int last, int rowCount, int fixedRows, int clientHeight,
                        const std::function<int(int row)> &rowHeight)
{
    if (extent == 0 || extent == 1 || rowCount <= 1)
        return -1;
    const int second = last + 1 < rowCount ? last + 1 : first - 1;
    if (second < fixedRows || second < 0)
        return -1;
    int height = rowHeight(second);
    for (int row = first; row <= last; ++row)
        height += rowHeight(row);
    return height <= clientHeight ? second : -1;
}

TRect RichEditorBounds(int extent, const TRect &cell, int clientBottom, int secondTop, int secondBottom)
{
    if (extent == 1)
        return cell;
    if (extent == 0)
        return Rect(cell.Left, cell.Top, cell.Right, std::max(cell.Top, clientBottom));
    if (secondTop < 0 || secondBottom < secondTop)
        return cell;
    return Rect(cell.Left, std::min(cell.Top, secondTop), cell.Right, std::max(cell.Bottom, secondBottom));
}

// ---- the fraction ----------------------------------------------------------------------------------

TFractionLayout FractionEditorLayout(int clientWidth, int clientHeight, int textHeight)
{
    const int width = std::max(clientWidth, 0);
    const int top = std::max(clientHeight / 2 - textHeight, 0);
    TFractionLayout layout;
    layout.Up = Bounds(0, top, width, textHeight);
    layout.Bar = Bounds(0, layout.Up.Bottom, width, 1);
    layout.Down = Rect(0, layout.Bar.Bottom, width, std::max(clientHeight, layout.Bar.Bottom));
    return layout;
}

// ---- the pickers and the buttons -------------------------------------------------------------------

TRect PlaceEditorOverCell(const TRect &cell, int height, int clientTop, int clientBottom)
{
    int top = cell.Top;
    if (top + height > clientBottom)
        top = std::max(cell.Bottom - height, clientTop);
    return Bounds(cell.Left, top, cell.Width(), height);
}

TPickerLayout PickerEditorLayout(const TRect &cell, int clientTop, int clientBottom, int headHeight, int fieldHeight,
                                 int buttonHeight)
{
    const int width = std::max(cell.Width(), 0);
    const int inner = std::max(width - 2 * EditorMargin, 0);
    TPickerLayout layout;
    layout.Head = Bounds(EditorMargin, EditorMargin, inner, headHeight);
    layout.Field = Bounds(EditorMargin, layout.Head.Bottom + EditorMargin, inner, fieldHeight);
    const int buttonWidth = std::max((width - 3 * EditorMargin) / 2, 0);
    const int buttonTop = layout.Field.Bottom + EditorMargin;
    layout.Save = Bounds(EditorMargin, buttonTop, buttonWidth, buttonHeight);
    layout.Cancel = Bounds(width - EditorMargin - buttonWidth, buttonTop, buttonWidth, buttonHeight);
    layout.Form = PlaceEditorOverCell(cell, layout.Save.Bottom + EditorMargin, clientTop, clientBottom);
    return layout;
}

TButtonsLayout ButtonEditorLayout(const TRect &cell, int clientTop, int clientBottom, int buttonHeight)
{
    const int inner = std::max(cell.Width() - 2 * EditorMargin, 0);
    TButtonsLayout layout;
    layout.First = Bounds(EditorMargin, EditorMargin, inner, buttonHeight);
    layout.Second = Bounds(EditorMargin, layout.First.Bottom + EditorButtonGap, inner, buttonHeight);
    layout.Form = PlaceEditorOverCell(cell, layout.Second.Bottom + EditorMargin, clientTop, clientBottom);
    return layout;
}

// ---- what the date and list editors start with ----------------------------------------------------

bool PrepareDateCellRuns(TXGridModel &table, S_XSGCell &cell, const AnsiString &today)
{
    if (GetRunCount(table, cell) >= 3)
        return false;
    TRunList &runs = CurrentCellTextList(table, cell);
    S_SGText heading;  // shown, kind 1, font 0
    if (!runs.empty()) {
        const auto one = std::find_if(runs.begin(), runs.end(), [](const S_SGText &r) { return r.Number == 1; });
        heading = one != runs.end() ? *one : runs.front();
    }
    if (heading.IsImage())
        heading = S_SGText{};  // an image heads no date: a plain empty heading in font 0
    heading.Left = heading.Top = heading.Width = heading.Height = 0;
    heading.Flags = static_cast<std::uint8_t>(heading.Flags & ~RunShown);
    heading.Number = 1;

    S_SGText date = heading;
    date.Text = today;
    date.Number = 2;
    S_SGText shown = date;
    shown.Flags |= RunShown;
    shown.Number = 3;

    runs.clear();
    runs.push_back(heading);
    runs.push_back(date);
    runs.push_back(shown);
    cell.Flags |= CellCompact;
    return true;
}

TListCellItems ListCellItems(const TXGridModel &table, S_XSGCell &cell)
{
    TListCellItems items;
    const int count = GetRunCount(table, cell);
    for (int i = 0; i < count; ++i) {
        const S_SGText *run = GetRunAt(table, cell, i);
        if (run->Number == 1)
            continue;
        if (items.Selected < 0 && run->Shown())
            items.Selected = static_cast<int>(items.Items.size());
        items.Items.push_back(run->Text);
    }
    return items;
}
