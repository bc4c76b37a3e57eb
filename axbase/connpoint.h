/*
 * A connection point embedded in its object: the event source or the
 * property-change notification of a control.
 */
#pragma once

#include "axbase.h"

#include <vector>

struct AxConnectionPoint : IConnectionPoint {
    IConnectionPointContainer *container = nullptr; /* owner, not referenced */
    IID iid = IID_NULL;
    struct Sink {
        DWORD cookie;
        IUnknown *unk;
    };
    std::vector<Sink> sinks;
    DWORD next_cookie = 1;

    void init(IConnectionPointContainer *owner, REFIID riid)
    {
        container = owner;
        iid = riid;
    }
    void clear();
    /* Sinks are copied (and referenced) before a call goes out, so a sink may
     * unadvise itself from inside the call. */
    std::vector<IUnknown *> snapshot();

    STDMETHOD(QueryInterface)(REFIID riid, void **ppv) override;
    STDMETHOD_(ULONG, AddRef)() override { return container->AddRef(); }
    STDMETHOD_(ULONG, Release)() override { return container->Release(); }
    STDMETHOD(GetConnectionInterface)(IID *piid) override;
    STDMETHOD(GetConnectionPointContainer)(IConnectionPointContainer **cpc) override;
    STDMETHOD(Advise)(IUnknown *sink, DWORD *cookie) override;
    STDMETHOD(Unadvise)(DWORD cookie) override;
    STDMETHOD(EnumConnections)(IEnumConnections **) override { return E_NOTIMPL; }
};

/* Enumerator over a fixed list of connection points. */
HRESULT ax_enum_connection_points(IConnectionPoint **points, unsigned count,
                                  IEnumConnectionPoints **e);
