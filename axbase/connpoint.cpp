/*
 * Connection points.
 */
#include "connpoint.h"

#include "comobject.h"

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

HRESULT ax_enum_connection_points(IConnectionPoint **points, unsigned count,
                                  IEnumConnectionPoints **e)
{
    return AxEnum<IEnumConnectionPoints, IConnectionPoint>::create(points, count, e);
}
