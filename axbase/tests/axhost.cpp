/*
 * The test container.
 */
#include "axhost.h"

#include <cmath>
#include <cstdio>

static std::string narrow(const std::wstring &w) { return ax_narrow(w); }

static std::string variant_text(const VARIANT *v)
{
    VARIANT s;
    VariantInit(&s);
    const VARIANT *src = v;
    VARIANT deref;
    if (V_VT(v) & VT_BYREF) {
        VariantInit(&deref);
        if (FAILED(VariantCopyInd(&deref, (VARIANT *)v)))
            return "?";
        src = &deref;
    }
    std::string out = "?";
    if (V_VT(src) == VT_DISPATCH || V_VT(src) == VT_UNKNOWN)
        out = V_UNKNOWN(src) ? "obj" : "null";
    else if (V_VT(src) == VT_BOOL)
        out = V_BOOL(src) ? "true" : "false";
    else if (SUCCEEDED(VariantChangeTypeEx(&s, (VARIANT *)src, MAKELCID(0x409, SORT_DEFAULT), 0,
                                           VT_BSTR)))
        out = narrow(V_BSTR(&s) ? V_BSTR(&s) : L"");
    VariantClear(&s);
    if (src == &deref)
        VariantClear(&deref);
    return out;
}

void ax_pump()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void ax_connect_sinks(IUnknown *control, REFIID events, const std::vector<std::wstring> &names,
                      AxPropSink **props, AxEventSink **event_sink, AxAdviseSink **advise)
{
    IConnectionPointContainer *cpc =
        ax_query<IConnectionPointContainer>(control, IID_IConnectionPointContainer);
    IConnectionPoint *cp;
    DWORD cookie;
    *props = new AxPropSink;
    cpc->FindConnectionPoint(IID_IPropertyNotifySink, &cp);
    cp->Advise(*props, &cookie);
    cp->Release();
    *event_sink = new AxEventSink(events, names);
    cpc->FindConnectionPoint(events, &cp);
    cp->Advise(*event_sink, &cookie);
    cp->Release();
    cpc->Release();
    *advise = new AxAdviseSink;
    IViewObject *vo = ax_query<IViewObject>(control, IID_IViewObject);
    vo->SetAdvise(DVASPECT_CONTENT, 0, *advise);
    vo->Release();
    IDataObject *dobj = ax_query<IDataObject>(control, IID_IDataObject);
    FORMATETC fmt = {0, nullptr, DVASPECT_CONTENT, -1, TYMED_NULL};
    dobj->DAdvise(&fmt, ADVF_NODATA, *advise, &cookie);
    dobj->Release();
}

/* ---- AxExtended ---- */

AxExtended::AxExtended(const std::wstring &name) { set_str(L"Name", name); }

AxExtended::~AxExtended()
{
    for (auto &p : props)
        VariantClear(&p.second);
    if (inner)
        inner->Release();
}

int AxExtended::find(const std::wstring &name) const
{
    for (size_t i = 0; i < props.size(); i++)
        if (!_wcsicmp(props[i].first.c_str(), name.c_str()))
            return (int)i;
    return -1;
}

void AxExtended::set(const std::wstring &name, const VARIANT &v)
{
    int i = find(name);
    if (i < 0) {
        VARIANT e;
        VariantInit(&e);
        props.push_back({name, e});
        i = (int)props.size() - 1;
    }
    VariantCopy(&props[i].second, (VARIANT *)&v);
}

void AxExtended::set_num(const std::wstring &name, double v)
{
    VARIANT x;
    V_VT(&x) = VT_R8;
    V_R8(&x) = v;
    set(name, x);
}

void AxExtended::set_float(const std::wstring &name, float v)
{
    VARIANT x;
    V_VT(&x) = VT_R4;
    V_R4(&x) = v;
    set(name, x);
}

void AxExtended::set_str(const std::wstring &name, const std::wstring &v)
{
    VARIANT x;
    V_VT(&x) = VT_BSTR;
    V_BSTR(&x) = SysAllocString(v.c_str());
    set(name, x);
    VariantClear(&x);
}

