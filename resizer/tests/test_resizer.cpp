/*
 * QVXRSZ through its DLL, in the test container: registration, property
 * rules, the stream with the form's design scale, the hooked form and its
 * message sequence, rescaling, tracking limits and centring.
 */
#include "axhost.h"
#include "qvxrsz_h.h"

#include <cstring>
#include <set>

static AxServer server;
static IClassFactory *factory;
static const std::vector<std::wstring> event_names = {L"", L"PreResize"};

#define CTL_E_INVALID 0x800A017C

struct Rsz {
    AxForm *form = nullptr;
    AxSite *site = nullptr;
    Izelcrsz *rsz = nullptr;
    AxPropSink *props = nullptr;
    AxEventSink *events = nullptr;
    AxAdviseSink *advise = nullptr;
    AxExtended *elsewhere = nullptr;
};

static bool close_to(double a, double b) { return a - b < 0.01 && b - a < 0.01; }

static void connect(Rsz &f)
{
    ax_connect_sinks(f.rsz, DIID__IzelcrszEvents, event_names, &f.props, &f.events, &f.advise);
}

static HRESULT load_bytes(Izelcrsz *r, const std::vector<BYTE> &bytes)
{
    IStream *stm = ax_stream_of(bytes);
    IPersistStreamInit *psi = ax_query<IPersistStreamInit>(r, IID_IPersistStreamInit);
    HRESULT hr = psi->Load(stm);
    psi->Release();
    stm->Release();
    return hr;
}

static std::vector<BYTE> save_bytes(Izelcrsz *r)
{
    IStream *stm;
    CreateStreamOnHGlobal(nullptr, TRUE, &stm);
    IPersistStreamInit *psi = ax_query<IPersistStreamInit>(r, IID_IPersistStreamInit);
    HRESULT hr = psi->Save(stm, TRUE);
    ok(hr == S_OK, "Save: %08lx\n", hr);
    psi->Release();
    std::vector<BYTE> out = ax_stream_bytes(stm);
    stm->Release();
    return out;
}

/* A resizer on a form whose client area is cw x ch pixels (twips: 15 each). */
static Rsz make(bool run, int cw, int ch, const std::vector<BYTE> *stream = nullptr)
{
    Rsz f;
    f.form = new AxForm(L"Form1", cw, ch);
    f.site = f.form->add_site(L"Rsz1", 0, 0, 480, 480);
    /* the resizer's own record is not of interest here: keep it out of the tree */
    f.elsewhere = new AxExtended(L"Elsewhere");
    f.site->ext->set_obj(L"Container", f.elsewhere);
    f.site->user_mode = run;
    HRESULT hr = f.site->create(factory);
    ok(hr == S_OK, "create: %08lx\n", hr);
    f.rsz = ax_query<Izelcrsz>(f.site->control, IID_Izelcrsz);
    if (stream) {
        hr = load_bytes(f.rsz, *stream);
        ok(hr == S_OK, "Load: %08lx\n", hr);
    } else {
        IPersistStreamInit *psi = ax_query<IPersistStreamInit>(f.rsz, IID_IPersistStreamInit);
        psi->InitNew();
        psi->Release();
    }
    connect(f);
    ax_seq_clear();
    return f;
}

static void destroy(Rsz &f)
{
    if (f.rsz)
        f.rsz->Release();
    f.form->close();
    f.form->Release();
    f.props->Release();
    f.events->Release();
    f.advise->Release();
    f.elsewhere->Release();
    ax_seq_clear();
}

static std::vector<BYTE> design_stream(int cw, int ch)
{
    Rsz f = make(false, cw, ch);
    std::vector<BYTE> bytes = save_bytes(f.rsz);
    destroy(f);
    return bytes;
}

static AxExtended *add_text(AxForm *form)
{
    AxExtended *t = form->add_control(L"Text1", 480, 360, 2400, 720);
    t->set_float(L"FontSize", 8);
    t->set_str(L"FontName", L"Arial");
    return t;
}

/* ---- registration ---- */

