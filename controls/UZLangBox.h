#pragma once
// Two-language texts of the controls: each language-aware control keeps a Russian and a Ukrainian text
// for its caption and its hint and shows one of them. TZLangBox holds one such pair for one string
// property of its owner: the text of the language shown lives in the owner's property itself, the
// other one in the box; switching the language swaps the two after asking the owner's OnLangChange.
// The unit also keeps the two process-wide languages the boxes follow.
#include <cstdint>
#include <functional>
#include <memory>

#include "framework/runtime/Component.h"

// The order is the controls' own (Russian first); the base library numbers its two languages the other
// way round, and the two numberings are never mixed.
enum ELang : uint8_t { elg_Rus = 0, elg_Ukr = 1, elg_End = 2 };
// Which process-wide language a box follows.
enum ELgKnd : uint8_t { elgkd_Interface = 0, elgkd_Document = 1, elgkd_End = 2 };

// The language of the program's own windows and the language of the documents it shows; both
// Ukrainian until set. Setting one changes no box already shown: a form switches its controls one by one
// through their boxes' SetLang. elg_End (or anything beyond) is taken as elg_Rus.
ELang InterfaceLang();
ELang DocumentLang();
void SetInterfaceLang(ELang lang);
void SetDocumentLang(ELang lang);
// Both back to Ukrainian (the controls' start-up does it).
void ResetLangs();

class TZLangBox;

// Asked before a box shows the text of another language: aLang is the language about to be shown and
// NewValue its text, which the handler may change; Ignore (false on entry) set to true cancels the
// switch.
using TLangChangeEvent = std::function<void(TZLangBox *Sender, ELang aLang, AnsiString &NewValue, bool &Ignore)>;

class TZLangBox : public TPersistent {
public:
    // Texts by index, for GetText and SetText.
    static constexpr int ixRus = 0, ixUkr = 1, ixCur = 2;

    // Binds the owner's string property of that name ("Caption", "Hint"); the owner's event member is
    // read at every switch, so a handler assigned later is seen. The box starts showing InterfaceLang.
    // Throws Exception when the owner has no string property of that name.
    TZLangBox(TComponent *owner, const AnsiString &propertyName, TLangChangeEvent *onLangChange);

    TComponent *Owner() const { return owner_; }

    ELang Lang() const { return lang_; }
    // Shows the text of another language (see the file's comment); a language shown already does
    // nothing.
    void SetLang(ELang lang);
    ELgKnd LangKind() const { return langKind_; }
    // Follows the interface or the document language from now on and shows it.
    void SetLangKind(ELgKnd kind);

    // ixRus, ixUkr or ixCur: the text of the language shown (and ixCur) is the owner's property, the
    // other one the box's own. Any other index throws Exception.
    AnsiString GetText(int index) const;
    void SetText(int index, const AnsiString &text);
    AnsiString LRus() const { return GetText(ixRus); }
    void SetLRus(const AnsiString &text) { SetText(ixRus, text); }
    AnsiString LUkr() const { return GetText(ixUkr); }
    void SetLUkr(const AnsiString &text) { SetText(ixUkr, text); }
    AnsiString CurText() const { return GetText(ixCur); }
    void SetCurText(const AnsiString &text) { SetText(ixCur, text); }

    // Runs the handler over the text shown now (it may change it) and marks the box so that the next
    // switch of language asks no handler: a form refreshing its texts this way has already set them.
    void Refresh();

private:
    bool HasHandler() const { return onLangChange_ && *onLangChange_; }

    TComponent *owner_;
    ELang lang_;
    ELgKnd langKind_ = elgkd_Interface;
    TStringProperty property_;
    AnsiString stored_;  // the text of the language not shown
    TLangChangeEvent *onLangChange_;
    bool skipOnce_ = false;
};

// A control of class Base with a two-language caption and hint: CaptionL bound to its "Caption",
// HintL to its "Hint", both asking its OnLangChange.
template <class Base>
class TWithLangBoxes : public Base {
public:
    explicit TWithLangBoxes(TComponent *owner)
        : Base(owner), captionL_(std::make_unique<TZLangBox>(this, "Caption", &OnLangChange)),
          hintL_(std::make_unique<TZLangBox>(this, "Hint", &OnLangChange))
    {}

    TZLangBox *CaptionL() const { return captionL_.get(); }
    TZLangBox *HintL() const { return hintL_.get(); }

    TLangChangeEvent OnLangChange;

private:
    std::unique_ptr<TZLangBox> captionL_, hintL_;
};
