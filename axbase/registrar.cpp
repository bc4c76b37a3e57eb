/*
 * Registrar: reads a registry script and writes or removes what it names.
 *
 * Script grammar (a small subset of the usual .rgs form):
 *   script  := { root '{' keys '}' }
 *   root    := HKCR | HKLM | HKCU
 *   keys    := { entry }
 *   entry   := 'val' name '=' value
 *            | [ 'NoRemove' | 'ForceRemove' ] name [ '=' value ] [ '{' keys '}' ]
 *   value   := 's' string | 'd' number
 *   name, string: a bare word, a {GUID}, or text in single quotes ('' for
 *   a quote).
 * %NAME% inside a name or a string is replaced by the matching variable once
 * the token has been read, so a value is taken literally whatever it holds
 * (a quote in a folder name, braces, equals signs, percent signs) and can
 * neither end the string nor add keys.
 *
 * Unregistering removes exactly what registering wrote: the named values,
 * the default values, and every key that is empty afterwards unless it is
 * marked NoRemove.  A ForceRemove key is deleted before it is written.
 */
#include "axbase.h"

#include <memory>
#include <vector>

namespace {

struct RegValue {
    bool present = false;
    bool is_dword = false;
    std::wstring text;
    DWORD number = 0;
};

struct RegEntry {
    std::wstring name;
    bool named_value = false; /* 'val' */
    bool no_remove = false;
    bool force_remove = false;
    RegValue value;
    std::vector<RegEntry> children;
};

std::wstring substitute(const std::wstring &text, const AxRegVar *vars, bool *replaced);

struct Parser {
    const std::wstring &s;
    const AxRegVar *vars;
    size_t pos = 0;
    bool failed = false;

    Parser(const std::wstring &text, const AxRegVar *v) : s(text), vars(v) {}

    /* A token read from the script with its variables replaced; a token that
     * held a variable counts as quoted, so it is never taken for a keyword
     * or for the grammar's own braces and equals sign. */
    bool token(std::wstring &out, bool *quoted = nullptr)
    {
        bool q = false;
        if (!raw_token(out, &q))
            return false;
        bool replaced = false;
        out = substitute(out, vars, &replaced);
        if (quoted)
            *quoted = q || replaced;
        return true;
    }

    void skip_space()
    {
        while (pos < s.size() && iswspace(s[pos]))
            pos++;
    }

    /* Next token as written: a quoted string, a brace, '=', or a bare word. */
    bool raw_token(std::wstring &out, bool *quoted)
    {
        skip_space();
        out.clear();
        if (quoted)
            *quoted = false;
        if (pos >= s.size())
            return false;
        WCHAR c = s[pos];
        if (c == L'{' && pos + 1 < s.size() && iswxdigit(s[pos + 1])) {
            /* a bare {GUID} */
            size_t end = s.find(L'}', pos);
            if (end == std::wstring::npos) {
                failed = true;
                return false;
            }
            out = s.substr(pos, end + 1 - pos);
            pos = end + 1;
            return true;
        }
        if (c == L'{' || c == L'}' || c == L'=') {
            out = c;
            pos++;
            return true;
        }
        if (c == L'\'') {
            pos++;
            for (;;) {
                if (pos >= s.size()) {
                    failed = true;
                    return false;
                }
                if (s[pos] == L'\'') {
                    if (pos + 1 < s.size() && s[pos + 1] == L'\'') {
                        out += L'\'';
                        pos += 2;
                        continue;
                    }
                    pos++;
                    break;
                }
                out += s[pos++];
            }
            if (quoted)
                *quoted = true;
            return true;
        }
        while (pos < s.size() && !iswspace(s[pos]) && s[pos] != L'{' && s[pos] != L'}' &&
               s[pos] != L'=')
            out += s[pos++];
        return true;
    }

    bool peek(const WCHAR *what)
    {
        size_t save = pos;
        std::wstring t;
        bool q;
        bool ok = raw_token(t, &q) && !q && t == what;
        pos = save;
        return ok;
    }

    bool value(RegValue &v)
    {
        std::wstring kind, text;
        if (!token(kind) || !token(text)) {
            failed = true;
            return false;
        }
        v.present = true;
        if (kind == L"s" || kind == L"S") {
            v.text = text;
        } else if (kind == L"d" || kind == L"D") {
            v.is_dword = true;
            v.number = wcstoul(text.c_str(), nullptr, 0);
        } else {
            failed = true;
            return false;
        }
        return true;
    }