static void test_registration()
{
    server.unregister_server();
    std::set<std::wstring> before = ax_registry_snapshot();
    ok(server.register_server() == S_OK, "DllRegisterServer\n");
    WCHAR clsid[40];
    StringFromGUID2(CLSID_QVXRSZ, clsid, 40);
    std::wstring cls = std::wstring(L"CLSID\\") + clsid;
    ok(ax_reg_string(L"QVXRSZ.zelcrsz.1") == L"zelcrsz Class", "ProgID\n");
    ok(ax_reg_string(L"QVXRSZ.zelcrsz\\CurVer") == L"QVXRSZ.zelcrsz.1", "CurVer\n");
    ok(ax_reg_string(cls + L"\\MiscStatus\\1") == L"132497", "MiscStatus\n");
    ok(ax_reg_string(cls + L"\\InprocServer32", L"ThreadingModel") == L"Apartment", "threading\n");
    std::wstring module = ax_reg_string(cls + L"\\InprocServer32");
    ok(ax_reg_string(cls + L"\\ToolboxBitmap32") == module + L", 106", "toolbox bitmap\n");
    ok(ax_reg_string(cls + L"\\verb\\1") == L"&Properties,0,2", "verb\n");
    ok(ax_reg_string(cls + L"\\Version") == L"1.0", "version\n");
    ok(server.unregister_server() == S_OK, "DllUnregisterServer\n");
    ok(ax_registry_snapshot() == before, "registry differs after unregistering\n");
    HRESULT hr = server.unregister_server();
    ok(hr == S_OK, "DllUnregisterServer of an unregistered server: %08lx\n", hr);

    /* type library: Enabled lists its put before its get; the event's parameters */
    ITypeLib *tl;
    WCHAR path[MAX_PATH];
    GetModuleFileNameW(server.module, path, MAX_PATH);
    LoadTypeLibEx(path, REGKIND_NONE, &tl);
    ITypeInfo *ti, *vt;
    HREFTYPE ref;
    tl->GetTypeInfoOfGuid(IID_Izelcrsz, &ti);
    ti->GetRefTypeOfImplType(-1, &ref);
    ti->GetRefTypeInfo(ref, &vt);
    const INVOKEKIND kinds[] = {INVOKE_PROPERTYPUT, INVOKE_PROPERTYGET, INVOKE_PROPERTYGET,
                                INVOKE_PROPERTYPUT};
    const MEMBERID ids[] = {-514, -514, 1, 1};
    for (UINT i = 0; i < 4; i++) {
        FUNCDESC *fd;
        vt->GetFuncDesc(i, &fd);
        ok(fd->memid == ids[i] && fd->invkind == kinds[i], "member %u: %ld %d\n", i, fd->memid,
           fd->invkind);
        vt->ReleaseFuncDesc(fd);
    }
    TYPEATTR *ta;
    vt->GetTypeAttr(&ta);
    ok(ta->cFuncs == 16, "%u members\n", ta->cFuncs);
    vt->ReleaseTypeAttr(ta);
    vt->Release();
    ti->Release();
    tl->GetTypeInfoOfGuid(CLSID_QVXRSZ, &ti);
    BSTR name;
    DWORD ctx;
    ti->GetDocumentation(MEMBERID_NIL, &name, nullptr, &ctx, nullptr);
    ok(!wcscmp(name, L"QVXRSZ") && ctx == 368, "coclass help context %lu\n", ctx);
    SysFreeString(name);
    ti->Release();
    tl->GetTypeInfoOfGuid(DIID__IzelcrszEvents, &ti);
    FUNCDESC *fd;
    ti->GetFuncDesc(0, &fd);
    ok(fd->memid == 1 && fd->cParams == 8, "PreResize: id %ld, %d parameters\n", fd->memid,
       fd->cParams);
    ok(fd->lprgelemdescParam[1].tdesc.vt == VT_PTR &&
           fd->lprgelemdescParam[1].tdesc.lptdesc->vt == VT_R4,
       "NewTop is a real by reference\n");
    ti->ReleaseFuncDesc(fd);
    ti->Release();
    tl->Release();
}

/* ---- properties ---- */

static void check_error_info(const char *what) { ax_check_error_info(what, L"QVXRSZ"); }

