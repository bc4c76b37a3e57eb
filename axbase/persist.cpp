/*
 * Serialized variants of a property stream: the 16-bit variant type, then
 * the value (1, 2, 4 or 8 raw bytes; an object (a picture) through the OLE
 * stream save, or the null class identifier when empty; anything else as a string with a
 * 32-bit byte length that counts the terminating null).
 */
#include "control.h"

static const ULONG max_string_bytes = 1 << 20; /* refuse absurd lengths on load */

HRESULT ax_stream_write(IStream *stm, const void *data, ULONG size)
{
    ULONG written = 0;
    HRESULT hr = stm->Write(data, size, &written);
    if (FAILED(hr))
        return hr;
    return written == size ? S_OK : STG_E_MEDIUMFULL;
}

HRESULT ax_stream_read(IStream *stm, void *data, ULONG size)
{
    ULONG got = 0;
    HRESULT hr = stm->Read(data, size, &got);
    if (FAILED(hr))
        return hr;
    return got == size ? S_OK : STG_E_READFAULT; /* truncated stream */
}

static ULONG fixed_size(VARTYPE vt)
{
    switch (vt) {
    case VT_I1:
    case VT_UI1:
        return 1;
    case VT_I2:
    case VT_UI2:
    case VT_BOOL:
        return 2;
    case VT_I4:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
    case VT_R4:
    case VT_ERROR:
        return 4;
    case VT_R8:
    case VT_CY:
    case VT_DATE:
    case VT_I8:
    case VT_UI8:
        return 8;
    default:
        return 0;
    }
}

static HRESULT write_bstr(IStream *stm, BSTR s)
{
    ULONG len = s ? SysStringByteLen(s) + sizeof(OLECHAR) : 0;
    HRESULT hr = ax_stream_write(stm, &len, sizeof(len));
    if (SUCCEEDED(hr) && len)
        hr = ax_stream_write(stm, s, len);
    return hr;
}

static HRESULT read_bstr(IStream *stm, BSTR *out)
{
    *out = nullptr;
    ULONG len;
    HRESULT hr = ax_stream_read(stm, &len, sizeof(len));
    if (FAILED(hr))
        return hr;
    if (!len)
        return S_OK;
    if (len > max_string_bytes || len % sizeof(OLECHAR))
        return E_FAIL;
    BSTR s = SysAllocStringByteLen(nullptr, len - sizeof(OLECHAR));
    if (!s)
        return E_OUTOFMEMORY;
    hr = ax_stream_read(stm, s, len);
    if (FAILED(hr)) {
        SysFreeString(s);
        return hr;
    }
    s[len / sizeof(OLECHAR) - 1] = 0;
    *out = s;
    return S_OK;
}

HRESULT ax_write_variant(IStream *stm, const VARIANT *v)
{
    VARTYPE vt = V_VT(v);
    HRESULT hr = ax_stream_write(stm, &vt, sizeof(vt));
    if (FAILED(hr))
        return hr;
    if (vt == VT_EMPTY || vt == VT_NULL)
        return S_OK;
    if (ULONG n = fixed_size(vt))
        return ax_stream_write(stm, &V_UI1(v), n);
    if (vt == VT_DISPATCH || vt == VT_UNKNOWN) {
        IUnknown *unk = V_UNKNOWN(v);
        if (!unk)
            return WriteClassStm(stm, CLSID_NULL);
        IPersistStream *ps;
        hr = unk->QueryInterface(IID_IPersistStream, (void **)&ps);
        if (FAILED(hr))
            return hr;
        hr = OleSaveToStream(ps, stm);
        ps->Release();
        return hr;
    }
    if (vt == VT_BSTR)
        return write_bstr(stm, V_BSTR(v));
    VARIANT s;
    VariantInit(&s);
    hr = VariantChangeType(&s, (VARIANT *)v, 0, VT_BSTR);
    if (FAILED(hr))
        return hr;
    hr = write_bstr(stm, V_BSTR(&s));
    VariantClear(&s);
    return hr;
}

HRESULT ax_read_variant(IStream *stm, VARIANT *v)
{
    VariantInit(v);
    VARTYPE vt;
    HRESULT hr = ax_stream_read(stm, &vt, sizeof(vt));
    if (FAILED(hr))
        return hr;
    if (vt == VT_EMPTY || vt == VT_NULL) {
        V_VT(v) = vt;
        return S_OK;
    }
    if (ULONG n = fixed_size(vt)) {
        hr = ax_stream_read(stm, &V_UI1(v), n);
        if (SUCCEEDED(hr))
            V_VT(v) = vt;
        return hr;
    }
    if (vt == VT_DISPATCH || vt == VT_UNKNOWN) {
        CLSID clsid;
        hr = ReadClassStm(stm, &clsid);
        if (FAILED(hr))
            return hr == STG_E_READFAULT || hr == S_FALSE ? STG_E_READFAULT : hr;
        if (IsEqualCLSID(clsid, CLSID_NULL)) {
            V_VT(v) = vt;
            V_UNKNOWN(v) = nullptr;
            return S_OK;
        }
        /* The one object a property stream holds is a picture: a stream
         * naming any other class would have the control create whatever
         * that class is, so it is refused before anything is created. */
        if (!IsEqualCLSID(clsid, CLSID_StdPicture))
            return E_FAIL;
        LARGE_INTEGER back;
        back.QuadPart = -(LONGLONG)sizeof(CLSID);
        hr = stm->Seek(back, STREAM_SEEK_CUR, nullptr);
        if (FAILED(hr))
            return hr;
        void *obj = nullptr;
        hr = OleLoadFromStream(stm, vt == VT_DISPATCH ? IID_IDispatch : IID_IUnknown, &obj);
        if (FAILED(hr))
            return hr;
        V_VT(v) = vt;
        V_UNKNOWN(v) = (IUnknown *)obj;
        return S_OK;
    }
    /* Strings, and the few other plain types that travel as strings.  Arrays,
     * references and unknown types are refused. */
    switch (vt) {
    case VT_BSTR:
    case VT_DECIMAL:
        break;
    default:
        return E_FAIL;
    }
    BSTR s;
    hr = read_bstr(stm, &s);
    if (FAILED(hr))
        return hr;
    V_VT(v) = VT_BSTR;
    V_BSTR(v) = s;
    if (vt != VT_BSTR) {
        hr = VariantChangeType(v, v, 0, vt);
        if (FAILED(hr))
            VariantClear(v);
    }
    return hr;
}
