#pragma once
// The library's small utilities for the text layer and the windows: key and paste filters and checks
// for number texts, "#"- and separator-marked texts to and from line lists and memos, file-name checks
// and composed file names, case rules for keys in code page 1251, a byte counter, the field record
// TZTabField, menus enabled and shown by item name, shortcut texts, forms rescaled and placed for the
// screen, clipboard text and the icons of an executable.
#include <array>
#include <cstdint>
#include <functional>

#include "framework/runtime/AnsiString.h"
#include "framework/runtime/Component.h"
#include "framework/runtime/SysUtils.h"
#include "framework/runtime/Types.h"

class TCanvas;
class TControl;
class TCustomEdit;
class TFont;
class TForm;
class TList;
class TMemo;
class TMenuItem;
class TSpeedButton;
class TStrings;
class TWinControl;

// One field description of a record, made and filled by the record-field codec. Lists of them are
// plain TList objects owned by their user and freed with FreeObjectList.
class TZTabField : public TObject {
public:
    AnsiString Name;
    std::uint8_t Type = 0;
    std::uint32_t Word1 = 0;
    std::uint32_t Word2 = 0;
};

// ---- screen values -------------------------------------------------------------------------------
// The product that embeds the library sets the current density and the scaling flag; nothing here
// changes them. With the flag set, forms rescale themselves when they are made.
extern std::int32_t DesignDensity;            // 800
extern std::int32_t ScreenDensity;            // 800
extern std::int32_t FormDesignPixelsPerInch;  // 96
extern std::int32_t FormScaling;              // 0
extern std::int32_t CascadeOffsetX;           // 4
extern std::int32_t CascadeOffsetY;           // 4
extern std::int32_t TextLengthLimit;          // 78, the limit of FitTextToLimit

// ---- number texts ----------------------------------------------------------------------------
// A key typed into a number editor: Backspace (8) and Enter (13) pass, and every key in mode 0;
// digits pass; in mode 1 (or the character '1') nothing else does; otherwise "." becomes the decimal
// separator, and the separator passes only when `text` holds none yet. Returns the key, or 0 when
// it is refused.
char FilterDecimalKey(char key, int mode, const AnsiString &text);
// Kind 0: any text; 1: the whole text is an integer ("-" and digits); 2: the whole text is a number
// (sign, digits and one decimal comma) that is not negative; 3: the whole text is a number. A text
// without digits is no number.
bool CheckNumberText(const AnsiString &text, int kind);

// ---- texts and line lists --------------------------------------------------------------------
// With `hashBreaks` every "#" becomes a line break; the text becomes the list's whole text.
void HashToLineBreaks(const AnsiString &text, TStrings &list, bool hashBreaks);
// The text with the separator after each part (added at the end when missing) becomes the list's
// lines; returns the line count, 0 for an empty text. An empty separator gives the text as one line.
int SplitToList(TStrings &list, const AnsiString &text, const AnsiString &separator);
// The list's lines, each followed by the separator; "" for an empty list.
AnsiString ListToText(const TStrings &list, const AnsiString &separator);
// Every occurrence of `from` replaced; an empty `from` leaves the text as it is.
AnsiString ReplaceAllText(const AnsiString &text, const AnsiString &from, const AnsiString &to);
// "*" and "`" become "_", "#" a blank.
AnsiString EscapeSpecialChars(const AnsiString &text);
// The characters a file name must not hold become "-", and the Ukrainian і І є Є ї Ї the Latin
// i I e E i I.
AnsiString SafeFileText(const AnsiString &text);
// With a suffix: the text padded with blanks and cut to 30 characters, then the suffix; when that is
// longer than TextLengthLimit it is cut to the limit and back to before its last comma or blank.
// Without a suffix the text cut to the limit.
AnsiString FitTextToLimit(const AnsiString &text, const AnsiString &suffix);
AnsiString IntToAnsiString(std::int32_t value);

// The two marks of the object a distance belongs to.
struct TDistanceObject {
    std::uint8_t FirstByte = 0;  // bit 4: the distance is not shown
    std::uint8_t Flags = 0;      // bit 0: the distance is not shown
};
// The text followed by " на расстояние " (Russian) or " на вiдстань " (Ukrainian), the value with at
// most 3 decimals and " км"; the text alone when the object says the distance is not shown.
AnsiString DistanceText(const AnsiString &text, bool russian, const TDistanceObject *object, double value);

// The difference of two times (taken without its sign) as minutes, seconds and milliseconds "nn ss zzz".
AnsiString ElapsedText(TDateTime start, TDateTime finish);