void AxExtended::set_obj(const std::wstring &name, IDispatch *obj)
{
    VARIANT x;
    V_VT(&x) = VT_DISPATCH;
    V_DISPATCH(&x) = obj; /* VariantCopy takes its own reference */
    set(name, x);
}

void AxExtended::remove(const std::wstring &name)
{
    int i = find(name);
    if (i >= 0) {
        /* keep the dispatch ids of the others stable: empty the slot */
        VariantClear(&props[i].second);
        props[i].first = L"";
    }
}

bool AxExtended::has(const std::wstring &name) const { return find(name) >= 0; }

double AxExtended::num(const std::wstring &name) const
{
    int i = find(name);
    if (i < 0)
        return NAN;
    VARIANT v;
    VariantInit(&v);
    double d = NAN;
    if (SUCCEEDED(VariantChangeType(&v, (VARIANT *)&props[i].second, 0, VT_R8)))
        d = V_R8(&v);
    return d;
}

std::wstring AxExtended::str(const std::wstring &name) const
{
    int i = find(name);
    if (i < 0)
        return L"";
    VARIANT v;
    VariantInit(&v);
    std::wstring s;
    if (SUCCEEDED(VariantChangeType(&v, (VARIANT *)&props[i].second, 0, VT_BSTR)) && V_BSTR(&v))
        s = V_BSTR(&v);
    VariantClear(&v);
    return s;
}

