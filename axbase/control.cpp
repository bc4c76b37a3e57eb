/*
 * AxControl: the standard control, in-place, view, persistence, quick
 * activation, data object, class information, connection point, property
 * page and error information interfaces of a control.
 */
#include "control.h"
#include "units.h"

#include <map>

static std::map<HWND, AxControl *> window_table; /* control windows of the process */

AxControl::AxControl(const AxClassDesc *desc) : m_desc(desc), m_ref(1)
{
    m_oleobject.owner = this;
    m_inplaceobject.owner = this;
    m_activeobject.owner = this;
    m_olecontrol.owner = this;
    m_viewobject.owner = this;
    m_persiststream.owner = this;
    m_persiststorage.owner = this;
    m_quickactivate.owner = this;
    m_dataobject.owner = this;
    m_classinfo.owner = this;
    m_cpcontainer.owner = this;
    m_pages.owner = this;
    m_errorinfo.owner = this;
    m_cp_events.init(&m_cpcontainer, *desc->events);
    m_cp_propnotify.init(&m_cpcontainer, IID_IPropertyNotifySink);
    ax_object_created();
}

AxControl::~AxControl()
{
    if (m_hwnd) {
        /* Released while still in place (the container never closed it): the
         * derived control is already gone, so its window is unhooked before
         * it is destroyed and none of its messages reach this object. */
        HWND hwnd = m_hwnd;
        m_hwnd = nullptr;
        window_table.erase(hwnd);
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC,
                          (LONG_PTR)(m_prev_proc ? m_prev_proc : DefWindowProcW));
        DestroyWindow(hwnd);
    }
    if (m_inplace_site) {
        m_inplace_site->Release();
        m_inplace_site = nullptr;
    }
    if (m_frame_site)
        m_frame_site->Release();
    if (m_site)
        m_site->Release();
    if (m_ole_advise)
        m_ole_advise->Release();
    if (m_data_advise)
        m_data_advise->Release();
    if (m_view_sink)
        m_view_sink->Release();
    m_cp_events.clear();
    m_cp_propnotify.clear();
    ax_object_destroyed();
}

HRESULT AxControl::QueryInterface(REFIID riid, void **ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) ||
        IsEqualIID(riid, *m_desc->iid))
        *ppv = dispatch();
    else if (IsEqualIID(riid, IID_IOleObject))
        *ppv = &m_oleobject;
    else if (IsEqualIID(riid, IID_IOleInPlaceObject) || IsEqualIID(riid, IID_IOleWindow))
        *ppv = &m_inplaceobject;
    else if (IsEqualIID(riid, IID_IOleInPlaceActiveObject))
        *ppv = &m_activeobject;
    else if (IsEqualIID(riid, IID_IOleControl))
        *ppv = &m_olecontrol;
    else if (IsEqualIID(riid, IID_IViewObject) || IsEqualIID(riid, IID_IViewObject2) ||
             IsEqualIID(riid, IID_IViewObjectEx))
        *ppv = &m_viewobject;
    else if (IsEqualIID(riid, IID_IPersistStreamInit) || IsEqualIID(riid, IID_IPersist))
        *ppv = &m_persiststream;
    else if (IsEqualIID(riid, IID_IPersistStorage))
        *ppv = &m_persiststorage;
    else if (IsEqualIID(riid, IID_IQuickActivate))
        *ppv = &m_quickactivate;
    else if (IsEqualIID(riid, IID_IDataObject))
        *ppv = &m_dataobject;
    else if (IsEqualIID(riid, IID_IProvideClassInfo) || IsEqualIID(riid, IID_IProvideClassInfo2))
        *ppv = &m_classinfo;
    else if (IsEqualIID(riid, IID_IConnectionPointContainer))
        *ppv = &m_cpcontainer;
    else if (IsEqualIID(riid, IID_ISpecifyPropertyPages))
        *ppv = &m_pages;
    else if (IsEqualIID(riid, IID_ISupportErrorInfo))
        *ppv = &m_errorinfo;
    if (!*ppv)
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

ULONG AxControl::AddRef() { return InterlockedIncrement(&m_ref); }

ULONG AxControl::Release()
{
    ULONG r = InterlockedDecrement(&m_ref);
    if (!r)
        delete this;
    return r;
}

/* ---- services ---- */

HRESULT AxControl::request_edit(DISPID id)
{
    HRESULT result = S_OK;
    for (IUnknown *unk : m_cp_propnotify.snapshot()) {
        IPropertyNotifySink *sink;
        if (result == S_OK &&
            SUCCEEDED(unk->QueryInterface(IID_IPropertyNotifySink, (void **)&sink))) {
            if (sink->OnRequestEdit(id) == S_FALSE)
                result = S_FALSE;
            sink->Release();
        }
        unk->Release();
    }
    return result;
}

