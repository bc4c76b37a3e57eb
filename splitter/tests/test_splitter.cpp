/*
 * QVXSPLIT through its DLL, in the test container: registration, type
 * library, properties and their protocol, persistence, painting, records and
 * splits, reference counts.
 */
#include "axhost.h"
#include "qvxsplit_h.h"

#include <algorithm>
#include <cstring>
#include <set>

static AxServer server;
static IClassFactory *factory;

static const std::vector<std::wstring> event_names = {
    L"",         L"Click",     L"DblClick", L"KeyDown",     L"KeyPress",  L"KeyUp",
    L"MouseDown", L"MouseMove", L"MouseUp",  L"BeforeSplit", L"AfterSplit"};

#define CTL_E_INVALID 0x800A017C

struct Fixture {
    AxForm *form = nullptr;
    AxSite *site = nullptr;
    IzelcSplit *split = nullptr;
    AxPropSink *props = nullptr;
    AxAdviseSink *advise = nullptr;
    AxEventSink *events = nullptr;
    HWND hwnd = nullptr;
};

static void connect(Fixture &f)
{
    ax_connect_sinks(f.split, DIID__IzelcSplitEvents, event_names, &f.props, &f.events, &f.advise);
}

/* A splitter on a form; container units are twips (1440) or pixels (96). */
static Fixture make(bool run, double units_per_inch, double width, double height,
                    bool activate = true)
{
    Fixture f;
    f.form = new AxForm(L"Form1");
    f.form->units_per_inch = units_per_inch;
    f.site = f.form->add_site(L"Split1", 0, 0, width, height);
    f.site->user_mode = run;
    HRESULT hr = f.site->create(factory);
    ok(hr == S_OK, "create: %08lx\n", hr);
    IPersistStreamInit *psi = ax_query<IPersistStreamInit>(f.site->control, IID_IPersistStreamInit);
    psi->InitNew();
    psi->Release();
    f.split = ax_query<IzelcSplit>(f.site->control, IID_IzelcSplit);
    connect(f);
    if (activate) {
        hr = f.site->activate();
        ok(hr == S_OK, "activate: %08lx\n", hr);
        f.hwnd = f.site->control_window();
        ok(f.hwnd != nullptr, "no window\n");
        RedrawWindow(f.hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    ax_seq_clear();
    return f;
}

static void destroy(Fixture &f)
{
    if (f.split)
        f.split->Release();
    f.form->close();
    f.form->Release();
    if (f.props)
        f.props->Release();
    if (f.events)
        f.events->Release();
    if (f.advise)
        f.advise->Release();
    ax_seq_clear();
}

/* ---- registration ---- */

static bool reg_exists(const std::wstring &path)
{
    HKEY key;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

#define ok_regstr(path, value, expected)                                                      \
    do {                                                                                      \
        std::wstring got_ = ax_reg_string(path, value);                                          \
        ok(got_ == (expected), "%s: got %s\n", ax_narrow(path).c_str(), ax_narrow(got_).c_str()); \
    } while (0)

static void test_registration()
{
    server.unregister_server(); /* leftovers of an interrupted run */
    std::set<std::wstring> before = ax_registry_snapshot();
    HRESULT hr = server.register_server();
    ok(hr == S_OK, "DllRegisterServer: %08lx\n", hr);

    WCHAR clsid_buf[40];
    StringFromGUID2(CLSID_QVXSplit, clsid_buf, 40);
    std::wstring cls = std::wstring(L"CLSID\\") + clsid_buf;
    ok_regstr(std::wstring(L"QVXSPLIT.zelcSplit.1"), nullptr, L"zelcSplit Class");
    ok_regstr(std::wstring(L"QVXSPLIT.zelcSplit.1\\CLSID"), nullptr, clsid_buf);
    ok(reg_exists(L"QVXSPLIT.zelcSplit.1\\Insertable"), "ProgID Insertable\n");
    ok_regstr(std::wstring(L"QVXSPLIT.zelcSplit\\CurVer"), nullptr, L"QVXSPLIT.zelcSplit.1");
    ok_regstr(std::wstring(L"QVXSPLIT.zelcSplit\\CLSID"), nullptr, clsid_buf);
    ok_regstr(cls, nullptr, L"zelcSplit Class");
    ok_regstr(cls + L"\\ProgID", nullptr, L"QVXSPLIT.zelcSplit.1");
    ok_regstr(cls + L"\\VersionIndependentProgID", nullptr, L"QVXSPLIT.zelcSplit");
    ok_regstr(cls + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
    std::wstring module = ax_reg_string(cls + L"\\InprocServer32");
    ok(module.size() > 12 && !_wcsicmp(module.c_str() + module.size() - 12, L"QVXSPLIT.dll"),
       "InprocServer32 %s\n", ax_narrow(module).c_str());
    for (const WCHAR *k : {L"\\Programmable", L"\\Control", L"\\Insertable"})
        ok(reg_exists(cls + k), "missing %s\n", ax_narrow(k).c_str());
    ok_regstr(cls + L"\\ToolboxBitmap32", nullptr, module + L", 104");
    ok_regstr(cls + L"\\MiscStatus\\1", nullptr, L"197009");
    ok_regstr(cls + L"\\Version", nullptr, L"1.0");
    ok_regstr(cls + L"\\verb\\1", nullptr, L"&Properties,0,2");
    /* the library registered is the one the header names */
    WCHAR libid_buf[40];
    StringFromGUID2(LIBID_QVXSPLITLib, libid_buf, 40);
    std::wstring libid = ax_reg_string(cls + L"\\TypeLib");
    ok(libid == libid_buf, "registered LIBID %s, the IDL's %s\n", ax_narrow(libid).c_str(),
       ax_narrow(libid_buf).c_str());
    ok(reg_exists(L"TypeLib\\" + libid + L"\\1.0"), "type library %s not registered\n",
       ax_narrow(libid).c_str());
    ITypeLib *reg_tl = nullptr;
    hr = LoadRegTypeLib(LIBID_QVXSPLITLib, 1, 0, 0x409, &reg_tl);
    ok(hr == S_OK, "LoadRegTypeLib of the header's LIBID: %08lx\n", hr);
    if (reg_tl) {
        TLIBATTR *la;
        reg_tl->GetLibAttr(&la);
        ok(IsEqualGUID(la->guid, LIBID_QVXSPLITLib), "library attribute differs\n");
        reg_tl->ReleaseTLibAttr(la);
        reg_tl->Release();
    }
    WCHAR iid_buf[40];
    StringFromGUID2(IID_IzelcSplit, iid_buf, 40);
    ok(reg_exists(std::wstring(L"Interface\\") + iid_buf), "IzelcSplit not registered\n");

    /* the user type and the verbs come from the registry */
    LPOLESTR user_type = nullptr;
    hr = OleRegGetUserType(CLSID_QVXSplit, USERCLASSTYPE_FULL, &user_type);
    ok(hr == S_OK && user_type && !wcscmp(user_type, L"zelcSplit Class"), "user type %08lx\n", hr);
    CoTaskMemFree(user_type);

    hr = server.unregister_server();
    ok(hr == S_OK, "DllUnregisterServer: %08lx\n", hr);
    std::set<std::wstring> after = ax_registry_snapshot();
    ok(before == after, "registry differs after unregistering (%u keys before, %u after)\n",
       (unsigned)before.size(), (unsigned)after.size());
    for (auto &k : after)
        if (!before.count(k))
            ok(false, "left behind: %s\n", ax_narrow(k).c_str());
    ok(!reg_exists(cls), "class key left behind\n");
}

/* Everything the server writes under HKEY_CLASSES_ROOT, with `folder`
 * (where the registered DLL lies) written as "<dir>". */
static std::set<std::wstring> server_tree(const std::wstring &folder)
{
    WCHAR clsid[40], libid[40], iid[40], diid[40];
    StringFromGUID2(CLSID_QVXSplit, clsid, 40);
    StringFromGUID2(LIBID_QVXSPLITLib, libid, 40);
    StringFromGUID2(IID_IzelcSplit, iid, 40);
    StringFromGUID2(DIID__IzelcSplitEvents, diid, 40);
    std::set<std::wstring> out;
    for (std::wstring line : ax_registry_tree(
             {L"QVXSPLIT.zelcSplit.1", L"QVXSPLIT.zelcSplit", std::wstring(L"CLSID\\") + clsid,
              std::wstring(L"TypeLib\\") + libid, std::wstring(L"Interface\\") + iid,
              std::wstring(L"Interface\\") + diid})) {
        for (size_t at; (at = line.find(folder)) != std::wstring::npos;)
            line.replace(at, folder.size(), L"<dir>");
        out.insert(line);
    }
    return out;
}

/* The DLL registered from a folder whose name has a quote, a space and
 * letters beyond ASCII: the registry names it exactly, holds nothing else
 * than a registration from a plain folder does, and /u takes it all away. */
static void test_registration_odd_path()
{
    WCHAR path[MAX_PATH];
    GetModuleFileNameW(server.module, path, MAX_PATH);
    std::wstring plain_dir(path, wcsrchr(path, L'\\') - path);
    std::wstring odd_dir = plain_dir + L"\\it's a t\u00e9st \u00fc\u03a9";
    std::wstring odd_dll = odd_dir + L"\\QVXSPLIT.dll";
    CreateDirectoryW(odd_dir.c_str(), nullptr);
    ok(CopyFileW(path, odd_dll.c_str(), FALSE), "copy to %s: %lu\n", ax_narrow(odd_dll).c_str(),
       GetLastError());

    server.unregister_server();
    std::set<std::wstring> before = ax_registry_snapshot();
    ok(server.register_server() == S_OK, "plain registration\n");
    std::set<std::wstring> plain = server_tree(plain_dir);
    server.unregister_server();

    AxServer odd;
    ok(odd.load(odd_dll.c_str()), "odd copy not loaded\n");
    ok(odd.module && odd.module != server.module, "the copy is not a module of its own\n");
    if (!odd.module || odd.module == server.module)
        return;
    HRESULT hr = odd.register_server();
    ok(hr == S_OK, "registration from %s: %08lx\n", ax_narrow(odd_dir).c_str(), hr);
    WCHAR clsid[40];
    StringFromGUID2(CLSID_QVXSplit, clsid, 40);
    std::wstring cls = std::wstring(L"CLSID\\") + clsid;
    ok_regstr(cls + L"\\InprocServer32", nullptr, odd_dll);
    ok_regstr(cls + L"\\ToolboxBitmap32", nullptr, odd_dll + L", 104");
    std::set<std::wstring> got = server_tree(odd_dir);
    ok(got == plain, "registration from the odd folder differs from a plain one\n");
    for (auto &k : got)
        if (!plain.count(k))
            ok(false, "stray: %s\n", ax_narrow(k).c_str());
    for (auto &k : plain)
        if (!got.count(k))
            ok(false, "missing: %s\n", ax_narrow(k).c_str());

    /* a client creates the control from there */
    IUnknown *unk = nullptr;
    hr = CoCreateInstance(CLSID_QVXSplit, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                          (void **)&unk);
    ok(hr == S_OK && unk, "CoCreateInstance: %08lx\n", hr);
    if (unk)
        unk->Release();
    CoFreeUnusedLibraries();

    hr = odd.unregister_server();
    ok(hr == S_OK, "unregistering from the odd folder: %08lx\n", hr);
    ok(server_tree(odd_dir).empty(), "left behind after /u\n");
    ok(ax_registry_snapshot() == before, "registry differs after /u\n");
    FreeLibrary(odd.module);
}

/* ---- type library ---- */

static void test_typelib()
{
    ITypeLib *tl;
    WCHAR path[MAX_PATH];
    GetModuleFileNameW(server.module, path, MAX_PATH);
    HRESULT hr = LoadTypeLibEx(path, REGKIND_NONE, &tl);
    ok(hr == S_OK, "LoadTypeLibEx: %08lx\n", hr);
    if (FAILED(hr))
        return;
    TLIBATTR *la;
    tl->GetLibAttr(&la);
    ok(la->lcid == 1033 && la->wMajorVerNum == 1 && la->wMinorVerNum == 0, "lib attr\n");
    tl->ReleaseTLibAttr(la);
    BSTR name, doc, file;
    DWORD ctx;
    tl->GetDocumentation(-1, &name, &doc, &ctx, &file);
    ok(!wcscmp(name, L"QVXSPLITLib"), "library name %s\n", ax_narrow(name).c_str());
    ok(!wcscmp(doc, L"OMNIKIT Splitter Control"), "help string\n");
    ok(file && !wcscmp(file, L"omnikit.hlp"), "help file\n");
    SysFreeString(name);
    SysFreeString(doc);
    SysFreeString(file);

    ITypeInfo *ti;
    tl->GetTypeInfoOfGuid(CLSID_QVXSplit, &ti);
    ti->GetDocumentation(MEMBERID_NIL, &name, &doc, &ctx, nullptr);
    ok(!wcscmp(name, L"QVXSplit") && !wcscmp(doc, L"qvxSplit Class") && ctx == 369,
       "coclass %s ctx %lu\n", ax_narrow(name).c_str(), ctx);
    SysFreeString(name);
    SysFreeString(doc);
    ti->Release();

    /* IzelcSplit: members in order with their ids and kinds */
    struct Member {
        const WCHAR *name;
        MEMBERID id;
        INVOKEKIND kind;
    } expected[] = {
        {L"BackColor", -501, INVOKE_PROPERTYPUT},     {L"BackColor", -501, INVOKE_PROPERTYGET},
        {L"BorderStyle", -504, INVOKE_PROPERTYPUT},   {L"BorderStyle", -504, INVOKE_PROPERTYGET},
        {L"hWnd", -515, INVOKE_PROPERTYGET},          {L"Appearance", -520, INVOKE_PROPERTYPUT},
        {L"Appearance", -520, INVOKE_PROPERTYGET},    {L"MousePointer", -521, INVOKE_PROPERTYPUT},
        {L"MousePointer", -521, INVOKE_PROPERTYGET},  {L"MouseIcon", -522, INVOKE_PROPERTYPUTREF},
        {L"MouseIcon", -522, INVOKE_PROPERTYPUT},     {L"MouseIcon", -522, INVOKE_PROPERTYGET},
        {L"BarThickness", 1, INVOKE_PROPERTYGET},     {L"BarThickness", 1, INVOKE_PROPERTYPUT},
        {L"Position", 0, INVOKE_PROPERTYGET},         {L"Position", 0, INVOKE_PROPERTYPUT},
        {L"Orientation", 3, INVOKE_PROPERTYGET},      {L"Orientation", 3, INVOKE_PROPERTYPUT},
        {L"Max", 4, INVOKE_PROPERTYGET},              {L"Max", 4, INVOKE_PROPERTYPUT},
        {L"Min", 5, INVOKE_PROPERTYGET},              {L"Min", 5, INVOKE_PROPERTYPUT},
        {L"BarRaised", 6, INVOKE_PROPERTYGET},        {L"BarRaised", 6, INVOKE_PROPERTYPUT},
        {L"Enabled", -514, INVOKE_PROPERTYGET},       {L"Enabled", -514, INVOKE_PROPERTYPUT},
        {L"AboutBox", -552, INVOKE_FUNC},
    };
    hr = tl->GetTypeInfoOfGuid(IID_IzelcSplit, &ti);
    ok(hr == S_OK, "IzelcSplit type info\n");
    HREFTYPE ref;
    ITypeInfo *vt;
    if (SUCCEEDED(ti->GetRefTypeOfImplType(-1, &ref)) && SUCCEEDED(ti->GetRefTypeInfo(ref, &vt))) {
        ti->Release();
        ti = vt;
    }
    TYPEATTR *ta;
    ti->GetTypeAttr(&ta);
    ok(ta->cFuncs == sizeof(expected) / sizeof(expected[0]), "%u members\n", ta->cFuncs);
    UINT count = ta->cFuncs;
    ti->ReleaseTypeAttr(ta);
    for (UINT i = 0; i < count && i < sizeof(expected) / sizeof(expected[0]); i++) {
        FUNCDESC *fd;
        ti->GetFuncDesc(i, &fd);
        BSTR n;
        UINT got;
        ti->GetNames(fd->memid, &n, 1, &got);
        ok(!wcscmp(n, expected[i].name) && fd->memid == expected[i].id &&
               fd->invkind == expected[i].kind,
           "member %u: %s %ld %d\n", i, ax_narrow(n).c_str(), fd->memid, fd->invkind);
        ok(fd->oVft == (SHORT)((7 + i) * sizeof(void *)), "member %u vtable slot %d\n", i,
           fd->oVft);
        SysFreeString(n);
        ti->ReleaseFuncDesc(fd);
    }
    ti->Release();

    hr = tl->GetTypeInfoOfGuid(DIID__IzelcSplitEvents, &ti);
    ok(hr == S_OK, "events type info\n");
    ti->GetTypeAttr(&ta);
    ok(ta->cFuncs == 10, "%u events\n", ta->cFuncs);
    ti->ReleaseTypeAttr(ta);
    for (UINT i = 0; i < 10; i++) {
        FUNCDESC *fd;
        ti->GetFuncDesc(i, &fd);
        BSTR n, d;
        ti->GetDocumentation(fd->memid, &n, &d, nullptr, nullptr);
        std::wstring want = L"method " + event_names[i + 1];
        ok(fd->memid == (MEMBERID)(i + 1) && event_names[i + 1] == n && want == d,
           "event %u: %s\n", i, ax_narrow(n).c_str());
        SysFreeString(n);
        SysFreeString(d);
        ti->ReleaseFuncDesc(fd);
    }
    ti->Release();
    tl->Release();
}

/* ---- properties ---- */

static void check_error_info(const char *what) { ax_check_error_info(what, L"QVXSplit"); }

/* A picture object over an icon the picture does not own. */
static IPictureDisp *icon_picture(HICON hicon)
{
    PICTDESC pd;
    memset(&pd, 0, sizeof(pd));
    pd.cbSizeofstruct = sizeof(pd);
    pd.picType = PICTYPE_ICON;
    pd.icon.hicon = hicon;
    IPictureDisp *icon = nullptr;
    HRESULT hr = OleCreatePictureIndirect(&pd, IID_IPictureDisp, FALSE, (void **)&icon);
    ok(hr == S_OK, "picture: %08lx\n", hr);
    return icon;
}

static void test_defaults_and_rules()
{
    Fixture f = make(false, 1440, 3000, 1500, false);
    IzelcSplit *s = f.split;
    OLE_COLOR c;
    s->get_BackColor(&c);
    ok(c == 0x8000000F, "BackColor from ambient: %08lx\n", c);
    qvxBorderStyleConstants bs;
    s->get_BorderStyle(&bs);
    ok(bs == qvxBorderFixedSingle, "BorderStyle %d\n", bs);
    qvxAppearanceConstants ap;
    s->get_Appearance(&ap);
    ok(ap == qvxAppearanceThreeD, "Appearance %d\n", ap);
    short v;
    s->get_BarThickness(&v);
    ok(v == 100, "BarThickness %d\n", v);
    s->get_Position(&v);
    ok(v == 1440, "Position (96 pixels in twips) %d\n", v);
    qvxOrientationConstants o;
    s->get_Orientation(&o);
    ok(o == qvxOriVertical, "Orientation %d\n", o);
    s->get_Min(&v);
    ok(v == 0, "Min %d\n", v);
    s->get_Max(&v);
    ok(v == 0, "Max %d\n", v);
    VARIANT_BOOL b;
    s->get_BarRaised(&b);
    ok(b == VARIANT_TRUE, "BarRaised %d\n", b);
    s->get_Enabled(&b);
    ok(b == VARIANT_TRUE, "Enabled %d\n", b);
    qvxMousePointerConstants mp;
    s->get_MousePointer(&mp);
    ok(mp == qvxMouseDefault, "MousePointer %d\n", mp);
    IPictureDisp *pic = (IPictureDisp *)1;
    s->get_MouseIcon(&pic);
    ok(pic == nullptr, "MouseIcon empty\n");
    LONG h = 1;
    s->get_hWnd(&h);
    ok(h == 0, "hWnd before activation %ld\n", h);

    /* rules: an invalid value changes nothing and sends nothing */
    HRESULT hr = s->put_BarThickness(24);
    ok(hr == (HRESULT)CTL_E_INVALID, "BarThickness 24: %08lx\n", hr);
    check_error_info("BarThickness 24");
    ok_sequence({}, "invalid value sends nothing");
    ok(s->put_BarThickness(25) == S_OK, "BarThickness 25\n");
    ok(s->put_MousePointer((qvxMousePointerConstants)16) == (HRESULT)CTL_E_INVALID, "pointer 16\n");
    ok(s->put_MousePointer(qvxMouseCustom) == S_OK, "pointer 99\n");
    ok(s->put_BorderStyle((qvxBorderStyleConstants)2) == (HRESULT)CTL_E_INVALID, "border 2\n");
    ok(s->put_Appearance((qvxAppearanceConstants)-1) == (HRESULT)CTL_E_INVALID, "appearance -1\n");
    ok(s->put_Orientation((qvxOrientationConstants)2) == (HRESULT)CTL_E_INVALID, "orientation 2\n");
    ok(s->put_Min(32767) == S_OK, "Min 32767 with Max 0\n");
    ok(s->put_Min(0) == S_OK && s->put_Max(0) == S_OK, "0 always accepted\n");
    ok(s->put_Max(500) == S_OK, "Max 500\n");
    ok(s->put_Min(501) == (HRESULT)CTL_E_INVALID, "Min 501 above Max 500\n");
    check_error_info("Min 501");
    ok(s->put_Min(-1) == (HRESULT)CTL_E_INVALID, "Min -1\n");
    ok(s->put_Max(-1) == (HRESULT)CTL_E_INVALID, "Max -1\n");
    ok(s->put_Min(200) == S_OK, "Min 200\n");
    ok(s->put_Max(100) == (HRESULT)CTL_E_INVALID, "Max 100 below Min 200\n");
    ok(s->put_Max(0) == S_OK && s->put_Min(0) == S_OK, "limits removed\n");
    s->put_BarRaised(5);
    s->get_BarRaised(&b);
    ok(b == VARIANT_TRUE, "non-zero reads back as -1: %d\n", b);
    ax_seq_clear();

    /* the setting order: request edit, store, dirty, repaint, changed, repaint, data */
    short seen = 0;
    f.props->on_request = [&](DISPID id) {
        if (id == 1)
            s->get_BarThickness(&seen);
    };
    IPersistStreamInit *psi = ax_query<IPersistStreamInit>(s, IID_IPersistStreamInit);
    ULARGE_INTEGER size;
    IStream *stm;
    CreateStreamOnHGlobal(nullptr, TRUE, &stm);
    psi->Save(stm, TRUE);
    ok(psi->IsDirty() == S_FALSE, "clean after save\n");
    ax_seq_clear();
    ok(s->put_BarThickness(200) == S_OK, "BarThickness 200\n");
    ok(seen == 25, "value stored only after the request: %d\n", seen);
    ok_sequence({"req 1", "view", "chg 1", "view", "data"}, "BarThickness");
    ok(psi->IsDirty() == S_OK, "dirty after a change\n");
    f.props->on_request = nullptr;

    /* a refused edit: S_FALSE, nothing changes */
    f.props->refuse.insert(1);
    hr = s->put_BarThickness(300);
    ok(hr == S_FALSE, "refused edit: %08lx\n", hr);
    s->get_BarThickness(&v);
    ok(v == 200, "unchanged after refusal: %d\n", v);
    ok_sequence({"req 1"}, "refused BarThickness");
    f.props->refuse.clear();

    /* MousePointer asks first, validates second, and does not repaint */
    hr = s->put_MousePointer((qvxMousePointerConstants)16);
    ok(hr == (HRESULT)CTL_E_INVALID, "pointer 16: %08lx\n", hr);
    ok_sequence({"req -521"}, "MousePointer invalid: permission asked first");
    s->put_MousePointer(qvxMouseCrosshair);
    ok_sequence({"req -521", "chg -521", "data"}, "MousePointer");

    /* Enabled does not ask */
    s->put_Enabled(VARIANT_FALSE);
    ok_sequence({"view", "chg -514", "view", "data"}, "Enabled");
    s->put_Enabled(VARIANT_TRUE);
    ax_seq_clear();

    /* Min above Position moves Position up through its own setter */
    s->put_Min(2000);
    s->get_Position(&v);
    ok(v == 2000, "Position follows Min: %d\n", v);
    ok_sequence({"req 5", "req 0", "view", "chg 0", "view", "data", "view", "chg 5", "view", "data"},
                "Min above Position");
    s->put_Min(0);
    s->put_Max(1000);
    s->get_Position(&v);
    ok(v == 1000, "Position follows Max: %d\n", v);
    ax_seq_clear();

    /* MouseIcon: put makes a copy, putref keeps the reference */
    IPictureDisp *icon = icon_picture(LoadIconW(nullptr, (LPCWSTR)IDI_APPLICATION));
    s->putref_MouseIcon(icon);
    s->get_MouseIcon(&pic);
    ok(pic == icon, "putref keeps the same picture\n");
    pic->Release();
    s->put_MouseIcon(icon);
    s->get_MouseIcon(&pic);
    ok(pic && pic != icon, "put makes an independent copy\n");
    if (pic)
        pic->Release();
    s->putref_MouseIcon(nullptr);
    s->get_MouseIcon(&pic);
    ok(pic == nullptr, "cleared\n");
    EXPECT_REF(icon, 1);
    icon->Release();
    ax_seq_clear();

    stm->Release();
    psi->Release();
    size.QuadPart = 0;
    (void)size;
    destroy(f);
}

/* ---- persistence ---- */

struct Bytes {
    std::vector<BYTE> b;
    void u16(WORD v) { b.insert(b.end(), (BYTE *)&v, (BYTE *)&v + 2); }
    void u32(DWORD v) { b.insert(b.end(), (BYTE *)&v, (BYTE *)&v + 4); }
    void var_i4(VARTYPE vt, DWORD v) { u16(vt); u32(v); }
    void var_i2(VARTYPE vt, WORD v) { u16(vt); u16(v); }
};

static HRESULT load_bytes(IzelcSplit *s, const std::vector<BYTE> &bytes)
{
    IStream *stm = ax_stream_of(bytes);
    IPersistStreamInit *psi = ax_query<IPersistStreamInit>(s, IID_IPersistStreamInit);
    HRESULT hr = psi->Load(stm);
    psi->Release();
    stm->Release();
    return hr;
}

static std::vector<BYTE> expected_stream(WORD border1, WORD border2, WORD thickness)
{
    Bytes e;
    e.u32(0x0300);
    e.u32(5000);
    e.u32(2500);
    e.var_i4(VT_I4, 0);          /* Appearance */
    e.var_i4(VT_UI4, 0x123456);  /* BackColor */
    e.var_i4(VT_I4, border1);    /* BorderStyle */
    e.var_i2(VT_BOOL, 0);        /* Enabled */
    e.var_i4(VT_I4, border2);    /* BorderStyle again */
    e.var_i2(VT_I2, 3000);       /* Max */
    e.var_i2(VT_I2, 100);        /* Min */
    e.var_i2(VT_I2, 1500);       /* Position */
    e.var_i4(VT_I4, 0);          /* Orientation */
    e.var_i2(VT_I2, thickness);  /* BarThickness */
    e.var_i2(VT_BOOL, 0);        /* BarRaised */
    e.u16(VT_DISPATCH);          /* MouseIcon: empty */
    for (int i = 0; i < 4; i++)
        e.u32(0);
    e.var_i4(VT_I4, 99);         /* MousePointer */
    return e.b;
}

/* A stream loads whatever the control held before: its Max is set before
 * its Min, so the pair is checked once both are read. */
static void test_load_over_limits()
{
    Fixture f = make(false, 1440, 3000, 1500, false);
    IzelcSplit *s = f.split;
    ok(s->put_Min(5000) == S_OK, "Min 5000\n");
    HRESULT hr = load_bytes(s, expected_stream(0, 1, 60)); /* Max 3000, Min 100 */
    ok(hr == S_OK, "stream with Max 3000 over Min 5000: %08lx\n", hr);
    short mx = 0, mn = 0;
    s->get_Max(&mx);
    s->get_Min(&mn);
    ok(mx == 3000 && mn == 100, "loaded Max %d, Min %d\n", mx, mn);

    /* a pair no setter accepts: Min 4000 above Max 3000 */
    std::vector<BYTE> bad = expected_stream(0, 1, 60);
    short min = 4000;
    memcpy(bad.data() + 46, &min, 2);
    ok(load_bytes(s, bad) == (HRESULT)CTL_E_INVALID, "Min above Max in the stream\n");
    s->get_Max(&mx);
    s->get_Min(&mn);
    ok(mx == 3000 && mn == 100, "state changed by the failed load: %d %d\n", mx, mn);
    destroy(f);
}

static void test_persistence()
{
    Fixture f = make(false, 1440, 3000, 1500, false);
    IzelcSplit *s = f.split;
    s->put_Appearance(qvxAppearanceFlat);
    s->put_BackColor(0x123456);
    s->put_BorderStyle(qvxBorderNone);
    s->put_Enabled(VARIANT_FALSE);
    s->put_Max(3000);
    s->put_Min(100);
    s->put_Position(1500);
    s->put_Orientation(qvxOriHorizontal);
    s->put_BarThickness(60);
    s->put_BarRaised(VARIANT_FALSE);
    s->put_MousePointer(qvxMouseCustom);
    SIZEL ext = {5000, 2500};
    f.site->control->SetExtent(DVASPECT_CONTENT, &ext);

    IStream *stm;
    CreateStreamOnHGlobal(nullptr, TRUE, &stm);
    IPersistStreamInit *psi = ax_query<IPersistStreamInit>(s, IID_IPersistStreamInit);
    HRESULT hr = psi->Save(stm, TRUE);
    ok(hr == S_OK, "Save: %08lx\n", hr);
    std::vector<BYTE> saved = ax_stream_bytes(stm);
    std::vector<BYTE> want = expected_stream(0, 0, 60);
    ok(saved == want, "stream layout differs (%u bytes, expected %u)\n", (unsigned)saved.size(),
       (unsigned)want.size());
    for (size_t i = 0; i < saved.size() && i < want.size(); i++)
        if (saved[i] != want[i]) {
            ok(false, "first difference at byte %u: %02x, expected %02x\n", (unsigned)i, saved[i],
               want[i]);
            break;
        }
    stm->Release();
    psi->Release();

    /* storage: the same bytes in "Contents" */
    IStorage *stg;
    StgCreateDocfile(nullptr, STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE | STGM_DELETEONRELEASE,
                     0, &stg);
    IPersistStorage *pst = ax_query<IPersistStorage>(s, IID_IPersistStorage);
    hr = pst->Save(stg, TRUE);
    ok(hr == S_OK, "storage Save: %08lx\n", hr);
    IStream *contents = nullptr;
    hr = stg->OpenStream(L"Contents", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &contents);
    ok(hr == S_OK, "Contents stream: %08lx\n", hr);
    if (contents) {
        std::vector<BYTE> got(want.size() + 16);
        ULONG n = 0;
        contents->Read(got.data(), (ULONG)got.size(), &n);
        got.resize(n);
        ok(got == want, "Contents differs (%lu bytes)\n", n);
        contents->Release();
    }
    pst->Release();
    destroy(f);

    /* loaded back into a new control, and saved again byte for byte */
    Fixture g = make(false, 1440, 3000, 1500, false);
    hr = load_bytes(g.split, want);
    ok(hr == S_OK, "Load: %08lx\n", hr);
    short v;
    g.split->get_BarThickness(&v);
    ok(v == 60, "BarThickness loaded %d\n", v);
    g.split->get_Position(&v);
    ok(v == 1500, "Position loaded %d\n", v);
    VARIANT_BOOL b;
    g.split->get_Enabled(&b);
    ok(b == VARIANT_FALSE, "Enabled loaded\n");
    SIZEL got_ext;
    g.site->control->GetExtent(DVASPECT_CONTENT, &got_ext);
    ok(got_ext.cx == 5000 && got_ext.cy == 2500, "extent loaded\n");
    CreateStreamOnHGlobal(nullptr, TRUE, &stm);
    psi = ax_query<IPersistStreamInit>(g.split, IID_IPersistStreamInit);
    psi->Save(stm, TRUE);
    ok(ax_stream_bytes(stm) == want, "saved again byte for byte\n");
    stm->Release();
    psi->Release();

    /* both BorderStyle entries are read: the second wins */
    hr = load_bytes(g.split, expected_stream(0, 1, 60));
    qvxBorderStyleConstants bs;
    g.split->get_BorderStyle(&bs);
    ok(hr == S_OK && bs == qvxBorderFixedSingle, "second BorderStyle applied: %d\n", bs);
    destroy(g);

    /* failed loads leave the control exactly as it was and never crash */
    struct {
        std::vector<BYTE> bytes;
        HRESULT expect;
        const char *what;
    } bad[4];
    bad[0].bytes = want;
    bad[0].bytes[0] = 0x01;
    bad[0].bytes[1] = 0x03; /* version 0x0301 */
    bad[0].expect = E_FAIL;
    bad[0].what = "newer version";
    bad[1].bytes = std::vector<BYTE>(want.begin(), want.begin() + 40);
    bad[1].expect = STG_E_READFAULT;
    bad[1].what = "truncated";
    bad[2].bytes = expected_stream(0, 0, 24);
    bad[2].expect = (HRESULT)CTL_E_INVALID;
    bad[2].what = "BarThickness 24";
    bad[3].bytes = expected_stream(0, 2, 60);
    bad[3].expect = (HRESULT)CTL_E_INVALID;
    bad[3].what = "second BorderStyle 2";
    for (auto &c : bad) {
        Fixture h = make(false, 1440, 3000, 1500, false);
        h.split->put_BarThickness(77);
        IPersistStreamInit *p = ax_query<IPersistStreamInit>(h.split, IID_IPersistStreamInit);
        IStream *clean;
        CreateStreamOnHGlobal(nullptr, TRUE, &clean);
        p->Save(clean, TRUE);
        std::vector<BYTE> before = ax_stream_bytes(clean);
        clean->Release();
        hr = load_bytes(h.split, c.bytes);
        ok(hr == c.expect, "%s: %08lx, expected %08lx\n", c.what, hr, c.expect);
        IStream *after;
        CreateStreamOnHGlobal(nullptr, TRUE, &after);
        p->Save(after, TRUE);
        ok(ax_stream_bytes(after) == before, "%s: state changed by a failed load\n", c.what);
        after->Release();
        p->Release();
        destroy(h);
    }

    /* a load that fails after it emptied MouseIcon gives the same picture
     * back, and the control still holds the one reference it had */
    {
        Fixture h = make(false, 1440, 3000, 1500, false);
        IPictureDisp *icon = icon_picture(LoadIconW(nullptr, (LPCWSTR)IDI_APPLICATION));
        h.split->putref_MouseIcon(icon);
        std::vector<BYTE> cut = expected_stream(0, 1, 60);
        cut.resize(cut.size() - 2); /* MousePointer's value cut short */
        hr = load_bytes(h.split, cut);
        ok(hr == STG_E_READFAULT, "MousePointer cut short: %08lx\n", hr);
        IPictureDisp *pic = nullptr;
        h.split->get_MouseIcon(&pic);
        ok(pic == icon, "MouseIcon put back by the failed load: %p\n", (void *)pic);
        if (pic)
            pic->Release();
        EXPECT_REF(icon, 2);
        h.split->putref_MouseIcon(nullptr);
        EXPECT_REF(icon, 1);
        icon->Release();
        destroy(h);
    }

    /* an unknown variant type in the stream is refused */
    std::vector<BYTE> odd = want;
    odd[12] = (BYTE)(VT_ARRAY | VT_I4);
    odd[13] = (BYTE)((VT_ARRAY | VT_I4) >> 8);
    Fixture k = make(false, 1440, 3000, 1500, false);
    hr = load_bytes(k.split, odd);
    ok(FAILED(hr), "array type accepted: %08lx\n", hr);
    destroy(k);
}

/* ---- painting ---- */

struct Dib {
    HDC dc;
    HBITMAP bmp;
    DWORD *bits;
    int w, h;
    Dib(int w_, int h_) : w(w_), h(h_)
    {
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        dc = CreateCompatibleDC(nullptr);
        bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, (void **)&bits, nullptr, 0);
        SelectObject(dc, bmp);
        memset(bits, 0x55, w * h * 4);
    }
    ~Dib()
    {
        DeleteDC(dc);
        DeleteObject(bmp);
    }
    DWORD at(int x, int y) const { return bits[y * w + x] & 0xffffff; }
};

static DWORD rgb_of(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

static void draw(IzelcSplit *s, Dib &d)
{
    IViewObject *vo = ax_query<IViewObject>(s, IID_IViewObject);
    RECTL r = {0, 0, d.w, d.h};
    HRESULT hr = vo->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, d.dc, &r, nullptr,
                          nullptr, 0);
    ok(hr == S_OK, "Draw: %08lx\n", hr);
    vo->Release();
}

static void test_painting()
{
    const DWORD black = 0, blue = 0x0000ff, light = rgb_of(GetSysColor(COLOR_BTNHIGHLIGHT));
    Fixture f = make(true, 1440, 3000, 1500, false);
    IzelcSplit *s = f.split;
    s->put_BackColor(RGB(0, 0, 255));
    s->put_BarThickness(150); /* 10 pixels at 96 dpi */
    Dib d(200, 100);
    draw(s, d);
    /* bar at its default pixel position 96: [91, 101) */
    ok(d.at(0, 50) == black && d.at(199, 50) == black && d.at(50, 0) == black &&
           d.at(50, 99) == black,
       "border: %06lx %06lx %06lx %06lx\n", d.at(0, 50), d.at(199, 50), d.at(50, 0), d.at(50, 99));
    ok(d.at(1, 50) == black && d.at(50, 1) == black, "sunken edge dark sides %06lx %06lx\n",
       d.at(1, 50), d.at(50, 1));
    ok(d.at(198, 50) == light && d.at(50, 98) == light, "sunken edge light sides %06lx %06lx\n",
       d.at(198, 50), d.at(50, 98));
    ok(d.at(50, 50) == blue && d.at(150, 50) == blue, "background %06lx\n", d.at(50, 50));
    ok(d.at(91, 50) == light, "raised bar left %06lx\n", d.at(91, 50));
    ok(d.at(100, 50) == black, "raised bar right %06lx\n", d.at(100, 50));
    ok(d.at(96, 50) == blue, "bar inside %06lx\n", d.at(96, 50));

    s->put_BorderStyle(qvxBorderNone);
    s->put_BarRaised(VARIANT_FALSE);
    Dib e(200, 100);
    draw(s, e);
    ok(e.at(0, 50) == blue && e.at(1, 50) == blue, "no border %06lx\n", e.at(0, 50));
    ok(e.at(91, 50) == blue && e.at(100, 50) == blue, "flat bar invisible at run time\n");

    f.site->user_mode = false;
    Dib g(200, 100);
    draw(s, g);
    ok(g.at(91, 50) == black && g.at(100, 50) == black, "flat bar outlined at design time\n");

    s->put_BorderStyle(qvxBorderFixedSingle);
    s->put_Appearance(qvxAppearanceFlat);
    Dib h(200, 100);
    draw(s, h);
    ok(h.at(0, 50) == black && h.at(1, 50) == blue, "flat border only: %06lx\n", h.at(1, 50));
    destroy(f);
}

/* ---- records and splits ---- */

struct SplitForm {
    Fixture f;
    AxExtended *first, *second;
};

/* Pixel units; the bar at 1012, 25 thick; one control 1000 long before it and
 * one 800 long after it. */
static SplitForm make_split_form(bool vertical)
{
    SplitForm sf;
    sf.f = make(false, 96, 3000, 3000, false);
    IzelcSplit *s = sf.f.split;
    s->put_BarThickness(25);
    s->put_Orientation(vertical ? qvxOriVertical : qvxOriHorizontal);
    s->put_Position(1012);
    IDispatch *container = sf.f.site->ext;
    if (vertical) {
        sf.first = sf.f.form->add_control(L"Left1", 0, 0, 1000, 300, container);
        sf.second = sf.f.form->add_control(L"Right1", 1062, 0, 800, 300, container);
    } else {
        sf.first = sf.f.form->add_control(L"Top1", 0, 0, 300, 1000, container);
        sf.second = sf.f.form->add_control(L"Bottom1", 0, 1062, 300, 800, container);
    }
    sf.first->log_calls = sf.second->log_calls = true;
    sf.f.site->user_mode = true;
    sf.f.site->activate();
    sf.f.hwnd = sf.f.site->control_window();
    RedrawWindow(sf.f.hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    sf.f.events->quiet.insert(L"MouseMove");
    ax_seq_clear();
    return sf;
}

static void mouse(HWND hwnd, UINT msg, int x, int y)
{
    SendMessageW(hwnd, msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
}

static void test_drag_limits()
{
    SplitForm sf = make_split_form(true);
    HWND w = sf.f.hwnd;
    mouse(w, WM_LBUTTONDOWN, 1012, 50);
    ok(GetCapture() == w, "drag captures the mouse\n");
    mouse(w, WM_MOUSEMOVE, 100, 50);
    mouse(w, WM_LBUTTONUP, 100, 50);
    ok(GetCapture() != w, "capture released\n");
    ok_sequence({"MouseDown(1,0,1012,50)", "MouseUp(1,0,100,50)", "Click", "BeforeSplit(0)",
                 "Left1.Width=300", "Right1.Move(362,0,1500,300)", "view", "AfterSplit"},
                "drag towards the first control: at most 700");
    short v;
    sf.f.split->get_Position(&v);
    ok(v == 312, "Position after the drag %d\n", v);
    destroy(sf.f);

    sf = make_split_form(true);
    w = sf.f.hwnd;
    mouse(w, WM_LBUTTONDOWN, 1012, 50);
    mouse(w, WM_MOUSEMOVE, 2900, 50);
    mouse(w, WM_LBUTTONUP, 2900, 50);
    ok_sequence({"MouseDown(1,0,1012,50)", "MouseUp(1,0,2900,50)", "Click", "BeforeSplit(0)",
                 "Left1.Width=1500", "Right1.Move(1562,0,300,300)", "view", "AfterSplit"},
                "drag towards the second control: at most 500");
    ok(sf.second->num(L"Left") + sf.second->num(L"Width") == 1862, "right edge kept\n");
    destroy(sf.f);

    /* the splitter made narrower: its own record follows (WM_SIZE), so the bar
     * stops inside it */
    sf = make_split_form(true);
    w = sf.f.hwnd;
    sf.f.site->ext->set_num(L"Width", 1200);
    sf.f.site->update_rect();
    RECT rc;
    GetClientRect(w, &rc);
    ok(rc.right == 1200, "splitter window %ld wide\n", rc.right);
    mouse(w, WM_LBUTTONDOWN, 1012, 50);
    mouse(w, WM_MOUSEMOVE, 2900, 50);
    mouse(w, WM_LBUTTONUP, 2900, 50);
    sf.f.split->get_Position(&v);
    ok(v == 1200 - 12, "bar kept inside the narrower splitter: %d\n", v);
    destroy(sf.f);

    sf = make_split_form(false);
    w = sf.f.hwnd;
    mouse(w, WM_LBUTTONDOWN, 50, 1012);
    mouse(w, WM_MOUSEMOVE, 50, 10);
    mouse(w, WM_LBUTTONUP, 50, 10);
    ok_sequence({"MouseDown(1,0,50,1012)", "MouseUp(1,0,50,10)", "Click", "BeforeSplit(0)",
                 "Top1.Height=600", "Bottom1.Move(0,662,300,1200)", "view", "AfterSplit"},
                "horizontal bar: at most 400 towards the first");
    destroy(sf.f);

    sf = make_split_form(false);
    w = sf.f.hwnd;
    mouse(w, WM_LBUTTONDOWN, 50, 1012);
    mouse(w, WM_MOUSEMOVE, 50, 2900);
    mouse(w, WM_LBUTTONUP, 50, 2900);
    ok_sequence({"MouseDown(1,0,50,1012)", "MouseUp(1,0,50,2900)", "Click", "BeforeSplit(0)",
                 "Top1.Height=1200", "Bottom1.Move(0,1262,300,600)", "view", "AfterSplit"},
                "horizontal bar: at most 200 towards the second");
    destroy(sf.f);
}

static void test_split_cases()
{
    /* a line inside the splitter never moves; a click on the bar splits to its own centre */
    SplitForm sf = make_split_form(true);
    AxExtended *line = sf.f.form->add_line(L"Line1", 1100, 10, 1200, 20, sf.f.site->ext);
    line->log_calls = true;
    HWND w = sf.f.hwnd;
    mouse(w, WM_LBUTTONDOWN, 1012, 50);
    mouse(w, WM_LBUTTONUP, 1012, 50);
    ok_sequence({"MouseDown(1,0,1012,50)", "MouseUp(1,0,1012,50)", "Click", "BeforeSplit(0)",
                 "Left1.Width=1000", "Right1.Move(1062,0,800,300)", "view", "AfterSplit"},
                "click on the bar");
    ok(line->num(L"X1") == 1100 && line->num(L"X2") == 1200, "line unmoved\n");

    /* BeforeSplit cancelled: nothing moves */
    sf.f.events->handler = [](const std::wstring &name, DISPPARAMS *p) {
        if (name == L"BeforeSplit")
            *V_I2REF(&p->rgvarg[0]) = -1;
    };
    mouse(w, WM_LBUTTONDOWN, 1012, 50);
    mouse(w, WM_MOUSEMOVE, 1100, 50);
    mouse(w, WM_LBUTTONUP, 1100, 50);
    ok_sequence({"MouseDown(1,0,1012,50)", "MouseUp(1,0,1100,50)", "Click", "BeforeSplit(0)"},
                "cancelled split");
    short v;
    sf.f.split->get_Position(&v);
    ok(v == 1012, "bar unmoved %d\n", v);
    ok(GetCapture() != w, "capture released after a cancel\n");
    sf.f.events->handler = nullptr;

    /* a right press cancels a drag without split events */
    mouse(w, WM_LBUTTONDOWN, 1012, 50);
    mouse(w, WM_MOUSEMOVE, 1200, 50);
    SendMessageW(w, WM_RBUTTONDOWN, MK_RBUTTON | MK_LBUTTON, MAKELPARAM(1200, 50));
    ok(GetCapture() != w, "capture released by the right press\n");
    mouse(w, WM_LBUTTONUP, 1200, 50);
    SendMessageW(w, WM_RBUTTONUP, 0, MAKELPARAM(1200, 50));
    ok_sequence({"MouseDown(1,0,1012,50)", "MouseDown(3,0,1200,50)", "MouseUp(3,0,1200,50)",
                 "MouseUp(2,0,1200,50)", "Click"},
                "right press cancels");

    /* a press beside the bar starts nothing */
    mouse(w, WM_LBUTTONDOWN, 500, 50);
    ok(GetCapture() != w, "no drag beside the bar\n");
    mouse(w, WM_LBUTTONUP, 500, 50);
    ok_sequence({"MouseDown(1,0,500,50)", "MouseUp(1,0,500,50)", "Click"}, "press beside the bar");

    /* a control added after the first split is never moved */
    AxExtended *late = sf.f.form->add_control(L"Late1", 1300, 400, 500, 300, sf.f.site->ext);
    late->log_calls = true;
    sf.f.split->put_Position(1112);
    ok_sequence({"req 0", "BeforeSplit(0)", "Left1.Width=1100", "Right1.Move(1162,0,700,300)",
                 "view", "AfterSplit"},
                "program split: no mouse events, late control untouched");
    ok(late->num(L"Left") == 1300, "late control unmoved\n");
    sf.f.split->get_Position(&v);
    ok(v == 1112, "Position %d\n", v);

    /* beyond the limits: clamped, but Position reads back what was set */
    sf.f.split->put_Position(100);
    sf.f.split->get_Position(&v);
    ok(v == 100, "Position reads back the value set: %d\n", v);
    ok(sf.first->num(L"Width") == 300, "clamped to the limit: width %g\n", sf.first->num(L"Width"));
    /* the next drag goes by where the bar is (312), not by the value read back:
     * the first control still keeps its 300, the second can give up its 1200 */
    mouse(w, WM_LBUTTONDOWN, 312, 50);
    mouse(w, WM_MOUSEMOVE, 10, 50);
    mouse(w, WM_LBUTTONUP, 10, 50);
    ok(sf.first->num(L"Width") == 300, "squeezed below 300 after a clamped Position: %g\n",
       sf.first->num(L"Width"));
    mouse(w, WM_LBUTTONDOWN, 312, 50);
    mouse(w, WM_MOUSEMOVE, 2900, 50);
    mouse(w, WM_LBUTTONUP, 2900, 50);
    ok(sf.second->num(L"Width") == 300 && sf.second->num(L"Left") == 1562,
       "second control after a clamped Position: %g at %g\n", sf.second->num(L"Width"),
       sf.second->num(L"Left"));
    sf.f.split->get_Position(&v);
    ok(v == 1512, "Position after the drag %d\n", v);
    ax_seq_clear();

    /* keyboard and double click */
    SendMessageW(w, WM_KEYDOWN, 'A', 0);
    SendMessageW(w, WM_CHAR, 'a', 0);
    SendMessageW(w, WM_KEYUP, 'A', 0);
    SendMessageW(w, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 10));
    ok_sequence({"KeyDown(65,0)", "KeyPress(97)", "KeyUp(65,0)", "DblClick"}, "keys");

    /* disabled: the window is disabled and no events fire */
    sf.f.split->put_Enabled(VARIANT_FALSE);
    ok(!IsWindowEnabled(w), "window still enabled\n");
    ax_seq_clear();
    SendMessageW(w, WM_KEYDOWN, 'A', 0);
    mouse(w, WM_LBUTTONDOWN, 500, 50);
    mouse(w, WM_LBUTTONUP, 500, 50);
    ok_sequence({}, "no events while disabled");
    sf.f.split->put_Enabled(VARIANT_TRUE);
    ok(IsWindowEnabled(w), "window enabled again\n");
    destroy(sf.f);
}

static void test_no_records()
{
    /* the splitter's own extended properties cannot be read: the bar stays
     * within the control's client area */
    Fixture f = make(false, 96, 400, 200, false);
    f.split->put_BarThickness(25);
    f.site->ext->refuse_get.insert(L"Left");
    f.site->user_mode = true;
    f.site->activate();
    f.hwnd = f.site->control_window();
    RedrawWindow(f.hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    f.events->quiet.insert(L"MouseMove");
    ax_seq_clear();
    mouse(f.hwnd, WM_LBUTTONDOWN, 96, 20);
    mouse(f.hwnd, WM_MOUSEMOVE, 1000, 20);
    mouse(f.hwnd, WM_LBUTTONUP, 1000, 20);
    short v;
    f.split->get_Position(&v);
    ok(v == 400 - 12, "bar kept inside the control: %d\n", v);
    mouse(f.hwnd, WM_LBUTTONDOWN, 388, 20);
    mouse(f.hwnd, WM_MOUSEMOVE, -300, 20);
    mouse(f.hwnd, WM_LBUTTONUP, -300, 20);
    f.split->get_Position(&v);
    ok(v == 12, "bar kept inside at the left: %d\n", v);
    destroy(f);

    /* records exist but none carries the display name */
    Fixture g = make(false, 96, 400, 200, false);
    g.split->put_BarThickness(25);
    g.site->display_name = L"Other";
    AxExtended *inside = g.form->add_control(L"Left1", 0, 0, 90, 100, g.site->ext);
    inside->log_calls = true;
    g.site->user_mode = true;
    g.site->activate();
    g.hwnd = g.site->control_window();
    RedrawWindow(g.hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    g.events->quiet.insert(L"MouseMove");
    ax_seq_clear();
    mouse(g.hwnd, WM_LBUTTONDOWN, 96, 20);
    mouse(g.hwnd, WM_MOUSEMOVE, 1000, 20);
    mouse(g.hwnd, WM_LBUTTONUP, 1000, 20);
    g.split->get_Position(&v);
    ok(v == 388, "no own record: client limits, %d\n", v);
    ok(inside->num(L"Width") == 90, "nothing moved without an own record\n");
    destroy(g);
}

static void test_simple_frame_and_quick()
{
    Fixture f = make(true, 1440, 3000, 1500);
    ax_called.clear();
    SendMessageW(f.hwnd, WM_TIMER, 1, 0);
    CHECK_CALLED(PreMessageFilter);
    CHECK_CALLED(PostMessageFilter);
    CHECK_NOT_CALLED(PostMessageFilter cookie mismatch);
    f.site->eat_message = WM_LBUTTONDOWN;
    f.site->eat_result = 42;
    LRESULT r = SendMessageW(f.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ok(r == 42, "filtered result %Id\n", r);
    ok_sequence({}, "container handled the press");
    destroy(f);

    /* quick activation: the back colour given wins over the ambient one */
    AxForm *form = new AxForm(L"Form2");
    AxSite *site = form->add_site(L"Split1", 0, 0, 3000, 1500);
    AxPropSink *props = new AxPropSink;
    AxEventSink *events = new AxEventSink(DIID__IzelcSplitEvents, event_names);
    HRESULT hr = site->quick_activate(factory, props, events, 0x00445566);
    ok(hr == S_OK, "QuickActivate: %08lx\n", hr);
    IzelcSplit *s = ax_query<IzelcSplit>(site->control, IID_IzelcSplit);
    OLE_COLOR c;
    s->get_BackColor(&c);
    ok(c == 0x00445566, "quick-activation colour: %08lx\n", c);
    s->put_BarThickness(30);
    ok_sequence({"req 1", "chg 1"}, "sinks connected by quick activation");
    s->Release();
    form->close();
    form->Release();
    props->Release();
    events->Release();
}

/* ---- cursor ---- */

/* The cursor the control shows for the mouse at client point (x, y): the
 * message position is where the mouse was when the last message was taken.
 * The form is moved so that the point lies on the screen. */
static HCURSOR cursor_at(HWND w, int x, int y, LRESULT *handled = nullptr)
{
    const int sx = 200, sy = 200;
    HWND root = GetAncestor(w, GA_ROOT);
    POINT p = {x, y};
    ClientToScreen(w, &p);
    RECT rr;
    GetWindowRect(root, &rr);
    SetWindowPos(root, nullptr, rr.left + sx - p.x, rr.top + sy - p.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetCursorPos(sx, sy);
    const UINT marker = WM_APP + 0x51;
    PostMessageW(w, marker, 0, 0);
    MSG msg;
    PeekMessageW(&msg, w, marker, marker, PM_REMOVE);
    LRESULT r = SendMessageW(w, WM_SETCURSOR, (WPARAM)w, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    if (handled)
        *handled = r;
    return GetCursor();
}

static void test_cursor()
{
    const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW), we = LoadCursorW(nullptr, IDC_SIZEWE),
                  ns = LoadCursorW(nullptr, IDC_SIZENS);
    SplitForm sf = make_split_form(true);
    HWND w = sf.f.hwnd;
    IzelcSplit *s = sf.f.split;
    LRESULT handled = 0;

    /* the message position must reach the control, or nothing here can be checked */
    POINT probe = {0, 0};
    ClientToScreen(w, &probe);
    SetCursorPos(probe.x + 7, probe.y + 9);
    POINT back;
    GetCursorPos(&back);
    ok(back.x == probe.x + 7 && back.y == probe.y + 9, "cursor position set: %ld,%ld\n", back.x,
       back.y);

    SetCursor(nullptr);
    ok(cursor_at(w, 1012, 50, &handled) == we, "on a vertical bar: west-east\n");
    ok(handled == TRUE, "handled on the bar\n");
    ok(cursor_at(w, 500, 50, &handled) == arrow, "beside the bar: the default pointer\n");
    ok(handled == TRUE, "handled beside the bar\n");

    const struct {
        qvxMousePointerConstants pointer;
        LPCWSTR id;
    } pointers[] = {{qvxMouseArrow, IDC_ARROW},        {qvxMouseCrosshair, IDC_CROSS},
                    {qvxMouseIBeam, IDC_IBEAM},        {qvxMouseIconPointer, IDC_ARROW},
                    {qvxMouseSizePointer, IDC_SIZEALL}, {qvxMouseSizeNESW, IDC_SIZENESW},
                    {qvxMouseSizeNS, IDC_SIZENS},      {qvxMouseSizeNWSE, IDC_SIZENWSE},
                    {qvxMouseSizeWE, IDC_SIZEWE},      {qvxMouseUpArrow, IDC_UPARROW},
                    {qvxMouseHourglass, IDC_WAIT},     {qvxMouseNoDrop, IDC_NO},
                    {qvxMouseArrowHourglass, IDC_APPSTARTING},
                    {qvxMouseArrowQuestion, IDC_HELP}, {qvxMouseSizeAll, IDC_SIZEALL},
                    {qvxMouseCustom, IDC_ARROW}};
    for (const auto &p : pointers) {
        s->put_MousePointer(p.pointer);
        ok(cursor_at(w, 500, 50) == LoadCursorW(nullptr, p.id), "MousePointer %d beside the bar\n",
           p.pointer);
        ok(cursor_at(w, 1012, 50) == we, "MousePointer %d on the bar\n", p.pointer);
    }

    /* a custom pointer shows the MouseIcon picture's handle */
    const HICON question = LoadIconW(nullptr, (LPCWSTR)IDI_QUESTION);
    IPictureDisp *icon = icon_picture(question);
    s->putref_MouseIcon(icon);
    ok(cursor_at(w, 500, 50) == (HCURSOR)question, "custom pointer: the icon\n");
    s->putref_MouseIcon(nullptr);
    icon->Release();
    s->put_MousePointer(qvxMouseDefault);

    /* during a drag the sizing cursor stays wherever the mouse goes */
    mouse(w, WM_LBUTTONDOWN, 1012, 50);
    ok(cursor_at(w, 500, 50) == we, "dragging: west-east off the bar\n");
    SendMessageW(w, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(500, 50));
    SendMessageW(w, WM_RBUTTONUP, 0, MAKELPARAM(500, 50));
    ok(cursor_at(w, 500, 50) == arrow, "drag cancelled: the pointer again\n");
    destroy(sf.f);

    sf = make_split_form(false);
    w = sf.f.hwnd;
    ok(cursor_at(w, 50, 1012) == ns, "on a horizontal bar: north-south\n");
    ok(cursor_at(w, 50, 500) == arrow, "beside a horizontal bar\n");

    /* at design time the message goes to default processing, which leaves
     * the cursor alone (the class has none) */
    sf.f.site->user_mode = false;
    SetCursor(ns);
    ok(cursor_at(w, 500, 50, &handled) == ns && handled == FALSE, "design time: not handled\n");
    destroy(sf.f);
}

/* ---- the tracking rectangle ---- */

/* The rectangle is drawn in XOR mode with the default pen and brush, so the
 * pixels inside it come out inverted, and drawing it again restores them. */
static void test_tracking_rectangle()
{
    SplitForm sf = make_split_form(true);
    HWND w = sf.f.hwnd;
    SetWindowPos(GetAncestor(w, GA_ROOT), nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    HDC dc = GetDC(w);
    const COLORREF a = GetPixel(dc, 400, 50), b = GetPixel(dc, 600, 50);
    ok(a != CLR_INVALID && b != CLR_INVALID, "pixels readable: %08lx %08lx\n", a, b);
    const COLORREF inv_a = a ^ 0xffffff, inv_b = b ^ 0xffffff;

    mouse(w, WM_LBUTTONDOWN, 1012, 50);
    ok(GetPixel(dc, 400, 50) == a, "nothing drawn before the first move\n");
    mouse(w, WM_MOUSEMOVE, 400, 50);
    ok(GetPixel(dc, 400, 50) == inv_a, "first move: drawn at 400 (%08lx)\n", GetPixel(dc, 400, 50));
    /* [400 - 12, 400 + 12]: the outline in the default black pen leaves its
     * pixels as they were, the white brush inverts the inside */
    ok(GetPixel(dc, 388, 50) == a && GetPixel(dc, 387, 50) == a, "outline left as it was\n");
    ok(GetPixel(dc, 389, 50) == inv_a && GetPixel(dc, 410, 50) == inv_a, "inside inverted\n");
    ok(GetPixel(dc, 411, 50) == a && GetPixel(dc, 412, 50) == a, "right outline at 411\n");
    ok(GetPixel(dc, 600, 50) == b, "not yet at 600\n");
    mouse(w, WM_MOUSEMOVE, 600, 50);
    ok(GetPixel(dc, 400, 50) == a, "second move: the first rectangle erased (%08lx)\n",
       GetPixel(dc, 400, 50));
    ok(GetPixel(dc, 600, 50) == inv_b, "second move: drawn at 600 (%08lx)\n", GetPixel(dc, 600, 50));
    /* past the lower limit (312) the rectangle stays pinned at [300, 324] */
    mouse(w, WM_MOUSEMOVE, 100, 50);
    ok(GetPixel(dc, 600, 50) == b, "third move: the second rectangle erased\n");
    ok(GetPixel(dc, 301, 50) == (GetPixel(dc, 299, 50) ^ 0xffffff) &&
           GetPixel(dc, 322, 50) == GetPixel(dc, 301, 50),
       "pinned at the lower limit\n");
    ok(GetPixel(dc, 100, 50) == (GetPixel(dc, 90, 50)), "nothing drawn at the mouse\n");
    SendMessageW(w, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(100, 50));
    SendMessageW(w, WM_RBUTTONUP, 0, MAKELPARAM(100, 50));
    ok(GetPixel(dc, 301, 50) == GetPixel(dc, 299, 50), "a cancelled drag leaves no rectangle\n");
    ok(GetCapture() != w, "a cancelled drag releases the mouse\n");
    ReleaseDC(w, dc);
    destroy(sf.f);
}

static void test_about_and_site()
{
    Fixture f = make(true, 1440, 3000, 1500);
    for (int button : {IDOK, IDCANCEL}) {
        AxDialogCloser closer;
        closer.start(L"About OMNIKIT", button);
        HRESULT hr = f.split->AboutBox();
        closer.wait();
        ok(hr == S_OK, "AboutBox: %08lx\n", hr);
        ok(closer.found, "no About dialog\n");
        ok(closer.text.find(L"OMNIKIT") != std::wstring::npos &&
               closer.text.find(L"1.0") != std::wstring::npos,
           "About text: %s\n", ax_narrow(closer.text).c_str());
    }

    /* the defaults are applied at every client-site set */
    f.split->put_BarThickness(300);
    f.split->put_Orientation(qvxOriHorizontal);
    f.site->control->SetClientSite(f.site);
    short v;
    qvxOrientationConstants o;
    f.split->get_BarThickness(&v);
    f.split->get_Orientation(&o);
    ok(v == 100 && o == qvxOriVertical, "defaults again: %d %d\n", v, o);
    destroy(f);
}

static void test_refcounts()
{
    IUnknown *unk;
    HRESULT hr = factory->CreateInstance(nullptr, IID_IUnknown, (void **)&unk);
    ok(hr == S_OK, "CreateInstance: %08lx\n", hr);
    EXPECT_REF(unk, 1);
    IOleObject *ole = ax_query<IOleObject>(unk, IID_IOleObject);
    EXPECT_REF(unk, 2);
    IConnectionPointContainer *cpc = ax_query<IConnectionPointContainer>(unk, IID_IConnectionPointContainer);
    IConnectionPoint *cp;
    cpc->FindConnectionPoint(IID_IPropertyNotifySink, &cp);
    EXPECT_REF(unk, 4);
    AxPropSink *sink = new AxPropSink;
    DWORD cookie;
    cp->Advise(sink, &cookie);
    EXPECT_REF(sink, 2);
    ok(cp->Unadvise(cookie) == S_OK, "Unadvise\n");
    ok(cp->Unadvise(cookie) == CONNECT_E_NOCONNECTION, "second Unadvise\n");
    EXPECT_REF(sink, 1);
    sink->Release();
    cp->Release();
    cpc->Release();
    IUnknown *unk2 = nullptr;
    hr = factory->CreateInstance(unk, IID_IUnknown, (void **)&unk2);
    ok(hr == CLASS_E_NOAGGREGATION && !unk2, "aggregation refused: %08lx\n", hr);
    ok(server.can_unload() == S_FALSE, "live object, yet unloadable\n");
    ole->Release();
    ok(unk->Release() == 0, "last release\n");
    factory->LockServer(TRUE);
    ok(server.can_unload() == S_FALSE, "locked server unloadable\n");
    factory->LockServer(FALSE);
}

/* A container that lets go of an active control without closing it first:
 * the control takes its window down with it, and no message of that window
 * reaches the half-destroyed control. */
static void test_release_while_active()
{
    Fixture f = make(true, 1440, 3000, 1500);
    HWND w = f.hwnd;
    ok(IsWindow(w), "no window before the release\n");
    IOleObject *c = f.site->control;
    f.site->control = nullptr;
    f.site->ext->inner->Release();
    f.site->ext->inner = nullptr;
    f.split->Release();
    f.split = nullptr;
    LONG faults = ax_faults();
    ax_called.clear();
    ULONG r = c->Release();
    ok(r == 0, "last reference: %lu\n", r);
    ok(!IsWindow(w), "window left behind\n");
    ok(ax_faults() == faults, "%ld faults while the control went away\n", ax_faults() - faults);
    ok(ax_called["PreMessageFilter"] == ax_called["PostMessageFilter"],
       "message handling cut short: %d filtered, %d finished\n", ax_called["PreMessageFilter"],
       ax_called["PostMessageFilter"]);
    destroy(f);
}

/* The form unloaded from a control's own event while a split moves it (a
 * Resize handler run by the new Width, say): the split stops there. */
static void test_unload_during_split()
{
    SplitForm sf = make_split_form(true);
    HWND w = sf.f.hwnd;
    sf.first->putter = [&](const std::wstring &name, const VARIANT &) {
        if (name == L"Width")
            sf.f.site->deactivate();
        return false;
    };
    LONG faults = ax_faults();
    sf.f.split->put_Position(1112);
    ok(!IsWindow(w), "splitter window still there\n");
    ok(ax_faults() == faults, "%ld faults after the unload\n", ax_faults() - faults);
    ok_sequence({"req 0", "BeforeSplit(0)", "Left1.Width=1100", "view", "AfterSplit"},
                "nothing moved once the splitter was gone");
    ok(sf.second->num(L"Left") == 1062, "second control moved: %g\n", sf.second->num(L"Left"));
    sf.first->putter = nullptr;
    destroy(sf.f);
}

/* Position set at run time while the control is not in place: the bar keeps
 * to the limits it last had, and once in place again the control captures
 * its records afresh, so a drag moves the controls again. */
static void test_position_while_deactivated()
{
    SplitForm sf = make_split_form(true);
    sf.f.split->put_Position(1112); /* records captured, limits 312..1512 */
    ok(sf.first->num(L"Width") == 1100, "first split: %g\n", sf.first->num(L"Width"));
    sf.f.site->deactivate();
    ok(sf.f.site->control_window() == nullptr, "window still there\n");
    ax_seq_clear();
    ok(sf.f.split->put_Position(5000) == S_OK, "Position without a window\n");
    short v;
    sf.f.split->get_Position(&v);
    ok(v == 5000, "Position reads back %d\n", v);
    ok(std::find(ax_seq.begin(), ax_seq.end(), "BeforeSplit(0)") == ax_seq.end(),
       "a split without a window: %s\n", ax_seq_text().c_str());

    /* beyond the last upper limit: the bar waits at 1512 */
    sf.f.site->activate();
    HWND w = sf.f.site->control_window();
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    HCURSOR sizing = LoadCursorW(nullptr, IDC_SIZEWE);
    ok(cursor_at(w, 1512, 50) == sizing, "no bar at the last upper limit\n");
    ok(cursor_at(w, 12, 50) != sizing, "the bar drawn at the left edge\n");
    sf.f.site->deactivate();

    sf.f.split->put_Position(1062);
    sf.f.site->activate();
    w = sf.f.site->control_window();
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ax_seq_clear();
    mouse(w, WM_LBUTTONDOWN, 1062, 50);
    ok(GetCapture() == w, "no bar where Position put it\n");
    mouse(w, WM_MOUSEMOVE, 1162, 50);
    mouse(w, WM_LBUTTONUP, 1162, 50);
    ok_sequence({"MouseDown(1,0,1062,50)", "MouseUp(1,0,1162,50)", "Click", "BeforeSplit(0)",
                 "Left1.Width=1200", "Right1.Move(1262,0,600,300)", "view", "AfterSplit"},
                "a drag after reactivation moves the controls");
    destroy(sf.f);
}

/* Drawing into a container's device context (a print, a preview) leaves the
 * window's bar, where a press must find it, as it is. */
static void test_draw_elsewhere()
{
    SplitForm sf = make_split_form(true);
    HWND w = sf.f.hwnd;
    Dib d(200, 100);
    draw(sf.f.split, d);
    mouse(w, WM_LBUTTONDOWN, 1012, 1500);
    ok(GetCapture() == w, "a press on the visible bar starts no drag after a Draw\n");
    mouse(w, WM_LBUTTONUP, 1012, 1500);
    LRESULT handled;
    HCURSOR c = cursor_at(w, 1012, 1500, &handled);
    ok(c == LoadCursorW(nullptr, IDC_SIZEWE), "no sizing cursor on the bar after a Draw\n");
    destroy(sf.f);
}

/* Events frozen by the container are dropped; the split itself still runs. */
static void test_freeze_events()
{
    SplitForm sf = make_split_form(true);
    HWND w = sf.f.hwnd;
    IOleControl *oc = ax_query<IOleControl>(sf.f.split, IID_IOleControl);
    ok(oc->FreezeEvents(TRUE) == S_OK && oc->FreezeEvents(TRUE) == S_OK, "FreezeEvents\n");
    sf.f.split->put_Position(1112);
    mouse(w, WM_LBUTTONDOWN, 500, 50);
    mouse(w, WM_LBUTTONUP, 500, 50);
    ok_sequence({"req 0", "Left1.Width=1100", "Right1.Move(1162,0,700,300)", "view"},
                "frozen: no events, the controls still move");
    oc->FreezeEvents(FALSE);
    sf.f.split->put_Position(1012);
    ok(std::find(ax_seq.begin(), ax_seq.end(), "BeforeSplit(0)") == ax_seq.end(),
       "events fired while still frozen once: %s\n", ax_seq_text().c_str());
    ax_seq_clear();
    oc->FreezeEvents(FALSE);
    oc->FreezeEvents(FALSE); /* one too many: no effect */
    sf.f.split->put_Position(1112);
    ok_sequence({"req 0", "BeforeSplit(0)", "Left1.Width=1100", "Right1.Move(1162,0,700,300)",
                 "view", "AfterSplit"},
                "thawed: events again");
    oc->Release();
    destroy(sf.f);
}

int main()
{
    OleInitialize(nullptr);
    ok(server.load(L"QVXSPLIT.dll"), "QVXSPLIT.dll not loaded\n");
    if (!server.module)
        return ax_summary("splitter");
    test_registration();
    test_registration_odd_path();
    test_typelib();
    /* the server is registered while the controls run (user type, verbs) */
    server.register_server();
    factory = server.factory(CLSID_QVXSplit);
    ok(factory != nullptr, "no class factory\n");
    test_defaults_and_rules();
    test_persistence();
    test_load_over_limits();
    test_painting();
    test_drag_limits();
    test_split_cases();
    test_no_records();
    test_simple_frame_and_quick();
    test_cursor();
    test_tracking_rectangle();
    test_about_and_site();
    test_refcounts();
    test_release_while_active();
    test_unload_during_split();
    test_position_while_deactivated();
    test_draw_elsewhere();
    test_freeze_events();
    factory->Release();
    factory = nullptr;
    ax_pump();
    HRESULT hr = server.can_unload();
    ok(hr == S_OK, "DllCanUnloadNow once everything is released: %08lx\n", hr);
    server.unregister_server();
    OleUninitialize();
    return ax_summary("splitter");
}
