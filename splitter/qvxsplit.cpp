/*
 * QVXSplit: properties, painting, mouse and keyboard, records and splits.
 */
#include "qvxsplit.h"
#include "byname.h"
#include "units.h"

#include <algorithm>

/* {EFFF30B6-3243-4DC0-A24C-E1B64EA0D4E2} */
const CLSID CLSID_QVXSplitGeneralPage = {
    0xefff30b6, 0x3243, 0x4dc0, {0xa2, 0x4c, 0xe1, 0xb6, 0x4e, 0xa0, 0xd4, 0xe2}};

static const CLSID *const split_pages[] = {&CLSID_QVXSplitGeneralPage, &CLSID_CColorPropPage,
                                           &CLSID_CPicturePropPage};

/* Persisted properties, in the order of the stream (BorderStyle twice). */
static const DISPID split_persisted[] = {
    DISPID_APPEARANCE,        DISPID_BACKCOLOR,         DISPID_BORDERSTYLE,
    DISPID_ENABLED,           DISPID_BORDERSTYLE,       DISPID_SPLIT_MAX,
    DISPID_SPLIT_MIN,         DISPID_SPLIT_POSITION,    DISPID_SPLIT_ORIENTATION,
    DISPID_SPLIT_BARTHICKNESS, DISPID_SPLIT_BARRAISED,  DISPID_MOUSEICON,
    DISPID_MOUSEPOINTER};

const AxClassDesc qvxsplit_desc = {
    &CLSID_QVXSplit,
    &IID_IzelcSplit,
    &DIID__IzelcSplitEvents,
    L"QVXSplit",
    IDS_INVALID_VALUE,
    OLEMISC_SETCLIENTSITEFIRST | OLEMISC_SIMPLEFRAME | OLEMISC_ACTIVATEWHENVISIBLE |
        OLEMISC_INSIDEOUT | OLEMISC_CANTLINKINSIDE | OLEMISC_RECOMPOSEONRESIZE,
    split_pages,
    3,
    split_persisted,
    sizeof(split_persisted) / sizeof(split_persisted[0]),
};

QVXSplit::QVXSplit() : AxControl(&qvxsplit_desc) { m_split.owner = this; }

QVXSplit::~QVXSplit() { free_records(); }

