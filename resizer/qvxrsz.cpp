/*
 * QVXRSZ: properties, persistence with the form's design scale, the form
 * hook, capturing the controls and rescaling them, tracking limits, centring.
 */
#include "qvxrsz.h"
#include "byname.h"
#include "units.h"

#include <map>

/* {8AC307E8-66F6-4621-BE95-6E6D4B31879B} */
const CLSID CLSID_QVXRSZGeneralPage = {
    0x8ac307e8, 0x66f6, 0x4621, {0xbe, 0x95, 0x6e, 0x6d, 0x4b, 0x31, 0x87, 0x9b}};

static const CLSID *const rsz_pages[] = {&CLSID_QVXRSZGeneralPage};

static const DISPID rsz_persisted[] = {DISPID_RSZ_AUTOCENTER, DISPID_RSZ_RESIZEFONTS,
                                       DISPID_RSZ_MINWIDTH,   DISPID_RSZ_MINHEIGHT,
                                       DISPID_RSZ_MAXWIDTH,   DISPID_RSZ_MAXHEIGHT,
                                       DISPID_ENABLED};

const AxClassDesc qvxrsz_desc = {
    &CLSID_QVXRSZ,
    &IID_Izelcrsz,
    &DIID__IzelcrszEvents,
    L"QVXRSZ",
    IDS_INVALID_VALUE,
    OLEMISC_SETCLIENTSITEFIRST | OLEMISC_INVISIBLEATRUNTIME | OLEMISC_ACTIVATEWHENVISIBLE |
        OLEMISC_INSIDEOUT | OLEMISC_CANTLINKINSIDE | OLEMISC_RECOMPOSEONRESIZE,
    rsz_pages,
    1,
    rsz_persisted,
    sizeof(rsz_persisted) / sizeof(rsz_persisted[0]),
};

static long screen_dpi_x()
{
    HDC dc = GetDC(nullptr);
    long d = GetDeviceCaps(dc, LOGPIXELSX);
    ReleaseDC(nullptr, dc);
    return d;
}

QVXRSZ::QVXRSZ() : AxControl(&qvxrsz_desc)
{
    memset(&m_props, 0, sizeof(m_props));
    m_rsz.owner = this;
    /* half the system icon size */
    HDC dc = GetDC(nullptr);
    long dx = GetDeviceCaps(dc, LOGPIXELSX), dy = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    set_extent({ax_pixels_to_himetric(GetSystemMetrics(SM_CXICON) / 2, dx),
                ax_pixels_to_himetric(GetSystemMetrics(SM_CYICON) / 2, dy)});
}

QVXRSZ::~QVXRSZ()
{
    free_tree();
    /* released while still in place: the window goes without a WM_DESTROY
     * reaching this object, so the forms it serves are let go here */
    if (window())
        qvxrsz_release_forms(window());
}

void QVXRSZ::apply_defaults()
{
    m_props.enabled = VARIANT_TRUE;
    m_props.resize_fonts = VARIANT_TRUE;
    m_props.auto_center = VARIANT_FALSE;
    m_props.max_h = m_props.max_w = m_props.min_h = m_props.min_w = 0;
    m_props.max_h_px = m_props.max_w_px = m_props.min_h_px = m_props.min_w_px = 0;
}

void QVXRSZ::after_client_site()
{
    /* at run time the control goes in place at once: its window hooks the form */
    if (user_mode())
        in_place_activate(OLEIVERB_INPLACEACTIVATE);
}

DWORD QVXRSZ::window_style()
{
    /* invisible at run time */
    return user_mode() ? WS_CHILD : WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
}

std::function<void()> QVXRSZ::keep_properties()
{
    return [this, saved = m_props] { m_props = saved; };
}

/* ---- Izelcrsz ---- */

