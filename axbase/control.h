/*
 * AxControl: the shared part of a windowed ActiveX control.  One object with
 * a member per interface (each member points back at its owner); the control
 * class derives from it, adds its own dual interface and fills in the hooks.
 *
 * Offered to the container: IOleObject, IOleInPlaceObject,
 * IOleInPlaceActiveObject, IOleControl, IViewObjectEx (IViewObject2),
 * IPersistStreamInit, IPersistStorage, IQuickActivate, IDataObject,
 * IProvideClassInfo2, IConnectionPointContainer, ISpecifyPropertyPages,
 * ISupportErrorInfo, and IDispatch through the control's dual interface.
 */
#pragma once

#include "axbase.h"
#include "connpoint.h"

#include <functional>
#include <map>
#include <vector>

struct AxClassDesc {
    const CLSID *clsid;
    const IID *iid;        /* the dual interface */
    const IID *events;     /* the default source dispinterface */
    const WCHAR *error_source;
    UINT invalid_value_id; /* string resource of "Invalid Property Value" */
    DWORD misc_status;
    const CLSID *const *pages;
    unsigned page_count;
    const DISPID *persisted; /* properties saved as variants, in order */
    unsigned persisted_count;
};

#define AX_STREAM_VERSION 0x0300

/* The IUnknown of an interface member: `owner` answers for it. */
#define AX_FORWARD_IUNKNOWN_TO(Owner)                                               \
    Owner *owner;                                                                   \
    STDMETHOD(QueryInterface)(REFIID riid, void **ppv) override                    \
    {                                                                               \
        return owner->QueryInterface(riid, ppv);                                    \
    }                                                                               \
    STDMETHOD_(ULONG, AddRef)() override { return owner->AddRef(); }                \
    STDMETHOD_(ULONG, Release)() override { return owner->Release(); }

#define AX_FORWARD_IUNKNOWN AX_FORWARD_IUNKNOWN_TO(AxControl)

class AxControl {
public:
    explicit AxControl(const AxClassDesc *desc);
    virtual ~AxControl();

    HRESULT QueryInterface(REFIID riid, void **ppv);
    ULONG AddRef();
    ULONG Release();

    /* ---- hooks for the control class ---- */
    virtual IDispatch *dispatch() = 0;               /* the dual interface */
    virtual void apply_defaults() = 0;               /* at every SetClientSite */
    virtual void after_client_site() {}              /* after the defaults */
    virtual void quick_activate_backcolor(OLE_COLOR) {}
    virtual void draw(HDC hdc, const RECT &bounds, bool printer) = 0;
    /* Own handling of a window message; true when handled. */
    virtual bool on_message(UINT msg, WPARAM wp, LPARAM lp, LRESULT *result) = 0;
    virtual void on_window_created() {}
    virtual HRESULT save_extra(IStream *) { return S_OK; }
    virtual HRESULT load_extra(IStream *) { return S_OK; }
    /* After every property of a stream was set: checks that hold between
     * properties, which the setters cannot make while the stream is read
     * one property at a time.  A failure undoes the whole load. */
    virtual HRESULT check_loaded() { return S_OK; }
    virtual bool is_enabled() { return true; }
    virtual DWORD window_style() { return WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS; }
    virtual void on_window_destroyed() {}
    /* A copy of the whole property state, and what puts it back: a load
     * that fails runs it. */
    virtual std::function<void()> keep_properties() = 0;

    /* ---- services for the control class ---- */
    HRESULT request_edit(DISPID id);      /* S_OK or S_FALSE when refused */
    void fire_changed(DISPID id);
    void fire_view_change();              /* asks the container to repaint */
    void send_data_change();
    void set_dirty(bool dirty) { m_dirty = dirty; }
    HRESULT invalid_value();              /* error 380 with error info */
    void fire_event(DISPID id, DISPPARAMS *params);
    HRESULT ambient(DISPID id, VARIANT *v);
    bool user_mode();                     /* ambient; true when unknown */
    std::wstring display_name();          /* ambient display name */
    OLE_COLOR ambient_backcolor(OLE_COLOR fallback);
    /* Container units <-> HIMETRIC through IOleControlSite::TransformCoords. */
    long container_to_himetric(double v, bool x_axis);
    double himetric_to_container(long h, bool x_axis);
    HRESULT extended_control(IDispatch **disp);
    HRESULT in_place_activate(LONG verb);
    HRESULT in_place_deactivate();
    HRESULT ui_deactivate();
    HWND window() const { return m_hwnd; }
    /* Whole-window paint into hdc, through an off-screen bitmap. */
    void paint_to(HDC target, const RECT &bounds);
    void show_about(const WCHAR *product, const WCHAR *version);

    /* The window procedure of every control window (process-wide table). */
    static LRESULT CALLBACK window_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    static AxControl *from_window(HWND hwnd);