static long screen_dpi(bool x_axis)
{
    HDC dc = GetDC(nullptr);
    long d = GetDeviceCaps(dc, x_axis ? LOGPIXELSX : LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return d;
}

long QVXSplit::to_pixels(double units)
{
    bool x = vertical();
    return ax_himetric_to_pixels(container_to_himetric(units, x), screen_dpi(x));
}

long QVXSplit::to_units(long pixels)
{
    bool x = vertical();
    return (long)himetric_to_container(ax_pixels_to_himetric(pixels, screen_dpi(x)), x);
}

void QVXSplit::apply_defaults()
{
    m_props.back_color = ambient_backcolor(m_props.back_color);
    m_props.border_style = qvxBorderFixedSingle;
    m_props.appearance = qvxAppearanceThreeD;
    m_props.orientation = qvxOriVertical;
    m_props.bar_thickness = 100;
    m_props.bar_thickness_px = (SHORT)to_pixels(100);
    m_props.position_px = 96;
    m_props.position = to_units(96);
    m_props.min = m_props.max = 0;
    m_props.bar_raised = VARIANT_TRUE;
    m_props.enabled = VARIANT_TRUE;
}

std::function<void()> QVXSplit::keep_properties()
{
    return [this, saved = m_props] {
        m_props = saved;
        if (window())
            EnableWindow(window(), is_enabled());
    };
}

HRESULT QVXSplit::check_loaded()
{
    if (m_props.max != 0 && m_props.min > m_props.max)
        return invalid_value();
    return S_OK;
}

void QVXSplit::changed(DISPID id, bool repaint)
{
    set_dirty(true);
    if (repaint)
        fire_view_change();
    fire_changed(id);
    if (repaint)
        fire_view_change();
    send_data_change();
}

/* ---- IzelcSplit ---- */

HRESULT QVXSplit::Split::put_BackColor(OLE_COLOR clr)
{
    if (owner->request_edit(DISPID_BACKCOLOR) == S_FALSE)
        return S_FALSE;
    owner->m_props.back_color = clr;
    owner->changed(DISPID_BACKCOLOR, true);
    return S_OK;
}

HRESULT QVXSplit::Split::get_BackColor(OLE_COLOR *pclr)
{
    if (!pclr)
        return E_POINTER;
    *pclr = owner->m_props.back_color;
    return S_OK;
}

HRESULT QVXSplit::Split::put_BorderStyle(qvxBorderStyleConstants style)
{
    if (style != qvxBorderNone && style != qvxBorderFixedSingle)
        return owner->invalid_value();
    if (owner->request_edit(DISPID_BORDERSTYLE) == S_FALSE)
        return S_FALSE;
    owner->m_props.border_style = style;
    owner->changed(DISPID_BORDERSTYLE, true);
    return S_OK;
}

HRESULT QVXSplit::Split::get_BorderStyle(qvxBorderStyleConstants *pstyle)
{
    if (!pstyle)
        return E_POINTER;
    *pstyle = (qvxBorderStyleConstants)owner->m_props.border_style;
    return S_OK;
}

HRESULT QVXSplit::Split::get_hWnd(LONG *phwnd)
{
    if (!phwnd)
        return E_POINTER;
    *phwnd = (LONG)(LONG_PTR)owner->window();
    return S_OK;
}

HRESULT QVXSplit::Split::put_Appearance(qvxAppearanceConstants appearance)
{
    if (appearance != qvxAppearanceFlat && appearance != qvxAppearanceThreeD)
        return owner->invalid_value();
    if (owner->request_edit(DISPID_APPEARANCE) == S_FALSE)
        return S_FALSE;
    owner->m_props.appearance = appearance;
    owner->changed(DISPID_APPEARANCE, true);
    return S_OK;
}

HRESULT QVXSplit::Split::get_Appearance(qvxAppearanceConstants *pappearance)
{
    if (!pappearance)
        return E_POINTER;
    *pappearance = (qvxAppearanceConstants)owner->m_props.appearance;
    return S_OK;
}

HRESULT QVXSplit::Split::put_MousePointer(qvxMousePointerConstants pointer)
{
    /* permission first, validation second */
    if (owner->request_edit(DISPID_MOUSEPOINTER) == S_FALSE)
        return S_FALSE;
    if ((pointer < 0 || pointer > 15) && pointer != qvxMouseCustom)
        return owner->invalid_value();
    owner->m_props.mouse_pointer = pointer;
    owner->changed(DISPID_MOUSEPOINTER, false);
    return S_OK;
}

HRESULT QVXSplit::Split::get_MousePointer(qvxMousePointerConstants *ppointer)
{
    if (!ppointer)
        return E_POINTER;
    *ppointer = (qvxMousePointerConstants)owner->m_props.mouse_pointer;
    return S_OK;
}

HRESULT QVXSplit::Split::putref_MouseIcon(IPictureDisp *picture)
{
    if (owner->request_edit(DISPID_MOUSEICON) == S_FALSE)
        return S_FALSE;
    owner->m_props.mouse_icon = AxRef<IPictureDisp>(picture);
    owner->changed(DISPID_MOUSEICON, true);
    return S_OK;
}

/* An independent copy of a picture, through its own persistence (a new
 * reference, or null). */
static IPictureDisp *copy_picture(IPictureDisp *picture)
{
    if (!picture)
        return nullptr;
    IPictureDisp *copy = nullptr;
    IPersistStream *ps;
    if (FAILED(picture->QueryInterface(IID_IPersistStream, (void **)&ps)))
        return nullptr;
    IStream *stm;
    if (SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, &stm))) {
        if (SUCCEEDED(ps->Save(stm, FALSE))) {
            LARGE_INTEGER zero = {};
            stm->Seek(zero, STREAM_SEEK_SET, nullptr);
            if (FAILED(OleLoadPicture(stm, 0, FALSE, IID_IPictureDisp, (void **)&copy)))
                copy = nullptr;
        }
        stm->Release();
    }
    ps->Release();
    return copy;
}