HRESULT QVXRSZ::set_limit(DISPID id, LONG val, LONG *store, LONG *store_px, bool height)
{
    LONG min = height ? m_props.min_h : m_props.min_w;
    LONG max = height ? m_props.max_h : m_props.max_w;
    bool is_min = id == DISPID_RSZ_MINHEIGHT || id == DISPID_RSZ_MINWIDTH;
    bool bad = is_min ? (val < 0 || (max != 0 && val > max) || (max == 0 && val > 32767))
                      : (val < 0 || (val > 0 && val < min));
    /* A stream sets each minimum before its maximum: the pair is checked
     * once both are read (check_loaded), so what was saved loads back. */
    if (loading())
        bad = val < 0;
    if (bad)
        return invalid_value();
    if (request_edit(id) == S_FALSE)
        return S_FALSE;
    *store = val;
    *store_px = ax_himetric_to_pixels(container_to_himetric(val, !height), screen_dpi_x());
    if (window())
        InvalidateRect(window(), nullptr, TRUE);
    set_dirty(true);
    fire_changed(id);
    fire_view_change();
    send_data_change();
    return S_OK;
}

HRESULT QVXRSZ::set_flag(DISPID id, VARIANT_BOOL val, VARIANT_BOOL *store, bool invalidate)
{
    if (request_edit(id) == S_FALSE)
        return S_FALSE;
    *store = val ? VARIANT_TRUE : VARIANT_FALSE;
    if (invalidate && window())
        InvalidateRect(window(), nullptr, TRUE);
    set_dirty(true);
    fire_changed(id);
    fire_view_change();
    send_data_change();
    return S_OK;
}

#define GETTER(name, field)                                  \
    HRESULT QVXRSZ::Rsz::get_##name(decltype(owner->m_props.field) *pval) \
    {                                                        \
        if (!pval)                                           \
            return E_POINTER;                                \
        *pval = owner->m_props.field;                        \
        return S_OK;                                         \
    }

GETTER(Enabled, enabled)
GETTER(MaxHeight, max_h)
GETTER(MaxWidth, max_w)
GETTER(MinHeight, min_h)
GETTER(MinWidth, min_w)
GETTER(ResizeFonts, resize_fonts)
GETTER(AutoCenter, auto_center)

HRESULT QVXRSZ::Rsz::put_Enabled(VARIANT_BOOL val)
{
    return owner->set_flag(DISPID_ENABLED, val, &owner->m_props.enabled, false);
}

HRESULT QVXRSZ::Rsz::put_ResizeFonts(VARIANT_BOOL val)
{
    return owner->set_flag(DISPID_RSZ_RESIZEFONTS, val, &owner->m_props.resize_fonts, true);
}

HRESULT QVXRSZ::Rsz::put_AutoCenter(VARIANT_BOOL val)
{
    return owner->set_flag(DISPID_RSZ_AUTOCENTER, val, &owner->m_props.auto_center, true);
}

HRESULT QVXRSZ::Rsz::put_MaxHeight(LONG val)
{
    return owner->set_limit(DISPID_RSZ_MAXHEIGHT, val, &owner->m_props.max_h, &owner->m_props.max_h_px,
                            true);
}

HRESULT QVXRSZ::Rsz::put_MaxWidth(LONG val)
{
    return owner->set_limit(DISPID_RSZ_MAXWIDTH, val, &owner->m_props.max_w, &owner->m_props.max_w_px,
                            false);
}

HRESULT QVXRSZ::Rsz::put_MinHeight(LONG val)
{
    return owner->set_limit(DISPID_RSZ_MINHEIGHT, val, &owner->m_props.min_h, &owner->m_props.min_h_px,
                            true);
}

HRESULT QVXRSZ::Rsz::put_MinWidth(LONG val)
{
    return owner->set_limit(DISPID_RSZ_MINWIDTH, val, &owner->m_props.min_w, &owner->m_props.min_w_px,
                            false);
}

HRESULT QVXRSZ::Rsz::CenterForm()
{
    owner->center_form();
    return S_OK;
}

HRESULT QVXRSZ::Rsz::AboutBox()
{
    owner->show_about(L"OMNIKIT", L"1.0");
    return S_OK;
}

