/*
 * Connection points.
 */
#include "connpoint.h"

void AxConnectionPoint::clear()
{
    std::vector<Sink> old;
    old.swap(sinks);
    for (auto &s : old)
        s.unk->Release();
}

std::vector<IUnknown *> AxConnectionPoint::snapshot()
{
    std::vector<IUnknown *> out;
    for (auto &s : sinks) {
        s.unk->AddRef();
        out.push_back(s.unk);
    }
    return out;
}

HRESULT AxConnectionPoint::QueryInterface(REFIID riid, void **ppv)
{
    if (!ppv)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IConnectionPoint)) {
        *ppv = static_cast<IConnectionPoint *>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

HRESULT AxConnectionPoint::GetConnectionInterface(IID *piid)
{
    if (!piid)
        return E_POINTER;
    *piid = iid;
    return S_OK;
}

HRESULT AxConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer **cpc)
{
    if (!cpc)
        return E_POINTER;
    *cpc = container;
    container->AddRef();
    return S_OK;
}

HRESULT AxConnectionPoint::Advise(IUnknown *sink, DWORD *cookie)
{
    if (!sink || !cookie)
        return E_POINTER;
    *cookie = 0;
    IUnknown *unk;
    /* The sink must speak the interface (or IDispatch for a dispinterface). */
    if (FAILED(sink->QueryInterface(iid, (void **)&unk)) &&
        FAILED(sink->QueryInterface(IID_IDispatch, (void **)&unk)))
        return CONNECT_E_CANNOTCONNECT;
    sinks.push_back({next_cookie, unk});
    *cookie = next_cookie++;
    return S_OK;
}

HRESULT AxConnectionPoint::Unadvise(DWORD cookie)
{
    for (size_t i = 0; i < sinks.size(); i++) {
        if (sinks[i].cookie == cookie) {
            IUnknown *unk = sinks[i].unk;
            sinks.erase(sinks.begin() + i);
            unk->Release();
            return S_OK;
        }
    }
    return CONNECT_E_NOCONNECTION;
}

namespace {

struct EnumPoints final : IEnumConnectionPoints {
    LONG ref = 1;
    std::vector<IConnectionPoint *> points;
    size_t pos = 0;

    ~EnumPoints()
    {
        for (auto *p : points)
            p->Release();
    }
    STDMETHOD(QueryInterface)(REFIID riid, void **ppv) override
    {
        if (!ppv)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IEnumConnectionPoints)) {
            *ppv = this;
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHOD_(ULONG, AddRef)() override { return InterlockedIncrement(&ref); }
    STDMETHOD_(ULONG, Release)() override
    {
        ULONG r = InterlockedDecrement(&ref);
        if (!r)
            delete this;
        return r;
    }
    STDMETHOD(Next)(ULONG count, IConnectionPoint **out, ULONG *fetched) override
    {
        if (!out || (count > 1 && !fetched))
            return E_POINTER;
        ULONG n = 0;
        while (n < count && pos < points.size()) {
            out[n] = points[pos++];
            out[n]->AddRef();
            n++;
        }
        if (fetched)
            *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
    STDMETHOD(Skip)(ULONG count) override
    {
        pos += count;
        if (pos > points.size()) {
            pos = points.size();
            return S_FALSE;
        }
        return S_OK;
    }
    STDMETHOD(Reset)() override
    {
        pos = 0;
        return S_OK;
    }
    STDMETHOD(Clone)(IEnumConnectionPoints **e) override
    {
        if (!e)
            return E_POINTER;
        HRESULT hr = ax_enum_connection_points(points.data(), (unsigned)points.size(), e);
        if (SUCCEEDED(hr))
            static_cast<EnumPoints *>(*e)->pos = pos;
        return hr;
    }
};

} // namespace

HRESULT ax_enum_connection_points(IConnectionPoint **points, unsigned count,
                                  IEnumConnectionPoints **e)
{
    if (!e)
        return E_POINTER;
    EnumPoints *en = new EnumPoints;
    for (unsigned i = 0; i < count; i++) {
        points[i]->AddRef();
        en->points.push_back(points[i]);
    }
    *e = en;
    return S_OK;
}
