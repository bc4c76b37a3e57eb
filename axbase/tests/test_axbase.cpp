/*
 * The control base on its own: the registrar's script handling and the
 * serialized variants of property streams.
 */
#include "axcheck.h"
#include "axhost.h"
#include "control.h"

#include <functional>
#include <string>

static bool key_exists(const WCHAR *path)
{
    HKEY k;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &k) != ERROR_SUCCESS)
        return false;
    RegCloseKey(k);
    return true;
}

static std::wstring value_of(const WCHAR *path, const WCHAR *name)
{
    WCHAR buf[256];
    DWORD size = sizeof(buf);
    if (RegGetValueW(HKEY_CURRENT_USER, path, name, RRF_RT_REG_SZ, nullptr, buf, &size))
        return L"<missing>";
    return buf;
}

static void test_registrar()
{
    const WCHAR *base = L"Software\\AxBaseTest";
    RegDeleteTreeW(HKEY_CURRENT_USER, base);
    /* a key that was there before and must survive */
    HKEY keep;
    RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\AxBaseTest\\Shared\\Foreign", 0, nullptr, 0,
                    KEY_ALL_ACCESS, nullptr, &keep, nullptr);
    RegCloseKey(keep);

    std::wstring script = L"HKCU\n{\n NoRemove Software\n {\n  NoRemove AxBaseTest\n  {\n"
                          L"   Thing.1 = s 'A ''quoted'' %NAME%'\n   {\n    CLSID = s '%ID%'\n"
                          L"    Empty\n   }\n   ForceRemove {0000AAAA-0000-0000-0000-000000000001}\n"
                          L"   {\n    val Model = s 'Apartment'\n    val Count = d '7'\n   }\n"
                          L"   Shared\n   {\n    Mine = s 'x'\n   }\n  }\n }\n}\n";
    AxRegVar vars[] = {{L"NAME", L"thing"}, {L"ID", L"{1234}"}, {nullptr, nullptr}};
    HRESULT hr = ax_run_registry_text(script, vars, true);
    ok(hr == S_OK, "register: %08lx\n", hr);
    ok(value_of(L"Software\\AxBaseTest\\Thing.1", nullptr) == L"A 'quoted' thing",
       "default value with substitution and quotes\n");
    ok(value_of(L"Software\\AxBaseTest\\Thing.1\\CLSID", nullptr) == L"{1234}", "CLSID\n");
    ok(key_exists(L"Software\\AxBaseTest\\Thing.1\\Empty"), "empty key\n");
    ok(value_of(L"Software\\AxBaseTest\\{0000AAAA-0000-0000-0000-000000000001}", L"Model") ==
           L"Apartment",
       "named value under a bare GUID key\n");
    DWORD count = 0, size = sizeof(count);
    RegGetValueW(HKEY_CURRENT_USER, L"Software\\AxBaseTest\\{0000AAAA-0000-0000-0000-000000000001}",
                 L"Count", RRF_RT_REG_DWORD, nullptr, &count, &size);
    ok(count == 7, "dword value %lu\n", count);

    hr = ax_run_registry_text(script, vars, false);
    ok(hr == S_OK, "unregister: %08lx\n", hr);
    ok(!key_exists(L"Software\\AxBaseTest\\Thing.1"), "key left behind\n");
    ok(!key_exists(L"Software\\AxBaseTest\\{0000AAAA-0000-0000-0000-000000000001}"),
       "GUID key left behind\n");
    ok(!key_exists(L"Software\\AxBaseTest\\Shared\\Mine"), "own subkey left behind\n");
    ok(key_exists(L"Software\\AxBaseTest\\Shared\\Foreign"), "someone else's key removed\n");
    ok(key_exists(L"Software\\AxBaseTest"), "NoRemove key removed\n");

    /* malformed scripts fail and write nothing */
    const WCHAR *bad[] = {L"HKCU { NoRemove Software { AxBaseTest { Broken = s 'open }",
                          L"HKXX { A }", L"HKCU { NoRemove Software { AxBaseTest { = s 'x' } } }",
                          L"HKCU { Software { AxBaseTest { K = q 'x' } } }"};
    for (const WCHAR *b : bad) {
        hr = ax_run_registry_text(b, nullptr, true);
        ok(hr == E_FAIL, "malformed script accepted: %s\n", ax_narrow(b).c_str());
    }
    ok(!key_exists(L"Software\\AxBaseTest\\Broken") && !key_exists(L"Software\\AxBaseTest\\K"),
       "malformed script wrote keys\n");
    RegDeleteTreeW(HKEY_CURRENT_USER, base);
}

/* Values substituted into a script are taken literally: a quote, braces, an
 * equals sign or a percent sign in a folder name neither ends a string nor
 * makes keys.  A registration that cannot be written completely fails and
 * takes back what it wrote. */