/* ---- persistence: the form's design scale after the properties ---- */

IDispatch *QVXRSZ::form_dispatch()
{
    if (!client_site())
        return nullptr;
    IOleContainer *cont;
    if (FAILED(client_site()->GetContainer(&cont)) || !cont)
        return nullptr;
    IDispatch *disp = nullptr;
    if (FAILED(cont->QueryInterface(IID_IDispatch, (void **)&disp)))
        disp = nullptr;
    cont->Release();
    return disp;
}

HRESULT QVXRSZ::save_extra(IStream *stm)
{
    IDispatch *form = form_dispatch();
    if (form) {
        double l, t, w, h;
        if (ax_get_double(form, L"ScaleLeft", &l) && ax_get_double(form, L"ScaleTop", &t) &&
            ax_get_double(form, L"ScaleWidth", &w) && ax_get_double(form, L"ScaleHeight", &h)) {
            m_props.design[0] = (LONG)l;
            m_props.design[1] = (LONG)t;
            m_props.design[2] = (LONG)(l + w);
            m_props.design[3] = (LONG)(t + h);
        }
        form->Release();
    }
    return ax_stream_write(stm, m_props.design, sizeof(m_props.design));
}

HRESULT QVXRSZ::load_extra(IStream *stm)
{
    LONG design[4];
    HRESULT hr = ax_stream_read(stm, design, sizeof(design));
    if (SUCCEEDED(hr))
        memcpy(m_props.design, design, sizeof(design));
    return hr;
}

HRESULT QVXRSZ::check_loaded()
{
    /* every pair the setters can reach: no maximum, or a minimum not above it */
    if ((m_props.max_w != 0 && m_props.min_w > m_props.max_w) ||
        (m_props.max_h != 0 && m_props.min_h > m_props.max_h))
        return invalid_value();
    return S_OK;
}

/* ---- design-time appearance ---- */

void QVXRSZ::draw(HDC hdc, const RECT &bounds, bool)
{
    HBITMAP bmp = LoadBitmapW(ax_module.instance, MAKEINTRESOURCEW(IDB_QVXRSZ));
    if (!bmp)
        return;
    BITMAP info;
    GetObjectW(bmp, sizeof(info), &info);
    HDC mem = CreateCompatibleDC(hdc);
    HGDIOBJ old = SelectObject(mem, bmp);
    SetStretchBltMode(hdc, COLORONCOLOR);
    StretchBlt(hdc, bounds.left, bounds.top, bounds.right - bounds.left,
               bounds.bottom - bounds.top, mem, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(bmp);
}

/* ---- the form hook ---- */

static std::map<HWND, RszHook> hook_table;

static LRESULT call_prev(WNDPROC prev, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

static LRESULT CALLBACK form_hook_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    auto it = hook_table.find(hwnd);
    if (it == hook_table.end())
        return DefWindowProcW(hwnd, msg, wp, lp);
    /* copies: a resizer's handling may change the table */
    WNDPROC prev = it->second.prev;
    HWND resizer = it->second.resizer;
    switch (msg) {
    case WM_SIZE:
        if (resizer)
            SendMessageW(resizer, WM_USER + 1, wp, lp);
        return call_prev(prev, hwnd, msg, wp, lp);
    case WM_GETMINMAXINFO:
        if (!resizer) /* no resizer serves the form any more */
            return call_prev(prev, hwnd, msg, wp, lp);
        SendMessageW(resizer, WM_USER + 2, wp, lp);
        return 1;
    case WM_USER + 3:
        if (!resizer)
            return call_prev(prev, hwnd, msg, wp, lp);
        PostMessageW(resizer, WM_USER + 3, wp, lp);
        return 1;
    case WM_NCDESTROY: {
        /* the form goes away: its handle must not stay in the table, and the
         * server need no longer stay loaded for it */
        hook_table.erase(hwnd);
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, (LONG_PTR)prev);
        LRESULT r = call_prev(prev, hwnd, msg, wp, lp);
        ax_unlock_module();
        return r;
    }
    default:
        return call_prev(prev, hwnd, msg, wp, lp);
    }
}

