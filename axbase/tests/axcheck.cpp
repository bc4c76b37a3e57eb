/*
 * Checks for the control tests.
 */
#include "axcheck.h"

#include <cstdarg>
#include <cstdio>
#include <cwchar>

int ax_checks, ax_failures;
const char *ax_file = "?";
int ax_line;
std::map<std::string, int> ax_called;
std::vector<std::string> ax_seq;

static const char *base_name(const char *path)
{
    const char *p = path, *q;
    for (q = path; *q; q++)
        if (*q == '/' || *q == '\\')
            p = q + 1;
    return p;
}

void ax_ok(bool cond, const char *fmt, ...)
{
    ax_checks++;
    if (cond)
        return;
    ax_failures++;
    printf("%s:%d: Test failed: ", base_name(ax_file), ax_line);
    va_list ap;
    va_start(ap, fmt);
    vprintf(fmt, ap);
    va_end(ap);
    fflush(stdout);
}

int ax_summary(const char *name)
{
    printf("%s: %d tests executed, %d failures\n", name, ax_checks, ax_failures);
    fflush(stdout);
    return ax_failures ? 1 : 0;
}

void ax_count(const std::string &name) { ax_called[name]++; }

void ax_seq_add(const char *fmt, ...)
{
    char buf[512];
    va_list ap;
    va_start(ap, fmt);
    vsnprintf(buf, sizeof(buf), fmt, ap);
    va_end(ap);
    ax_seq.push_back(buf);
}

void ax_seq_clear() { ax_seq.clear(); }

std::string ax_seq_text()
{
    std::string s;
    for (auto &e : ax_seq)
        s += (s.empty() ? "" : ", ") + e;
    return s;
}

bool ax_ok_sequence(const std::vector<std::string> &expected, const char *context)
{
    size_t n = expected.size() > ax_seq.size() ? expected.size() : ax_seq.size();
    for (size_t i = 0; i < n; i++) {
        const char *want = i < expected.size() ? expected[i].c_str() : "(end)";
        const char *got = i < ax_seq.size() ? ax_seq[i].c_str() : "(end)";
        if (std::string(want) != got) {
            ax_ok(false, "%s: item %u: expected %s, got %s; sequence: %s\n", context, (unsigned)i,
                  want, got, ax_seq_text().c_str());
            ax_seq_clear();
            return false;
        }
    }
    ax_ok(true, "%s", "");
    ax_seq_clear();
    return true;
}

ULONG ax_refcount(IUnknown *unk)
{
    unk->AddRef();
    return unk->Release();
}

std::string ax_narrow(const std::wstring &w)
{
    std::string s;
    for (wchar_t c : w)
        s += c < 128 ? (char)c : '?';
    return s;
}

IStream *ax_stream_of(const std::vector<BYTE> &bytes)
{
    IStream *stm;
    CreateStreamOnHGlobal(nullptr, TRUE, &stm);
    ULONG n;
    stm->Write(bytes.data(), (ULONG)bytes.size(), &n);
    LARGE_INTEGER zero = {};
    stm->Seek(zero, STREAM_SEEK_SET, nullptr);
    return stm;
}

std::vector<BYTE> ax_stream_bytes(IStream *stm)
{
    HGLOBAL h;
    GetHGlobalFromStream(stm, &h);
    STATSTG st;
    stm->Stat(&st, STATFLAG_NONAME);
    BYTE *p = (BYTE *)GlobalLock(h);
    std::vector<BYTE> out(p, p + st.cbSize.QuadPart);
    GlobalUnlock(h);
    return out;
}

static std::set<std::wstring> subkeys(HKEY root, const WCHAR *path)
{
    std::set<std::wstring> out;
    HKEY key;
    if (RegOpenKeyExW(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return out;
    WCHAR name[256];
    for (DWORD i = 0;; i++) {
        DWORD n = 256;
        if (RegEnumKeyExW(key, i, name, &n, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        out.insert(name);
    }
    RegCloseKey(key);
    return out;
}

std::set<std::wstring> ax_registry_snapshot()
{
    std::set<std::wstring> all;
    for (const WCHAR *p : {L"", L"CLSID", L"Interface", L"TypeLib"})
        for (auto &k : subkeys(HKEY_CLASSES_ROOT, p))
            all.insert(std::wstring(p) + L"\\" + k);
    return all;
}

static void add_tree(HKEY root, const std::wstring &path, std::set<std::wstring> &out)
{
    HKEY key;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    out.insert(path);
    WCHAR name[256];
    BYTE data[2048];
    for (DWORD i = 0;; i++) {
        DWORD n = 256, size = sizeof(data) - sizeof(WCHAR), type;
        if (RegEnumValueW(key, i, name, &n, nullptr, &type, data, &size) != ERROR_SUCCESS)
            break;
        std::wstring text;
        if (type == REG_SZ) {
            data[size] = data[size + 1] = 0;
            text = (const WCHAR *)data;
        } else if (type == REG_DWORD) {
            text = L"dword " + std::to_wstring(*(const DWORD *)data);
        } else {
            text = L"type " + std::to_wstring(type);
        }
        out.insert(path + L" [" + name + L"] = " + text);
    }
    std::set<std::wstring> children = subkeys(root, path.c_str());
    RegCloseKey(key);
    for (const std::wstring &c : children)
        add_tree(root, path + L"\\" + c, out);
}

std::set<std::wstring> ax_registry_tree(const std::vector<std::wstring> &paths)
{
    std::set<std::wstring> out;
    for (const std::wstring &p : paths)
        add_tree(HKEY_CLASSES_ROOT, p, out);
    return out;
}

std::wstring ax_reg_string(const std::wstring &path, const WCHAR *value)
{
    WCHAR buf[512];
    DWORD size = sizeof(buf);
    if (RegGetValueW(HKEY_CLASSES_ROOT, path.c_str(), value, RRF_RT_REG_SZ, nullptr, buf,
                     &size) != ERROR_SUCCESS)
        return L"<missing>";
    return buf;
}

void ax_check_error_info(const char *what, const WCHAR *source)
{
    IErrorInfo *ei = nullptr;
    HRESULT hr = GetErrorInfo(0, &ei);
    ok(hr == S_OK && ei, "%s: no error info\n", what);
    if (!ei)
        return;
    BSTR src = nullptr, desc = nullptr;
    ei->GetSource(&src);
    ei->GetDescription(&desc);
    ok(src && !wcscmp(src, source), "%s: source %s\n", what, src ? ax_narrow(src).c_str() : "");
    ok(desc && !wcscmp(desc, L"Invalid Property Value"), "%s: description\n", what);
    SysFreeString(src);
    SysFreeString(desc);
    ei->Release();
}

static LONG fault_count;

static LONG CALLBACK count_fault(EXCEPTION_POINTERS *info)
{
    /* error severity only: C++ exceptions and debugger notices are not faults */
    if ((info->ExceptionRecord->ExceptionCode & 0xC0000000) == 0xC0000000)
        InterlockedIncrement(&fault_count);
    return EXCEPTION_CONTINUE_SEARCH;
}

LONG ax_faults()
{
    static PVOID handler = AddVectoredExceptionHandler(1, count_fault);
    (void)handler;
    return fault_count;
}
