/*
 * The test container: a form host of our own with a real form window, the
 * sites of its embedded controls, ambient properties, sinks that record what
 * they get, and extended controls that answer by name.
 */
#pragma once

#include "axbase.h"
#include "axcheck.h"
#include "comobject.h"

#include <functional>
#include <set>
#include <string>
#include <vector>

class AxForm;
class AxSite;

/* An automation object that answers by name: an extended control, a plain
 * control of the form (text box, frame, line), or the form itself. */
class AxExtended final : public IDispatch {
public:
    explicit AxExtended(const std::wstring &name);
    ~AxExtended();

    LONG ref = 1;
    std::vector<std::pair<std::wstring, VARIANT>> props;
    IDispatch *inner = nullptr;   /* the control's own IDispatch, for names we lack */
    std::vector<std::wstring> inner_names;
    std::set<std::wstring> refuse_put;  /* puts that fail */
    std::set<std::wstring> refuse_get;  /* gets that fail */
    bool has_move = true;
    bool move_fails = false;
    bool no_typeinfo = false;
    bool log_calls = false;  /* record puts and Move in ax_seq */
    /* live properties (the form's scale size, say) */
    std::function<bool(const std::wstring &, VARIANT *)> getter;
    std::function<bool(const std::wstring &, const VARIANT &)> putter;
    std::function<void()> on_geometry; /* after Left/Top/Width/Height/Move */

    void set(const std::wstring &name, const VARIANT &v);
    void set_num(const std::wstring &name, double v);
    void set_float(const std::wstring &name, float v);
    void set_str(const std::wstring &name, const std::wstring &v);
    void set_obj(const std::wstring &name, IDispatch *obj);
    void remove(const std::wstring &name);
    bool has(const std::wstring &name) const;
    double num(const std::wstring &name) const;
    std::wstring str(const std::wstring &name) const;
    std::wstring name() const { return str(L"Name"); }

    STDMETHOD(QueryInterface)(REFIID riid, void **ppv) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(GetTypeInfoCount)(UINT *count) override;
    STDMETHOD(GetTypeInfo)(UINT index, LCID, ITypeInfo **info) override;
    STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR *names, UINT count, LCID, DISPID *ids) override;
    STDMETHOD(Invoke)(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS *params, VARIANT *result,
                      EXCEPINFO *, UINT *) override;

private:
    int find(const std::wstring &name) const;
};

/* Records property-change notifications ("req N", "chg N") in ax_seq and can
 * refuse edits. */
class AxPropSink final : public AxObject<IPropertyNotifySink> {
public:
    std::set<DISPID> refuse;
    std::function<void(DISPID)> on_request; /* look at the control during a request */
    STDMETHOD(OnChanged)(DISPID id) override;
    STDMETHOD(OnRequestEdit)(DISPID id) override;
};

/* Records view and data changes ("view", "data") in ax_seq. */
class AxAdviseSink final : public AxObject<IAdviseSink> {
public:
    bool record = true;
    STDMETHOD_(void, OnDataChange)(FORMATETC *, STGMEDIUM *) override;
    STDMETHOD_(void, OnViewChange)(DWORD, LONG) override;
    STDMETHOD_(void, OnRename)(IMoniker *) override {}
    STDMETHOD_(void, OnSave)() override {}
    STDMETHOD_(void, OnClose)() override {}
};

/* An event sink: records each event by name with its arguments in ax_seq and
 * lets the test answer by-reference arguments. */
class AxEventSink final : public AxObject<IDispatch> {
public:
    AxEventSink(REFIID iid, std::vector<std::wstring> names) : iid(iid), names(std::move(names)) {}
    IID iid;
    std::vector<std::wstring> names; /* by dispatch id */
    bool record_args = true;
    std::set<std::wstring> quiet;     /* events not recorded (MouseMove, say) */
    std::function<void(const std::wstring &, DISPPARAMS *)> handler;
    STDMETHOD(GetTypeInfoCount)(UINT *count) override;
    STDMETHOD(GetTypeInfo)(UINT, LCID, ITypeInfo **) override { return E_NOTIMPL; }
    STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR *, UINT, LCID, DISPID *) override
    {
        return E_NOTIMPL;
    }
    STDMETHOD(Invoke)(DISPID id, REFIID, LCID, WORD, DISPPARAMS *params, VARIANT *, EXCEPINFO *,
                      UINT *) override;

private:
    /* The events' dispinterface, besides IDispatch. */
    bool also_answers(REFIID riid) override { return IsEqualIID(riid, iid); }
};