static void test_rules()
{
    /* the initial extent is half the system icon size */
    IOleObject *ole;
    factory->CreateInstance(nullptr, IID_IOleObject, (void **)&ole);
    SIZEL ext;
    ole->GetExtent(DVASPECT_CONTENT, &ext);
    HDC dc = GetDC(nullptr);
    long d = GetDeviceCaps(dc, LOGPIXELSX);
    ReleaseDC(nullptr, dc);
    long want = ((GetSystemMetrics(SM_CXICON) / 2) * 2540 + d / 2) / d;
    ok(ext.cx == want, "initial extent %ld, expected %ld\n", ext.cx, want);
    ole->Release();

    Rsz f = make(false, 320, 240);
    Izelcrsz *r = f.rsz;
    VARIANT_BOOL b;
    LONG v;
    r->get_Enabled(&b);
    ok(b == VARIANT_TRUE, "Enabled default\n");
    r->get_ResizeFonts(&b);
    ok(b == VARIANT_TRUE, "ResizeFonts default\n");
    r->get_AutoCenter(&b);
    ok(b == VARIANT_FALSE, "AutoCenter default\n");
    r->get_MaxWidth(&v);
    ok(v == 0, "MaxWidth default\n");

    AxDialogCloser closer;
    closer.start(L"About OMNIKIT", IDOK);
    ok(r->AboutBox() == S_OK, "AboutBox\n");
    closer.wait();
    ok(closer.found && closer.text.find(L"OMNIKIT") != std::wstring::npos, "About text: %s\n",
       ax_narrow(closer.text).c_str());

    ok(r->put_MinWidth(0) == S_OK && r->put_MaxWidth(0) == S_OK, "0 always accepted\n");
    HRESULT hr = r->put_MinWidth(32768);
    ok(hr == (HRESULT)CTL_E_INVALID, "MinWidth 32768: %08lx\n", hr);
    check_error_info("MinWidth 32768");
    ok(r->put_MinWidth(32767) == S_OK, "MinWidth 32767\n");
    ok(r->put_MinWidth(-1) == (HRESULT)CTL_E_INVALID, "MinWidth -1\n");
    ok(r->put_MinHeight(3000) == S_OK, "MinHeight 3000\n");
    ok(r->put_MaxHeight(2999) == (HRESULT)CTL_E_INVALID, "MaxHeight 2999\n");
    ok(r->put_MaxHeight(3000) == S_OK, "MaxHeight 3000\n");
    ok(r->put_MinHeight(3001) == (HRESULT)CTL_E_INVALID, "MinHeight above MaxHeight\n");
    ok(r->put_MaxHeight(-5) == (HRESULT)CTL_E_INVALID, "MaxHeight -5\n");
    r->put_ResizeFonts(3);
    r->get_ResizeFonts(&b);
    ok(b == VARIANT_TRUE, "non-zero reads back -1\n");
    ax_seq_clear();

    r->put_MaxWidth(40000);
    ok_sequence({"req 2", "chg 2", "view", "data"}, "MaxWidth notifications");
    r->put_Enabled(VARIANT_TRUE);
    ok_sequence({"req -514", "chg -514", "view", "data"}, "Enabled notifications");
    f.props->refuse.insert(3);
    ok(r->put_MinHeight(10) == S_FALSE, "refused edit\n");
    r->get_MinHeight(&v);
    ok(v == 3000, "unchanged after refusal: %ld\n", v);
    ok_sequence({"req 3"}, "refused MinHeight");
    destroy(f);
}

/* ---- persistence ---- */

static void test_stream()
{
    std::vector<BYTE> s = design_stream(320, 240); /* 4800 x 3600 twips */
    ok(s.size() == 12 + 3 * 4 + 4 * 6 + 16, "stream size %u\n", (unsigned)s.size());
    const LONG *tail = (const LONG *)(s.data() + s.size() - 16);
    ok(tail[0] == 0 && tail[1] == 0 && tail[2] == 4800 && tail[3] == 3600,
       "design scale rectangle %ld %ld %ld %ld\n", tail[0], tail[1], tail[2], tail[3]);
    DWORD version;
    memcpy(&version, s.data(), 4);
    ok(version == 0x0300, "version %lx\n", version);
    /* AutoCenter, ResizeFonts as booleans, then the four limits as 32-bit integers */
    WORD vt;
    memcpy(&vt, s.data() + 12, 2);
    ok(vt == VT_BOOL, "AutoCenter type %u\n", vt);
    memcpy(&vt, s.data() + 12 + 4 + 4, 2);
    ok(vt == VT_I4, "MinWidth type %u\n", vt);

    /* loaded back: the rectangle travels with the control */
    Rsz f = make(false, 640, 480, &s);
    std::vector<BYTE> again = save_bytes(f.rsz);
    const LONG *t2 = (const LONG *)(again.data() + again.size() - 16);
    ok(t2[2] == 9600 && t2[3] == 7200, "refreshed from the form at save: %ld %ld\n", t2[2], t2[3]);

    /* failed loads leave the control as it was */
    std::vector<BYTE> before = save_bytes(f.rsz);
    std::vector<BYTE> cut(s.begin(), s.end() - 6);
    ok(FAILED(load_bytes(f.rsz, cut)), "truncated rectangle accepted\n");
    std::vector<BYTE> newer = s;
    newer[1] = 0x04;
    ok(load_bytes(f.rsz, newer) == E_FAIL, "version 0x0400 accepted\n");
    /* pairs no setter accepts: a negative minimum, a maximum below its minimum */
    const size_t min_w = 12 + 4 + 4 + 2, max_w = min_w + 6 + 6;
    std::vector<BYTE> bad = s;
    LONG value = -1;
    memcpy(bad.data() + min_w, &value, 4);
    ok(load_bytes(f.rsz, bad) == (HRESULT)CTL_E_INVALID, "negative MinWidth in the stream\n");
    bad = s;
    value = 40000;
    memcpy(bad.data() + min_w, &value, 4);
    value = 30000;
    memcpy(bad.data() + max_w, &value, 4);
    ok(load_bytes(f.rsz, bad) == (HRESULT)CTL_E_INVALID, "MaxWidth below MinWidth in the stream\n");
    ok(save_bytes(f.rsz) == before, "state changed by failed loads\n");
    destroy(f);
}

/* Whatever the setters accepted and a save wrote loads back as it was: the
 * stream holds each minimum before its maximum. */
