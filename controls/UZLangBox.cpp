#include "controls/UZLangBox.h"

#include <string>

#include "framework/runtime/Exception.h"

namespace {
struct {
    ELang interface = elg_Ukr;
    ELang document = elg_Ukr;
} langs;

ELang Checked(ELang lang) { return lang < elg_End ? lang : elg_Rus; }
}  // namespace

ELang InterfaceLang() { return langs.interface; }
ELang DocumentLang() { return langs.document; }
void SetInterfaceLang(ELang lang) { langs.interface = Checked(lang); }
void SetDocumentLang(ELang lang) { langs.document = Checked(lang); }

void ResetLangs()
{
    langs.interface = elg_Ukr;
    langs.document = elg_Ukr;
}

TZLangBox::TZLangBox(TComponent *owner, const AnsiString &propertyName, TLangChangeEvent *onLangChange)
    : owner_(owner), lang_(InterfaceLang()), onLangChange_(onLangChange)
{
    if (owner_)
        property_ = owner_->StringProperty(propertyName);
    if (!property_)
        throw Exception("Two-language text: " + (owner_ ? owner_->ClassName() : AnsiString("no owner")) +
                        " has no text property \"" + propertyName + "\"");
}

void TZLangBox::SetLang(ELang lang)
{
    lang = Checked(lang);
    if (lang == lang_)
        return;
    // The handler sees a copy, so a cancelled switch leaves the kept text as it was.
    AnsiString shown = stored_;
    bool ignore = false;
    if (!HasHandler() || owner_->Loading())
        skipOnce_ = false;
    else if (skipOnce_)
        skipOnce_ = false;
    else
        (*onLangChange_)(this, lang, shown, ignore);
    // A handler that switched the box itself has shown the language already; swapping again would
    // lose the other language's text.
    if (ignore || lang == lang_)
        return;
    AnsiString previous = property_.Get();
    property_.Set(shown);
    stored_ = previous;
    lang_ = lang;
}

void TZLangBox::SetLangKind(ELgKnd kind)
{
    if (kind >= elgkd_End)
        kind = elgkd_Interface;
    if (kind == langKind_)
        return;
    langKind_ = kind;
    SetLang(kind == elgkd_Document ? DocumentLang() : InterfaceLang());
}

AnsiString TZLangBox::GetText(int index) const
{
    if (index < ixRus || index > ixCur)
        throw Exception("Two-language text: no text of index " + std::to_string(index));
    return index == ixCur || index == lang_ ? property_.Get() : stored_;
}

void TZLangBox::SetText(int index, const AnsiString &text)
{
    if (index < ixRus || index > ixCur)
        throw Exception("Two-language text: no text of index " + std::to_string(index));
    if (index == ixCur || index == lang_)
        property_.Set(text);
    else
        stored_ = text;
}

void TZLangBox::Refresh()
{
    AnsiString text = property_.Get();
    skipOnce_ = true;
    bool ignore = false;
    if (HasHandler())
        (*onLangChange_)(this, lang_, text, ignore);
    if (!ignore)
        property_.Set(text);
}