HRESULT AxExtended::QueryInterface(REFIID riid, void **ppv)
{
    if (!ppv)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) {
        *ppv = static_cast<IDispatch *>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG AxExtended::AddRef() { return InterlockedIncrement(&ref); }

ULONG AxExtended::Release()
{
    ULONG r = InterlockedDecrement(&ref);
    if (!r)
        delete this;
    return r;
}

HRESULT AxExtended::GetTypeInfoCount(UINT *count)
{
    if (!count)
        return E_POINTER;
    *count = no_typeinfo ? 0 : 1;
    return S_OK;
}

HRESULT AxExtended::GetTypeInfo(UINT index, LCID, ITypeInfo **info)
{
    if (!info)
        return E_POINTER;
    *info = nullptr;
    if (no_typeinfo || index)
        return DISP_E_BADINDEX;
    /* A small type description: the Move method. */
    static PARAMDATA move_params[] = {{(OLECHAR *)L"Left", VT_VARIANT},
                                      {(OLECHAR *)L"Top", VT_VARIANT},
                                      {(OLECHAR *)L"Width", VT_VARIANT},
                                      {(OLECHAR *)L"Height", VT_VARIANT}};
    static METHODDATA methods[] = {{(OLECHAR *)L"Move", move_params, 1000, 7, CC_STDCALL, 4,
                                    DISPATCH_METHOD, VT_EMPTY}};
    INTERFACEDATA data = {methods, 1};
    return CreateDispTypeInfo(&data, LOCALE_SYSTEM_DEFAULT, info);
}

#define DISPID_MOVE 1000
#define DISPID_INNER_BASE 0x10000

HRESULT AxExtended::GetIDsOfNames(REFIID, LPOLESTR *names, UINT count, LCID lcid, DISPID *ids)
{
    if (!names || !ids || !count)
        return E_INVALIDARG;
    HRESULT hr = S_OK;
    for (UINT n = 0; n < count; n++) {
        ids[n] = DISPID_UNKNOWN;
        if (n > 0) /* argument names */
            continue;
        std::wstring name = names[0];
        if (has_move && !_wcsicmp(name.c_str(), L"Move")) {
            ids[0] = DISPID_MOVE;
            continue;
        }
        int i = find(name);
        if (i >= 0 && !name.empty()) {
            ids[0] = i + 1;
            continue;
        }
        if (inner) {
            DISPID inner_id;
            if (SUCCEEDED(inner->GetIDsOfNames(IID_NULL, &names[0], 1, lcid, &inner_id))) {
                size_t k = 0;
                for (; k < inner_names.size(); k++)
                    if (!_wcsicmp(inner_names[k].c_str(), name.c_str()))
                        break;
                if (k == inner_names.size())
                    inner_names.push_back(name);
                ids[0] = DISPID_INNER_BASE + (DISPID)k;
                continue;
            }
        }
        hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

HRESULT AxExtended::Invoke(DISPID id, REFIID, LCID lcid, WORD flags, DISPPARAMS *params,
                           VARIANT *result, EXCEPINFO *excep, UINT *argerr)
{
    if (!params)
        return E_INVALIDARG;
    if (id >= DISPID_INNER_BASE && id < DISPID_INNER_BASE + (DISPID)inner_names.size() && inner) {
        LPOLESTR n = (LPOLESTR)inner_names[id - DISPID_INNER_BASE].c_str();
        DISPID inner_id;
        HRESULT hr = inner->GetIDsOfNames(IID_NULL, &n, 1, lcid, &inner_id);
        if (FAILED(hr))
            return hr;
        return inner->Invoke(inner_id, IID_NULL, lcid, flags, params, result, excep, argerr);
    }
    if (id == DISPID_MOVE && has_move) {
        if (!(flags & DISPATCH_METHOD))
            return DISP_E_MEMBERNOTFOUND;
        if (move_fails)
            return E_FAIL;
        static const WCHAR *names[] = {L"Left", L"Top", L"Width", L"Height"};
        UINT n = params->cArgs;
        std::string text;
        for (UINT i = 0; i < n && i < 4; i++) {
            VARIANT *a = &params->rgvarg[n - 1 - i];
            VARIANT v;
            VariantInit(&v);
            if (FAILED(VariantChangeType(&v, a, 0, VT_R8)))
                return DISP_E_TYPEMISMATCH;
            if (!refuse_put.count(names[i]))
                set_num(names[i], V_R8(&v));
            char buf[64];
            snprintf(buf, sizeof(buf), "%s%g", i ? "," : "", V_R8(&v));
            text += buf;
        }
        if (log_calls)
            ax_seq_add("%s.Move(%s)", narrow(name()).c_str(), text.c_str());
        if (on_geometry)
            on_geometry();
        return S_OK;
    }
    if (id < 1 || id > (DISPID)props.size() || props[id - 1].first.empty())
        return DISP_E_MEMBERNOTFOUND;
    std::wstring name_ = props[id - 1].first;
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        if (params->cArgs < 1)
            return DISP_E_BADPARAMCOUNT;
        if (refuse_put.count(name_))
            return E_FAIL;
        VARIANT v;
        VariantInit(&v);
        VariantCopyInd(&v, &params->rgvarg[0]);
        if (putter && putter(name_, v)) {
            VariantClear(&v);
            return S_OK;
        }
        if (log_calls)
            ax_seq_add("%s.%s=%s", narrow(name()).c_str(), narrow(name_).c_str(),
                       variant_text(&v).c_str());
        set(name_, v);
        VariantClear(&v);
        if (on_geometry && (name_ == L"Left" || name_ == L"Top" || name_ == L"Width" ||
                            name_ == L"Height"))
            on_geometry();
        return S_OK;
    }
    if (refuse_get.count(name_))
        return E_FAIL;
    if (!result)
        return S_OK;
    VariantInit(result);
    if (getter && getter(name_, result))
        return S_OK;
    return VariantCopy(result, &props[id - 1].second);
}

/* ---- sinks ---- */

HRESULT AxPropSink::OnChanged(DISPID id)
{
    ax_seq_add("chg %ld", id);
    return S_OK;
}

HRESULT AxPropSink::OnRequestEdit(DISPID id)
{
    ax_seq_add("req %ld", id);
    if (on_request)
        on_request(id);
    return refuse.count(id) ? S_FALSE : S_OK;
}

void AxAdviseSink::OnDataChange(FORMATETC *, STGMEDIUM *)
{
    if (record)
        ax_seq_add("data");
}

void AxAdviseSink::OnViewChange(DWORD, LONG)
{
    if (record)
        ax_seq_add("view");
}

HRESULT AxEventSink::GetTypeInfoCount(UINT *count)
{
    *count = 0;
    return S_OK;
}

HRESULT AxEventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS *params, VARIANT *,
                            EXCEPINFO *, UINT *)
{
    std::wstring name = id >= 0 && (size_t)id < names.size() ? names[id] : L"?";
    if (quiet.count(name)) {
        if (handler)
            handler(name, params);
        return S_OK;
    }
    std::string text = narrow(name);
    if (record_args && params && params->cArgs) {
        text += "(";
        for (UINT i = 0; i < params->cArgs; i++) {
            if (i)
                text += ",";
            text += variant_text(&params->rgvarg[params->cArgs - 1 - i]);
        }
        text += ")";
    }
    ax_seq.push_back(text); /* as the control sent them */
    if (handler)
        handler(name, params);
    return S_OK;
}

/* ---- AxSite ---- */

AxSite::AxSite(AxForm *f, const std::wstring &name) : form(f), display_name(name)
{
    ext = new AxExtended(name);
    ext->on_geometry = [this]() { update_rect(); };
}

AxSite::~AxSite()
{
    release_control();
    ext->on_geometry = nullptr;
    ext->Release();
}

void AxSite::release_control()
{
    if (control) {
        IOleObject *c = control;
        control = nullptr;
        c->Close(OLECLOSE_NOSAVE);
        c->SetClientSite(nullptr);
        c->Release();
    }
    if (ext->inner) {
        ext->inner->Release();
        ext->inner = nullptr;
    }
}

HRESULT AxSite::create(IClassFactory *factory)
{
    HRESULT hr = factory->CreateInstance(nullptr, IID_IOleObject, (void **)&control);
    if (FAILED(hr))
        return hr;
    control->QueryInterface(IID_IDispatch, (void **)&ext->inner);
    hr = control->SetClientSite(this);
    if (FAILED(hr))
        return hr;
    SIZEL size = {(LONG)lround(ext->num(L"Width") * 2540 / form->units_per_inch),
                  (LONG)lround(ext->num(L"Height") * 2540 / form->units_per_inch)};
    control->SetExtent(DVASPECT_CONTENT, &size);
    return S_OK;
}

HRESULT AxSite::quick_activate(IClassFactory *factory, AxPropSink *props, AxEventSink *events,
                               OLE_COLOR color)
{
    HRESULT hr = factory->CreateInstance(nullptr, IID_IOleObject, (void **)&control);
    if (FAILED(hr))
        return hr;
    control->QueryInterface(IID_IDispatch, (void **)&ext->inner);
    IQuickActivate *qa;
    hr = control->QueryInterface(IID_IQuickActivate, (void **)&qa);
    if (FAILED(hr))
        return hr;
    QACONTAINER qac = {};
    qac.cbSize = sizeof(qac);
    qac.pClientSite = this;
    qac.pPropertyNotifySink = props;
    qac.pUnkEventSink = events;
    qac.colorBack = color;
    qac.dwAmbientFlags = user_mode ? QACONTAINER_USERMODE : 0;
    QACONTROL qactrl = {};
    qactrl.cbSize = sizeof(qactrl);
    hr = qa->QuickActivate(&qac, &qactrl);
    qa->Release();
    return hr;
}

HRESULT AxSite::activate()
{
    RECT r = pixel_rect();
    return control->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, this, 0, form->hwnd, &r);
}

