// Management-service queries over the locator, the service and the instance enumerator.
#define _WIN32_DCOM
#include <windows.h>
#include <objbase.h>
#include <wbemidl.h>

#include "framework/runtime/Cp1251.h"
#include "framework/runtime/Wmi.h"

namespace {

// Releases a COM interface when it goes out of scope.
template <class T>
struct ComRef {
    T *p = nullptr;
    ~ComRef()
    {
        if (p)
            p->Release();
    }
    T **operator&() { return &p; }
    T *operator->() const { return p; }
};

struct Bstr {
    explicit Bstr(const AnsiString &text) : b(SysAllocString(Cp1251ToWide(text).c_str())) {}
    ~Bstr() { SysFreeString(b); }
    BSTR b;
};

TWmiValue ValueOf(const VARIANT &v)
{
    TWmiValue value;
    if (v.vt & VT_ARRAY)
        return value;
    switch (v.vt) {
    case VT_EMPTY:
    case VT_NULL: break;
    case VT_BSTR:
        value.Type = TWmiValue::String;
        value.Text = v.bstrVal ? WideToCp1251(std::wstring(v.bstrVal, SysStringLen(v.bstrVal))) : AnsiString();
        break;
    case VT_I4:
        value.Type = TWmiValue::Int32;
        value.Number = v.lVal;
        break;
    case VT_UI1:
        value.Type = TWmiValue::UInt8;
        value.Number = v.bVal;
        break;
    case VT_BOOL:
        value.Type = TWmiValue::Boolean;
        value.Number = v.boolVal != VARIANT_FALSE ? 1 : 0;
        break;
    default: value.Type = TWmiValue::OtherScalar; break;
    }
    return value;
}

std::vector<TWmiValue> RunQuery(IWbemServices *services, const AnsiString &query, const AnsiString &property)
{
    std::vector<TWmiValue> values;
    ComRef<IEnumWbemClassObject> instances;
    Bstr language("WQL"), text(query);
    if (FAILED(services->ExecQuery(language.b, text.b, WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY, nullptr,
                                   &instances)) ||
        !instances.p)
        return values;
    const std::wstring name = Cp1251ToWide(property);
    for (;;) {
        ComRef<IWbemClassObject> instance;
        ULONG got = 0;
        if (instances->Next(WBEM_INFINITE, 1, &instance, &got) != WBEM_S_NO_ERROR || got == 0)
            break;
        VARIANT v;
        VariantInit(&v);
        if (SUCCEEDED(instance->Get(name.c_str(), 0, &v, nullptr, nullptr)))
            values.push_back(ValueOf(v));
        else
            values.push_back(TWmiValue());
        VariantClear(&v);
    }
    return values;
}

bool QueryWithCom(const std::vector<AnsiString> &namespaces, const std::vector<AnsiString> &queries,
                  const AnsiString &property, std::vector<std::vector<TWmiValue>> &results)
{
    // Process-wide and settable once: a later call gets RPC_E_TOO_LATE and the security already set
    // stays in force.
    CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr,
                         EOAC_NONE, nullptr);
    ComRef<IWbemLocator> locator;
    if (FAILED(CoCreateInstance(__uuidof(WbemLocator), nullptr, CLSCTX_INPROC_SERVER, __uuidof(IWbemLocator),
                                reinterpret_cast<void **>(&locator))))
        return false;
    ComRef<IWbemServices> services;
    for (const AnsiString &ns : namespaces) {
        Bstr name(ns);
        if (SUCCEEDED(locator->ConnectServer(name.b, nullptr, nullptr, nullptr, 0, nullptr, nullptr, &services)) &&
            services.p)
            break;
        services.p = nullptr;
    }
    if (!services.p)
        return false;
    CoSetProxyBlanket(services.p, RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr, RPC_C_AUTHN_LEVEL_CALL,
                      RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
    for (size_t i = 0; i < queries.size(); ++i)
        results[i] = RunQuery(services.p, queries[i], property);
    return true;
}

}  // namespace

bool WmiQueryProperty(const std::vector<AnsiString> &namespaces, const std::vector<AnsiString> &queries,
                      const AnsiString &property, std::vector<std::vector<TWmiValue>> &results)
{
    results.assign(queries.size(), {});
    const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    bool ok = false;
    try {
        ok = QueryWithCom(namespaces, queries, property, results);
    } catch (...) {
        if (SUCCEEDED(init))
            CoUninitialize();
        throw;
    }
    if (SUCCEEDED(init))
        CoUninitialize();
    return ok;
}