static void test_registrar_values()
{
    const WCHAR *base = L"Software\\AxBaseTest";
    RegDeleteTreeW(HKEY_CURRENT_USER, base);
    std::wstring script = L"HKCU { NoRemove Software { ForceRemove AxBaseTest {\n"
                          L"  Server = s '%MODULE%' { val Model = s 'Apartment' }\n"
                          L"  Bitmap = s '%MODULE%, 104'\n"
                          L"  %KEY% = s 'bare' } } }\n";
    const WCHAR *odd[] = {L"C:\\it's\\QVXSPLIT.dll", L"C:\\a ''b'' {c} = d\\x.dll",
                          L"C:\\100%\\%KEY%\\x.dll", L"C:\\t\u00e9st \u00fc\\x.dll",
                          L"C:\\it's\\ }\n}\nHKCU { Evil { } \\x.dll"};
    for (const WCHAR *module : odd) {
        AxRegVar vars[] = {{L"MODULE", module}, {L"KEY", L"{Key}"}, {nullptr, nullptr}};
        HRESULT hr = ax_run_registry_text(script, vars, true);
        ok(hr == S_OK, "%s: register %08lx\n", ax_narrow(module).c_str(), hr);
        ok(value_of(L"Software\\AxBaseTest\\Server", nullptr) == module, "%s: value %s\n",
           ax_narrow(module).c_str(),
           ax_narrow(value_of(L"Software\\AxBaseTest\\Server", nullptr)).c_str());
        ok(value_of(L"Software\\AxBaseTest\\Server", L"Model") == L"Apartment",
           "%s: named value after the path\n", ax_narrow(module).c_str());
        ok(value_of(L"Software\\AxBaseTest\\Bitmap", nullptr) == std::wstring(module) + L", 104",
           "%s: path inside a longer string\n", ax_narrow(module).c_str());
        ok(value_of(L"Software\\AxBaseTest\\{Key}", nullptr) == L"bare",
           "%s: key named by a variable\n", ax_narrow(module).c_str());
        HKEY k;
        DWORD subkeys = 99;
        RegOpenKeyExW(HKEY_CURRENT_USER, base, 0, KEY_READ, &k);
        RegQueryInfoKeyW(k, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr,
                         nullptr, nullptr, nullptr, nullptr);
        RegCloseKey(k);
        ok(subkeys == 3, "%s: %lu keys\n", ax_narrow(module).c_str(), subkeys);
        ok(!key_exists(L"Evil"), "%s: a key outside the script\n", ax_narrow(module).c_str());
        hr = ax_run_registry_text(script, vars, false);
        ok(hr == S_OK && !key_exists(base), "%s: unregister %08lx\n", ax_narrow(module).c_str(),
           hr);
    }

    /* the last key cannot be written (a name beyond the registry's limit) */
    std::wstring too_long(300, L'k');
    AxRegVar vars[] = {{L"MODULE", L"C:\\x.dll"}, {L"KEY", too_long.c_str()}, {nullptr, nullptr}};
    HRESULT hr = ax_run_registry_text(script, vars, true);
    ok(FAILED(hr), "an incomplete registration succeeded\n");
    ok(!key_exists(L"Software\\AxBaseTest\\Server") && !key_exists(base),
       "an incomplete registration left keys\n");
    RegDeleteTreeW(HKEY_CURRENT_USER, base);
}

static std::vector<BYTE> bytes_of(IStream *stm)
{
    STATSTG st;
    stm->Stat(&st, STATFLAG_NONAME);
    std::vector<BYTE> out((size_t)st.cbSize.QuadPart);
    LARGE_INTEGER zero = {};
    stm->Seek(zero, STREAM_SEEK_SET, nullptr);
    ULONG n;
    stm->Read(out.data(), (ULONG)out.size(), &n);
    stm->Seek(zero, STREAM_SEEK_SET, nullptr);
    return out;
}

