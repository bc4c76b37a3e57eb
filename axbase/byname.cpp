/*
 * Automation by property name.
 */
#include "byname.h"

/* Invokes the member `name` of `disp` with the given parameters. */
static HRESULT invoke_named(IDispatch *disp, const WCHAR *name, WORD flags, DISPPARAMS *params,
                            VARIANT *result)
{
    if (!disp)
        return E_POINTER;
    LPOLESTR n = (LPOLESTR)name;
    DISPID id;
    HRESULT hr = disp->GetIDsOfNames(IID_NULL, &n, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr))
        return hr;
    return disp->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, params, result, nullptr, nullptr);
}

HRESULT ax_get_named(IDispatch *disp, const WCHAR *name, VARIANT *out)
{
    VariantInit(out);
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    return invoke_named(disp, name, DISPATCH_PROPERTYGET, &none, out);
}

HRESULT ax_put_named(IDispatch *disp, const WCHAR *name, const VARIANT &value)
{
    VARIANT v = value;
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS params = {&v, &put, 1, 1};
    return invoke_named(disp, name, DISPATCH_PROPERTYPUT, &params, nullptr);
}

HRESULT ax_call_named(IDispatch *disp, const WCHAR *name, const VARIANT *args, unsigned count,
                      VARIANT *result)
{
    VARIANT rev[8];
    if (count > 8)
        return E_INVALIDARG;
    for (unsigned i = 0; i < count; i++)
        rev[count - 1 - i] = args[i]; /* automation passes arguments last first */
    DISPPARAMS params = {rev, nullptr, count, 0};
    return invoke_named(disp, name, DISPATCH_METHOD, &params, result);
}

/* Reads a property as the given type; the caller clears *v either way. */
static bool get_as(IDispatch *disp, const WCHAR *name, VARTYPE type, VARIANT *v)
{
    return SUCCEEDED(ax_get_named(disp, name, v)) && SUCCEEDED(VariantChangeType(v, v, 0, type));
}

bool ax_get_double(IDispatch *disp, const WCHAR *name, double *out)
{
    VARIANT v;
    bool ok = get_as(disp, name, VT_R8, &v);
    if (ok)
        *out = V_R8(&v);
    VariantClear(&v);
    return ok;
}

bool ax_get_string(IDispatch *disp, const WCHAR *name, std::wstring *out)
{
    VARIANT v;
    bool ok = get_as(disp, name, VT_BSTR, &v);
    if (ok)
        *out = V_BSTR(&v) ? V_BSTR(&v) : L"";
    VariantClear(&v);
    return ok;
}

bool ax_get_object(IDispatch *disp, const WCHAR *name, IDispatch **out)
{
    *out = nullptr;
    VARIANT v;
    if (FAILED(ax_get_named(disp, name, &v)))
        return false;
    bool ok = false;
    if ((V_VT(&v) == VT_DISPATCH || V_VT(&v) == VT_UNKNOWN) && V_UNKNOWN(&v))
        ok = SUCCEEDED(V_UNKNOWN(&v)->QueryInterface(IID_IDispatch, (void **)out));
    VariantClear(&v);
    return ok;
}

HRESULT ax_put_float(IDispatch *disp, const WCHAR *name, float value)
{
    VARIANT v;
    V_VT(&v) = VT_R4;
    V_R4(&v) = value;
    return ax_put_named(disp, name, v);
}

std::wstring ax_name_key(IDispatch *disp)
{
    std::wstring key;
    ax_get_string(disp, L"Name", &key);
    std::wstring index;
    if (ax_get_string(disp, L"Index", &index))
        key += L"(" + index + L")";
    return key;
}

IDispatch *ax_object_automation(IUnknown *obj)
{
    IDispatch *disp = nullptr;
    IOleObject *ole;
    if (SUCCEEDED(obj->QueryInterface(IID_IOleObject, (void **)&ole))) {
        IOleClientSite *site = nullptr;
        if (SUCCEEDED(ole->GetClientSite(&site)) && site) {
            IOleControlSite *cs;
            if (SUCCEEDED(site->QueryInterface(IID_IOleControlSite, (void **)&cs))) {
                if (FAILED(cs->GetExtendedControl(&disp)))
                    disp = nullptr;
                cs->Release();
            }
            site->Release();
        }
        ole->Release();
    } else if (FAILED(obj->QueryInterface(IID_IDispatch, (void **)&disp))) {
        disp = nullptr;
    }
    if (!disp)
        return nullptr;
    ITypeInfo *ti = nullptr;
    if (FAILED(disp->GetTypeInfo(0, LOCALE_USER_DEFAULT, &ti)) || !ti) {
        disp->Release();
        return nullptr;
    }
    ti->Release();
    return disp;
}

std::wstring ax_container_key(IDispatch *obj)
{
    VARIANT probe;
    HRESULT hr = ax_get_named(obj, L"Container", &probe);
    VariantClear(&probe);
    IDispatch *cont;
    std::wstring key;
    if (ax_get_object(obj, SUCCEEDED(hr) ? L"Container" : L"Parent", &cont)) {
        key = ax_name_key(cont);
        cont->Release();
    }
    return key;
}

void ax_walk_form(IOleClientSite *site, const std::function<bool(IDispatch *)> &visit)
{
    IOleContainer *cont;
    if (!site || FAILED(site->GetContainer(&cont)))
        return;
    IEnumUnknown *objects;
    if (SUCCEEDED(cont->EnumObjects(OLECONTF_EMBEDDINGS | OLECONTF_OTHERS | OLECONTF_ONLYUSER, &objects))) {
        IUnknown *unk;
        while (objects->Next(1, &unk, nullptr) == S_OK) {
            IDispatch *obj = ax_object_automation(unk);
            unk->Release();
            if (obj && !visit(obj))
                obj->Release();
        }
        objects->Release();
    }
    cont->Release();
}
