/*
 * QVXSplit: the splitter bar control.
 */
#pragma once

#include "comobject.h"
#include "control.h"
#include "geometry.h"
#include "qvxsplit_h.h"

#include <memory>
#include <string>
#include <vector>

#define IDS_PROJNAME 100
#define IDS_INVALID_VALUE 101
#define IDR_QVXSPLIT 102
#define IDB_QVXSPLIT 104

/* The general property page named in the page list (not part of this server). */
extern const CLSID CLSID_QVXSplitGeneralPage;

extern const AxClassDesc qvxsplit_desc;

/* One object of the splitter's form, as recorded at the first capture. */
struct SplitRecord {
    std::wstring key;           /* Name, or Name(Index) */
    float left = 0, top = 0, right = 0, bottom = 0;
    bool is_line = false;
    IDispatch *object = nullptr;
    std::wstring container_key;
    std::vector<SplitRecord *> children;
};

class QVXSplit : public AxControl {
public:
    QVXSplit();
    ~QVXSplit() override;

    struct Props {
        OLE_COLOR back_color;
        LONG border_style;
        LONG appearance;
        LONG mouse_pointer;
        AxRef<IPictureDisp> mouse_icon;
        SHORT bar_thickness;
        SHORT bar_thickness_px;
        LONG position;
        LONG position_px;
        LONG orientation;
        LONG max, min;
        VARIANT_BOOL bar_raised;
        VARIANT_BOOL enabled;
    } m_props{};

    /* bar and drag state */
    RECT m_bar = {0, 0, 0, 0};
    bool m_dragging = false;
    bool m_first_move = false;
    RECT m_track = {0, 0, 0, 0};
    LONG m_grab = 0;
    splitgeo::Limits m_limits = {0, 0};
    bool m_have_limits = false; /* m_limits were computed from records */
    SHORT m_buttons = 0;
    POINT m_press = {0, 0};

    /* control records */
    bool m_layout_pending = true;
    std::vector<std::unique_ptr<SplitRecord>> m_records; /* [0] is the root */
    SplitRecord *m_own = nullptr;
    /* A split is walking the records: a window destroyed meanwhile (the form
     * unloaded from a control's own event) only marks them to be dropped
     * once the walk has stopped. */
    int m_walking = 0;
    bool m_drop_records = false;

    struct Split : IzelcSplit {
        AX_DUAL_INTERFACE(QVXSplit, IID_IzelcSplit)
        STDMETHOD(put_BackColor)(OLE_COLOR clr) override;
        STDMETHOD(get_BackColor)(OLE_COLOR *pclr) override;
        STDMETHOD(put_BorderStyle)(qvxBorderStyleConstants style) override;
        STDMETHOD(get_BorderStyle)(qvxBorderStyleConstants *pstyle) override;
        STDMETHOD(get_hWnd)(LONG *phwnd) override;
        STDMETHOD(put_Appearance)(qvxAppearanceConstants appearance) override;
        STDMETHOD(get_Appearance)(qvxAppearanceConstants *pappearance) override;
        STDMETHOD(put_MousePointer)(qvxMousePointerConstants pointer) override;
        STDMETHOD(get_MousePointer)(qvxMousePointerConstants *ppointer) override;
        STDMETHOD(putref_MouseIcon)(IPictureDisp *picture) override;
        STDMETHOD(put_MouseIcon)(IPictureDisp *picture) override;
        STDMETHOD(get_MouseIcon)(IPictureDisp **ppicture) override;
        STDMETHOD(get_BarThickness)(short *pval) override;
        STDMETHOD(put_BarThickness)(short val) override;
        STDMETHOD(get_Position)(short *pval) override;
        STDMETHOD(put_Position)(short val) override;
        STDMETHOD(get_Orientation)(qvxOrientationConstants *pval) override;
        STDMETHOD(put_Orientation)(qvxOrientationConstants val) override;
        STDMETHOD(get_Max)(short *pval) override;
        STDMETHOD(put_Max)(short val) override;
        STDMETHOD(get_Min)(short *pval) override;
        STDMETHOD(put_Min)(short val) override;
        STDMETHOD(get_BarRaised)(VARIANT_BOOL *pval) override;
        STDMETHOD(put_BarRaised)(VARIANT_BOOL val) override;
        STDMETHOD(get_Enabled)(VARIANT_BOOL *pval) override;
        STDMETHOD(put_Enabled)(VARIANT_BOOL val) override;
        STDMETHOD(AboutBox)() override;
    } m_split;

    IDispatch *dispatch() override { return &m_split; }
    void apply_defaults() override;
    void quick_activate_backcolor(OLE_COLOR c) override { m_props.back_color = c; }
    void draw(HDC hdc, const RECT &bounds, bool printer) override;
    bool on_message(UINT msg, WPARAM wp, LPARAM lp, LRESULT *result) override;
    bool is_enabled() override { return m_props.enabled != VARIANT_FALSE; }
    void on_window_destroyed() override { window_gone(); }
    std::function<void()> keep_properties() override;
    HRESULT check_loaded() override;

    /* the setting order after validation and permission */
    void changed(DISPID id, bool repaint);

    bool vertical() const { return m_props.orientation == qvxOriVertical; }
    long to_pixels(double units);
    long to_units(long pixels);

    void capture_records();
    void free_records();
    void window_gone();
    void refresh_own();
    void refresh_children();
    std::vector<SplitRecord *> inside(); /* the objects inside the splitter */
    void compute_limits(long x, long y);
    void split_to(long a);
    HRESULT set_position(long value);
    HCURSOR pointer_cursor();
    void fire_mouse(DISPID id, long x, long y);
    void fire_key(DISPID id, WPARAM key, bool with_shift);
    void draw_track();
};

/* Cursor resource for a MousePointer value (0..15); IDC_ARROW for others. */
LPCWSTR qvxsplit_cursor_id(LONG pointer);