static void test_limits_reload()
{
    struct Case {
        LONG min_w, max_w, min_h, max_h;
    } cases[] = {
        {40000, 50000, 3000, 3000}, /* a minimum above 32767 under a maximum */
        {40000, 0, 0, 0},           /* the maximum taken away afterwards */
        {0, 50000, 32767, 0},
    };
    for (const Case &c : cases) {
        Rsz f = make(false, 320, 240);
        Izelcrsz *r = f.rsz;
        ok(r->put_MaxWidth(c.max_w ? c.max_w : 50000) == S_OK && r->put_MinWidth(c.min_w) == S_OK &&
               r->put_MaxWidth(c.max_w) == S_OK,
           "widths %ld..%ld accepted\n", c.min_w, c.max_w);
        ok(r->put_MaxHeight(c.max_h) == S_OK && r->put_MinHeight(c.min_h) == S_OK,
           "heights %ld..%ld accepted\n", c.min_h, c.max_h);
        std::vector<BYTE> saved = save_bytes(r);
        destroy(f);

        Rsz g = make(false, 320, 240, &saved); /* checks that Load succeeds */
        LONG v[4] = {-1, -1, -1, -1};
        g.rsz->get_MinWidth(&v[0]);
        g.rsz->get_MaxWidth(&v[1]);
        g.rsz->get_MinHeight(&v[2]);
        g.rsz->get_MaxHeight(&v[3]);
        ok(v[0] == c.min_w && v[1] == c.max_w && v[2] == c.min_h && v[3] == c.max_h,
           "reloaded %ld..%ld x %ld..%ld\n", v[0], v[1], v[2], v[3]);
        ok(save_bytes(g.rsz) == saved, "saved again differently\n");
        destroy(g);
    }
}

/* ---- the design-time picture ---- */

static void test_design_painting()
{
    Rsz f = make(false, 320, 240);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = 32;
    bi.bmiHeader.biHeight = -32;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    DWORD *bits;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, (void **)&bits, nullptr, 0);
    SelectObject(dc, bmp);
    memset(bits, 0x55, 32 * 32 * 4);
    IViewObject *vo = ax_query<IViewObject>(f.rsz, IID_IViewObject);
    RECTL r = {0, 0, 32, 32};
    ok(vo->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, &r, nullptr, nullptr, 0) ==
           S_OK,
       "Draw\n");
    vo->Release();
    ok((bits[0] & 0xffffff) == 0, "frame corner %06lx\n", bits[0] & 0xffffff);
    ok((bits[3 * 32 + 10] & 0xffffff) == 0x000080, "title bar %06lx\n", bits[3 * 32 + 10] & 0xffffff);
    ok((bits[20 * 32 + 6] & 0xffffff) == 0xc0c0c0, "face %06lx\n", bits[20 * 32 + 6] & 0xffffff);
    DeleteDC(dc);
    DeleteObject(bmp);
    destroy(f);
}

/* ---- rescaling ---- */

static void test_rescale()
{
    std::vector<BYTE> design = design_stream(320, 240);
    Rsz f = make(true, 320, 240, &design);
    HWND rw = f.site->control_window();
    ok(rw != nullptr && !IsWindowVisible(rw), "run-time window exists and is invisible\n");
    AxExtended *text = add_text(f.form);
    AxExtended *wide = f.form->add_control(L"Wide1", 2400, 2000, 2400, 300);
    AxExtended *tall = f.form->add_control(L"Tall1", 100, 1800, 300, 1800);
    AxExtended *line = f.form->add_line(L"Line1", 480, 360, 2400, 720);
    f.form->record_messages = true;
    ax_seq_clear();

    f.form->set_client_size(640, 480); /* 9600 x 7200 */
    ok_sequence({"PreResize(Text1,720,960,1440,4800,16,false,obj)",
                 "PreResize(Wide1,4000,4800,600,4799,0,false,obj)",
                 "PreResize(Tall1,3600,200,3550,600,0,false,obj)",
                 "PreResize(Line1,720,960,1440,4800,0,false,obj)", "form WM_SIZE 0 640x480"},
                "first resize: the hooked form sees WM_SIZE after the controls");
    ok(close_to(text->num(L"Left"), 960) && close_to(text->num(L"Top"), 720) &&
           close_to(text->num(L"Width"), 4800) && close_to(text->num(L"Height"), 1440),
       "text box moved\n");
    ok(text->num(L"FontSize") == 16 && text->str(L"FontName") == L"Arial", "font 16\n");
    ok(wide->num(L"Width") == 4799, "right margin: %g\n", wide->num(L"Width"));
    ok(tall->num(L"Height") == 3550, "bottom margin: %g\n", tall->num(L"Height"));
    ok(line->num(L"X1") == 960 && line->num(L"Y1") == 720 && line->num(L"X2") == 4800 &&
           line->num(L"Y2") == 1440,
       "line ends\n");

    f.form->set_client_size(640, 240); /* 9600 x 3600 */
    ok(!ax_seq.empty() && ax_seq[0] == "PreResize(Text1,360,960,720,4800,8,false,obj)",
       "smaller factor for the font: %s\n", ax_seq_text().c_str());
    ax_seq_clear();

    f.form->set_client_size(160, 120); /* 2400 x 1800 */
    ok(text->num(L"FontSize") == 4 && text->str(L"FontName") == L"Small Fonts",
       "below 7: %g %s\n", text->num(L"FontSize"), ax_narrow(text->str(L"FontName")).c_str());
    f.form->set_client_size(640, 480);
    ok(text->num(L"FontSize") == 16 && text->str(L"FontName") == L"Arial",
       "recorded face back at 16\n");

    /* minimising does nothing; restoring rescales */
    ax_seq_clear();
    SendMessageW(f.form->hwnd, WM_SIZE, SIZE_MINIMIZED, 0);
    ok_sequence({"form WM_SIZE 1 0x0"}, "minimised: nothing rescaled");
    SendMessageW(f.form->hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(640, 480));
    ok(ax_seq.size() == 5 && ax_seq[4] == "form WM_SIZE 0 640x480", "restored: %s\n",
       ax_seq_text().c_str());
    ax_seq_clear();

    /* a control moved by the program keeps its new relative place */
    text->set_num(L"Left", 1920);
    f.form->set_client_size(320, 240); /* 4800 x 3600 */
    ok(!ax_seq.empty() && ax_seq[0] == "PreResize(Text1,360,960,720,2400,8,false,obj)",
       "moved by the program: %s\n", ax_seq_text().c_str());
    ax_seq_clear();

    /* WM_USER + 3: posted on to the resizer, which rescales later */
    LRESULT res = SendMessageW(f.form->hwnd, WM_USER + 3, 0, MAKELPARAM(320, 240));
    ok(res == 1, "WM_USER+3 result %Id\n", res);
    ok_sequence({}, "nothing before the posted request runs");
    ax_pump();
    ok(ax_seq.size() == 4 && ax_seq[0].rfind("PreResize(Text1", 0) == 0,
       "posted resize ran: %s\n", ax_seq_text().c_str());
    f.form->record_messages = false;
    destroy(f);
}