    /* ---- persistence helpers (public for the tests of the layout) ---- */
    HRESULT save_to_stream(IStream *stm, bool clear_dirty);
    HRESULT load_from_stream(IStream *stm);

protected:
    LRESULT handle_message(UINT msg, WPARAM wp, LPARAM lp);
    IOleClientSite *client_site() const { return m_site; }
    IOleInPlaceSite *in_place_site() const { return m_inplace_site; }
    /* A stream's properties are being set one at a time. */
    bool loading() const { return m_loading; }
    /* draw() is painting the control's own window (WM_PAINT), not a
     * container's device context: only then may it take the window's
     * geometry (hit areas) from what it draws. */
    bool painting_window() const { return m_painting_window; }
    void set_extent(SIZEL extent) { m_extent = extent; }

private:
    /* The tests plant what the memory of a destroyed object might hold. */
    friend struct AxControlTestAccess;

    const AxClassDesc *m_desc;
    LONG m_ref;
    IOleClientSite *m_site = nullptr;
    IOleInPlaceSite *m_inplace_site = nullptr;
    ISimpleFrameSite *m_frame_site = nullptr; /* when the site is a simple-frame site */
    IOleAdviseHolder *m_ole_advise = nullptr;
    IDataAdviseHolder *m_data_advise = nullptr;
    IAdviseSink *m_view_sink = nullptr;
    DWORD m_view_aspects = 0, m_view_advf = 0;
    HWND m_hwnd = nullptr;
    WNDPROC m_prev_proc = nullptr;
    bool m_inplace_active = false;
    bool m_ui_active = false;
    bool m_dirty = false;
    bool m_initialized = false;
    bool m_loading = false;
    bool m_painting_window = false;
    LONG m_freeze = 0;
    SIZEL m_extent = {0, 0};
    RECT m_pos = {0, 0, 0, 0};
    AxConnectionPoint m_cp_events;
    AxConnectionPoint m_cp_propnotify;

    struct OleObject : IOleObject {
        AX_FORWARD_IUNKNOWN
        STDMETHOD(SetClientSite)(IOleClientSite *site) override;
        STDMETHOD(GetClientSite)(IOleClientSite **site) override;
        STDMETHOD(SetHostNames)(LPCOLESTR, LPCOLESTR) override { return S_OK; }
        STDMETHOD(Close)(DWORD) override;
        STDMETHOD(SetMoniker)(DWORD, IMoniker *) override { return E_NOTIMPL; }
        STDMETHOD(GetMoniker)(DWORD, DWORD, IMoniker **) override { return E_NOTIMPL; }
        STDMETHOD(InitFromData)(IDataObject *, BOOL, DWORD) override { return E_NOTIMPL; }
        STDMETHOD(GetClipboardData)(DWORD, IDataObject **) override { return E_NOTIMPL; }
        STDMETHOD(DoVerb)(LONG verb, LPMSG, IOleClientSite *, LONG, HWND, LPCRECT) override;
        STDMETHOD(EnumVerbs)(IEnumOLEVERB **e) override;
        STDMETHOD(Update)() override { return S_OK; }
        STDMETHOD(IsUpToDate)() override { return S_OK; }
        STDMETHOD(GetUserClassID)(CLSID *clsid) override;
        STDMETHOD(GetUserType)(DWORD form, LPOLESTR *type) override;
        STDMETHOD(SetExtent)(DWORD aspect, SIZEL *size) override;
        STDMETHOD(GetExtent)(DWORD aspect, SIZEL *size) override;
        STDMETHOD(Advise)(IAdviseSink *sink, DWORD *cookie) override;
        STDMETHOD(Unadvise)(DWORD cookie) override;
        STDMETHOD(EnumAdvise)(IEnumSTATDATA **e) override;
        STDMETHOD(GetMiscStatus)(DWORD aspect, DWORD *status) override;
        STDMETHOD(SetColorScheme)(LOGPALETTE *) override { return E_NOTIMPL; }
    } m_oleobject;

    struct InPlaceObject : IOleInPlaceObject {
        AX_FORWARD_IUNKNOWN
        STDMETHOD(GetWindow)(HWND *hwnd) override;
        STDMETHOD(ContextSensitiveHelp)(BOOL) override { return E_NOTIMPL; }
        STDMETHOD(InPlaceDeactivate)() override { return owner->in_place_deactivate(); }
        STDMETHOD(UIDeactivate)() override { return owner->ui_deactivate(); }
        STDMETHOD(SetObjectRects)(LPCRECT pos, LPCRECT clip) override;
        STDMETHOD(ReactivateAndUndo)() override { return E_NOTIMPL; }
    } m_inplaceobject;