HRESULT AxSite::deactivate()
{
    IOleInPlaceObject *ipo;
    HRESULT hr = control->QueryInterface(IID_IOleInPlaceObject, (void **)&ipo);
    if (FAILED(hr))
        return hr;
    hr = ipo->InPlaceDeactivate();
    ipo->Release();
    return hr;
}

HWND AxSite::control_window()
{
    HWND h = nullptr;
    IOleInPlaceObject *ipo;
    if (control && SUCCEEDED(control->QueryInterface(IID_IOleInPlaceObject, (void **)&ipo))) {
        if (FAILED(ipo->GetWindow(&h)))
            h = nullptr;
        ipo->Release();
    }
    return h;
}

IDispatch *AxSite::control_dispatch()
{
    IDispatch *d = nullptr;
    if (control)
        control->QueryInterface(IID_IDispatch, (void **)&d);
    return d;
}

RECT AxSite::pixel_rect()
{
    RECT r;
    r.left = form->to_pixels(ext->num(L"Left"));
    r.top = form->to_pixels(ext->num(L"Top"));
    r.right = r.left + form->to_pixels(ext->num(L"Width"));
    r.bottom = r.top + form->to_pixels(ext->num(L"Height"));
    return r;
}

void AxSite::update_rect()
{
    IOleInPlaceObject *ipo;
    if (control && SUCCEEDED(control->QueryInterface(IID_IOleInPlaceObject, (void **)&ipo))) {
        RECT r = pixel_rect();
        ipo->SetObjectRects(&r, &r);
        ipo->Release();
    }
}