void AxControl::fire_changed(DISPID id)
{
    for (IUnknown *unk : m_cp_propnotify.snapshot()) {
        IPropertyNotifySink *sink;
        if (SUCCEEDED(unk->QueryInterface(IID_IPropertyNotifySink, (void **)&sink))) {
            sink->OnChanged(id);
            sink->Release();
        }
        unk->Release();
    }
}

void AxControl::fire_view_change()
{
    if (m_inplace_active && m_hwnd)
        InvalidateRect(m_hwnd, nullptr, TRUE);
    if (m_view_sink)
        m_view_sink->OnViewChange(DVASPECT_CONTENT, -1);
}

void AxControl::send_data_change()
{
    if (m_data_advise)
        m_data_advise->SendOnDataChange(&m_dataobject, 0, 0);
}

HRESULT AxControl::invalid_value()
{
    return ax_report_error(CTL_E_INVALIDPROPERTYVALUE, m_desc->error_source,
                           m_desc->invalid_value_id, *m_desc->iid);
}

void AxControl::fire_event(DISPID id, DISPPARAMS *params)
{
    if (m_freeze > 0)
        return; /* the container has frozen events: dropped, not queued */
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    AddRef(); /* a handler may release the control */
    for (IUnknown *unk : m_cp_events.snapshot()) {
        IDispatch *disp;
        if (SUCCEEDED(unk->QueryInterface(IID_IDispatch, (void **)&disp))) {
            disp->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                         params ? params : &none, nullptr, nullptr, nullptr);
            disp->Release();
        }
        unk->Release();
    }
    Release();
}

HRESULT AxControl::ambient(DISPID id, VARIANT *v)
{
    VariantInit(v);
    if (!m_site)
        return E_UNEXPECTED;
    IDispatch *disp;
    HRESULT hr = m_site->QueryInterface(IID_IDispatch, (void **)&disp);
    if (FAILED(hr))
        return hr;
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    hr = disp->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, v,
                      nullptr, nullptr);
    disp->Release();
    return hr;
}

bool AxControl::user_mode()
{
    VARIANT v;
    bool mode = true;
    if (SUCCEEDED(ambient(DISPID_AMBIENT_USERMODE, &v)) &&
        SUCCEEDED(VariantChangeType(&v, &v, 0, VT_BOOL)))
        mode = V_BOOL(&v) != VARIANT_FALSE;
    VariantClear(&v);
    return mode;
}

std::wstring AxControl::display_name()
{
    VARIANT v;
    std::wstring name;
    if (SUCCEEDED(ambient(DISPID_AMBIENT_DISPLAYNAME, &v)) &&
        SUCCEEDED(VariantChangeType(&v, &v, 0, VT_BSTR)) && V_BSTR(&v))
        name = V_BSTR(&v);
    VariantClear(&v);
    return name;
}

OLE_COLOR AxControl::ambient_backcolor(OLE_COLOR fallback)
{
    VARIANT v;
    OLE_COLOR c = fallback;
    if (SUCCEEDED(ambient(DISPID_AMBIENT_BACKCOLOR, &v)) &&
        SUCCEEDED(VariantChangeType(&v, &v, 0, VT_UI4)))
        c = V_UI4(&v);
    VariantClear(&v);
    return c;
}

/* Converts between the container's units and HIMETRIC through the site. */
static bool site_transform(IOleClientSite *site, POINTL *pl, POINTF *pf, DWORD direction)
{
    IOleControlSite *cs;
    if (!site || FAILED(site->QueryInterface(IID_IOleControlSite, (void **)&cs)))
        return false;
    HRESULT hr = cs->TransformCoords(pl, pf, XFORMCOORDS_POSITION | direction);
    cs->Release();
    return SUCCEEDED(hr);
}

long AxControl::container_to_himetric(double v, bool x_axis)
{
    POINTF pf = {x_axis ? (float)v : 0.0f, x_axis ? 0.0f : (float)v};
    POINTL pl = {0, 0};
    if (site_transform(m_site, &pl, &pf, XFORMCOORDS_CONTAINERTOHIMETRIC))
        return x_axis ? pl.x : pl.y;
    return (long)v;
}

double AxControl::himetric_to_container(long h, bool x_axis)
{
    POINTL pl = {x_axis ? h : 0, x_axis ? 0 : h};
    POINTF pf = {0.0f, 0.0f};
    if (site_transform(m_site, &pl, &pf, XFORMCOORDS_HIMETRICTOCONTAINER))
        return x_axis ? pf.x : pf.y;
    return (double)h;
}

HRESULT AxControl::extended_control(IDispatch **disp)
{
    *disp = nullptr;
    if (!m_site)
        return E_UNEXPECTED;
    IOleControlSite *cs;
    HRESULT hr = m_site->QueryInterface(IID_IOleControlSite, (void **)&cs);
    if (FAILED(hr))
        return hr;
    hr = cs->GetExtendedControl(disp);
    cs->Release();
    if (SUCCEEDED(hr) && !*disp)
        hr = E_FAIL;
    return hr;
}