static void test_variants()
{
    struct Case {
        VARTYPE vt;
        LONGLONG value;
        unsigned size; /* bytes after the type */
    } cases[] = {{VT_UI1, 0xAB, 1}, {VT_I2, -2, 2},  {VT_BOOL, -1, 2},
                 {VT_I4, 123456, 4}, {VT_UI4, 0x80000005, 4}, {VT_R8, 0, 8}};
    for (auto &c : cases) {
        VARIANT v;
        VariantInit(&v);
        V_VT(&v) = c.vt;
        V_I8(&v) = 0;
        memcpy(&V_UI1(&v), &c.value, c.size);
        IStream *stm;
        CreateStreamOnHGlobal(nullptr, TRUE, &stm);
        HRESULT hr = ax_write_variant(stm, &v);
        ok(hr == S_OK, "write vt %u\n", c.vt);
        std::vector<BYTE> b = bytes_of(stm);
        ok(b.size() == 2u + c.size && b[0] == (BYTE)c.vt && b[1] == 0, "vt %u: %u bytes\n", c.vt,
           (unsigned)b.size());
        ok(!memcmp(&b[2], &c.value, c.size), "vt %u: raw value\n", c.vt);
        VARIANT back;
        hr = ax_read_variant(stm, &back);
        ok(hr == S_OK && V_VT(&back) == c.vt && !memcmp(&V_UI1(&back), &c.value, c.size),
           "vt %u round trip\n", c.vt);
        stm->Release();
    }

    /* strings: 32-bit byte length counting the terminator */
    VARIANT s;
    V_VT(&s) = VT_BSTR;
    V_BSTR(&s) = SysAllocString(L"ab");
    IStream *stm;
    CreateStreamOnHGlobal(nullptr, TRUE, &stm);
    ax_write_variant(stm, &s);
    std::vector<BYTE> b = bytes_of(stm);
    ok(b.size() == 2 + 4 + 6 && b[2] == 6 && b[6] == 'a' && b[8] == 'b', "string layout\n");
    VARIANT back;
    ok(ax_read_variant(stm, &back) == S_OK && V_VT(&back) == VT_BSTR &&
           !wcscmp(V_BSTR(&back), L"ab"),
       "string round trip\n");
    VariantClear(&back);
    VariantClear(&s);
    stm->Release();

    /* an empty object is the null class identifier */
    VARIANT o;
    V_VT(&o) = VT_DISPATCH;
    V_DISPATCH(&o) = nullptr;
    CreateStreamOnHGlobal(nullptr, TRUE, &stm);
    ax_write_variant(stm, &o);
    b = bytes_of(stm);
    ok(b.size() == 18 && b[0] == VT_DISPATCH, "null object: %u bytes\n", (unsigned)b.size());
    ok(ax_read_variant(stm, &back) == S_OK && V_VT(&back) == VT_DISPATCH && !V_DISPATCH(&back),
       "null object round trip\n");
    stm->Release();

    /* damaged input: truncated values, absurd string lengths, unknown types */
    std::vector<std::vector<BYTE>> damaged = {
        {VT_I4, 0, 1, 2},                        /* truncated value */
        {VT_I2},                                 /* truncated type */
        {VT_BSTR, 0, 0xff, 0xff, 0xff, 0x7f},    /* 2 GB string */
        {VT_BSTR, 0, 5, 0, 0, 0, 'a', 0, 'b'},   /* odd length */
        {VT_BSTR, 0, 8, 0, 0, 0, 'a', 0},        /* shorter than said */
        {(BYTE)(VT_ARRAY | VT_I4), (BYTE)((VT_ARRAY | VT_I4) >> 8), 0, 0, 0, 0},
        {(BYTE)(VT_BYREF | VT_I4), (BYTE)((VT_BYREF | VT_I4) >> 8), 0, 0, 0, 0},
        {VT_DISPATCH, 0, 1, 2, 3},               /* truncated class id */
    };
    /* an object of any class but a picture: a font saves, but is not loaded */
    FONTDESC fd = {sizeof(fd), (LPOLESTR)L"Arial", {80000, 0}, FW_NORMAL, ANSI_CHARSET,
                   FALSE, FALSE, FALSE};
    IDispatch *font = nullptr;
    OleCreateFontIndirect(&fd, IID_IDispatch, (void **)&font);
    ok(font != nullptr, "no font\n");
    if (font) {
        VARIANT f;
        V_VT(&f) = VT_DISPATCH;
        V_DISPATCH(&f) = font;
        CreateStreamOnHGlobal(nullptr, TRUE, &stm);
        ok(ax_write_variant(stm, &f) == S_OK, "font written\n");
        LARGE_INTEGER zero = {};
        stm->Seek(zero, STREAM_SEEK_SET, nullptr);
        VARIANT v;
        ok(FAILED(ax_read_variant(stm, &v)) && V_VT(&v) == VT_EMPTY,
           "an object other than a picture loaded\n");
        stm->Release();
        font->Release();
    }

    for (size_t i = 0; i < damaged.size(); i++) {
        CreateStreamOnHGlobal(nullptr, TRUE, &stm);
        ULONG n;
        stm->Write(damaged[i].data(), (ULONG)damaged[i].size(), &n);
        LARGE_INTEGER zero = {};
        stm->Seek(zero, STREAM_SEEK_SET, nullptr);
        VARIANT v;
        HRESULT hr = ax_read_variant(stm, &v);
        ok(FAILED(hr), "damaged input %u accepted\n", (unsigned)i);
        ok(V_VT(&v) == VT_EMPTY, "damaged input %u left a value\n", (unsigned)i);
        stm->Release();
    }
}