HRESULT AxSite::QueryInterface(REFIID riid, void **ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IOleClientSite))
        *ppv = static_cast<IOleClientSite *>(this);
    else if (IsEqualIID(riid, IID_IOleInPlaceSite) || IsEqualIID(riid, IID_IOleWindow))
        *ppv = static_cast<IOleInPlaceSite *>(this);
    else if (IsEqualIID(riid, IID_IOleControlSite))
        *ppv = static_cast<IOleControlSite *>(this);
    else if (IsEqualIID(riid, IID_ISimpleFrameSite) && offer_simple_frame)
        *ppv = static_cast<ISimpleFrameSite *>(this);
    else if (IsEqualIID(riid, IID_IDispatch))
        *ppv = static_cast<IDispatch *>(this);
    if (!*ppv)
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

ULONG AxSite::Release()
{
    ULONG r = InterlockedDecrement(&ref);
    if (!r)
        delete this;
    return r;
}

HRESULT AxSite::GetContainer(IOleContainer **container)
{
    if (!container)
        return E_POINTER;
    *container = form;
    form->AddRef();
    return S_OK;
}

HRESULT AxSite::GetWindow(HWND *hwnd)
{
    *hwnd = form->hwnd;
    return S_OK;
}

HRESULT AxSite::CanInPlaceActivate()
{
    ax_count("CanInPlaceActivate");
    return S_OK;
}

HRESULT AxSite::OnInPlaceActivate()
{
    ax_count("OnInPlaceActivate");
    return S_OK;
}

HRESULT AxSite::OnUIActivate()
{
    ax_count("OnUIActivate");
    return S_OK;
}

HRESULT AxSite::GetWindowContext(IOleInPlaceFrame **frame, IOleInPlaceUIWindow **doc, LPRECT pos,
                                 LPRECT clip, LPOLEINPLACEFRAMEINFO info)
{
    ax_count("GetWindowContext");
    if (frame) {
        *frame = form;
        form->AddRef();
    }
    if (doc)
        *doc = nullptr;
    RECT r = pixel_rect();
    if (pos)
        *pos = r;
    if (clip)
        *clip = r;
    if (info) {
        info->fMDIApp = FALSE;
        info->hwndFrame = form->hwnd;
        info->haccel = nullptr;
        info->cAccelEntries = 0;
    }
    return S_OK;
}

HRESULT AxSite::OnUIDeactivate(BOOL)
{
    ax_count("OnUIDeactivate");
    return S_OK;
}

HRESULT AxSite::OnInPlaceDeactivate()
{
    ax_count("OnInPlaceDeactivate");
    return S_OK;
}

HRESULT AxSite::OnPosRectChange(LPCRECT rect)
{
    IOleInPlaceObject *ipo;
    if (control && SUCCEEDED(control->QueryInterface(IID_IOleInPlaceObject, (void **)&ipo))) {
        ipo->SetObjectRects(rect, rect);
        ipo->Release();
    }
    return S_OK;
}

HRESULT AxSite::GetExtendedControl(IDispatch **disp)
{
    if (!disp)
        return E_POINTER;
    ax_count("GetExtendedControl");
    *disp = ext;
    ext->AddRef();
    return S_OK;
}

