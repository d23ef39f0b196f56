#pragma once
// An edit mask: the places of a masked edit and what each accepts. The mask text is
// "places;save-literals;blank": in the places, 0 is a required digit, 9 an optional digit, # a digit
// or sign, L/l a letter, A/a a letter or digit, C/c any character (upper case required, lower case
// optional), / the date separator ".", : the time separator, _ a blank, \ makes the next character
// a literal; ! > < only steer the letter case or alignment and take no place; anything else is a
// literal shown as it is. The blank character stands in empty places.
#include <vector>

#include "framework/runtime/AnsiString.h"

class TEditMask {
public:
    explicit TEditMask(const AnsiString &mask = AnsiString());

    bool Empty() const { return places_.empty(); }
    // The number of characters shown.
    int Length() const { return static_cast<int>(places_.size()); }
    bool IsLiteral(int pos) const;
    char BlankChar() const { return blank_; }
    bool SaveLiterals() const { return saveLiterals_; }
    // Whether the character may stand in the place (never in a literal).
    bool Accepts(int pos, char c) const;
    // The text with every place empty.
    AnsiString Blank() const;
    // A text laid onto the mask: literals are always shown; each place takes the next character of
    // the text (a character equal to the literal in its spot is passed over), blank when the
    // character does not fit or the text has ended.
    AnsiString Format(const AnsiString &text) const;
    // The first place at or after pos that is not a literal (Length() when none), the last one
    // before pos (-1 when none).
    int NextPlace(int pos) const;
    int PrevPlace(int pos) const;

private:
    struct TPlace {
        char kind;  // the mask character; 'L' for a literal
        char literal;
    };
    std::vector<TPlace> places_;
    bool saveLiterals_ = true;
    char blank_ = '_';
};
