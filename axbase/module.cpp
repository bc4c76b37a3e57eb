/*
 * Module state, class factory, type library and error information.
 */
#include "axbase.h"
#include "comobject.h"

AxModule ax_module;

void ax_module_init(HINSTANCE instance, const GUID *libid)
{
    ax_module.instance = instance;
    ax_module.libid = libid;
}

void ax_module_term(void)
{
    if (ax_module.typelib) {
        ax_module.typelib->Release();
        ax_module.typelib = nullptr;
    }
}

void ax_object_created(void) { InterlockedIncrement(&ax_module.objects); }
void ax_object_destroyed(void) { InterlockedDecrement(&ax_module.objects); }

void ax_lock_module(void) { InterlockedIncrement(&ax_module.locks); }
void ax_unlock_module(void) { InterlockedDecrement(&ax_module.locks); }

HRESULT ax_can_unload_now(void)
{
    return (ax_module.objects == 0 && ax_module.locks == 0) ? S_OK : S_FALSE;
}

std::wstring ax_module_path(HINSTANCE module)
{
    /* A path longer than MAX_PATH comes back cut short: grow until it fits,
     * never hand out a truncated path. */
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        SetLastError(ERROR_SUCCESS);
        DWORD n = GetModuleFileNameW(module, &path[0], (DWORD)path.size());
        if (n == 0)
            return std::wstring();
        if (n < path.size() && GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
            path.resize(n);
            return path;
        }
        if (path.size() >= 32768)
            return std::wstring();
        path.resize(path.size() * 2);
    }
}

std::wstring ax_guid_string(REFGUID guid)
{
    WCHAR buf[40];
    StringFromGUID2(guid, buf, 40);
    return buf;
}

std::wstring ax_load_string(UINT id)
{
    const WCHAR *p = nullptr;
    int n = LoadStringW(ax_module.instance, id, (WCHAR *)&p, 0);
    return n > 0 ? std::wstring(p, n) : std::wstring();
}

/* ---- class factory ---- */

namespace {

struct ClassFactory final : AxObject<IClassFactory> {
    /* A factory keeps the server loaded while it lives. */
    explicit ClassFactory(AxCreateFn create) : create(create) { ax_object_created(); }
    ~ClassFactory() override { ax_object_destroyed(); }

    AxCreateFn create;

    STDMETHOD(CreateInstance)(IUnknown *outer, REFIID riid, void **ppv) override
    {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        return create(riid, ppv);
    }
    STDMETHOD(LockServer)(BOOL lock) override
    {
        if (lock)
            InterlockedIncrement(&ax_module.locks);
        else
            InterlockedDecrement(&ax_module.locks);
        return S_OK;
    }
};

} // namespace

HRESULT ax_get_class_object(REFCLSID rclsid, REFIID riid, void **ppv, const CLSID &clsid,
                            AxCreateFn create)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (!IsEqualCLSID(rclsid, clsid))
        return CLASS_E_CLASSNOTAVAILABLE;
    ClassFactory *cf = new ClassFactory(create);
    HRESULT hr = cf->QueryInterface(riid, ppv);
    cf->Release();
    return hr;
}

/* ---- type library ---- */

HRESULT ax_get_typelib(ITypeLib **lib)
{
    if (!ax_module.typelib) {
        std::wstring path = ax_module_path(ax_module.instance);
        ITypeLib *tl = nullptr;
        HRESULT hr = LoadTypeLibEx(path.c_str(), REGKIND_NONE, &tl);
        if (FAILED(hr))
            return hr;
        if (InterlockedCompareExchangePointer((void **)&ax_module.typelib, tl, nullptr))
            tl->Release();
    }
    *lib = ax_module.typelib;
    (*lib)->AddRef();
    return S_OK;
}

HRESULT ax_get_typeinfo(REFGUID guid, ITypeInfo **info)
{
    ITypeLib *lib;
    HRESULT hr = ax_get_typelib(&lib);
    if (FAILED(hr))
        return hr;
    ITypeInfo *ti = nullptr;
    hr = lib->GetTypeInfoOfGuid(guid, &ti);
    lib->Release();
    if (FAILED(hr))
        return hr;
    /* A dual interface: take its vtable half. */
    TYPEATTR *attr;
    if (SUCCEEDED(ti->GetTypeAttr(&attr))) {
        bool dual = attr->typekind == TKIND_DISPATCH && (attr->wTypeFlags & TYPEFLAG_FDUAL);
        ti->ReleaseTypeAttr(attr);
        HREFTYPE ref;
        ITypeInfo *vt;
        if (dual && SUCCEEDED(ti->GetRefTypeOfImplType(-1, &ref)) &&
            SUCCEEDED(ti->GetRefTypeInfo(ref, &vt))) {
            ti->Release();
            ti = vt;
        }
    }
    *info = ti;
    return S_OK;
}

/* ---- error information ---- */

HRESULT ax_report_error(HRESULT hr, const WCHAR *source, UINT string_id, REFIID iid)
{
    ICreateErrorInfo *cei;
    if (SUCCEEDED(CreateErrorInfo(&cei))) {
        std::wstring desc = ax_load_string(string_id);
        cei->SetGUID(iid);
        cei->SetSource((LPOLESTR)source);
        cei->SetDescription((LPOLESTR)desc.c_str());
        IErrorInfo *ei;
        if (SUCCEEDED(cei->QueryInterface(IID_IErrorInfo, (void **)&ei))) {
            SetErrorInfo(0, ei);
            ei->Release();
        }
        cei->Release();
    }
    return hr;
}