static LRESULT call_prev(WNDPROC prev, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (!prev || prev == form_hook_proc)
        return DefWindowProcW(hwnd, msg, wp, lp);
    return CallWindowProcW(prev, hwnd, msg, wp, lp);
}

bool qvxrsz_hook_form(HWND form, HWND resizer)
{
    if (!form || !IsWindow(form))
        return false;
    auto it = hook_table.find(form);
    if (it != hook_table.end()) {
        /* hooked once; the newest resizer serves it, the ones before it wait */
        RszHook &h = it->second;
        if (h.resizer != resizer) {
            std::erase(h.earlier, resizer);
            if (h.resizer)
                h.earlier.push_back(h.resizer);
            h.resizer = resizer;
        }
        return true;
    }
    WNDPROC prev = (WNDPROC)SetWindowLongPtrW(form, GWLP_WNDPROC, (LONG_PTR)form_hook_proc);
    hook_table[form] = {prev, resizer, {}};
    /* the form's window procedure now lives in this server: it stays loaded
     * until the hook is gone */
    ax_lock_module();
    return true;
}

void qvxrsz_release_forms(HWND resizer)
{
    for (auto it = hook_table.begin(); it != hook_table.end();) {
        HWND form = it->first;
        RszHook &h = it->second;
        std::erase(h.earlier, resizer);
        if (h.resizer != resizer) {
            ++it;
            continue;
        }
        if (!h.earlier.empty()) { /* the resizer before it serves the form again */
            h.resizer = h.earlier.back();
            h.earlier.pop_back();
            ++it;
            continue;
        }
        if (!IsWindow(form) ||
            (WNDPROC)GetWindowLongPtrW(form, GWLP_WNDPROC) != form_hook_proc) {
            /* someone subclassed the form after us: taking our procedure out
             * would cut theirs off, so the hook stays (and keeps the server
             * loaded) but only passes messages on */
            h.resizer = nullptr;
            ++it;
            continue;
        }
        SetWindowLongPtrW(form, GWLP_WNDPROC, (LONG_PTR)h.prev);
        it = hook_table.erase(it);
        ax_unlock_module();
    }
}

const RszHook *qvxrsz_hook_of(HWND form)
{
    auto it = hook_table.find(form);
    return it == hook_table.end() ? nullptr : &it->second;
}

void QVXRSZ::hook()
{
    if (!in_place_site() || !window())
        return;
    HWND form = nullptr;
    if (SUCCEEDED(in_place_site()->GetWindow(&form)))
        qvxrsz_hook_form(form, window());
}

void QVXRSZ::on_window_created()
{
    if (user_mode())
        hook();
}

bool QVXRSZ::on_message(UINT msg, WPARAM wp, LPARAM lp, LRESULT *result)
{
    *result = 0;
    switch (msg) {
    case WM_USER + 1:
        if (wp == SIZE_MINIMIZED || HIWORD(lp) == 0)
            return true;
        AddRef();
        m_walking++;
        if (user_mode() && !root()) {
            capture();
            if (root() && m_props.auto_center)
                center_form();
        }
        if (m_props.enabled && root() && !m_drop_tree)
            resize();
        if (--m_walking == 0 && m_drop_tree)
            free_tree();
        Release();
        return true;
    case WM_USER + 2:
        tracking_limits((MINMAXINFO *)lp);
        return true;
    case WM_USER + 3:
        hook();
        PostMessageW(window(), WM_USER + 1, 0, lp);
        return true;
    case WM_DESTROY:
        free_tree();
        qvxrsz_release_forms(window());
        return false;
    case WM_ERASEBKGND:
        *result = 1;
        return true;
    default:
        return false;
    }
}