static void test_ignore_and_fonts()
{
    std::vector<BYTE> design = design_stream(320, 240);
    Rsz f = make(true, 320, 240, &design);
    AxExtended *frame = f.form->add_control(L"Frame1", 480, 360, 2400, 1440);
    AxExtended *inner = f.form->add_control(L"Inner1", 120, 120, 600, 300, frame);
    AxExtended *label = f.form->add_control(L"Label1", 2400, 2400, 1200, 300);
    label->has_move = false; /* Move missing: set one by one */
    AxExtended *font = new AxExtended(L"Arial"); /* a Font object: Name and Size */
    font->has_move = false;
    font->set_num(L"Size", 8);
    label->set_obj(L"Font", font);
    bool ignore = true;
    f.events->handler = [&](const std::wstring &, DISPPARAMS *p) {
        if (ignore && !wcscmp(V_BSTR(&p->rgvarg[7]), L"Frame1"))
            *V_BOOLREF(&p->rgvarg[1]) = VARIANT_TRUE;
    };
    f.form->set_client_size(640, 480);
    ok(frame->num(L"Left") == 480 && frame->num(L"Width") == 2400, "ignored frame in place\n");
    ok(close_to(inner->num(L"Left"), 240) && close_to(inner->num(L"Top"), 240) &&
           close_to(inner->num(L"Width"), 1200),
       "children of the frame rescaled: %g %g %g\n", inner->num(L"Left"), inner->num(L"Top"),
       inner->num(L"Width"));
    ok(close_to(label->num(L"Left"), 4800) && close_to(label->num(L"Height"), 600), "set one by one\n");
    VARIANT size;
    VariantInit(&size);
    VariantCopy(&size, &font->props[1].second);
    ok(V_VT(&size) == VT_CY && close_to(font->num(L"Size"), 16), "Font object size %g (type %u)\n",
       font->num(L"Size"), V_VT(&size));
    VariantClear(&size);
    ax_seq_clear();

    /* at the next resize the frame's ratios are rebased on where it is */
    ignore = false;
    f.form->set_client_size(320, 240);
    ok(!ax_seq.empty() && ax_seq[0].rfind("PreResize(Frame1,180,240,720,1200,", 0) == 0,
       "rebased frame: %s\n", ax_seq_text().c_str());
    f.form->set_client_size(160, 120);
    ok(font->str(L"Name") == L"Small Fonts", "Font object face %s\n",
       ax_narrow(font->str(L"Name")).c_str());
    font->Release();
    destroy(f);
}

/* Controls of one control array share a Name and differ by Index: each has
 * a record of its own, and the controls inside one frame of an array belong
 * to that frame alone. */