HRESULT QVXSplit::Split::put_MouseIcon(IPictureDisp *picture)
{
    if (owner->request_edit(DISPID_MOUSEICON) == S_FALSE)
        return S_FALSE;
    owner->m_props.mouse_icon = AxRef<IPictureDisp>::adopt(copy_picture(picture));
    owner->changed(DISPID_MOUSEICON, true);
    return S_OK;
}

HRESULT QVXSplit::Split::get_MouseIcon(IPictureDisp **ppicture)
{
    if (!ppicture)
        return E_POINTER;
    *ppicture = owner->m_props.mouse_icon.copy();
    return S_OK;
}

HRESULT QVXSplit::Split::get_BarThickness(short *pval)
{
    if (!pval)
        return E_POINTER;
    *pval = owner->m_props.bar_thickness;
    return S_OK;
}

HRESULT QVXSplit::Split::put_BarThickness(short val)
{
    if (val < 25)
        return owner->invalid_value();
    if (owner->request_edit(DISPID_SPLIT_BARTHICKNESS) == S_FALSE)
        return S_FALSE;
    owner->m_props.bar_thickness = val;
    owner->m_props.bar_thickness_px = (SHORT)owner->to_pixels(val);
    owner->changed(DISPID_SPLIT_BARTHICKNESS, true);
    return S_OK;
}

HRESULT QVXSplit::Split::get_Position(short *pval)
{
    if (!pval)
        return E_POINTER;
    *pval = (short)owner->m_props.position;
    return S_OK;
}

HRESULT QVXSplit::Split::put_Position(short val)
{
    if (owner->request_edit(DISPID_SPLIT_POSITION) == S_FALSE)
        return S_FALSE;
    return owner->set_position(val);
}

HRESULT QVXSplit::set_position(long value)
{
    if (user_mode()) {
        compute_limits(0, 0); /* captures the records when layout is pending */
        if (!m_layout_pending) {
            compute_limits(0, 0);
            m_grab = 0;
            split_to(to_pixels(value));
            m_props.position = value; /* reads back as given, even when clamped */
            return S_OK;
        }
    }
    m_props.position = value;
    m_props.position_px = to_pixels(value);
    if (user_mode() && m_have_limits)
        /* no window now (deactivated at run time): the bar stays within the
         * limits it last had rather than ones made up from no window */
        m_props.position_px = splitgeo::clamp_split(m_props.position_px, m_limits,
                                                    m_props.bar_thickness_px, 0);
    changed(DISPID_SPLIT_POSITION, true);
    return S_OK;
}

HRESULT QVXSplit::Split::get_Orientation(qvxOrientationConstants *pval)
{
    if (!pval)
        return E_POINTER;
    *pval = (qvxOrientationConstants)owner->m_props.orientation;
    return S_OK;
}

HRESULT QVXSplit::Split::put_Orientation(qvxOrientationConstants val)
{
    if (val != qvxOriHorizontal && val != qvxOriVertical)
        return owner->invalid_value();
    if (owner->request_edit(DISPID_SPLIT_ORIENTATION) == S_FALSE)
        return S_FALSE;
    owner->m_props.orientation = val;
    owner->changed(DISPID_SPLIT_ORIENTATION, true);
    return S_OK;
}

HRESULT QVXSplit::Split::get_Max(short *pval)
{
    if (!pval)
        return E_POINTER;
    *pval = (short)owner->m_props.max;
    return S_OK;
}

HRESULT QVXSplit::Split::put_Max(short val)
{
    /* while a stream is read, Max comes before Min: the pair is checked once
     * both are read (check_loaded), whatever the control held before */
    if (val < 0 || (val > 0 && val < owner->m_props.min && !owner->loading()))
        return owner->invalid_value();
    if (owner->request_edit(DISPID_SPLIT_MAX) == S_FALSE)
        return S_FALSE;
    owner->m_props.max = val;
    if (val != 0 && val < owner->m_props.position)
        put_Position(val);
    owner->changed(DISPID_SPLIT_MAX, true);
    return S_OK;
}