    struct InPlaceActiveObject : IOleInPlaceActiveObject {
        AX_FORWARD_IUNKNOWN
        STDMETHOD(GetWindow)(HWND *hwnd) override;
        STDMETHOD(ContextSensitiveHelp)(BOOL) override { return E_NOTIMPL; }
        STDMETHOD(TranslateAccelerator)(LPMSG) override { return S_FALSE; }
        STDMETHOD(OnFrameWindowActivate)(BOOL) override { return S_OK; }
        STDMETHOD(OnDocWindowActivate)(BOOL) override { return S_OK; }
        STDMETHOD(ResizeBorder)(LPCRECT, IOleInPlaceUIWindow *, BOOL) override { return S_OK; }
        STDMETHOD(EnableModeless)(BOOL) override { return S_OK; }
    } m_activeobject;

    struct OleControl : IOleControl {
        AX_FORWARD_IUNKNOWN
        STDMETHOD(GetControlInfo)(CONTROLINFO *ci) override;
        STDMETHOD(OnMnemonic)(MSG *) override { return S_OK; }
        STDMETHOD(OnAmbientPropertyChange)(DISPID) override;
        STDMETHOD(FreezeEvents)(BOOL freeze) override;
    } m_olecontrol;

    struct ViewObject : IViewObjectEx {
        AX_FORWARD_IUNKNOWN
        STDMETHOD(Draw)(DWORD aspect, LONG index, void *aspect_info, DVTARGETDEVICE *ptd,
                        HDC hdc_target, HDC hdc_draw, LPCRECTL bounds, LPCRECTL wbounds,
                        BOOL(STDMETHODCALLTYPE *cont)(ULONG_PTR), ULONG_PTR arg) override;
        STDMETHOD(GetColorSet)(DWORD, LONG, void *, DVTARGETDEVICE *, HDC,
                               LOGPALETTE **) override { return E_NOTIMPL; }
        STDMETHOD(Freeze)(DWORD, LONG, void *, DWORD *) override { return E_NOTIMPL; }
        STDMETHOD(Unfreeze)(DWORD) override { return E_NOTIMPL; }
        STDMETHOD(SetAdvise)(DWORD aspects, DWORD advf, IAdviseSink *sink) override;
        STDMETHOD(GetAdvise)(DWORD *aspects, DWORD *advf, IAdviseSink **sink) override;
        STDMETHOD(GetExtent)(DWORD aspect, LONG, DVTARGETDEVICE *, LPSIZEL size) override;
        STDMETHOD(GetRect)(DWORD aspect, LPRECTL rect) override;
        STDMETHOD(GetViewStatus)(DWORD *status) override;
        STDMETHOD(QueryHitPoint)(DWORD aspect, LPCRECT bounds, POINT pt, LONG,
                                 DWORD *result) override;
        STDMETHOD(QueryHitRect)(DWORD aspect, LPCRECT bounds, LPCRECT loc, LONG,
                                DWORD *result) override;
        STDMETHOD(GetNaturalExtent)(DWORD, LONG, DVTARGETDEVICE *, HDC, DVEXTENTINFO *,
                                    LPSIZEL) override { return E_NOTIMPL; }
    } m_viewobject;

    struct PersistStreamInit : IPersistStreamInit {
        AX_FORWARD_IUNKNOWN
        STDMETHOD(GetClassID)(CLSID *clsid) override;
        STDMETHOD(IsDirty)() override { return owner->m_dirty ? S_OK : S_FALSE; }
        STDMETHOD(Load)(LPSTREAM stm) override;
        STDMETHOD(Save)(LPSTREAM stm, BOOL clear_dirty) override;
        STDMETHOD(GetSizeMax)(ULARGE_INTEGER *size) override;
        STDMETHOD(InitNew)() override;
    } m_persiststream;

    struct PersistStorage : IPersistStorage {
        AX_FORWARD_IUNKNOWN
        STDMETHOD(GetClassID)(CLSID *clsid) override;
        STDMETHOD(IsDirty)() override { return owner->m_dirty ? S_OK : S_FALSE; }
        STDMETHOD(InitNew)(IStorage *) override;
        STDMETHOD(Load)(IStorage *stg) override;
        STDMETHOD(Save)(IStorage *stg, BOOL same) override;
        STDMETHOD(SaveCompleted)(IStorage *) override { return S_OK; }
        STDMETHOD(HandsOffStorage)() override { return S_OK; }
    } m_persiststorage;

    struct QuickActivateImpl : IQuickActivate {
        AX_FORWARD_IUNKNOWN
        STDMETHOD(QuickActivate)(QACONTAINER *container, QACONTROL *control) override;
        STDMETHOD(SetContentExtent)(LPSIZEL size) override;
        STDMETHOD(GetContentExtent)(LPSIZEL size) override;
    } m_quickactivate;

