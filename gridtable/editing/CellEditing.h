#pragma once
// The in-cell editors apart from their windows: what each editor writes into the cell's runs when
// its text is applied, the number editors' key and paste filters, the editor menus' captions, items
// and shortcuts, and the unit's small text and number helpers.
#include <vector>

#include "framework/runtime/AnsiString.h"
#include "framework/windows/Menus.h"
#include "framework/runtime/SysUtils.h"
#include "gridtable/model/UXGridTabService.h"

class TStrings;

// ---- what the editors write ------------------------------------------------------------------------
// Every write goes into the current language's list and lays the cell out again at its own width.

// Run 1 gets the text: a new run numbered 1 when the list is empty or has no run 1, else run 1's text
// is replaced.
void WriteCellRunOne(TXGridModel &table, S_XSGCell &cell, const AnsiString &text);

// The number editor's text as it is stored: an empty text, or one made only of zeros in a cell of
// kind 1 to 3, becomes "0".
AnsiString StoredNumberText(const AnsiString &text, int editKind);
// Writes the stored form of the number editor's text into run 1; returns what was written.
AnsiString ApplyNumberEditorText(TXGridModel &table, S_XSGCell &cell, const AnsiString &text);

// The fraction's two texts as stored: each non-empty text read as a number with the decimal comma
// and written back rounded to 9 decimals without trailing zeros, an empty one "0"; the narrower padded
// with blanks on both sides to the other's length (the odd blank on the left); the numerator ended
// by a line feed so that the denominator comes out on the next line.
struct TFractionTexts {
    AnsiString Numerator, Denominator;
};
// False, and nothing made, when a non-empty text is not a number (a "," alone, say).
bool MakeFractionTexts(const AnsiString &numerator, const AnsiString &denominator, TFractionTexts &out);
// Writes them: run 1 the numerator (a new run 1 goes first, in an underlined copy of font 0), run 2
// the denominator (a new one right after run 1, in font 0). False, and the cell left as it was, when
// a text is not a number.
bool ApplyFractionEditorTexts(TXGridModel &table, S_XSGCell &cell, const AnsiString &numerator,
                              const AnsiString &denominator);

// The text with each line break (CR LF, or CR alone as a rich edit control gives it) as a line feed,
// the break the cell layout knows.
AnsiString LineFeedBreaks(const AnsiString &text);
// The rich editor's text, its line breaks as line feeds, goes into run 1, whatever run it was opened
// on.
void ApplyRichEditorText(TXGridModel &table, S_XSGCell &cell, const AnsiString &text);

// The date editor: an empty date text is first made from the date control's own date
// ("dd.mm.yyyy"); runs 2 and 3 get it (each added when missing). Returns the text written.
AnsiString ApplyDateEditorText(TXGridModel &table, S_XSGCell &cell, const AnsiString &dateText, TDateTime controlDate);

// The list editor's items are every run but the heading run 1. Hides every run and shows the first
// item run whose text is the chosen item; false, and nothing hidden, when no item run has that text.
bool ApplyListEditorChoice(TXGridModel &table, S_XSGCell &cell, const AnsiString &item);

// ---- number filters --------------------------------------------------------------------------------
// Number editors are of edit kinds 1 to 3: 1 a number that is not negative, 2 a signed number, 3 digits
// only.

// A character typed into a number editor of the kind whose text is `text` with the caret at
// `selStart`: the base library's filter of the kind decides, Ctrl+C and Ctrl+X pass. Ctrl+A, Ctrl+V,
// Enter and Esc are refused, as their keys act on their own (select all, a filtered paste, apply,
// cancel). Returns the character, or 0 when it is refused. Any other kind takes every character.
char FilterNumberEditorKey(int kind, char key, const AnsiString &text, int selStart);

// The text that a paste puts into a number editor of the kind: the clipboard's text with its line
// breaks removed and trimmed, each "." made ",", checked character by character as if typed at the
// caret of `text` (the editor's text without its selection); "" when any character is refused (then
// nothing is pasted). Any other kind takes the cleaned text as it is.
AnsiString FilterNumberText(int kind, const AnsiString &clipboardText, const AnsiString &text, int selStart);

// ---- editor menus ----------------------------------------------------------------------------------
// An item's Tag is its command: 0 the separator, 1 apply the rich editor, 2 apply the single-line
// editor, 3 cancel, 4 cut, 5 copy, 6 paste, 7 delete, 8 select all.
constexpr int EditorMenuCommandCount = 9;

// The two rows of captions (0 Russian, 1 Ukrainian), made by the library's start-up and cleared by its
// shutdown (every caption reads "" meanwhile).
void MakeEditorMenuCaptions();
void ClearEditorMenuCaptions();
// The caption of a command in a row; "" outside the table.
AnsiString EditorMenuCaption(int row, int tag);
// The row of the message language: 0 when the configuration's message-language byte is non-zero
// (Russian), else 1.
int EditorMenuCaptionRow();
// The commands of an item list such as "2|3|0|4|5|6|7|0|8", in order; a piece that is no command
// number makes no item.
std::vector<int> EditorMenuItemTags(const AnsiString &itemList);
// The shortcut shown with a command: 1 Ctrl+Enter, 2 Enter, 3 Esc, 4 Ctrl+X, 5 Ctrl+C, 6 Ctrl+V,
// 7 Del, 8 Ctrl+A; 0 for the others.
TShortCut EditorMenuShortCut(int tag);

// ---- text and number helpers -----------------------------------------------------------------------

// 1, 0 or -1 as a is larger than, equal to or smaller than b once both are rounded to the decimals.
int CompareRoundedNumbers(int decimals, double a, double b);
// Clears the list and adds the pieces of the text between the separators, in order (joined with the
// separator they give the text back: an empty text is one empty piece). An empty separator gives the
// text as one piece.
void SplitTextToList(TStrings &list, const AnsiString &text, const AnsiString &separator);