HRESULT AxSite::TransformCoords(POINTL *himetric, POINTF *container, DWORD flags)
{
    if (!offer_transform)
        return E_NOTIMPL;
    if (!himetric || !container)
        return E_POINTER;
    ax_count("TransformCoords");
    double upi = form->units_per_inch;
    if (flags & XFORMCOORDS_CONTAINERTOHIMETRIC) {
        himetric->x = lround(container->x * 2540.0 / upi);
        himetric->y = lround(container->y * 2540.0 / upi);
    } else if (flags & XFORMCOORDS_HIMETRICTOCONTAINER) {
        container->x = (float)(himetric->x * upi / 2540.0);
        container->y = (float)(himetric->y * upi / 2540.0);
    } else {
        return E_INVALIDARG;
    }
    return S_OK;
}

HRESULT AxSite::OnFocus(BOOL)
{
    ax_count("OnFocus");
    return S_OK;
}

HRESULT AxSite::PreMessageFilter(HWND, UINT msg, WPARAM, LPARAM, LRESULT *result, DWORD *cookie)
{
    ax_count("PreMessageFilter");
    *cookie = msg;
    if (eat_message && msg == eat_message) {
        *result = eat_result;
        return S_FALSE;
    }
    return S_OK;
}

HRESULT AxSite::PostMessageFilter(HWND, UINT msg, WPARAM, LPARAM, LRESULT *, DWORD cookie)
{
    ax_count("PostMessageFilter");
    if (cookie != msg)
        ax_count("PostMessageFilter cookie mismatch");
    return S_OK;
}

HRESULT AxSite::GetTypeInfoCount(UINT *count)
{
    *count = 0;
    return S_OK;
}