void QVXRSZ::tracking_limits(MINMAXINFO *mmi)
{
    if (!mmi || !m_props.enabled)
        return;
    if (m_props.max_w_px)
        mmi->ptMaxTrackSize.x = m_props.max_w_px;
    if (m_props.max_h_px)
        mmi->ptMaxTrackSize.y = m_props.max_h_px;
    if (m_props.min_w_px)
        mmi->ptMinTrackSize.x = m_props.min_w_px;
    if (m_props.min_h_px)
        mmi->ptMinTrackSize.y = m_props.min_h_px;
}

/* ---- capturing the controls ---- */

void QVXRSZ::free_tree()
{
    if (m_walking && !m_records.empty()) {
        m_drop_tree = true;
        return;
    }
    m_drop_tree = false;
    for (auto &r : m_records)
        if (r->object)
            r->object->Release();
    m_records.clear();
}

static bool read_font_size(IDispatch *obj, float *size)
{
    double v;
    if (ax_get_double(obj, L"FontSize", &v)) {
        *size = (float)v;
        return true;
    }
    IDispatch *font;
    if (ax_get_object(obj, L"Font", &font)) {
        bool ok = ax_get_double(font, L"Size", &v);
        font->Release();
        if (ok) {
            *size = (float)v;
            return true;
        }
    }
    *size = 0;
    return false;
}

static std::wstring read_font_name(IDispatch *obj)
{
    std::wstring name;
    if (ax_get_string(obj, L"FontName", &name))
        return name;
    IDispatch *font;
    if (ax_get_object(obj, L"Font", &font)) {
        ax_get_string(font, L"Name", &name);
        font->Release();
    }
    return name;
}

/* The four geometry values of a control (X1, Y1, X2, Y2 for a line); each
 * flag says whether it could be read. */
static void read_geometry(IDispatch *obj, bool line, float v[4], bool readable[4])
{
    static const WCHAR *plain[] = {L"Left", L"Top", L"Width", L"Height"};
    static const WCHAR *ends[] = {L"X1", L"Y1", L"X2", L"Y2"};
    for (int i = 0; i < 4; i++) {
        double d = 0;
        readable[i] = ax_get_double(obj, line ? ends[i] : plain[i], &d);
        v[i] = readable[i] ? (float)d : 0;
    }
}

void QVXRSZ::capture()
{
    IDispatch *form = form_dispatch();
    if (!form)
        return;
    std::wstring form_name;
    if (!ax_get_string(form, L"Name", &form_name)) {
        form->Release();
        return; /* tried again at the next resize */
    }
    free_tree();
    long U = m_props.design[2], V = m_props.design[3];
    if (U <= 0 || V <= 0) {
        /* never saved with its form: the form's scale size now is the design size */
        double l = 0, t = 0, w = 0, h = 0;
        ax_get_double(form, L"ScaleLeft", &l);
        ax_get_double(form, L"ScaleTop", &t);
        ax_get_double(form, L"ScaleWidth", &w);
        ax_get_double(form, L"ScaleHeight", &h);
        U = (long)(l + w);
        V = (long)(t + h);
    }
    auto root_rec = std::make_unique<RszRecord>();
    root_rec->name = form_name;
    root_rec->key = ax_name_key(form);
    root_rec->g = {(float)m_props.design[0], (float)m_props.design[1], (float)U, (float)V};
    m_records.push_back(std::move(root_rec));

    ax_walk_form(client_site(), [this, U, V](IDispatch *obj) {
        auto rec = std::make_unique<RszRecord>();
        VARIANT x2;
        rec->is_line = SUCCEEDED(ax_get_named(obj, L"X2", &x2));
        VariantClear(&x2);
        ax_get_string(obj, L"Name", &rec->name);
        /* controls of one control array share a Name: the Index tells them apart */
        rec->key = ax_name_key(obj);
        float v[4];
        bool readable[4];
        read_geometry(obj, rec->is_line, v, readable);
        rec->g = {v[0], v[1], v[2], v[3]};
        float font = 0;
        read_font_size(obj, &font);
        rec->font_name = read_font_name(obj);
        rec->container = ax_container_key(obj);
        rec->r = rszscale::ratios_of(rec->g, U, V);
        rec->font_ratio_h = rszscale::ratio(font, V);
        rec->font_ratio_w = rszscale::ratio(font, U);
        rec->object = obj;
        bool attached = false;
        size_t existing = m_records.size();
        for (size_t i = 0; i < existing; i++) {
            if (m_records[i]->key == rec->container) {
                m_records[i]->children.push_back(rec.get());
                attached = true;
            }
        }
        if (attached)
            m_records.push_back(std::move(rec));
        return attached; /* its container has no record (yet) */
    });
    form->Release();
}