// ---- case rules for keys ---------------------------------------------------------------------
// These differ from the framework's and from CharLower1251/CharUpper1251 on purpose: they make keys
// (stored keys rely on them).
// Lower case of А-Я and A-Z; І, і and the Latin I become the Latin i; Є becomes є and Ї ї. Every
// other byte (Ґ and Ё among them) stays.
void LowerCp1251(AnsiString &text);
void LowerCp1251(char *text);  // up to the NUL
// Upper case of а-я and a-z; і becomes the Latin I, є Є and ї Ї; І stays. With `fold` the Latin
// capitals that look like Cyrillic ones (A B C E H K M O P T X) become those, and І the Latin I.
void UpperCp1251Key(AnsiString &text, bool fold);
void UpperCp1251Key(char *text, int length, bool fold);

// ---- lists and counters ----------------------------------------------------------------------
// Deletes every item (each a TObject), then frees the list and nulls the reference (`freeList`) or
// leaves it empty. The second form hands each non-null item to `release` instead of deleting it.
void FreeObjectList(TList *&list, bool freeList);
void FreeObjectList(TList *&list, bool freeList, const std::function<void(void *)> &release);
// Adds `count` bytes of the buffer to the accumulator (modulo 2^32): little-endian 32-bit words while
// more than 3 bytes remain, then with exactly 3 left a 16-bit word and a byte, with 2 or 1 left
// single bytes. After each addition, while the accumulator is above 0x40000000 it loses 0x40000000
// and `overflows` counts one.
void AddBytesToCounter(int count, const void *buffer, std::uint32_t &accumulator, std::uint32_t &overflows);
// Six one-byte marks: 0 when one of them is neither 3 nor 255, 2 when none is 3, else 1.
int ClassifySixMarks(const std::array<std::uint8_t, 6> &marks);

// ---- files (Windows) -------------------------------------------------------------------------
// The name of the path relative to the root (the current folder for an empty root), without its
// extension; its first character that is among the characters a file name must not hold
// ("_.?#\,:;~@$%^&*=+{}[]<>/\"", taken from the 0-based `start` on) is shown as message 714 with
// the name and the character, and 1 is returned; 0 when every character is allowed.
int CheckFileNameChars(const AnsiString &path, const AnsiString &root, int start);
// name.extension, or the first of name_1.extension, name_2.extension... that does not exist.
AnsiString UniqueFileName(const AnsiString &name, const AnsiString &extension);
// A file in the "LOG" alias's folder named after the (alias-resolved) file name with the dot of its
// extension made "_", then "_" and the suffix when there is one; then the first free name with the
// extension "Log" (`numbered`) or ".txt" appended.
AnsiString MakeLogFileName(const AnsiString &name, const AnsiString &suffix, bool numbered);
// "ЦМТ Ворнеж", two line feeds, and the build time of the executable (the time stamp of its PE
// header, as local time) as "dd MMMM yyyy hh:mm:ss"; an empty name means the program's own file. A
// file that cannot be read, or is no PE image, gives "Не удается прочесть файл " and its name
// instead of the time.
AnsiString ExeBuildDateText(const AnsiString &fileName = AnsiString());
// Reads n bytes at an offset of a file into the buffer; false when they are not all there.
using TReadBytesAt = std::function<bool(std::uint32_t offset, std::uint8_t *buffer, std::uint32_t n)>;
// The time stamp of a PE image's file header: false when the image has no "MZ" header, no "PE"
// signature where the header points or no whole file header after it.
bool ReadPeTimeStamp(const TReadBytesAt &readAt, std::uint32_t &stamp);

// ---- pure helpers of the window utilities --------------------------------------------------------
// Whether a text on the clipboard may be pasted into a field of this kind: 0 no character below the
// blank; 1 an integer; 2 a number; 3 no character below the blank other than CR and LF. Any other
// kind takes every text.
bool PasteTextSuits(const AnsiString &text, int kind);
// The signed decimal key filter over a text and its caret: Backspace, Enter and digits pass; "-" only
// with the caret at the start; "." becomes the decimal separator, which passes only when the text
// holds none. Returns the key, or 0 when it is refused.
char FilterSignedDecimalKey(char key, const AnsiString &text, int selStart);
// A shortcut text such as "Ctrl+Shift+F5" as a key code (the virtual key + 256 for Alt, + 512 for
// Ctrl, + 1024 for Shift). The modifier names are taken in any letter case; the last part names the
// key as the framework's shortcut texts do. 0 when the text names no key.
std::uint16_t ParseShortCutText(const AnsiString &text);
// The top-left corner a window of this size takes at (left, top) when kept inside the area: pulled
// back from the right and bottom edges, but never past the left and top ones.
TPoint ClampToArea(const TRect &area, int width, int height, int left, int top);