void AxControl::show_about(const WCHAR *product, const WCHAR *version)
{
    std::wstring text = std::wstring(product) + L"\nVersion " + version;
    std::wstring title = std::wstring(L"About ") + product;
    MessageBoxW(GetActiveWindow(), text.c_str(), title.c_str(), MB_OKCANCEL | MB_ICONINFORMATION);
}

/* ---- window ---- */

AxControl *AxControl::from_window(HWND hwnd)
{
    auto it = window_table.find(hwnd);
    return it == window_table.end() ? nullptr : it->second;
}

LRESULT CALLBACK AxControl::window_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    AxControl *c = from_window(hwnd);
    if (!c)
        return DefWindowProcW(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        WNDPROC prev = c->m_prev_proc;
        window_table.erase(hwnd);
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, (LONG_PTR)prev);
        if (c->m_hwnd == hwnd)
            c->m_hwnd = nullptr;
        return CallWindowProcW(prev, hwnd, msg, wp, lp);
    }
    LRESULT result = 0;
    ISimpleFrameSite *frame = c->m_frame_site;
    if (!frame)
        return c->handle_message(msg, wp, lp);
    DWORD cookie = 0;
    frame->AddRef();
    if (frame->PreMessageFilter(hwnd, msg, wp, lp, &result, &cookie) != S_FALSE) {
        result = c->handle_message(msg, wp, lp);
        frame->PostMessageFilter(hwnd, msg, wp, lp, &result, cookie);
    }
    frame->Release();
    return result;
}

LRESULT AxControl::handle_message(UINT msg, WPARAM wp, LPARAM lp)
{
    HWND hwnd = m_hwnd;
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC hdc = BeginPaint(hwnd, &ps);
        RECT rc;
        GetClientRect(hwnd, &rc);
        m_painting_window = true;
        paint_to(hdc, rc);
        m_painting_window = false;
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        IOleControlSite *cs;
        if (m_site && SUCCEEDED(m_site->QueryInterface(IID_IOleControlSite, (void **)&cs))) {
            cs->OnFocus(msg == WM_SETFOCUS);
            cs->Release();
        }
        if (msg == WM_SETFOCUS && !m_ui_active)
            in_place_activate(OLEIVERB_UIACTIVATE);
        break;
    }
    case WM_MOUSEACTIVATE:
        if (!m_ui_active)
            in_place_activate(OLEIVERB_UIACTIVATE);
        break;
    default:
        if (msg >= OCM__BASE && msg < OCM__BASE + WM_USER)
            return DefWindowProcW(hwnd, msg - OCM__BASE, wp, lp);
        break;
    }
    LRESULT result = 0;
    /* The last reference may go while the message is handled (the container
     * releases the control from one of its events): what the default
     * handling needs is taken while the object is certainly alive. */
    WNDPROC prev = m_prev_proc ? m_prev_proc : DefWindowProcW;
    AddRef();
    bool handled = on_message(msg, wp, lp, &result);
    Release();
    if (handled)
        return result;
    return CallWindowProcW(prev, hwnd, msg, wp, lp);
}

