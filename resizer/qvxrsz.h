/*
 * QVXRSZ: the form resizer control.
 */
#pragma once

#include "control.h"
#include "qvxrsz_h.h"
#include "scale.h"

#include <memory>
#include <string>
#include <vector>

#define IDS_PROJNAME 100
#define IDR_QVXRSZ 102
#define IDS_INVALID_VALUE 104
#define IDB_QVXRSZ 106

/* The general property page named in the page list (not part of this server). */
extern const CLSID CLSID_QVXRSZGeneralPage;

extern const AxClassDesc qvxrsz_desc;

/* One control of the form with its place as fractions of the form's size. */
struct RszRecord {
    std::wstring name;          /* as PreResize gives it */
    std::wstring key;           /* Name(Index): what the tree is keyed by */
    rszscale::Geometry g = {0, 0, 0, 0};
    rszscale::Ratios r = {0, 0, 0, 0};
    bool is_line = false;
    IDispatch *object = nullptr;
    float font_ratio_h = 0, font_ratio_w = 0;
    std::wstring font_name;
    std::wstring container;     /* the key of its container */
    std::vector<RszRecord *> children;
};

/* Hook table entry of a form window (process-wide). */
struct RszHook {
    WNDPROC prev;
    HWND resizer;               /* the one that serves the form, or null */
    std::vector<HWND> earlier;  /* resizers of the form made before it */
};
bool qvxrsz_hook_form(HWND form, HWND resizer);
/* The resizer window goes: a form it serves goes back to the resizer made
 * before it, or, with none left, is unhooked (unless another procedure was
 * put in front of the hook) and stops holding the server. */
void qvxrsz_release_forms(HWND resizer);
const RszHook *qvxrsz_hook_of(HWND form);

class QVXRSZ : public AxControl {
public:
    QVXRSZ();
    ~QVXRSZ() override;

    struct Props {
        VARIANT_BOOL enabled, resize_fonts, auto_center;
        LONG max_h, max_w, min_h, min_w;
        LONG max_h_px, max_w_px, min_h_px, min_w_px;
        LONG design[4]; /* left, top, right, bottom of the form's scale */
    } m_props;

    std::vector<std::unique_ptr<RszRecord>> m_records; /* [0] is the root (the form) */
    /* A rescale is walking the records: a window destroyed meanwhile (a
     * PreResize handler unloading the form) only marks them to be dropped
     * once the walk has stopped. */
    int m_walking = 0;
    bool m_drop_tree = false;
    RszRecord *root() { return m_records.empty() ? nullptr : m_records[0].get(); }

    struct Rsz : Izelcrsz {
        AX_DUAL_INTERFACE(QVXRSZ, IID_Izelcrsz)
        STDMETHOD(put_Enabled)(VARIANT_BOOL val) override;
        STDMETHOD(get_Enabled)(VARIANT_BOOL *pval) override;
        STDMETHOD(get_MaxHeight)(LONG *pval) override;
        STDMETHOD(put_MaxHeight)(LONG val) override;
        STDMETHOD(get_MaxWidth)(LONG *pval) override;
        STDMETHOD(put_MaxWidth)(LONG val) override;
        STDMETHOD(get_MinHeight)(LONG *pval) override;
        STDMETHOD(put_MinHeight)(LONG val) override;
        STDMETHOD(get_MinWidth)(LONG *pval) override;
        STDMETHOD(put_MinWidth)(LONG val) override;
        STDMETHOD(get_ResizeFonts)(VARIANT_BOOL *pval) override;
        STDMETHOD(put_ResizeFonts)(VARIANT_BOOL val) override;
        STDMETHOD(get_AutoCenter)(VARIANT_BOOL *pval) override;
        STDMETHOD(put_AutoCenter)(VARIANT_BOOL val) override;
        STDMETHOD(CenterForm)() override;
        STDMETHOD(AboutBox)() override;
    } m_rsz;

    IDispatch *dispatch() override { return &m_rsz; }
    void apply_defaults() override;
    void after_client_site() override;
    void draw(HDC hdc, const RECT &bounds, bool printer) override;
    bool on_message(UINT msg, WPARAM wp, LPARAM lp, LRESULT *result) override;
    void on_window_created() override;
    void on_window_destroyed() override { free_tree(); }
    DWORD window_style() override;
    HRESULT save_extra(IStream *stm) override;
    HRESULT load_extra(IStream *stm) override;
    HRESULT check_loaded() override;
    std::function<void()> keep_properties() override;

    HRESULT set_limit(DISPID id, LONG val, LONG *store, LONG *store_px, bool height);
    HRESULT set_flag(DISPID id, VARIANT_BOOL val, VARIANT_BOOL *store, bool invalidate);
    IDispatch *form_dispatch(); /* referenced, or null */
    void hook();
    void capture();
    void free_tree();
    void resize();
    void handle(RszRecord *rec, float W, float H);
    void visit(std::vector<RszRecord *> &list, size_t i, float W, float H);
    void read_back(RszRecord *rec);
    void tracking_limits(MINMAXINFO *mmi);
    void center_form();
};