// ---- edits and memos (Windows) -------------------------------------------------------------------
// FilterSignedDecimalKey over an edit control's text and caret.
char FilterSignedDecimalKey(char key, const TCustomEdit &edit);
// The paste keys Ctrl+V (598) and Shift+Insert (1069) of the key-code scheme are refused while the
// clipboard holds a text that does not suit the kind (PasteTextSuits); every other key code, and the
// paste keys over a clipboard without text, pass. Returns the key code, or 0.
std::uint32_t FilterPasteKey(std::uint32_t keyCode, int kind);
// The memo's lines, each ended by CR LF; with `hashBreaks` every CR LF becomes "#".
AnsiString LinesToHashText(const TMemo &memo, bool hashBreaks);
// The memo's lines as one line: the lines joined by blanks, each CR and LF inside a line a blank too.
AnsiString MemoLinesAsText(const TMemo &memo);
// Lays the text out for the memo's width less 5 with the memo's font on the canvas ("#" breaks
// lines; modes 0 and 2 break by characters, 1 and 3 by words; modes 0 and 1 keep the "#" at the end
// of its line) and makes the laid-out lines the memo's lines. A text higher than the memo less 5 is
// laid out again 16 pixels narrower and the vertical scroll bar shown; otherwise the bar is hidden.
// Returns the height of "Wg" times the line count; 0 for an empty text (the memo is emptied).
int SetMemoMarkupText(const AnsiString &text, TMemo &memo, TCanvas &canvas, int mode);

// ---- menus (Windows) -----------------------------------------------------------------------------
// Enabled of every sub-item of the item, at every depth (not of the item itself).
void SetMenuItemsEnabled(TMenuItem *item, bool enabled);
// The same over the form's main menu (nothing when it has none).
void SetMenuItemsEnabled(TForm *form, bool enabled);
// Every menu item of the form (in its menus or owned by it) whose name is one of the "#"-separated
// names is enabled or disabled, each name once. Disabling keeps an item's shortcut in its Tag and
// clears it; enabling puts a kept shortcut back. An item without a shortcut keeps nothing, so
// disabling twice loses nothing.
void EnableMenuItemsByName(TForm *form, const AnsiString &names, bool enabled);
// The same with Visible, shortcuts left alone.
void ShowMenuItemsByName(TForm *form, const AnsiString &names, bool visible);

// ---- forms and fonts for the screen (Windows) ----------------------------------------------------
// The font becomes Arial, its size scaled by ScreenDensity / DesignDensity (rounded).
void ScaleFontToArial(TFont &font);
// The rule for a control's own font after its form was rescaled: a control that does not take its
// parent's font gets Arial and, when the screen's pixels per inch differ from
// FormDesignPixelsPerInch, its height multiplied by (DesignDensity x pixels per inch) /
// (ScreenDensity x FormDesignPixelsPerInch). A control with a font rescaling of its own calls it.
void RescaleControlFont(TControl &control);
// Every child of the control that is not a form: a child whose RescaleFonts (called with
// ScreenDensity and DesignDensity, the ratio of ScaleFontToArial) does its own fonts is left to it;
// any other child with children is handled recursively and then, like every plain control, by
// RescaleControlFont.
void RescaleChildFonts(TWinControl *control);
// When ScreenDensity differs from DesignDensity: the form, its font made Arial, scaled by
// ScreenDensity / DesignDensity in size (client area, children, fonts) but kept in its place, its
// font height corrected as RescaleControlFont does, its children's fonts rescaled; Scaled, AutoScroll
// and the scroll positions as they were before. Nothing otherwise.
void ScaleFormToScreen(TForm *form);
// Moves the form to (left, top) kept inside the work area (ClampToArea).
void ClampFormToScreen(const TRect &workArea, TForm *form, int left, int top);
// Places a form CascadeOffsetX right and CascadeOffsetY down from the first other visible form of
// class "TFWait", or else from the main form, kept inside the screen's work area. A form that places
// itself is left where it is and false returned: one without a border (a drop-down), a maximised or
// minimised one, or one centred by its Position; also when there is no form to cascade over.
bool CascadeFormOverWait(TForm *form);
// Deletes every form of the list as Free does (OnDestroy first), then frees the list and nulls the
// reference (`freeList`) or leaves it empty.
void FreeFormList(TList *&list, bool freeList);

// ---- clipboard and icons (Windows) ---------------------------------------------------------------
// Empties the clipboard and puts a non-empty text on it (as Unicode text, code page 1251 text and the
// Russian locale, so that every program reads the same characters). Nothing when the clipboard
// cannot be opened.
void CopyTextToClipboard(const AnsiString &text);
// The clipboard's text (its Unicode text in code page 1251 when it has one); empty when it holds no
// text or cannot be opened.
AnsiString ReadClipboardText();
// The number of icons the executable (or icon library) carries; 0 when it cannot be read.
int CountExeIcons(const AnsiString &fileName);
// Draws the icon of the index (the first one for an index out of range) into the button's glyph at
// the icon's size; false, and the glyph left as it was, when the file has no icons.
bool SetButtonGlyphFromExe(const AnsiString &fileName, int index, TSpeedButton *button);