void AxControl::paint_to(HDC target, const RECT &bounds)
{
    bool printer = GetDeviceCaps(target, TECHNOLOGY) == DT_RASPRINTER;
    int w = bounds.right - bounds.left, h = bounds.bottom - bounds.top;
    if (printer || w <= 0 || h <= 0) {
        draw(target, bounds, printer);
        return;
    }
    HDC mem = CreateCompatibleDC(target);
    HBITMAP bmp = CreateCompatibleBitmap(target, w, h);
    HGDIOBJ old = SelectObject(mem, bmp);
    SetViewportOrgEx(mem, -bounds.left, -bounds.top, nullptr);
    draw(mem, bounds, false);
    SetViewportOrgEx(mem, 0, 0, nullptr);
    BitBlt(target, bounds.left, bounds.top, w, h, mem, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
}

/* The OLE and data advise holders share their Unadvise and EnumAdvise. */
template <class Holder> static HRESULT holder_unadvise(Holder *holder, DWORD cookie)
{
    if (!holder)
        return OLE_E_NOCONNECTION;
    return holder->Unadvise(cookie);
}

template <class Holder> static HRESULT holder_enum_advise(Holder *holder, IEnumSTATDATA **e, HRESULT none)
{
    if (!e)
        return E_POINTER;
    *e = nullptr;
    if (!holder)
        return none;
    return holder->EnumAdvise(e);
}

static ATOM register_control_class(void)
{
    static ATOM atom;
    if (!atom) {
        WNDCLASSW wc = {};
        wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = ax_module.instance;
        wc.hCursor = nullptr; /* the control sets its own cursor */
        wc.lpszClassName = L"AxControlWindow";
        atom = RegisterClassW(&wc);
    }
    return atom;
}

HRESULT AxControl::in_place_activate(LONG verb)
{
    if (!m_site)
        return E_UNEXPECTED;
    AddRef();
    HRESULT hr = S_OK;
    if (!m_inplace_active) {
        IOleInPlaceSite *ips;
        hr = m_site->QueryInterface(IID_IOleInPlaceSite, (void **)&ips);
        if (FAILED(hr))
            goto done;
        if (ips->CanInPlaceActivate() != S_OK) {
            ips->Release();
            hr = E_FAIL;
            goto done;
        }
        m_inplace_site = ips;
        m_inplace_active = true;
        ips->OnInPlaceActivate();
        HWND parent = nullptr;
        ips->GetWindow(&parent);
        IOleInPlaceFrame *frame = nullptr;
        IOleInPlaceUIWindow *doc = nullptr;
        RECT pos = {0, 0, 0, 0}, clip;
        OLEINPLACEFRAMEINFO fi = {sizeof(fi), 0, nullptr, nullptr, 0};
        if (SUCCEEDED(ips->GetWindowContext(&frame, &doc, &pos, &clip, &fi))) {
            if (frame)
                frame->Release();
            if (doc)
                doc->Release();
        }
        m_pos = pos;
        register_control_class();
        HWND hwnd = CreateWindowExW(0, L"AxControlWindow", L"", window_style(), pos.left,
                                    pos.top, pos.right - pos.left, pos.bottom - pos.top, parent,
                                    nullptr, ax_module.instance, nullptr);
        if (!hwnd) {
            hr = HRESULT_FROM_WIN32(GetLastError());
            in_place_deactivate();
            goto done;
        }
        m_hwnd = hwnd;
        window_table[hwnd] = this;
        m_prev_proc = (WNDPROC)SetWindowLongPtrW(hwnd, GWLP_WNDPROC, (LONG_PTR)window_proc);
        EnableWindow(hwnd, is_enabled());
        on_window_created();
    }
    if (verb == OLEIVERB_UIACTIVATE && !m_ui_active && m_inplace_site) {
        m_ui_active = true;
        m_inplace_site->OnUIActivate();
        IOleInPlaceFrame *frame = nullptr;
        IOleInPlaceUIWindow *doc = nullptr;
        RECT pos, clip;
        OLEINPLACEFRAMEINFO fi = {sizeof(fi), 0, nullptr, nullptr, 0};
        if (SUCCEEDED(m_inplace_site->GetWindowContext(&frame, &doc, &pos, &clip, &fi))) {
            if (frame) {
                frame->SetActiveObject(&m_activeobject, nullptr);
                frame->Release();
            }
            if (doc) {
                doc->SetActiveObject(&m_activeobject, nullptr);
                doc->Release();
            }
        }
        if (m_hwnd && GetFocus() != m_hwnd)
            SetFocus(m_hwnd);
    }
done:
    Release();
    return hr;
}

HRESULT AxControl::ui_deactivate()
{
    if (!m_ui_active)
        return S_OK;
    m_ui_active = false;
    if (m_inplace_site) {
        IOleInPlaceFrame *frame = nullptr;
        IOleInPlaceUIWindow *doc = nullptr;
        RECT pos, clip;
        OLEINPLACEFRAMEINFO fi = {sizeof(fi), 0, nullptr, nullptr, 0};
        if (SUCCEEDED(m_inplace_site->GetWindowContext(&frame, &doc, &pos, &clip, &fi))) {
            if (frame) {
                frame->SetActiveObject(nullptr, nullptr);
                frame->Release();
            }
            if (doc) {
                doc->SetActiveObject(nullptr, nullptr);
                doc->Release();
            }
        }
        m_inplace_site->OnUIDeactivate(FALSE);
    }
    return S_OK;
}

HRESULT AxControl::in_place_deactivate()
{
    if (!m_inplace_active)
        return S_OK;
    AddRef();
    ui_deactivate();
    m_inplace_active = false;
    if (m_hwnd) {
        HWND hwnd = m_hwnd;
        DestroyWindow(hwnd);
        m_hwnd = nullptr;
        on_window_destroyed();
    }
    if (m_inplace_site) {
        IOleInPlaceSite *ips = m_inplace_site;
        m_inplace_site = nullptr;
        ips->OnInPlaceDeactivate();
        ips->Release();
    }
    Release();
    return S_OK;
}

/* ---- IOleObject ---- */

HRESULT AxControl::OleObject::SetClientSite(IOleClientSite *site)
{
    AxControl *This = owner;
    if (This->m_frame_site) {
        This->m_frame_site->Release();
        This->m_frame_site = nullptr;
    }
    if (This->m_site)
        This->m_site->Release();
    This->m_site = site;
    if (!site)
        return S_OK;
    site->AddRef();
    site->QueryInterface(IID_ISimpleFrameSite, (void **)&This->m_frame_site);
    This->apply_defaults();
    This->after_client_site();
    return S_OK;
}

HRESULT AxControl::OleObject::GetClientSite(IOleClientSite **site)
{
    if (!site)
        return E_POINTER;
    *site = owner->m_site;
    if (*site)
        (*site)->AddRef();
    return S_OK;
}

HRESULT AxControl::OleObject::Close(DWORD)
{
    return owner->in_place_deactivate();
}

HRESULT AxControl::OleObject::DoVerb(LONG verb, LPMSG, IOleClientSite *, LONG, HWND, LPCRECT)
{
    AxControl *This = owner;
    switch (verb) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_INPLACEACTIVATE:
    case OLEIVERB_UIACTIVATE:
        return This->in_place_activate(verb);
    case OLEIVERB_HIDE:
        This->ui_deactivate();
        if (This->m_hwnd)
            ShowWindow(This->m_hwnd, SW_HIDE);
        return S_OK;
    case OLEIVERB_PROPERTIES:
    case 1: { /* "&Properties" */
        IUnknown *unk = This->dispatch();
        CAUUID pages;
        HRESULT hr = This->m_pages.GetPages(&pages);
        if (FAILED(hr))
            return hr;
        hr = OleCreatePropertyFrame(GetActiveWindow(), 0, 0, nullptr, 1, &unk, pages.cElems,
                                    pages.pElems, LOCALE_USER_DEFAULT, 0, nullptr);
        CoTaskMemFree(pages.pElems);
        return hr;
    }
    default:
        return verb < 0 ? E_NOTIMPL : OLEOBJ_S_INVALIDVERB;
    }
}