/* ---- resizing ---- */

void QVXRSZ::resize()
{
    RszRecord *top = root();
    IDispatch *form = form_dispatch();
    if (!top || !form) {
        if (form)
            form->Release();
        return;
    }
    long W0 = (long)top->g.width, H0 = (long)top->g.height;
    /* refresh pass: controls the program moved keep their new relative place */
    for (size_t i = 1; i < m_records.size(); i++) {
        RszRecord *rec = m_records[i].get();
        float v[4];
        bool readable[4];
        read_geometry(rec->object, rec->is_line, v, readable);
        rszscale::refresh_value(&rec->g.left, &rec->r.left, readable[0], v[0], W0);
        rszscale::refresh_value(&rec->g.top, &rec->r.top, readable[1], v[1], H0);
        rszscale::refresh_value(&rec->g.width, &rec->r.width, readable[2], v[2], W0);
        rszscale::refresh_value(&rec->g.height, &rec->r.height, readable[3], v[3], H0);
    }
    double w = 0, h = 0;
    bool ok = ax_get_double(form, L"ScaleWidth", &w) && ax_get_double(form, L"ScaleHeight", &h);
    form->Release();
    if (!ok)
        return;
    top->g.width = (float)w;
    top->g.height = (float)h;
    visit(top->children, 0, (float)w, (float)h);
}

void QVXRSZ::visit(std::vector<RszRecord *> &list, size_t i, float W, float H)
{
    /* a record, then the chain of its later siblings, then its own children */
    if (i >= list.size() || m_drop_tree)
        return;
    RszRecord *rec = list[i];
    handle(rec, W, H);
    visit(list, i + 1, W, H);
    visit(rec->children, 0, W, H);
}

static float current_font_size(IDispatch *obj)
{
    float size = 0;
    read_font_size(obj, &size);
    return size;
}

