#pragma once
// A form of 400 x 300 that a test puts controls on; the form and its controls are freed with the
// host. Windows build only.
#include "framework/windows/Forms.h"

struct FormHost {
    FormHost() : form(new TForm(nullptr)) { form->SetBounds(0, 0, 400, 300); }
    ~FormHost() { form->Free(); }
    FormHost(const FormHost &) = delete;
    FormHost &operator=(const FormHost &) = delete;
    // A control owned by and placed on the form.
    template <class T>
    T *Add()
    {
        T *c = new T(form);
        c->SetParent(form);
        return c;
    }
    TForm *form;
};