/* The site of one embedded control. */
class AxSite final : public IOleClientSite,
                     public IOleInPlaceSite,
                     public IOleControlSite,
                     public ISimpleFrameSite,
                     public IDispatch {
public:
    AxSite(AxForm *form, const std::wstring &name);
    ~AxSite();

    LONG ref = 1;
    AxForm *form;
    AxExtended *ext;          /* the extended control */
    IOleObject *control = nullptr;
    bool user_mode = true;
    OLE_COLOR back_color = 0x8000000F; /* button face */
    std::wstring display_name;
    bool offer_simple_frame = true;
    bool offer_transform = true;
    UINT eat_message = 0;     /* PreMessageFilter handles this message itself */
    LRESULT eat_result = 0;

    /* Creates the control through the server's class object and sets the
     * site (before anything else, as the control asks). */
    HRESULT create(IClassFactory *factory);
    HRESULT quick_activate(IClassFactory *factory, AxPropSink *props, AxEventSink *events,
                           OLE_COLOR color);
    HRESULT activate();       /* in-place activation */
    HRESULT deactivate();
    void release_control();
    HWND control_window();
    RECT pixel_rect();        /* in the form window's client coordinates */
    void update_rect();       /* after the extended geometry changed */
    IDispatch *control_dispatch(); /* referenced */

    /* IUnknown (shared) */
    STDMETHOD(QueryInterface)(REFIID riid, void **ppv) override;
    STDMETHOD_(ULONG, AddRef)() override { return InterlockedIncrement(&ref); }
    STDMETHOD_(ULONG, Release)() override;
    /* IOleClientSite */
    STDMETHOD(SaveObject)() override { return S_OK; }
    STDMETHOD(GetMoniker)(DWORD, DWORD, IMoniker **) override { return E_NOTIMPL; }
    STDMETHOD(GetContainer)(IOleContainer **container) override;
    STDMETHOD(ShowObject)() override { return S_OK; }
    STDMETHOD(OnShowWindow)(BOOL) override { return S_OK; }
    STDMETHOD(RequestNewObjectLayout)() override { return E_NOTIMPL; }
    /* IOleWindow / IOleInPlaceSite */
    STDMETHOD(GetWindow)(HWND *hwnd) override;
    STDMETHOD(ContextSensitiveHelp)(BOOL) override { return E_NOTIMPL; }
    STDMETHOD(CanInPlaceActivate)() override;
    STDMETHOD(OnInPlaceActivate)() override;
    STDMETHOD(OnUIActivate)() override;
    STDMETHOD(GetWindowContext)(IOleInPlaceFrame **frame, IOleInPlaceUIWindow **doc, LPRECT pos,
                                LPRECT clip, LPOLEINPLACEFRAMEINFO info) override;
    STDMETHOD(Scroll)(SIZE) override { return E_NOTIMPL; }
    STDMETHOD(OnUIDeactivate)(BOOL) override;
    STDMETHOD(OnInPlaceDeactivate)() override;
    STDMETHOD(DiscardUndoState)() override { return S_OK; }
    STDMETHOD(DeactivateAndUndo)() override { return S_OK; }
    STDMETHOD(OnPosRectChange)(LPCRECT rect) override;
    /* IOleControlSite */
    STDMETHOD(OnControlInfoChanged)() override { return S_OK; }
    STDMETHOD(LockInPlaceActive)(BOOL) override { return S_OK; }
    STDMETHOD(GetExtendedControl)(IDispatch **disp) override;
    STDMETHOD(TransformCoords)(POINTL *himetric, POINTF *container, DWORD flags) override;
    STDMETHOD(TranslateAccelerator)(MSG *, DWORD) override { return S_FALSE; }
    STDMETHOD(OnFocus)(BOOL) override;
    STDMETHOD(ShowPropertyFrame)() override { return E_NOTIMPL; }
    /* ISimpleFrameSite */
    STDMETHOD(PreMessageFilter)(HWND, UINT msg, WPARAM, LPARAM, LRESULT *result,
                                DWORD *cookie) override;
    STDMETHOD(PostMessageFilter)(HWND, UINT msg, WPARAM, LPARAM, LRESULT *, DWORD cookie) override;
    /* IDispatch: ambient properties */
    STDMETHOD(GetTypeInfoCount)(UINT *count) override;
    STDMETHOD(GetTypeInfo)(UINT, LCID, ITypeInfo **) override { return E_NOTIMPL; }
    STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR *, UINT, LCID, DISPID *) override
    {
        return E_NOTIMPL;
    }
    STDMETHOD(Invoke)(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS *, VARIANT *result,
                      EXCEPINFO *, UINT *) override;
};