    struct DataObject : IDataObject {
        AX_FORWARD_IUNKNOWN
        STDMETHOD(GetData)(FORMATETC *, STGMEDIUM *) override { return DV_E_FORMATETC; }
        STDMETHOD(GetDataHere)(FORMATETC *, STGMEDIUM *) override { return DV_E_FORMATETC; }
        STDMETHOD(QueryGetData)(FORMATETC *) override { return DV_E_FORMATETC; }
        STDMETHOD(GetCanonicalFormatEtc)(FORMATETC *, FORMATETC *out) override
        {
            if (out)
                out->ptd = nullptr;
            return E_NOTIMPL;
        }
        STDMETHOD(SetData)(FORMATETC *, STGMEDIUM *, BOOL) override { return E_NOTIMPL; }
        STDMETHOD(EnumFormatEtc)(DWORD, IEnumFORMATETC **) override { return E_NOTIMPL; }
        STDMETHOD(DAdvise)(FORMATETC *fmt, DWORD advf, IAdviseSink *sink,
                           DWORD *cookie) override;
        STDMETHOD(DUnadvise)(DWORD cookie) override;
        STDMETHOD(EnumDAdvise)(IEnumSTATDATA **e) override;
    } m_dataobject;

    struct ClassInfo : IProvideClassInfo2 {
        AX_FORWARD_IUNKNOWN
        STDMETHOD(GetClassInfo)(ITypeInfo **info) override;
        STDMETHOD(GetGUID)(DWORD kind, GUID *guid) override;
    } m_classinfo;

    struct CPContainer : IConnectionPointContainer {
        AX_FORWARD_IUNKNOWN
        STDMETHOD(EnumConnectionPoints)(IEnumConnectionPoints **e) override;
        STDMETHOD(FindConnectionPoint)(REFIID riid, IConnectionPoint **cp) override;
    } m_cpcontainer;

    struct PropertyPages : ISpecifyPropertyPages {
        AX_FORWARD_IUNKNOWN
        STDMETHOD(GetPages)(CAUUID *pages) override;
    } m_pages;

    struct ErrorInfo : ISupportErrorInfo {
        AX_FORWARD_IUNKNOWN
        STDMETHOD(InterfaceSupportsErrorInfo)(REFIID riid) override;
    } m_errorinfo;
};

/* IDispatch half of a dual interface, delegated to the type library.
 * `self` is the dual interface pointer the type info calls into. */
HRESULT ax_dispatch_gettypeinfo(const IID &iid, UINT index, ITypeInfo **info);
HRESULT ax_dispatch_getidsofnames(const IID &iid, LPOLESTR *names, UINT count, DISPID *ids);
HRESULT ax_dispatch_invoke(const IID &iid, IDispatch *self, DISPID id, WORD flags,
                           DISPPARAMS *params, VARIANT *result, EXCEPINFO *excep,
                           UINT *argerr);

#define AX_DISPATCH_METHODS(IID_)                                                       \
    STDMETHOD(GetTypeInfoCount)(UINT *count) override                                  \
    {                                                                                   \
        if (!count)                                                                     \
            return E_POINTER;                                                           \
        *count = 1;                                                                     \
        return S_OK;                                                                    \
    }                                                                                   \
    STDMETHOD(GetTypeInfo)(UINT index, LCID, ITypeInfo **info) override                 \
    {                                                                                   \
        return ax_dispatch_gettypeinfo(IID_, index, info);                              \
    }                                                                                   \
    STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR *names, UINT count, LCID,                 \
                             DISPID *ids) override                                      \
    {                                                                                   \
        return ax_dispatch_getidsofnames(IID_, names, count, ids);                      \
    }                                                                                   \
    STDMETHOD(Invoke)(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS *params,          \
                      VARIANT *result, EXCEPINFO *excep, UINT *argerr) override         \
    {                                                                                   \
        return ax_dispatch_invoke(IID_, this, id, flags, params, result, excep, argerr); \
    }

/* The head of a control's dual interface member: IUnknown through the control
 * class `Owner`, IDispatch through the type library. */
#define AX_DUAL_INTERFACE(Owner, IID_) \
    AX_FORWARD_IUNKNOWN_TO(Owner)      \
    AX_DISPATCH_METHODS(IID_)

/* Creation function of a control class (AxCreateFn): a new object, handed
 * out as riid. */
template <class Control> HRESULT ax_create(REFIID riid, void **ppv)
{
    Control *obj = new Control;
    HRESULT hr = obj->QueryInterface(riid, ppv);
    obj->Release();
    return hr;
}

/* Serialized variants of a property stream. */
HRESULT ax_write_variant(IStream *stm, const VARIANT *v);
HRESULT ax_read_variant(IStream *stm, VARIANT *v);
HRESULT ax_stream_write(IStream *stm, const void *data, ULONG size);
HRESULT ax_stream_read(IStream *stm, void *data, ULONG size);