void QVXRSZ::handle(RszRecord *rec, float W, float H)
{
    IDispatch *obj = rec->object;
    float font = m_props.resize_fonts
                     ? rszscale::font_size(rec->font_ratio_h, rec->font_ratio_w, W, H)
                     : current_font_size(obj);
    if (rec->is_line) {
        const WCHAR *names[] = {L"X2", L"X1", L"Y2", L"Y1"};
        float vals[] = {W * rec->r.width, W * rec->r.left, H * rec->r.height, H * rec->r.top};
        for (int i = 0; i < 4; i++) {
            VARIANT v;
            V_VT(&v) = VT_I4;
            V_I4(&v) = (LONG)vals[i];
            ax_put_named(obj, names[i], v);
        }
    }
    rszscale::Geometry n = rszscale::plan(rec->r, &rec->g, rec->is_line, W, H);

    VARIANT_BOOL ignore = VARIANT_FALSE;
    VARIANT args[8]; /* last argument first */
    V_VT(&args[7]) = VT_BSTR;
    V_BSTR(&args[7]) = SysAllocString(rec->name.c_str());
    float *refs[5] = {&n.top, &n.left, &n.height, &n.width, &font};
    for (int i = 0; i < 5; i++) {
        V_VT(&args[6 - i]) = VT_R4 | VT_BYREF;
        V_R4REF(&args[6 - i]) = refs[i];
    }
    V_VT(&args[1]) = VT_BOOL | VT_BYREF;
    V_BOOLREF(&args[1]) = &ignore;
    V_VT(&args[0]) = VT_DISPATCH;
    V_DISPATCH(&args[0]) = obj;
    DISPPARAMS params = {args, nullptr, 8, 0};
    fire_event(DISPID_RSZ_PRERESIZE, &params);
    SysFreeString(V_BSTR(&args[7]));
    if (ignore || m_drop_tree) /* ignored, or the form was unloaded by the handler */
        return;

    if (m_props.resize_fonts) {
        std::wstring face = rszscale::font_name_for(font, rec->font_name);
        VARIANT v;
        V_VT(&v) = VT_BSTR;
        V_BSTR(&v) = SysAllocString(face.c_str());
        if (FAILED(ax_put_named(obj, L"FontName", v))) {
            IDispatch *f;
            if (ax_get_object(obj, L"Font", &f)) {
                ax_put_named(f, L"Name", v);
                f->Release();
            }
        }
        VariantClear(&v);
        if (FAILED(ax_put_float(obj, L"FontSize", font))) {
            IDispatch *f;
            if (ax_get_object(obj, L"Font", &f)) {
                VARIANT cy;
                V_VT(&cy) = VT_R4;
                V_R4(&cy) = font;
                if (SUCCEEDED(VariantChangeType(&cy, &cy, 0, VT_CY)))
                    ax_put_named(f, L"Size", cy);
                f->Release();
            }
        }
    }
    VARIANT move[4];
    float vals[4] = {n.left, n.top, n.width, n.height};
    for (int i = 0; i < 4; i++) {
        V_VT(&move[i]) = VT_R8;
        V_R8(&move[i]) = vals[i];
    }
    if (FAILED(ax_call_named(obj, L"Move", move, 4))) {
        const WCHAR *names[] = {L"Left", L"Top", L"Width", L"Height"};
        for (int i = 0; i < 4; i++)
            ax_put_float(obj, names[i], vals[i]);
    }
    read_back(rec);
}

void QVXRSZ::read_back(RszRecord *rec)
{
    float v[4];
    bool readable[4];
    read_geometry(rec->object, rec->is_line, v, readable);
    float *fields[4] = {&rec->g.left, &rec->g.top, &rec->g.width, &rec->g.height};
    for (int i = 0; i < 4; i++)
        if (readable[i])
            *fields[i] = v[i];
}

/* ---- centring ---- */

void QVXRSZ::center_form()
{
    if (!m_props.enabled || !root())
        return;
    IDispatch *form = form_dispatch();
    if (!form)
        return;
    VARIANT left, top;
    VariantInit(&left);
    VariantInit(&top);
    double w = 0, h = 0;
    if (SUCCEEDED(ax_get_named(form, L"Left", &left)) && SUCCEEDED(ax_get_named(form, L"Top", &top)) &&
        ax_get_double(form, L"Width", &w) && ax_get_double(form, L"Height", &h)) {
        HDC dc = GetDC(window());
        long d = GetDeviceCaps(dc, LOGPIXELSX);
        ReleaseDC(window(), dc);
        RECT work;
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        POINT p = rszscale::centre(work, rszscale::twips_to_pixels(w, d),
                                   rszscale::twips_to_pixels(h, d));
        VARIANT nl, nt;
        V_VT(&nl) = VT_I4;
        V_I4(&nl) = rszscale::pixels_to_twips(p.x, d);
        V_VT(&nt) = VT_I4;
        V_I4(&nt) = rszscale::pixels_to_twips(p.y, d);
        /* written back in the type they were read in */
        if (SUCCEEDED(VariantChangeType(&nl, &nl, 0, V_VT(&left))))
            ax_put_named(form, L"Left", nl);
        if (SUCCEEDED(VariantChangeType(&nt, &nt, 0, V_VT(&top))))
            ax_put_named(form, L"Top", nt);
    }
    VariantClear(&left);
    VariantClear(&top);
    form->Release();
}