static void test_control_arrays()
{
    std::vector<BYTE> design = design_stream(320, 240);
    Rsz f = make(true, 320, 240, &design);
    AxExtended *frames[2], *options[2];
    for (int i = 0; i < 2; i++) {
        frames[i] = f.form->add_control(L"Frame1", 480 + 1800 * i, 360, 1200, 720);
        frames[i]->set_num(L"Index", i);
        options[i] = f.form->add_control(L"Option1", 120, 120 + 60 * i, 600, 300, frames[i]);
        options[i]->set_num(L"Index", i);
    }
    f.form->set_client_size(640, 480);
    int option_events = 0;
    for (const std::string &e : ax_seq)
        if (e.rfind("PreResize(Option1,", 0) == 0)
            option_events++;
    ok(option_events == 2, "one PreResize for each control of the array: %s\n", ax_seq_text().c_str());
    for (int i = 0; i < 2; i++) {
        ok(close_to(frames[i]->num(L"Left"), 960 + 3600 * i), "frame %d left %g\n", i, frames[i]->num(L"Left"));
        ok(close_to(options[i]->num(L"Top"), 240 + 120 * i), "option %d top %g\n", i, options[i]->num(L"Top"));
    }
    destroy(f);
}

static void test_disabled_and_limits()
{
    std::vector<BYTE> design = design_stream(320, 240);
    Rsz f = make(true, 320, 240, &design);
    AxExtended *text = add_text(f.form);
    f.rsz->put_Enabled(VARIANT_FALSE);
    f.rsz->put_MinWidth(1500);  /* 100 pixels */
    f.rsz->put_MaxHeight(6000); /* 400 pixels */
    ax_seq_clear();
    f.form->set_client_size(640, 480);
    ok_sequence({}, "disabled: nothing rescaled");
    ok(text->num(L"Left") == 480, "text unmoved\n");

    MINMAXINFO mmi = {};
    mmi.ptMinTrackSize.x = 1;
    mmi.ptMaxTrackSize.y = 2;
    f.form->record_messages = true;
    LRESULT res = SendMessageW(f.form->hwnd, WM_GETMINMAXINFO, 0, (LPARAM)&mmi);
    ok(res == 1 && mmi.ptMinTrackSize.x == 1 && mmi.ptMaxTrackSize.y == 2,
       "disabled: limits not applied\n");
    f.rsz->put_Enabled(VARIANT_TRUE);
    ax_seq_clear();
    res = SendMessageW(f.form->hwnd, WM_GETMINMAXINFO, 0, (LPARAM)&mmi);
    ok(res == 1, "WM_GETMINMAXINFO result %Id\n", res);
    ok(mmi.ptMinTrackSize.x == 100 && mmi.ptMaxTrackSize.y == 400 && mmi.ptMaxTrackSize.x == 0 &&
           mmi.ptMinTrackSize.y == 0,
       "pixel limits %ld %ld\n", mmi.ptMinTrackSize.x, mmi.ptMaxTrackSize.y);
    ok_sequence({}, "the form's own procedure never sees WM_GETMINMAXINFO");
    f.form->record_messages = false;

    /* the tree was captured at the first resize: a later control is not rescaled */
    AxExtended *late = f.form->add_control(L"Late1", 100, 100, 100, 100);
    late->log_calls = true;
    f.form->set_client_size(320, 240);
    ok(ax_seq.size() == 1 && ax_seq[0] == "PreResize(Text1,360,480,720,2400,8,false,obj)",
       "captured while disabled: %s\n", ax_seq_text().c_str());
    destroy(f);
}