HRESULT AxSite::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS *, VARIANT *result,
                       EXCEPINFO *, UINT *)
{
    if (!(flags & DISPATCH_PROPERTYGET) || !result)
        return DISP_E_MEMBERNOTFOUND;
    VariantInit(result);
    switch (id) {
    case DISPID_AMBIENT_USERMODE:
        V_VT(result) = VT_BOOL;
        V_BOOL(result) = user_mode ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    case DISPID_AMBIENT_BACKCOLOR:
        V_VT(result) = VT_I4;
        V_I4(result) = (LONG)back_color;
        return S_OK;
    case DISPID_AMBIENT_DISPLAYNAME:
        V_VT(result) = VT_BSTR;
        V_BSTR(result) = SysAllocString(display_name.c_str());
        return S_OK;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}

/* ---- AxForm ---- */

static const WCHAR form_class[] = L"AxTestForm";

LRESULT CALLBACK AxForm::form_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    AxForm *f = (AxForm *)GetWindowLongPtrW(hwnd, GWLP_USERDATA);
    if (f && f->record_messages) {
        switch (msg) {
        case WM_SIZE:
            ax_seq_add("form WM_SIZE %u %ux%u", (unsigned)wp, LOWORD(lp), HIWORD(lp));
            break;
        case WM_GETMINMAXINFO:
            ax_seq_add("form WM_GETMINMAXINFO");
            break;
        case WM_USER + 3:
            ax_seq_add("form WM_USER+3");
            break;
        default:
            break;
        }
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

AxForm::AxForm(const std::wstring &name, int cw, int ch)
{
    static bool registered;
    if (!registered) {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = form_proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = form_class;
        wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
        RegisterClassW(&wc);
        registered = true;
    }
    RECT r = {0, 0, cw, ch};
    AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
    hwnd = CreateWindowExW(0, form_class, name.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                           10, 10, r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, (LONG_PTR)this);
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    disp = new AxExtended(name);
    disp->has_move = false;
    for (const WCHAR *n : {L"ScaleLeft", L"ScaleTop", L"ScaleWidth", L"ScaleHeight", L"Left",
                           L"Top", L"Width", L"Height", L"hWnd"})
        disp->set_num(n, 0);
    disp->getter = [this](const std::wstring &n, VARIANT *v) -> bool {
        RECT c, w;
        GetClientRect(hwnd, &c);
        GetWindowRect(hwnd, &w);
        double twips = 1440.0 / dpi();
        V_VT(v) = VT_R4;
        if (n == L"ScaleLeft")
            V_R4(v) = (float)scale_left;
        else if (n == L"ScaleTop")
            V_R4(v) = (float)scale_top;
        else if (n == L"ScaleWidth")
            V_R4(v) = (float)to_units(c.right);
        else if (n == L"ScaleHeight")
            V_R4(v) = (float)to_units(c.bottom);
        else if (n == L"Left")
            V_R4(v) = (float)(w.left * twips);
        else if (n == L"Top")
            V_R4(v) = (float)(w.top * twips);
        else if (n == L"Width")
            V_R4(v) = (float)((w.right - w.left) * twips);
        else if (n == L"Height")
            V_R4(v) = (float)((w.bottom - w.top) * twips);
        else if (n == L"hWnd") {
            V_VT(v) = VT_I4;
            V_I4(v) = (LONG)(LONG_PTR)hwnd;
        } else
            return false;
        return true;
    };
    disp->putter = [this](const std::wstring &n, const VARIANT &value) -> bool {
        VARIANT v;
        VariantInit(&v);
        if (FAILED(VariantChangeType(&v, (VARIANT *)&value, 0, VT_R8)))
            return false;
        double twips = 1440.0 / dpi();
        RECT w;
        GetWindowRect(hwnd, &w);
        if (n == L"Left" || n == L"Top") {
            if (n == L"Left")
                w.left = (LONG)(V_R8(&v) / twips);
            else
                w.top = (LONG)(V_R8(&v) / twips);
            SetWindowPos(hwnd, nullptr, w.left, w.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            ax_seq_add("form.%s=%s", ax_narrow(n).c_str(),
                       V_VT(&value) == VT_R4 ? "R4" : V_VT(&value) == VT_I4 ? "I4" : "other");
            return true;
        }
        return false;
    };
}

AxForm::~AxForm() { close(); }

void AxForm::close()
{
    for (AxSite *s : sites) {
        s->release_control();
        s->Release();
    }
    sites.clear();
    for (IUnknown *o : objects)
        o->Release();
    objects.clear();
    if (active) {
        active->Release();
        active = nullptr;
    }
    if (hwnd) {
        DestroyWindow(hwnd);
        hwnd = nullptr;
    }
    if (disp) {
        disp->getter = nullptr;
        disp->putter = nullptr;
        disp->Release();
        disp = nullptr;
    }
}

long AxForm::dpi() const
{
    HDC dc = GetDC(nullptr);
    long d = GetDeviceCaps(dc, LOGPIXELSX);
    ReleaseDC(nullptr, dc);
    return d;
}

void AxForm::set_client_size(int width, int height)
{
    RECT r = {0, 0, width, height};
    AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
    SetWindowPos(hwnd, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

static void place(AxExtended *e, double l, double t, double w, double h, IDispatch *container,
                  IDispatch *form)
{
    e->set_num(L"Left", l);
    e->set_num(L"Top", t);
    e->set_num(L"Width", w);
    e->set_num(L"Height", h);
    e->set_obj(L"Container", container ? container : form);
    e->set_obj(L"Parent", form);
}

AxSite *AxForm::add_site(const std::wstring &name, double left, double top, double width,
                         double height, IDispatch *container)
{
    AxSite *s = new AxSite(this, name);
    place(s->ext, left, top, width, height, container, disp);
    sites.push_back(s);
    return s;
}

AxExtended *AxForm::add_control(const std::wstring &name, double left, double top, double width,
                                double height, IDispatch *container)
{
    AxExtended *e = new AxExtended(name);
    place(e, left, top, width, height, container, disp);
    objects.push_back(e);
    return e;
}

AxExtended *AxForm::add_line(const std::wstring &name, double x1, double y1, double x2,
                             double y2, IDispatch *container)
{
    AxExtended *e = new AxExtended(name);
    e->has_move = false;
    e->set_num(L"X1", x1);
    e->set_num(L"Y1", y1);
    e->set_num(L"X2", x2);
    e->set_num(L"Y2", y2);
    e->set_obj(L"Container", container ? container : disp);
    e->set_obj(L"Parent", disp);
    objects.push_back(e);
    return e;
}

HRESULT AxForm::QueryInterface(REFIID riid, void **ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IOleContainer) ||
        IsEqualIID(riid, IID_IParseDisplayName))
        *ppv = static_cast<IOleContainer *>(this);
    else if (IsEqualIID(riid, IID_IOleInPlaceFrame) || IsEqualIID(riid, IID_IOleInPlaceUIWindow) ||
             IsEqualIID(riid, IID_IOleWindow))
        *ppv = static_cast<IOleInPlaceFrame *>(this);
    else if (IsEqualIID(riid, IID_IDispatch) && disp)
        return disp->QueryInterface(riid, ppv); /* the form's automation object */
    if (!*ppv)
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

ULONG AxForm::Release()
{
    ULONG r = InterlockedDecrement(&ref);
    if (!r)
        delete this;
    return r;
}

HRESULT AxForm::EnumObjects(DWORD flags, IEnumUnknown **e)
{
    if (!e)
        return E_POINTER;
    *e = nullptr;
    ax_count("EnumObjects");
    if (enum_fails)
        return E_FAIL;
    std::vector<IUnknown *> items;
    if (flags & OLECONTF_EMBEDDINGS)
        for (AxSite *s : sites)
            if (s->control)
                items.push_back(s->control);
    if (flags & OLECONTF_OTHERS)
        items.insert(items.end(), objects.begin(), objects.end());
    return AxEnum<IEnumUnknown, IUnknown>::create(items.data(), items.size(), e);
}

HRESULT AxForm::GetWindow(HWND *h)
{
    *h = hwnd;
    return S_OK;
}

HRESULT AxForm::SetActiveObject(IOleInPlaceActiveObject *obj, LPCOLESTR)
{
    ax_count("SetActiveObject");
    if (obj)
        obj->AddRef();
    if (active)
        active->Release();
    active = obj;
    return S_OK;
}

/* ---- AxServer ---- */

bool AxServer::load(const wchar_t *dll)
{
    module = LoadLibraryW(dll);
    if (!module)
        return false;
    can_unload = (decltype(can_unload))(void *)GetProcAddress(module, "DllCanUnloadNow");
    get_class_object =
        (decltype(get_class_object))(void *)GetProcAddress(module, "DllGetClassObject");
    register_server = (decltype(register_server))(void *)GetProcAddress(module, "DllRegisterServer");
    unregister_server =
        (decltype(unregister_server))(void *)GetProcAddress(module, "DllUnregisterServer");
    return can_unload && get_class_object && register_server && unregister_server;
}

IClassFactory *AxServer::factory(REFCLSID clsid)
{
    IClassFactory *cf = nullptr;
    if (FAILED(get_class_object(clsid, IID_IClassFactory, (void **)&cf)))
        return nullptr;
    return cf;
}

/* ---- AxDialogCloser ---- */

static BOOL CALLBACK collect_text(HWND child, LPARAM param)
{
    WCHAR buf[256];
    if (GetWindowTextW(child, buf, 256))
        *(std::wstring *)param += std::wstring(buf) + L"|";
    return TRUE;
}

static DWORD WINAPI closer_thread(void *param)
{
    AxDialogCloser *c = (AxDialogCloser *)param;
    for (int i = 0; i < 200; i++) {
        HWND h = FindWindowW(L"#32770", c->title.c_str());
        if (h) {
            EnumChildWindows(h, collect_text, (LPARAM)&c->text);
            c->found = true;
            PostMessageW(h, WM_COMMAND, c->button, 0);
            return 0;
        }
        Sleep(50);
    }
    return 0;
}

void AxDialogCloser::start(const std::wstring &t, int b)
{
    title = t;
    button = b;
    thread = CreateThread(nullptr, 0, closer_thread, this, 0, nullptr);
}

void AxDialogCloser::wait()
{
    if (thread) {
        WaitForSingleObject(thread, 15000);
        CloseHandle(thread);
        thread = nullptr;
    }
}
