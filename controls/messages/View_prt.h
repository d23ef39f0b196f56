#pragma once
// TViewPrt: the file viewer the message dialog opens from its view button, a maximised window that
// shows an errors file or an inaccuracies file as plain text, with a button for each when both are
// given.
#include "framework/windows/Forms.h"

class TPanel;
class TRichEdit;
class TZMLButton;

class TViewPrt : public TForm {
public:
    explicit TViewPrt(TComponent *owner);

    // Components, in the order they are made.
    TPanel *Panel1;
    TRichEdit *LTxt;
    TPanel *Panel2;
    TZMLButton *Button1;  // exit
    TZMLButton *kWar;     // the inaccuracies file
    TZMLButton *kErr;     // the errors file

    void FormCreate(TObject *Sender);
    void FormShow(TObject *Sender);
    void Button1Click(TObject *Sender);
    void kErrClick(TObject *Sender);
    void kWarClick(TObject *Sender);

    // Shows a file: the title (the program's version and the file's name, in the message language)
    // becomes the caption and the first line above the file's text. A file that cannot be read throws
    // the framework's file error; the text shown before is gone then.
    void ShowFile(const AnsiString &name);

    AnsiString InaccuraciesFile;
    AnsiString ErrorsFile;
};

// The viewer while the message dialog shows it; null otherwise.
extern TViewPrt *ViewPrt;