static void test_centre()
{
    std::vector<BYTE> design = design_stream(320, 240);
    Rsz f = make(true, 320, 240, &design);
    add_text(f.form);
    ok(f.rsz->CenterForm() == S_OK, "CenterForm before the first resize\n");
    ok_sequence({}, "nothing centred without a tree");
    f.form->set_client_size(400, 300);
    ax_seq_clear();
    ok(f.rsz->CenterForm() == S_OK, "CenterForm\n");
    ok_sequence({"form.Left=R4", "form.Top=R4"}, "centred in the types read");
    RECT work, w;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(f.form->hwnd, &w);
    long cx = (work.left + work.right) / 2, cy = (work.top + work.bottom) / 2;
    long width = w.right - w.left, height = w.bottom - w.top;
    ok(w.left == (long)(cx - width * 0.5) && w.top == (long)(cy - height * 0.5),
       "form at %ld,%ld\n", w.left, w.top);
    destroy(f);

    /* AutoCenter centres at the capture */
    Rsz g = make(true, 320, 240, &design);
    g.rsz->put_AutoCenter(VARIANT_TRUE);
    SetWindowPos(g.form->hwnd, nullptr, 3, 3, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ax_seq_clear();
    g.form->set_client_size(400, 300);
    ok(ax_seq.size() >= 2 && ax_seq[0] == "form.Left=R4", "AutoCenter: %s\n",
       ax_seq_text().c_str());
    destroy(g);
}

static void test_second_resizer()
{
    /* a form hooked once: the newest resizer serves it */
    std::vector<BYTE> design = design_stream(320, 240);
    Rsz f = make(true, 320, 240, &design);
    AxExtended *text = add_text(f.form);
    WNDPROC hooked = (WNDPROC)GetWindowLongPtrW(f.form->hwnd, GWLP_WNDPROC);
    AxSite *second = f.form->add_site(L"Rsz2", 0, 0, 480, 480);
    second->ext->set_obj(L"Container", f.elsewhere);
    ok(second->create(factory) == S_OK, "second resizer\n");
    Izelcrsz *r2 = ax_query<Izelcrsz>(second->control, IID_Izelcrsz);
    ok(load_bytes(r2, design) == S_OK, "second resizer loaded\n");
    r2->Release();
    ok((WNDPROC)GetWindowLongPtrW(f.form->hwnd, GWLP_WNDPROC) == hooked, "hooked again\n");
    ax_seq_clear();
    f.form->set_client_size(640, 480);
    ok_sequence({}, "the first resizer no longer serves the form");
    ok(close_to(text->num(L"Left"), 960), "the second resizer rescaled: %g\n", text->num(L"Left"));

    /* the second goes: the first serves the form again; both gone, the form
     * has its own procedure back */
    second->release_control();
    ok((WNDPROC)GetWindowLongPtrW(f.form->hwnd, GWLP_WNDPROC) == hooked, "unhooked too early\n");
    f.form->set_client_size(320, 240);
    ok(!ax_seq.empty() && ax_seq[0].rfind("PreResize(Text1", 0) == 0,
       "the first resizer serves again: %s\n", ax_seq_text().c_str());
    f.site->release_control();
    ok((WNDPROC)GetWindowLongPtrW(f.form->hwnd, GWLP_WNDPROC) == AxForm::form_proc,
       "still hooked with no resizer left\n");
    destroy(f);
}

static void test_empty_design_scale()
{
    /* never saved with its form: the form's scale size at capture stands in */
    Rsz f = make(true, 640, 480);
    AxExtended *text = add_text(f.form);
    f.form->set_client_size(640, 480);
    SendMessageW(f.form->hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(640, 480));
    ok(ax_seq.size() == 1 && ax_seq[0] == "PreResize(Text1,360,480,720,2400,8,false,obj)",
       "captured at the current size: %s\n", ax_seq_text().c_str());
    ax_seq_clear();
    f.form->set_client_size(320, 240);
    ok(close_to(text->num(L"Left"), 240) && close_to(text->num(L"Width"), 1200) &&
           close_to(text->num(L"FontSize"), 4),
       "then scaled from there: %g %g %g\n", text->num(L"Left"), text->num(L"Width"),
       text->num(L"FontSize"));
    destroy(f);
}

/* A PreResize handler that unloads the form: the resizer's window and its
 * records go away in the middle of a rescale, which then stops cleanly. */
static void test_unload_during_resize()
{
    std::vector<BYTE> design = design_stream(320, 240);
    Rsz f = make(true, 320, 240, &design);
    AxExtended *text = add_text(f.form);
    AxExtended *frame = f.form->add_control(L"Frame1", 480, 1440, 2400, 1440);
    AxExtended *inner = f.form->add_control(L"Inner1", 120, 120, 600, 300, frame);
    AxExtended *after = f.form->add_control(L"After1", 2400, 2400, 1200, 300);
    inner->log_calls = after->log_calls = true;
    HWND rw = f.site->control_window();
    f.events->handler = [&](const std::wstring &, DISPPARAMS *p) {
        if (!wcscmp(V_BSTR(&p->rgvarg[7]), L"Text1"))
            f.site->deactivate(); /* the form's code unloads it */
    };
    LONG faults = ax_faults();
    ax_seq_clear();
    f.form->set_client_size(640, 480);
    ok(!IsWindow(rw), "resizer window still there\n");
    ok(ax_faults() == faults, "%ld faults after the unload\n", ax_faults() - faults);
    ok(ax_seq.size() >= 1 && ax_seq[0].rfind("PreResize(Text1", 0) == 0,
       "first event: %s\n", ax_seq_text().c_str());
    ok(ax_seq.size() == 1 || ax_seq[1] == "form WM_SIZE 0 640x480",
       "nothing rescaled once the form was unloaded: %s\n", ax_seq_text().c_str());
    ok(text->num(L"Left") == 480 && after->num(L"Left") == 2400, "controls moved after the unload\n");
    f.events->handler = nullptr;
    destroy(f);
}

/* ---- the server and the forms it hooked ---- */

/* DllCanUnloadNow with nothing of the server held but the form's hook. */
static HRESULT can_unload_without_factory()
{
    factory->Release();
    HRESULT hr = server.can_unload();
    factory = server.factory(CLSID_QVXRSZ);
    return hr;
}

static WNDPROC outer_prev;
static int outer_calls;
static LRESULT CALLBACK outer_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    outer_calls++;
    return CallWindowProcW(outer_prev, hwnd, msg, wp, lp);
}

/* A resizer released while its form stays: the form's window procedure must
 * never point into a server that says it can be unloaded. */