    bool keys(std::vector<RegEntry> &out)
    {
        for (;;) {
            std::wstring t;
            bool q;
            if (!token(t, &q)) {
                failed = true;
                return false;
            }
            if (!q && t == L"}")
                return true;
            RegEntry e;
            if (!q && (t == L"val" || t == L"Val")) {
                e.named_value = true;
                std::wstring eq;
                bool q_eq = false;
                if (!token(e.name) || !token(eq, &q_eq) || q_eq || eq != L"=" ||
                    !value(e.value)) {
                    failed = true;
                    return false;
                }
                out.push_back(std::move(e));
                continue;
            }
            if (!q && t == L"NoRemove") {
                e.no_remove = true;
                token(t, &q);
            } else if (!q && t == L"ForceRemove") {
                e.force_remove = true;
                token(t, &q);
            }
            if (t.empty() || (!q && (t == L"{" || t == L"=" || t == L"}"))) {
                failed = true;
                return false;
            }
            e.name = t;
            if (peek(L"=")) {
                token(t);
                if (!value(e.value))
                    return false;
            }
            if (peek(L"{")) {
                token(t);
                if (!keys(e.children))
                    return false;
            }
            out.push_back(std::move(e));
        }
    }
};

struct RootBlock {
    HKEY root;
    std::vector<RegEntry> keys;
};

bool parse_script(const std::wstring &text, const AxRegVar *vars, std::vector<RootBlock> &out)
{
    Parser p(text, vars);
    std::wstring t;
    while (p.token(t)) {
        RootBlock b;
        if (t == L"HKCR" || t == L"HKEY_CLASSES_ROOT")
            b.root = HKEY_CLASSES_ROOT;
        else if (t == L"HKLM" || t == L"HKEY_LOCAL_MACHINE")
            b.root = HKEY_LOCAL_MACHINE;
        else if (t == L"HKCU" || t == L"HKEY_CURRENT_USER")
            b.root = HKEY_CURRENT_USER;
        else
            return false;
        std::wstring brace;
        if (!p.token(brace) || brace != L"{" || !p.keys(b.keys))
            return false;
        out.push_back(std::move(b));
    }
    return !p.failed;
}

LONG set_value(HKEY key, const WCHAR *name, const RegValue &v)
{
    if (v.is_dword)
        return RegSetValueExW(key, name, 0, REG_DWORD, (const BYTE *)&v.number, sizeof(DWORD));
    return RegSetValueExW(key, name, 0, REG_SZ, (const BYTE *)v.text.c_str(),
                          (DWORD)((v.text.size() + 1) * sizeof(WCHAR)));
}

HRESULT write_keys(HKEY parent, const std::vector<RegEntry> &entries)
{
    for (const RegEntry &e : entries) {
        if (e.named_value) {
            LONG r = set_value(parent, e.name.c_str(), e.value);
            if (r != ERROR_SUCCESS)
                return HRESULT_FROM_WIN32(r);
            continue;
        }
        if (e.force_remove)
            RegDeleteTreeW(parent, e.name.c_str());
        HKEY key;
        LONG r = RegCreateKeyExW(parent, e.name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                 &key, nullptr);
        if (r != ERROR_SUCCESS)
            return HRESULT_FROM_WIN32(r);
        HRESULT hr = S_OK;
        if (e.value.present) {
            r = set_value(key, nullptr, e.value);
            if (r != ERROR_SUCCESS)
                hr = HRESULT_FROM_WIN32(r);
        }
        if (SUCCEEDED(hr))
            hr = write_keys(key, e.children);
        RegCloseKey(key);
        if (FAILED(hr))
            return hr;
    }
    return S_OK;
}

bool key_is_empty(HKEY key)
{
    DWORD subkeys = 0, values = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                         nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return false;
    return subkeys == 0 && values == 0;
}

void remove_keys(HKEY parent, const std::vector<RegEntry> &entries)
{
    for (const RegEntry &e : entries) {
        if (e.named_value) {
            RegDeleteValueW(parent, e.name.c_str());
            continue;
        }
        HKEY key;
        if (RegOpenKeyExW(parent, e.name.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
            continue;
        remove_keys(key, e.children);
        if (e.value.present)
            RegDeleteValueW(key, nullptr);
        bool empty = key_is_empty(key);
        RegCloseKey(key);
        if (!e.no_remove && empty)
            RegDeleteKeyW(parent, e.name.c_str());
    }
}

std::wstring substitute(const std::wstring &text, const AxRegVar *vars, bool *replaced)
{
    std::wstring out;
    for (size_t i = 0; i < text.size(); i++) {
        if (text[i] == L'%') {
            size_t end = text.find(L'%', i + 1);
            if (end != std::wstring::npos) {
                std::wstring name = text.substr(i + 1, end - i - 1);
                if (name.empty()) { /* %% stands for % */
                    out += L'%';
                    i = end;
                    continue;
                }
                for (const AxRegVar *v = vars; v && v->name; v++) {
                    if (name == v->name) {
                        out += v->value;
                        *replaced = true;
                        i = end;
                        goto next;
                    }
                }
            }
        }
        out += text[i];
    next:;
    }
    return out;
}

} // namespace

HRESULT ax_run_registry_text(const std::wstring &script, const AxRegVar *vars, bool do_register)
{
    std::vector<RootBlock> blocks;
    if (!parse_script(script, vars, blocks))
        return E_FAIL; /* nothing written for a malformed script */
    if (!do_register) {
        for (auto &b : blocks)
            remove_keys(b.root, b.keys);
        return S_OK;
    }
    for (auto &b : blocks) {
        HRESULT hr = write_keys(b.root, b.keys);
        if (FAILED(hr)) {
            for (auto &u : blocks)
                remove_keys(u.root, u.keys);
            return hr;
        }
    }
    return S_OK;
}

HRESULT ax_run_registry_script(HINSTANCE module, UINT id, const AxRegVar *vars, bool do_register)
{
    HRSRC res = FindResourceW(module, MAKEINTRESOURCEW(id), L"REGISTRY");
    if (!res)
        return HRESULT_FROM_WIN32(ERROR_RESOURCE_NAME_NOT_FOUND);
    HGLOBAL mem = LoadResource(module, res);
    DWORD size = SizeofResource(module, res);
    const char *data = (const char *)LockResource(mem);
    if (!data)
        return E_FAIL;
    int n = MultiByteToWideChar(CP_UTF8, 0, data, (int)size, nullptr, 0);
    std::wstring text(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, data, (int)size, &text[0], n);
    return ax_run_registry_text(text, vars, do_register);
}

HRESULT ax_register_server(UINT script_id, const CLSID &clsid, bool do_register)
{
    std::wstring module = ax_module_path(ax_module.instance);
    if (module.empty())
        return HRESULT_FROM_WIN32(GetLastError() ? GetLastError() : ERROR_FILENAME_EXCED_RANGE);
    ITypeLib *tl;
    HRESULT hr = LoadTypeLibEx(module.c_str(), REGKIND_NONE, &tl);
    if (FAILED(hr))
        return hr;
    TLIBATTR *attr;
    hr = tl->GetLibAttr(&attr);
    if (FAILED(hr)) {
        tl->Release();
        return hr;
    }
    TLIBATTR lib = *attr;
    tl->ReleaseTLibAttr(attr);
    /* The registry names the library by the identifier the code was built
     * with; an embedded type library that says otherwise is a broken build,
     * and registering it would leave a TypeLib entry the header's LIBID
     * cannot find. */
    if (!ax_module.libid || !IsEqualGUID(lib.guid, *ax_module.libid)) {
        tl->Release();
        return TYPE_E_LIBNOTREGISTERED;
    }
    std::wstring cls = ax_guid_string(clsid);
    std::wstring libid = ax_guid_string(*ax_module.libid);
    AxRegVar vars[] = {{L"MODULE", module.c_str()},
                       {L"CLSID", cls.c_str()},
                       {L"LIBID", libid.c_str()},
                       {nullptr, nullptr}};
    if (do_register) {
        hr = RegisterTypeLib(tl, (LPOLESTR)module.c_str(), nullptr);
        if (SUCCEEDED(hr)) {
            hr = ax_run_registry_script(ax_module.instance, script_id, vars, true);
            if (FAILED(hr))
                UnRegisterTypeLib(lib.guid, lib.wMajorVerNum, lib.wMinorVerNum, lib.lcid,
                                  lib.syskind);
        }
        tl->Release();
        return hr;
    }
    tl->Release();
    hr = ax_run_registry_script(ax_module.instance, script_id, vars, false);
    /* A library that is not registered has nothing to remove (the systems
     * differ in what UnRegisterTypeLib says then): /u twice succeeds twice. */
    WCHAR version[16];
    wsprintfW(version, L"\\%x.%x", lib.wMajorVerNum, lib.wMinorVerNum);
    std::wstring lib_key = L"TypeLib\\" + libid + version;
    HKEY key;
    HRESULT hr2 = S_OK;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, lib_key.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
        RegCloseKey(key);
        hr2 = UnRegisterTypeLib(lib.guid, lib.wMajorVerNum, lib.wMinorVerNum, lib.lcid,
                                lib.syskind);
    }
    return FAILED(hr) ? hr : hr2;
}
