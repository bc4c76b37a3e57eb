/*
 * Small COM pieces written once: a reference-holding pointer, an object of
 * one interface with its reference count, and an enumerator over a fixed
 * list of interface pointers.
 */
#pragma once

#include "axbase.h"

#include <utility>
#include <vector>

/* Holds one reference to a COM object: a copy takes another, destruction
 * lets it go.  Empty when null. */
template <class T> class AxRef {
public:
    AxRef() = default;
    /* Takes a reference of its own; the caller keeps theirs. */
    explicit AxRef(T *p) : m_p(p)
    {
        if (m_p)
            m_p->AddRef();
    }
    AxRef(const AxRef &other) : AxRef(other.m_p) {}
    AxRef(AxRef &&other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    AxRef &operator=(AxRef other) noexcept
    {
        std::swap(m_p, other.m_p);
        return *this;
    }
    ~AxRef()
    {
        if (m_p)
            m_p->Release();
    }
    /* Takes over a reference the caller owns (a new object's). */
    static AxRef adopt(T *p)
    {
        AxRef r;
        r.m_p = p;
        return r;
    }
    T *get() const { return m_p; }
    T *operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    /* A new reference for an out parameter (null when empty). */
    T *copy() const
    {
        if (m_p)
            m_p->AddRef();
        return m_p;
    }

private:
    T *m_p = nullptr;
};

/* An object of one interface: IUnknown answers for that interface alone and
 * the last Release deletes the object. */
template <class Interface> class AxObject : public Interface {
public:
    AxObject() = default;
    AxObject(const AxObject &) = delete;
    AxObject &operator=(const AxObject &) = delete;

    STDMETHOD(QueryInterface)(REFIID riid, void **ppv) override
    {
        if (!ppv)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, __uuidof(Interface)) ||
            also_answers(riid)) {
            *ppv = static_cast<Interface *>(this);
            this->AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHOD_(ULONG, AddRef)() override { return InterlockedIncrement(&m_ref); }
    STDMETHOD_(ULONG, Release)() override
    {
        ULONG r = InterlockedDecrement(&m_ref);
        if (!r)
            delete this;
        return r;
    }

protected:
    virtual ~AxObject() = default;
    /* Another id the one interface stands for (an event sink's
     * dispinterface, say). */
    virtual bool also_answers(REFIID) { return false; }

private:
    LONG m_ref = 1;
};

/* An enumerator (`Enum`: IEnumUnknown, IEnumConnectionPoints, ...) over a
 * list of `Item` pointers, each referenced while the enumerator lives. */
template <class Enum, class Item> class AxEnum final : public AxObject<Enum> {
public:
    /* A new enumerator in *out, at the start of the list. */
    static HRESULT create(Item *const *items, size_t count, Enum **out)
    {
        if (!out)
            return E_POINTER;
        *out = new AxEnum(std::vector<Item *>(items, items + count));
        return S_OK;
    }

    STDMETHOD(Next)(ULONG count, Item **out, ULONG *fetched) override
    {
        if (!out || (count > 1 && !fetched))
            return E_POINTER;
        ULONG n = 0;
        while (n < count && m_pos < m_items.size()) {
            out[n] = m_items[m_pos++];
            out[n]->AddRef();
            n++;
        }
        if (fetched)
            *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
    STDMETHOD(Skip)(ULONG count) override
    {
        m_pos += count;
        if (m_pos > m_items.size()) {
            m_pos = m_items.size();
            return S_FALSE;
        }
        return S_OK;
    }
    STDMETHOD(Reset)() override
    {
        m_pos = 0;
        return S_OK;
    }
    STDMETHOD(Clone)(Enum **e) override
    {
        if (!e)
            return E_POINTER;
        auto *copy = new AxEnum(m_items);
        copy->m_pos = m_pos;
        *e = copy;
        return S_OK;
    }

private:
    explicit AxEnum(std::vector<Item *> items) : m_items(std::move(items))
    {
        for (Item *item : m_items)
            item->AddRef();
    }
    ~AxEnum() override
    {
        for (Item *item : m_items)
            item->Release();
    }

    std::vector<Item *> m_items;
    size_t m_pos = 0;
};