/* ---- the base's window handling, on a control of the test's own ---- */

static const GUID probe_clsid = {0x6d1c0f3a, 0x1b2e, 0x4c55, {0x9a, 0x10, 0x22, 0x3e, 0x4f, 0x50, 0x61, 0x72}};
static const GUID probe_events = {0x6d1c0f3b, 0x1b2e, 0x4c55, {0x9a, 0x10, 0x22, 0x3e, 0x4f, 0x50, 0x61, 0x72}};
static const AxClassDesc probe_desc = {&probe_clsid, &IID_IDispatch, &probe_events, L"Probe", 0,
                                       0, nullptr, 0, nullptr, 0};
static int probe_destroyed, stale_calls;

static LRESULT CALLBACK stale_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    stale_calls++;
    return DefWindowProcW(hwnd, msg, wp, lp);
}

#define WM_PROBE (WM_USER + 50)

struct AxControlTestAccess {
    static void set_prev_proc(AxControl &control, WNDPROC proc) { control.m_prev_proc = proc; }
};

class ProbeControl final : public AxControl {
public:
    ProbeControl() : AxControl(&probe_desc) { m_disp.owner = this; }
    ~ProbeControl() override
    {
        probe_destroyed++;
        /* what the memory of a destroyed object holds is anyone's guess: here
         * a procedure that counts the calls it should never get */
        if (!window())
            AxControlTestAccess::set_prev_proc(*this, stale_proc);
    }
    struct Disp : IDispatch {
        AX_FORWARD_IUNKNOWN_TO(ProbeControl)
        STDMETHOD(GetTypeInfoCount)(UINT *count) override
        {
            *count = 0;
            return S_OK;
        }
        STDMETHOD(GetTypeInfo)(UINT, LCID, ITypeInfo **) override { return E_NOTIMPL; }
        STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR *, UINT, LCID, DISPID *) override
        {
            return E_NOTIMPL;
        }
        STDMETHOD(Invoke)(DISPID, REFIID, LCID, WORD, DISPPARAMS *, VARIANT *, EXCEPINFO *,
                          UINT *) override
        {
            return DISP_E_MEMBERNOTFOUND;
        }
    } m_disp;
    static std::function<void()> on_probe;

    IDispatch *dispatch() override { return &m_disp; }
    void apply_defaults() override {}
    void draw(HDC, const RECT &, bool) override {}
    bool on_message(UINT msg, WPARAM, LPARAM, LRESULT *) override
    {
        if (msg == WM_PROBE && on_probe)
            on_probe();
        return false; /* default handling follows */
    }
    std::function<void()> keep_properties() override { return [] {}; }
};
std::function<void()> ProbeControl::on_probe;

struct ProbeFactory final : IClassFactory {
    STDMETHOD(QueryInterface)(REFIID riid, void **ppv) override
    {
        *ppv = IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory) ? this : nullptr;
        return *ppv ? S_OK : E_NOINTERFACE;
    }
    STDMETHOD_(ULONG, AddRef)() override { return 2; }
    STDMETHOD_(ULONG, Release)() override { return 1; }
    STDMETHOD(CreateInstance)(IUnknown *, REFIID riid, void **ppv) override
    {
        return ax_create<ProbeControl>(riid, ppv);
    }
    STDMETHOD(LockServer)(BOOL) override { return S_OK; }
};

/* The container lets the control go while it handles one of its own window
 * messages: the default handling that follows must not read the object. */
static void test_release_inside_message()
{
    ProbeFactory factory;
    AxForm *form = new AxForm(L"Form1");
    AxSite *site = form->add_site(L"Probe1", 0, 0, 480, 480);
    ok(site->create(&factory) == S_OK && site->activate() == S_OK, "probe in place\n");
    HWND w = site->control_window();
    ok(w != nullptr, "no probe window\n");
    ProbeControl::on_probe = [site] { site->release_control(); };
    probe_destroyed = stale_calls = 0;
    LONG faults = ax_faults();
    SendMessageW(w, WM_PROBE, 0, 0);
    ok(probe_destroyed == 1, "probe destroyed %d times\n", probe_destroyed);
    ok(!IsWindow(w), "probe window left\n");
    ok(stale_calls == 0, "the released object's window procedure called %d times\n", stale_calls);
    ok(ax_faults() == faults, "fault after the release\n");
    ProbeControl::on_probe = nullptr;
    form->close();
    form->Release();
}

int main()
{
    CoInitialize(nullptr);
    ax_module_init(GetModuleHandleW(nullptr), &GUID_NULL);
    test_registrar();
    test_registrar_values();
    test_variants();
    test_release_inside_message();
    CoUninitialize();
    return ax_summary("axbase");
}
