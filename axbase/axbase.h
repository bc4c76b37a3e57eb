/*
 * Control base shared by the QVXSPLIT and QVXRSZ control servers: the small
 * layer that stands where a template library would, written once.
 *
 * Module state, class factory, type library access, error information and
 * the registrar that reads a registry-script resource.
 */
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <ole2.h>
#include <olectl.h>
#include <ocidl.h>

#include <string>

/* Module state of a control server. */
struct AxModule {
    HINSTANCE instance;
    LONG objects;   /* live objects of the server */
    LONG locks;     /* IClassFactory::LockServer count */
    const GUID *libid;
    ITypeLib *typelib;
};

extern AxModule ax_module;

void ax_module_init(HINSTANCE instance, const GUID *libid);
void ax_module_term(void);
void ax_object_created(void);
void ax_object_destroyed(void);
HRESULT ax_can_unload_now(void);
/* Keeps the server loaded while something outside COM's reference counting
 * still calls into it (a window procedure of ours in another's window). */
void ax_lock_module(void);
void ax_unlock_module(void);

/* Creation function of a control class. */
typedef HRESULT (*AxCreateFn)(REFIID riid, void **ppv);

/* DllGetClassObject body: hands out the factory for the one class. */
HRESULT ax_get_class_object(REFCLSID rclsid, REFIID riid, void **ppv, const CLSID &clsid,
                            AxCreateFn create);

/* What a server's DLL fills in for the entry points of axbase/server.cpp
 * (DllMain, DllCanUnloadNow, DllGetClassObject, Dll[Un]RegisterServer). */
struct AxServerDesc {
    const GUID *libid;
    const CLSID *clsid;      /* the one class the server hands out */
    AxCreateFn create;
    UINT registry_script;    /* "REGISTRY" resource id */
};
extern const AxServerDesc ax_server;

/* The module's own type library (resource 1), loaded once. */
HRESULT ax_get_typelib(ITypeLib **lib);
/* Type information for a guid of the module's library.  For a dual interface
 * this is the vtable part, which ITypeInfo::Invoke can call directly. */
HRESULT ax_get_typeinfo(REFGUID guid, ITypeInfo **info);

/* Sets the thread's error information and returns hr. */
HRESULT ax_report_error(HRESULT hr, const WCHAR *source, UINT string_id, REFIID iid);
std::wstring ax_load_string(UINT id);

/* Registrar: applies or reverts the registry script held in the module's
 * "REGISTRY" resource `id`, with %NAME% substituted from `vars` (pairs of
 * name and value, ending with a null name). */
struct AxRegVar {
    const WCHAR *name;
    const WCHAR *value;
};
HRESULT ax_run_registry_script(HINSTANCE module, UINT id, const AxRegVar *vars, bool do_register);
/* The same on a script held in memory (used by the tests of the parser). */
HRESULT ax_run_registry_text(const std::wstring &script, const AxRegVar *vars, bool do_register);

/* DllRegisterServer/DllUnregisterServer bodies: script plus type library. */
HRESULT ax_register_server(UINT script_id, const CLSID &clsid, bool do_register);

std::wstring ax_guid_string(REFGUID guid);
std::wstring ax_module_path(HINSTANCE module);