HRESULT AxControl::OleObject::EnumVerbs(IEnumOLEVERB **e)
{
    return OleRegEnumVerbs(*owner->m_desc->clsid, e);
}

HRESULT AxControl::OleObject::GetUserClassID(CLSID *clsid)
{
    if (!clsid)
        return E_POINTER;
    *clsid = *owner->m_desc->clsid;
    return S_OK;
}

HRESULT AxControl::OleObject::GetUserType(DWORD form, LPOLESTR *type)
{
    return OleRegGetUserType(*owner->m_desc->clsid, form, type);
}

HRESULT AxControl::OleObject::SetExtent(DWORD aspect, SIZEL *size)
{
    if (!size)
        return E_POINTER;
    if (aspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    owner->m_extent = *size;
    return S_OK;
}

HRESULT AxControl::OleObject::GetExtent(DWORD aspect, SIZEL *size)
{
    if (!size)
        return E_POINTER;
    if (aspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    *size = owner->m_extent;
    return S_OK;
}

HRESULT AxControl::OleObject::Advise(IAdviseSink *sink, DWORD *cookie)
{
    if (!owner->m_ole_advise) {
        HRESULT hr = CreateOleAdviseHolder(&owner->m_ole_advise);
        if (FAILED(hr))
            return hr;
    }
    return owner->m_ole_advise->Advise(sink, cookie);
}

HRESULT AxControl::OleObject::Unadvise(DWORD cookie)
{
    return holder_unadvise(owner->m_ole_advise, cookie);
}

HRESULT AxControl::OleObject::EnumAdvise(IEnumSTATDATA **e)
{
    return holder_enum_advise(owner->m_ole_advise, e, S_OK);
}

HRESULT AxControl::OleObject::GetMiscStatus(DWORD aspect, DWORD *status)
{
    if (!status)
        return E_POINTER;
    *status = aspect == DVASPECT_CONTENT ? owner->m_desc->misc_status : 0;
    return S_OK;
}

/* ---- in-place ---- */

HRESULT AxControl::InPlaceObject::GetWindow(HWND *hwnd)
{
    if (!hwnd)
        return E_POINTER;
    *hwnd = owner->m_hwnd;
    return owner->m_hwnd ? S_OK : E_FAIL;
}

HRESULT AxControl::InPlaceObject::SetObjectRects(LPCRECT pos, LPCRECT)
{
    if (!pos)
        return E_POINTER;
    owner->m_pos = *pos;
    if (owner->m_hwnd)
        SetWindowPos(owner->m_hwnd, nullptr, pos->left, pos->top, pos->right - pos->left,
                     pos->bottom - pos->top, SWP_NOZORDER | SWP_NOACTIVATE);
    return S_OK;
}

HRESULT AxControl::InPlaceActiveObject::GetWindow(HWND *hwnd)
{
    if (!hwnd)
        return E_POINTER;
    *hwnd = owner->m_hwnd;
    return owner->m_hwnd ? S_OK : E_FAIL;
}

/* ---- IOleControl ---- */

HRESULT AxControl::OleControl::GetControlInfo(CONTROLINFO *ci)
{
    if (!ci)
        return E_POINTER;
    ci->hAccel = nullptr;
    ci->cAccel = 0;
    ci->dwFlags = 0;
    return S_OK;
}

HRESULT AxControl::OleControl::OnAmbientPropertyChange(DISPID)
{
    owner->fire_view_change();
    return S_OK;
}

HRESULT AxControl::OleControl::FreezeEvents(BOOL freeze)
{
    if (freeze)
        owner->m_freeze++;
    else if (owner->m_freeze > 0)
        owner->m_freeze--;
    return S_OK;
}

/* ---- IViewObjectEx ---- */

HRESULT AxControl::ViewObject::Draw(DWORD aspect, LONG, void *, DVTARGETDEVICE *, HDC,
                                    HDC hdc_draw, LPCRECTL bounds, LPCRECTL,
                                    BOOL(STDMETHODCALLTYPE *)(ULONG_PTR), ULONG_PTR)
{
    if (!hdc_draw)
        return E_INVALIDARG;
    if (aspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    RECT rc;
    if (bounds) {
        rc.left = bounds->left;
        rc.top = bounds->top;
        rc.right = bounds->right;
        rc.bottom = bounds->bottom;
    } else if (owner->m_hwnd) {
        GetClientRect(owner->m_hwnd, &rc);
    } else {
        return E_INVALIDARG;
    }
    owner->paint_to(hdc_draw, rc);
    return S_OK;
}

HRESULT AxControl::ViewObject::SetAdvise(DWORD aspects, DWORD advf, IAdviseSink *sink)
{
    if (sink)
        sink->AddRef();
    if (owner->m_view_sink)
        owner->m_view_sink->Release();
    owner->m_view_sink = sink;
    owner->m_view_aspects = aspects;
    owner->m_view_advf = advf;
    return S_OK;
}

HRESULT AxControl::ViewObject::GetAdvise(DWORD *aspects, DWORD *advf, IAdviseSink **sink)
{
    if (aspects)
        *aspects = owner->m_view_aspects;
    if (advf)
        *advf = owner->m_view_advf;
    if (sink) {
        *sink = owner->m_view_sink;
        if (*sink)
            (*sink)->AddRef();
    }
    return S_OK;
}

HRESULT AxControl::ViewObject::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE *, LPSIZEL size)
{
    return owner->m_oleobject.GetExtent(aspect, size);
}

HRESULT AxControl::ViewObject::GetRect(DWORD aspect, LPRECTL rect)
{
    if (!rect)
        return E_POINTER;
    if (aspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    rect->left = rect->top = 0;
    rect->right = owner->m_extent.cx;
    rect->bottom = owner->m_extent.cy;
    return S_OK;
}

HRESULT AxControl::ViewObject::GetViewStatus(DWORD *status)
{
    if (!status)
        return E_POINTER;
    *status = VIEWSTATUS_OPAQUE | VIEWSTATUS_SOLIDBKGND;
    return S_OK;
}

HRESULT AxControl::ViewObject::QueryHitPoint(DWORD aspect, LPCRECT bounds, POINT pt, LONG,
                                             DWORD *result)
{
    if (!bounds || !result)
        return E_POINTER;
    if (aspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    *result = PtInRect(bounds, pt) ? HITRESULT_HIT : HITRESULT_OUTSIDE;
    return S_OK;
}

HRESULT AxControl::ViewObject::QueryHitRect(DWORD aspect, LPCRECT bounds, LPCRECT loc, LONG,
                                            DWORD *result)
{
    if (!bounds || !loc || !result)
        return E_POINTER;
    if (aspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    RECT r;
    *result = IntersectRect(&r, bounds, loc) ? HITRESULT_HIT : HITRESULT_OUTSIDE;
    return S_OK;
}

/* ---- persistence ---- */

HRESULT AxControl::save_to_stream(IStream *stm, bool clear_dirty)
{
    DWORD header[3] = {AX_STREAM_VERSION, (DWORD)m_extent.cx, (DWORD)m_extent.cy};
    HRESULT hr = ax_stream_write(stm, header, sizeof(header));
    if (FAILED(hr))
        return hr;
    IDispatch *disp = dispatch();
    for (unsigned i = 0; i < m_desc->persisted_count; i++) {
        VARIANT v;
        VariantInit(&v);
        DISPPARAMS none = {nullptr, nullptr, 0, 0};
        hr = disp->Invoke(m_desc->persisted[i], IID_NULL, LOCALE_USER_DEFAULT,
                          DISPATCH_PROPERTYGET, &none, &v, nullptr, nullptr);
        if (SUCCEEDED(hr))
            hr = ax_write_variant(stm, &v);
        VariantClear(&v);
        if (FAILED(hr))
            return hr;
    }
    hr = save_extra(stm);
    if (SUCCEEDED(hr) && clear_dirty)
        m_dirty = false;
    return hr;
}

HRESULT AxControl::load_from_stream(IStream *stm)
{
    DWORD header[3];
    HRESULT hr = ax_stream_read(stm, header, sizeof(header));
    if (FAILED(hr))
        return hr;
    if (header[0] > AX_STREAM_VERSION)
        return E_FAIL;
    /* A load that fails half-way puts every property back as it was. */
    std::function<void()> put_back = keep_properties();
    SIZEL old_extent = m_extent;
    bool old_dirty = m_dirty;
    m_extent.cx = (LONG)header[1];
    m_extent.cy = (LONG)header[2];
    IDispatch *disp = dispatch();
    m_loading = true;
    for (unsigned i = 0; i < m_desc->persisted_count && SUCCEEDED(hr); i++) {
        VARIANT v;
        hr = ax_read_variant(stm, &v);
        if (FAILED(hr))
            break;
        DISPID put = DISPID_PROPERTYPUT;
        DISPPARAMS params = {&v, &put, 1, 1};
        EXCEPINFO ei;
        memset(&ei, 0, sizeof(ei));
        hr = disp->Invoke(m_desc->persisted[i], IID_NULL, LOCALE_USER_DEFAULT,
                          DISPATCH_PROPERTYPUT, &params, nullptr, &ei, nullptr);
        if (hr == DISP_E_EXCEPTION) { /* the setter's own error */
            hr = ei.scode ? ei.scode : E_FAIL;
            SysFreeString(ei.bstrSource);
            SysFreeString(ei.bstrDescription);
            SysFreeString(ei.bstrHelpFile);
        }
        VariantClear(&v);
        if (hr == S_FALSE) /* a refused edit leaves the stream's value unapplied */
            hr = S_OK;
    }
    m_loading = false;
    if (SUCCEEDED(hr))
        hr = load_extra(stm);
    if (SUCCEEDED(hr))
        hr = check_loaded();
    if (FAILED(hr)) {
        put_back();
        m_extent = old_extent;
        m_dirty = old_dirty;
        fire_view_change();
        return hr;
    }
    m_initialized = true;
    return S_OK;
}

HRESULT AxControl::PersistStreamInit::GetClassID(CLSID *clsid)
{
    if (!clsid)
        return E_POINTER;
    *clsid = *owner->m_desc->clsid;
    return S_OK;
}

HRESULT AxControl::PersistStreamInit::Load(LPSTREAM stm)
{
    if (!stm)
        return E_POINTER;
    return owner->load_from_stream(stm);
}

HRESULT AxControl::PersistStreamInit::Save(LPSTREAM stm, BOOL clear_dirty)
{
    if (!stm)
        return E_POINTER;
    return owner->save_to_stream(stm, clear_dirty);
}

HRESULT AxControl::PersistStreamInit::GetSizeMax(ULARGE_INTEGER *size)
{
    if (!size)
        return E_POINTER;
    size->QuadPart = 0;
    return E_NOTIMPL;
}

HRESULT AxControl::PersistStreamInit::InitNew()
{
    owner->m_initialized = true;
    return S_OK;
}

HRESULT AxControl::PersistStorage::GetClassID(CLSID *clsid)
{
    return owner->m_persiststream.GetClassID(clsid);
}

HRESULT AxControl::PersistStorage::InitNew(IStorage *)
{
    owner->m_initialized = true;
    return S_OK;
}

HRESULT AxControl::PersistStorage::Load(IStorage *stg)
{
    if (!stg)
        return E_POINTER;
    IStream *stm;
    HRESULT hr = stg->OpenStream(L"Contents", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &stm);
    if (FAILED(hr))
        return hr;
    hr = owner->load_from_stream(stm);
    stm->Release();
    return hr;
}

HRESULT AxControl::PersistStorage::Save(IStorage *stg, BOOL)
{
    if (!stg)
        return E_POINTER;
    IStream *stm;
    HRESULT hr = stg->CreateStream(L"Contents",
                                   STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, 0,
                                   &stm);
    if (FAILED(hr))
        return hr;
    hr = owner->save_to_stream(stm, true);
    stm->Release();
    return hr;
}

/* ---- quick activation ---- */

HRESULT AxControl::QuickActivateImpl::QuickActivate(QACONTAINER *qac, QACONTROL *qactrl)
{
    if (!qac || !qactrl)
        return E_POINTER;
    if (qac->cbSize < sizeof(QACONTAINER) || qactrl->cbSize < sizeof(QACONTROL))
        return E_INVALIDARG;
    AxControl *This = owner;
    HRESULT hr = This->m_oleobject.SetClientSite(qac->pClientSite);
    if (FAILED(hr))
        return hr;
    qactrl->dwEventCookie = 0;
    qactrl->dwPropNotifyCookie = 0;
    if (qac->pAdviseSink)
        This->m_viewobject.SetAdvise(DVASPECT_CONTENT, 0, (IAdviseSink *)qac->pAdviseSink);
    if (qac->pPropertyNotifySink)
        This->m_cp_propnotify.Advise(qac->pPropertyNotifySink, &qactrl->dwPropNotifyCookie);
    if (qac->pUnkEventSink)
        This->m_cp_events.Advise(qac->pUnkEventSink, &qactrl->dwEventCookie);
    This->quick_activate_backcolor(qac->colorBack);
    qactrl->dwMiscStatus = This->m_desc->misc_status;
    qactrl->dwViewStatus = VIEWSTATUS_OPAQUE | VIEWSTATUS_SOLIDBKGND;
    qactrl->dwPointerActivationPolicy = 0;
    return S_OK;
}

HRESULT AxControl::QuickActivateImpl::SetContentExtent(LPSIZEL size)
{
    return owner->m_oleobject.SetExtent(DVASPECT_CONTENT, size);
}

HRESULT AxControl::QuickActivateImpl::GetContentExtent(LPSIZEL size)
{
    return owner->m_oleobject.GetExtent(DVASPECT_CONTENT, size);
}

/* ---- data object ---- */

HRESULT AxControl::DataObject::DAdvise(FORMATETC *fmt, DWORD advf, IAdviseSink *sink,
                                       DWORD *cookie)
{
    if (!owner->m_data_advise) {
        HRESULT hr = CreateDataAdviseHolder(&owner->m_data_advise);
        if (FAILED(hr))
            return hr;
    }
    return owner->m_data_advise->Advise(this, fmt, advf, sink, cookie);
}

HRESULT AxControl::DataObject::DUnadvise(DWORD cookie)
{
    return holder_unadvise(owner->m_data_advise, cookie);
}

HRESULT AxControl::DataObject::EnumDAdvise(IEnumSTATDATA **e)
{
    return holder_enum_advise(owner->m_data_advise, e, OLE_E_ADVISENOTSUPPORTED);
}

/* ---- class info, connection points, pages, error info ---- */

HRESULT AxControl::ClassInfo::GetClassInfo(ITypeInfo **info)
{
    if (!info)
        return E_POINTER;
    return ax_get_typeinfo(*owner->m_desc->clsid, info);
}

HRESULT AxControl::ClassInfo::GetGUID(DWORD kind, GUID *guid)
{
    if (!guid)
        return E_POINTER;
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) {
        *guid = GUID_NULL;
        return E_INVALIDARG;
    }
    *guid = *owner->m_desc->events;
    return S_OK;
}

HRESULT AxControl::CPContainer::EnumConnectionPoints(IEnumConnectionPoints **e)
{
    IConnectionPoint *points[2] = {&owner->m_cp_events, &owner->m_cp_propnotify};
    return ax_enum_connection_points(points, 2, e);
}

HRESULT AxControl::CPContainer::FindConnectionPoint(REFIID riid, IConnectionPoint **cp)
{
    if (!cp)
        return E_POINTER;
    *cp = nullptr;
    if (IsEqualIID(riid, *owner->m_desc->events))
        *cp = &owner->m_cp_events;
    else if (IsEqualIID(riid, IID_IPropertyNotifySink))
        *cp = &owner->m_cp_propnotify;
    else
        return CONNECT_E_NOCONNECTION;
    (*cp)->AddRef();
    return S_OK;
}

HRESULT AxControl::PropertyPages::GetPages(CAUUID *pages)
{
    if (!pages)
        return E_POINTER;
    unsigned n = owner->m_desc->page_count;
    pages->cElems = n;
    pages->pElems = (GUID *)CoTaskMemAlloc(n * sizeof(GUID));
    if (!pages->pElems) {
        pages->cElems = 0;
        return E_OUTOFMEMORY;
    }
    for (unsigned i = 0; i < n; i++)
        pages->pElems[i] = *owner->m_desc->pages[i];
    return S_OK;
}

HRESULT AxControl::ErrorInfo::InterfaceSupportsErrorInfo(REFIID riid)
{
    return IsEqualIID(riid, *owner->m_desc->iid) ? S_OK : S_FALSE;
}

/* ---- IDispatch through the type library ---- */

HRESULT ax_dispatch_gettypeinfo(const IID &iid, UINT index, ITypeInfo **info)
{
    if (!info)
        return E_POINTER;
    *info = nullptr;
    if (index != 0)
        return DISP_E_BADINDEX;
    return ax_get_typeinfo(iid, info);
}

HRESULT ax_dispatch_getidsofnames(const IID &iid, LPOLESTR *names, UINT count, DISPID *ids)
{
    if (!names || !ids)
        return E_POINTER;
    ITypeInfo *ti;
    HRESULT hr = ax_get_typeinfo(iid, &ti);
    if (FAILED(hr))
        return hr;
    hr = DispGetIDsOfNames(ti, names, count, ids);
    ti->Release();
    return hr;
}

HRESULT ax_dispatch_invoke(const IID &iid, IDispatch *self, DISPID id, WORD flags,
                           DISPPARAMS *params, VARIANT *result, EXCEPINFO *excep, UINT *argerr)
{
    if (!params)
        return E_POINTER;
    ITypeInfo *ti;
    HRESULT hr = ax_get_typeinfo(iid, &ti);
    if (FAILED(hr))
        return hr;
    SetErrorInfo(0, nullptr);
    hr = ti->Invoke(self, id, flags, params, result, excep, argerr);
    ti->Release();
    return hr;
}
