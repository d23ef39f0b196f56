#pragma once
// The demonstration's main form, built in code: every control of the controls library and a grid
// table, each of its events written to the log and the status line.
#include <cstdint>
#include <vector>

#include "controls/supervisor/SpyEdit.h"
#include "controls/UZLangBox.h"
#include "framework/windows/Forms.h"

class TButton;
class TEdit;
class TLabel;
class TMemo;
class TPanel;
class TPopupMenu;
class TFormExtender;
class TRichEditEx;
class TXCheckBox;
class TXDateCombo;
class TXGridTable;
class TZButton;
class TZCheckBox;
class TZMLButton;
class TZRadioButton;
class TZSelBox;
class TZText;
class TDemoLog;

class TDemoForm : public TForm {
public:
    TDemoForm(TComponent *owner, TDemoLog &log, const AnsiString &root);
    ~TDemoForm() override;

    // Both captions of every two-language control, and the form's own, to the language.
    void SwitchLanguage(ELang lang);

    // The record the editing form changes.
    AnsiString RecordName = "Папір офісний";
    AnsiString RecordQuantity = "10";

private:
    TZMLButton *LangButton(const char *name, int x, int y, int w, int h, const AnsiString &ukr, const AnsiString &rus);
    TZButton *KindButton(const char *name, int kind, int x, int y);
    // A label with its text in both languages: the language button switches it with the rest.
    TLabel *Label(const AnsiString &ukr, const AnsiString &rus, int x, int y, int w = 116);
    template <class T>
    T *Field(const char *name, int x, int y, int w, int h);
    void BuildLanguageGroup();
    void BuildMessageButtons();
    void BuildFields();
    void BuildOthers();
    void BuildTable();
    void HookSupervisor();
    // The fields' popup menu, set on them by name: the supervisor's paste and copy and its operations
    // on controls named by their names.
    void BuildFieldMenu();
    void Pump(int milliseconds);

    void ShowAlarm();
    void ShowWaits(bool nested);
    void EditRecord();

    TDemoLog &log_;
    AnsiString root_;
    std::vector<TZMLButton *> langButtons_;
    std::vector<TZButton *> kindButtons_;
    std::vector<TZLangBox *> labelTexts_;

public:
    TZMLButton *MultiLine;
    TZCheckBox *Check;
    TZRadioButton *RadioFirst, *RadioSecond;
    TZButton *LangSwitch;
    TZText *Intro;
    TEdit *IntField, *DecimalField, *ShortField, *SignedField, *TextField;
    TPopupMenu *FieldMenu;
    TMemo *NoteField;
    TButton *Done;
    TXDateCombo *Date;
    TXCheckBox *XCheck;
    TZSelBox *SelBox;
    TRichEditEx *Rich;
    TFormExtender *Extender;
    TXGridTable *Table;
    TPanel *Status;
    TSpyEdit_Bs Spy;
    std::vector<uint8_t> Descriptors;
    int SelBoxItem = 0;
};