/* The form: its window, its objects, its container and frame interfaces and
 * its own automation object (Name, Scale*, Left, Top, Width, Height). */
class AxForm final : public IOleContainer, public IOleInPlaceFrame {
public:
    explicit AxForm(const std::wstring &name, int client_width = 640, int client_height = 480);
    ~AxForm();

    LONG ref = 1;
    HWND hwnd = nullptr;
    AxExtended *disp;                 /* the form's automation object */
    double units_per_inch = 1440;     /* twips; 96 makes container units pixels */
    double scale_left = 0, scale_top = 0;
    bool record_messages = false;     /* messages the form's own procedure sees */
    bool enum_fails = false;
    std::vector<AxSite *> sites;
    std::vector<IUnknown *> objects;  /* everything EnumObjects returns, in order */
    IOleInPlaceActiveObject *active = nullptr;

    AxSite *add_site(const std::wstring &name, double left, double top, double width,
                     double height, IDispatch *container = nullptr);
    AxExtended *add_control(const std::wstring &name, double left, double top, double width,
                            double height, IDispatch *container = nullptr);
    AxExtended *add_line(const std::wstring &name, double x1, double y1, double x2, double y2,
                         IDispatch *container = nullptr);
    void set_client_size(int width, int height);
    long dpi() const;
    double to_units(long pixels) const { return pixels * units_per_inch / dpi(); }
    long to_pixels(double units) const { return (long)(units * dpi() / units_per_inch + 0.5); }
    void close();                     /* deactivates and releases every control */

    static LRESULT CALLBACK form_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

    STDMETHOD(QueryInterface)(REFIID riid, void **ppv) override;
    STDMETHOD_(ULONG, AddRef)() override { return InterlockedIncrement(&ref); }
    STDMETHOD_(ULONG, Release)() override;
    /* IOleContainer */
    STDMETHOD(ParseDisplayName)(IBindCtx *, LPOLESTR, ULONG *, IMoniker **) override
    {
        return E_NOTIMPL;
    }
    STDMETHOD(EnumObjects)(DWORD flags, IEnumUnknown **e) override;
    STDMETHOD(LockContainer)(BOOL) override { return S_OK; }
    /* IOleInPlaceFrame */
    STDMETHOD(GetWindow)(HWND *h) override;
    STDMETHOD(ContextSensitiveHelp)(BOOL) override { return E_NOTIMPL; }
    STDMETHOD(GetBorder)(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHOD(RequestBorderSpace)(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHOD(SetBorderSpace)(LPCBORDERWIDTHS) override { return S_OK; }
    STDMETHOD(SetActiveObject)(IOleInPlaceActiveObject *obj, LPCOLESTR) override;
    STDMETHOD(InsertMenus)(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    STDMETHOD(SetMenu)(HMENU, HOLEMENU, HWND) override { return S_OK; }
    STDMETHOD(RemoveMenus)(HMENU) override { return E_NOTIMPL; }
    STDMETHOD(SetStatusText)(LPCOLESTR) override { return S_OK; }
    STDMETHOD(EnableModeless)(BOOL) override { return S_OK; }
    STDMETHOD(TranslateAccelerator)(LPMSG, WORD) override { return S_FALSE; }
};

/* Loads a control server and its class object (for the tests that use the
 * DLL exactly as a container does). */
struct AxServer {
    HMODULE module = nullptr;
    HRESULT(WINAPI *can_unload)(void) = nullptr;
    HRESULT(WINAPI *get_class_object)(REFCLSID, REFIID, void **) = nullptr;
    HRESULT(WINAPI *register_server)(void) = nullptr;
    HRESULT(WINAPI *unregister_server)(void) = nullptr;
    bool load(const wchar_t *dll);
    IClassFactory *factory(REFCLSID clsid);
};

/* Pumps the thread's messages. */
void ax_pump();

/* Connects new sinks to a control: a property-change sink, an event sink for
 * its source interface `events` (names by dispatch id) and one advise sink
 * for both its view and its data changes. */
void ax_connect_sinks(IUnknown *control, REFIID events, const std::vector<std::wstring> &names,
                      AxPropSink **props, AxEventSink **event_sink, AxAdviseSink **advise);

/* Watches, from another thread, for a dialog titled `title`; collects the
 * text of its children and presses `button` on it. */
struct AxDialogCloser {
    std::wstring title;
    int button = IDCANCEL;
    std::wstring text;
    bool found = false;
    HANDLE thread = nullptr;
    void start(const std::wstring &t, int b);
    void wait();
};
