/*
 * The control base on its own: the registrar's script handling and the
 * serialized variants of property streams.
 */
#include "axcheck.h"
#include "control.h"

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

int main()
{
    CoInitialize(nullptr);
    test_registrar();
    test_variants();
    CoUninitialize();
    return ax_summary("axbase");
}