HRESULT QVXSplit::Split::get_Min(short *pval)
{
    if (!pval)
        return E_POINTER;
    *pval = (short)owner->m_props.min;
    return S_OK;
}

HRESULT QVXSplit::Split::put_Min(short val)
{
    if (val < 0 || (owner->m_props.max != 0 && val > owner->m_props.max && !owner->loading()))
        return owner->invalid_value();
    if (owner->request_edit(DISPID_SPLIT_MIN) == S_FALSE)
        return S_FALSE;
    owner->m_props.min = val;
    if (val != 0 && owner->m_props.position < val)
        put_Position(val);
    owner->changed(DISPID_SPLIT_MIN, true);
    return S_OK;
}

HRESULT QVXSplit::Split::get_BarRaised(VARIANT_BOOL *pval)
{
    if (!pval)
        return E_POINTER;
    *pval = owner->m_props.bar_raised ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

HRESULT QVXSplit::Split::put_BarRaised(VARIANT_BOOL val)
{
    if (owner->request_edit(DISPID_SPLIT_BARRAISED) == S_FALSE)
        return S_FALSE;
    owner->m_props.bar_raised = val ? VARIANT_TRUE : VARIANT_FALSE;
    owner->changed(DISPID_SPLIT_BARRAISED, true);
    return S_OK;
}

HRESULT QVXSplit::Split::get_Enabled(VARIANT_BOOL *pval)
{
    if (!pval)
        return E_POINTER;
    *pval = owner->m_props.enabled ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

HRESULT QVXSplit::Split::put_Enabled(VARIANT_BOOL val)
{
    owner->m_props.enabled = val ? VARIANT_TRUE : VARIANT_FALSE;
    owner->changed(DISPID_ENABLED, true);
    if (owner->window())
        EnableWindow(owner->window(), owner->is_enabled());
    return S_OK;
}

HRESULT QVXSplit::Split::AboutBox()
{
    owner->show_about(L"OMNIKIT", L"1.0");
    return S_OK;
}

/* ---- painting ---- */

static void edge_path(HDC hdc, const RECT &r, int w, COLORREF first, COLORREF second)
{
    /* left and top in the first colour, right and bottom in the second */
    HPEN p1 = CreatePen(PS_SOLID, w, first);
    HPEN p2 = CreatePen(PS_SOLID, w, second);
    HGDIOBJ old = SelectObject(hdc, p1);
    MoveToEx(hdc, r.left, r.bottom - w, nullptr);
    LineTo(hdc, r.left, r.top);
    LineTo(hdc, r.right - w, r.top);
    SelectObject(hdc, p2);
    LineTo(hdc, r.right - w, r.bottom - w);
    LineTo(hdc, r.left - w, r.bottom - w);
    SelectObject(hdc, old);
    DeleteObject(p1);
    DeleteObject(p2);
}

void QVXSplit::draw(HDC hdc, const RECT &bounds, bool printer)
{
    int w = 1;
    if (printer) {
        HDC screen = GetDC(nullptr);
        w = GetDeviceCaps(hdc, LOGPIXELSX) / GetDeviceCaps(screen, LOGPIXELSX);
        ReleaseDC(nullptr, screen);
        if (w < 1)
            w = 1;
    }
    const COLORREF black = RGB(0, 0, 0);
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
    RECT area = bounds;
    if (m_props.border_style == qvxBorderFixedSingle) {
        edge_path(hdc, area, w, black, black);
        InflateRect(&area, -1, -1);
        if (m_props.appearance == qvxAppearanceThreeD) {
            edge_path(hdc, area, w, black, light);
            InflateRect(&area, -1, -1);
        }
    }
    COLORREF back;
    if (FAILED(OleTranslateColor(m_props.back_color, nullptr, &back)))
        back = GetSysColor(COLOR_BTNFACE);
    HBRUSH brush = CreateSolidBrush(back);
    FillRect(hdc, &area, brush);
    DeleteObject(brush);
    RECT bar = splitgeo::bar_rect(area, vertical(), m_props.position_px, m_props.bar_thickness_px);
    /* Drawn into a container's device context (a print or a preview at some
     * other place and size), the bar says nothing about where it is in the
     * window, where a press must find it. */
    if (painting_window())
        m_bar = bar;
    if (m_props.bar_raised)
        edge_path(hdc, bar, w, light, black);
    else if (!user_mode())
        edge_path(hdc, bar, w, black, black);
}

/* ---- cursors ---- */

LPCWSTR qvxsplit_cursor_id(LONG pointer)
{
    switch (pointer) {
    case 2: return IDC_CROSS;
    case 3: return IDC_IBEAM;
    case 5:
    case 15: return IDC_SIZEALL;
    case 6: return IDC_SIZENESW;
    case 7: return IDC_SIZENS;
    case 8: return IDC_SIZENWSE;
    case 9: return IDC_SIZEWE;
    case 10: return IDC_UPARROW;
    case 11: return IDC_WAIT;
    case 12: return IDC_NO;
    case 13: return IDC_APPSTARTING;
    case 14: return IDC_HELP;
    default: return IDC_ARROW;
    }
}

HCURSOR QVXSplit::pointer_cursor()
{
    if (m_props.mouse_pointer == qvxMouseCustom) {
        IPicture *pic;
        if (m_props.mouse_icon &&
            SUCCEEDED(m_props.mouse_icon->QueryInterface(IID_IPicture, (void **)&pic))) {
            OLE_HANDLE h = 0;
            pic->get_Handle(&h);
            pic->Release();
            if (h)
                return (HCURSOR)(ULONG_PTR)h;
        }
        return LoadCursorW(nullptr, IDC_ARROW);
    }
    return LoadCursorW(nullptr, qvxsplit_cursor_id(m_props.mouse_pointer));
}

static void set_cursor(HCURSOR c)
{
    if (GetCursor() != c)
        SetCursor(c);
}

/* ---- events ---- */

static short shift_state()
{
    short s = 0;
    if (GetKeyState(VK_SHIFT) < 0)
        s |= 1;
    if (GetKeyState(VK_CONTROL) < 0)
        s |= 2;
    if (GetKeyState(VK_MENU) < 0)
        s |= 4;
    return s;
}

void QVXSplit::fire_mouse(DISPID id, long x, long y)
{
    if (!is_enabled())
        return;
    VARIANT args[4]; /* last argument first */
    V_VT(&args[3]) = VT_I2;
    V_I2(&args[3]) = m_buttons;
    V_VT(&args[2]) = VT_I2;
    V_I2(&args[2]) = shift_state();
    V_VT(&args[1]) = VT_I4;
    V_I4(&args[1]) = x;
    V_VT(&args[0]) = VT_I4;
    V_I4(&args[0]) = y;
    DISPPARAMS params = {args, nullptr, 4, 0};
    fire_event(id, &params);
}

void QVXSplit::fire_key(DISPID id, WPARAM key, bool with_shift)
{
    if (!is_enabled())
        return;
    short code = (short)key;
    VARIANT args[2];
    unsigned n = 0;
    if (with_shift) {
        V_VT(&args[0]) = VT_I2;
        V_I2(&args[0]) = shift_state();
        n = 1;
    }
    V_VT(&args[n]) = VT_I2 | VT_BYREF;
    V_I2REF(&args[n]) = &code;
    DISPPARAMS params = {args, nullptr, n + 1, 0};
    fire_event(id, &params);
}

void QVXSplit::draw_track()
{
    HDC dc = GetDC(window());
    int old = SetROP2(dc, R2_XORPEN);
    Rectangle(dc, m_track.left, m_track.top, m_track.right, m_track.bottom);
    SetROP2(dc, old);
    ReleaseDC(window(), dc);
}

bool QVXSplit::on_message(UINT msg, WPARAM wp, LPARAM lp, LRESULT *result)
{
    long x = (short)LOWORD(lp), y = (short)HIWORD(lp);
    POINT pt = {x, y};
    *result = 0;
    switch (msg) {
    case WM_CREATE:
        EnableWindow(window(), is_enabled());
        return false;
    case WM_DESTROY:
        window_gone();
        return false;
    case WM_SIZE:
        refresh_own();
        return false;
    case WM_ACTIVATE:
    case WM_TIMER:
        return true;
    case WM_ERASEBKGND:
        *result = 1;
        return true;
    case WM_SETCURSOR: {
        if (!user_mode())
            return false;
        DWORD pos = GetMessagePos();
        POINT cp = {(short)LOWORD(pos), (short)HIWORD(pos)};
        ScreenToClient(window(), &cp);
        if (!m_dragging && !PtInRect(&m_bar, cp))
            set_cursor(pointer_cursor());
        else
            set_cursor(LoadCursorW(nullptr, vertical() ? IDC_SIZEWE : IDC_SIZENS));
        *result = TRUE;
        return true;
    }
    case WM_KEYDOWN:
        fire_key(DISPID_SPLIT_KEYDOWN, wp, true);
        return true;
    case WM_KEYUP:
        fire_key(DISPID_SPLIT_KEYUP, wp, true);
        return true;
    case WM_CHAR:
        fire_key(DISPID_SPLIT_KEYPRESS, wp, false);
        return true;
    case WM_MOUSEMOVE: {
        fire_mouse(DISPID_SPLIT_MOUSEMOVE, x, y);
        if (m_dragging) {
            long t = m_props.bar_thickness_px;
            long m = m_grab + (vertical() ? x : y);
            RECT next = m_track;
            long start, end;
            splitgeo::track_span(m, m_limits, t, &start, &end);
            if (vertical()) {
                next.left = start;
                next.right = end;
                next.top = m_bar.top;
                next.bottom = m_bar.bottom;
            } else {
                next.top = start;
                next.bottom = end;
                next.left = m_bar.left;
                next.right = m_bar.right;
            }
            if (!m_first_move)
                draw_track(); /* erase the previous one */
            m_track = next;
            draw_track();
            m_first_move = false;
        }
        if (PtInRect(&m_bar, pt) && user_mode())
            set_cursor(LoadCursorW(nullptr, vertical() ? IDC_SIZEWE : IDC_SIZENS));
        return true;
    }
    case WM_LBUTTONDOWN:
        m_buttons |= 1;
        fire_mouse(DISPID_SPLIT_MOUSEDOWN, x, y);
        if (PtInRect(&m_bar, pt)) {
            m_dragging = true;
            m_first_move = true;
            SetCapture(window());
            m_track = m_bar;
            compute_limits(x, y);
            m_press = pt;
        }
        return true;
    case WM_LBUTTONUP: {
        fire_mouse(DISPID_SPLIT_MOUSEUP, x, y);
        if (m_buttons == 1 && is_enabled())
            fire_event(DISPID_SPLIT_CLICK, nullptr);
        m_buttons &= ~1;
        if (m_dragging) {
            if (!m_first_move)
                draw_track();
            split_to(splitgeo::rect_centre(m_track, vertical()));
            ReleaseCapture();
            m_dragging = false;
        }
        return true;
    }
    case WM_RBUTTONDOWN:
        m_buttons |= 2;
        fire_mouse(DISPID_SPLIT_MOUSEDOWN, x, y);
        if (m_dragging) {
            if (!m_first_move)
                draw_track();
            ReleaseCapture();
            m_dragging = false;
            InvalidateRect(window(), nullptr, TRUE);
            UpdateWindow(window());
        }
        return true;
    case WM_RBUTTONUP:
        fire_mouse(DISPID_SPLIT_MOUSEUP, x, y);
        if (m_buttons == 2 && is_enabled())
            fire_event(DISPID_SPLIT_CLICK, nullptr);
        m_buttons &= ~2;
        return true;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
        if (is_enabled())
            fire_event(DISPID_SPLIT_DBLCLICK, nullptr);
        return true;
    case WM_USER + 1:
    case WM_USER + 2:
        if (m_layout_pending)
            capture_records();
        return true;
    default:
        return false;
    }
}

/* ---- records ---- */

void QVXSplit::window_gone()
{
    free_records();
    /* the records went with the window: a window made later (the control
     * activated again) captures them afresh before its first split */
    m_layout_pending = true;
}

void QVXSplit::free_records()
{
    if (m_walking && !m_records.empty()) {
        m_drop_records = true;
        return;
    }
    m_drop_records = false;
    for (auto &r : m_records)
        if (r->object)
            r->object->Release();
    m_records.clear();
    m_own = nullptr;
}

/* Refreshes a record from its object; a value that cannot be read sets the
 * matching field to 0. */
static void refresh_record(SplitRecord *rec)
{
    double v;
    bool has_l = ax_get_double(rec->object, L"Left", &v);
    float L = has_l ? (float)v : 0;
    bool has_t = ax_get_double(rec->object, L"Top", &v);
    float T = has_t ? (float)v : 0;
    rec->left = L;
    rec->top = T;
    rec->right = ax_get_double(rec->object, L"Width", &v) ? L + (float)v : 0;
    rec->bottom = ax_get_double(rec->object, L"Height", &v) ? T + (float)v : 0;
}

void QVXSplit::capture_records()
{
    IDispatch *ext;
    if (SUCCEEDED(extended_control(&ext))) {
        std::wstring name;
        double L, T, W, H;
        if (ax_get_string(ext, L"Name", &name) && ax_get_double(ext, L"Left", &L) &&
            ax_get_double(ext, L"Top", &T) && ax_get_double(ext, L"Width", &W) &&
            ax_get_double(ext, L"Height", &H)) {
            free_records();
            auto root = std::make_unique<SplitRecord>();
            root->key = ax_name_key(ext);
            root->left = (float)L;
            root->top = (float)T;
            root->right = (float)(L + W);
            root->bottom = (float)(T + H);
            root->object = ext;
            ext->AddRef();
            m_records.push_back(std::move(root));

            ax_walk_form(client_site(), [this](IDispatch *obj) {
                auto rec = std::make_unique<SplitRecord>();
                VARIANT x2;
                rec->is_line = SUCCEEDED(ax_get_named(obj, L"X2", &x2));
                VariantClear(&x2);
                rec->key = ax_name_key(obj);
                if (!rec->is_line) {
                    double v;
                    float l = ax_get_double(obj, L"Left", &v) ? (float)v : 0;
                    float t = ax_get_double(obj, L"Top", &v) ? (float)v : 0;
                    float w = ax_get_double(obj, L"Width", &v) ? (float)v : 0;
                    float h = ax_get_double(obj, L"Height", &v) ? (float)v : 0;
                    rec->left = l;
                    rec->top = t;
                    rec->right = l + w;
                    rec->bottom = t + h;
                }
                rec->container_key = ax_container_key(obj);
                rec->object = obj;
                bool attached = false;
                size_t existing = m_records.size();
                for (size_t i = 0; i < existing; i++) {
                    if (m_records[i]->key == rec->container_key) {
                        m_records[i]->children.push_back(rec.get());
                        attached = true;
                    }
                }
                if (attached)
                    m_records.push_back(std::move(rec));
                return attached; /* a control whose container has no record is let go */
            });
            std::wstring display = display_name();
            for (auto &r : m_records) {
                if (r->key == display) {
                    m_own = r.get();
                    break;
                }
            }
        }
        ext->Release();
    }
    m_layout_pending = false;
}

void QVXSplit::refresh_own()
{
    if (!m_own)
        return;
    IDispatch *ext;
    if (FAILED(extended_control(&ext)))
        return;
    SplitRecord tmp;
    tmp.object = ext;
    refresh_record(&tmp);
    m_own->left = tmp.left;
    m_own->top = tmp.top;
    m_own->right = tmp.right;
    m_own->bottom = tmp.bottom;
    ext->Release();
}

std::vector<SplitRecord *> QVXSplit::inside()
{
    std::vector<SplitRecord *> out;
    if (!m_own)
        return out;
    std::wstring display = display_name();
    for (SplitRecord *c : m_own->children)
        if (c->key != display)
            out.push_back(c);
    return out;
}

void QVXSplit::refresh_children()
{
    for (SplitRecord *c : inside())
        if (!c->is_line)
            refresh_record(c);
}

void QVXSplit::compute_limits(long x, long y)
{
    if (!window())
        return; /* no window (yet, or any more): the last limits stand */
    SendMessageW(window(), WM_USER + 2, 0, 0);
    bool v = vertical();
    m_grab = m_props.position_px - (v ? x : y);
    if (!m_own) {
        /* No records, or none for the splitter itself: keep the bar within
         * the control's own client area (and within Min/Max). */
        RECT rc = {0, 0, 0, 0};
        if (window())
            GetClientRect(window(), &rc);
        m_limits = splitgeo::client_limits(v ? rc.right : rc.bottom, m_props.bar_thickness_px);
        if (m_props.max != 0)
            m_limits.upper = std::min(m_limits.upper, to_pixels(m_props.max));
        if (m_props.min != 0)
            m_limits.lower = std::max(m_limits.lower, to_pixels(m_props.min));
        m_have_limits = true;
        return;
    }
    refresh_children();
    std::vector<splitgeo::Child> kids;
    for (SplitRecord *c : inside())
        kids.push_back({c->left, c->top, c->right, c->bottom, c->is_line});
    double size = v ? m_own->right - m_own->left : m_own->bottom - m_own->top;
    /* Where the bar really is: after a program set Position beyond the limits
     * the property reads back the value given, not the clamped place. */
    long bar = to_units(m_props.position_px);
    splitgeo::Limits u = splitgeo::unit_limits(v, size, m_props.bar_thickness, bar, kids,
                                               m_props.min, m_props.max);
    m_limits.lower = to_pixels(u.lower);
    m_limits.upper = to_pixels(u.upper);
    m_have_limits = true;
}

void QVXSplit::split_to(long a)
{
    AddRef();
    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANT arg;
    V_VT(&arg) = VT_I2 | VT_BYREF; /* Cancel travels as a 16-bit integer */
    V_I2REF(&arg) = &cancel;
    DISPPARAMS params = {&arg, nullptr, 1, 0};
    fire_event(DISPID_SPLIT_BEFORESPLIT, &params);
    if (cancel) {
        ReleaseCapture();
        m_dragging = false;
        Release();
        return;
    }
    bool v = vertical();
    a = splitgeo::clamp_split(a, m_limits, m_props.bar_thickness_px, m_grab);
    long O = to_units(m_props.position_px), N = to_units(a);
    m_walking++;
    for (SplitRecord *c : inside()) {
        if (m_drop_records)
            break; /* the splitter went away with its form */
        if (c->is_line)
            continue;
        splitgeo::ChildMove mv =
            splitgeo::plan_child(v, {c->left, c->top, c->right, c->bottom, false}, O, N);
        if (mv.before) {
            if (SUCCEEDED(ax_put_float(c->object, v ? L"Width" : L"Height", (float)mv.size))) {
                if (v)
                    c->right = c->left + (float)mv.size;
                else
                    c->bottom = c->top + (float)mv.size;
            }
        } else {
            VARIANT args[4];
            double vals[4] = {mv.l, mv.t, mv.w, mv.h};
            for (int i = 0; i < 4; i++) {
                V_VT(&args[i]) = VT_R4;
                V_R4(&args[i]) = (float)vals[i];
            }
            ax_call_named(c->object, L"Move", args, 4);
        }
    }
    if (--m_walking == 0 && m_drop_records)
        free_records();
    m_props.position_px = a;
    m_props.position = to_units(a);
    fire_view_change();
    if (window()) {
        InvalidateRect(window(), nullptr, TRUE);
        UpdateWindow(window());
    }
    fire_event(DISPID_SPLIT_AFTERSPLIT, nullptr);
    Release();
}