static void test_release_keeps_form()
{
    std::vector<BYTE> design = design_stream(320, 240);
    Rsz f = make(true, 320, 240, &design);
    AxExtended *text = add_text(f.form);
    f.form->set_client_size(640, 480);
    ok((WNDPROC)GetWindowLongPtrW(f.form->hwnd, GWLP_WNDPROC) != AxForm::form_proc,
       "form not hooked\n");
    ok(can_unload_without_factory() == S_FALSE, "unloadable with a resizer alive\n");

    /* the last resizer goes: the form gets its own procedure back */
    f.rsz->Release();
    f.rsz = nullptr;
    f.site->release_control();
    ok((WNDPROC)GetWindowLongPtrW(f.form->hwnd, GWLP_WNDPROC) == AxForm::form_proc,
       "form still hooked after its resizer went\n");
    ok(can_unload_without_factory() == S_OK, "server held after the unhook\n");
    LONG faults = ax_faults();
    f.form->record_messages = true;
    ax_seq_clear();
    f.form->set_client_size(320, 240);
    ok_sequence({"form WM_GETMINMAXINFO", "form WM_SIZE 0 320x240"}, "the form resizes on its own");
    ok(ax_faults() == faults, "fault after the unhook\n");
    ok(close_to(text->num(L"Left"), 960), "rescaled without a resizer: %g\n", text->num(L"Left"));
    f.form->record_messages = false;
    destroy(f);

    /* another procedure was put in front of the hook: the hook stays, only
     * passes messages on, and holds the server until the form is gone */
    Rsz g = make(true, 320, 240, &design);
    text = add_text(g.form);
    g.form->set_client_size(640, 480);
    outer_prev = (WNDPROC)SetWindowLongPtrW(g.form->hwnd, GWLP_WNDPROC, (LONG_PTR)outer_proc);
    g.rsz->Release();
    g.rsz = nullptr;
    g.site->release_control();
    ok((WNDPROC)GetWindowLongPtrW(g.form->hwnd, GWLP_WNDPROC) == outer_proc,
       "the later procedure was cut off\n");
    ok(can_unload_without_factory() == S_FALSE,
       "unloadable while the form's procedure chain runs through the server\n");
    faults = ax_faults();
    outer_calls = 0;
    g.form->record_messages = true;
    ax_seq_clear();
    g.form->set_client_size(320, 240);
    ok(outer_calls > 0, "the later procedure no longer called\n");
    ok_sequence({"form WM_GETMINMAXINFO", "form WM_SIZE 0 320x240"},
                "messages passed on through the idle hook");
    MINMAXINFO mmi = {};
    mmi.ptMinTrackSize.x = 7;
    ax_seq_clear();
    SendMessageW(g.form->hwnd, WM_GETMINMAXINFO, 0, (LPARAM)&mmi);
    ok(mmi.ptMinTrackSize.x == 7, "limits of a gone resizer applied\n");
    ok(ax_faults() == faults, "fault through the idle hook\n");
    ok(close_to(text->num(L"Left"), 960), "rescaled without a resizer: %g\n", text->num(L"Left"));
    g.form->record_messages = false;
    destroy(g);
    ok(can_unload_without_factory() == S_OK, "server held after the form went\n");
}

/* What a container does with an unused server: frees it when it says it can
 * be unloaded.  The form it served lives on and is resized afterwards. */
static void test_free_library_keeps_form()
{
    std::vector<BYTE> design = design_stream(320, 240);
    Rsz f = make(true, 320, 240, &design);
    add_text(f.form);
    f.form->set_client_size(640, 480);
    f.rsz->Release();
    f.rsz = nullptr;
    f.site->release_control();
    factory->Release();
    factory = nullptr;
    ax_pump();
    if (server.can_unload() == S_OK) {
        FreeLibrary(server.module);
        server.module = nullptr;
    }
    LONG faults = ax_faults();
    f.form->set_client_size(320, 240);
    SendMessageW(f.form->hwnd, WM_USER + 3, 0, MAKELPARAM(320, 240));
    ax_pump();
    ok(ax_faults() == faults, "the form faulted after the server was freed\n");
    destroy(f);
}

int main()
{
    OleInitialize(nullptr);
    ok(server.load(L"QVXRSZ.dll"), "QVXRSZ.dll not loaded\n");
    if (!server.module)
        return ax_summary("resizer");
    test_registration();
    server.register_server();
    factory = server.factory(CLSID_QVXRSZ);
    ok(factory != nullptr, "no class factory\n");
    test_rules();
    test_stream();
    test_limits_reload();
    test_design_painting();
    test_rescale();
    test_ignore_and_fonts();
    test_control_arrays();
    test_disabled_and_limits();
    test_centre();
    test_second_resizer();
    test_empty_design_scale();
    test_unload_during_resize();
    test_release_keeps_form();
    factory->Release();
    factory = nullptr;
    ax_pump();
    ok(server.can_unload() == S_OK, "DllCanUnloadNow once everything is released\n");
    server.unregister_server();
    factory = server.factory(CLSID_QVXRSZ);
    test_free_library_keeps_form(); /* last: the server may be gone after it */
    OleUninitialize();
    return ax_summary("resizer");
}
