/*
 * The four entry points of a control server and its DllMain, written once.
 * Each server's DLL links this file and defines `ax_server` with its library
 * id, class, creation function and registry script.
 */
#include "axbase.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        DisableThreadLibraryCalls(instance);
        ax_module_init(instance, ax_server.libid);
        break;
    case DLL_PROCESS_DETACH:
        if (!reserved)
            ax_module_term();
        break;
    }
    return TRUE;
}

extern "C" HRESULT WINAPI DllCanUnloadNow(void)
{
    return ax_can_unload_now();
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, void **ppv)
{
    return ax_get_class_object(rclsid, riid, ppv, *ax_server.clsid, ax_server.create);
}

extern "C" HRESULT WINAPI DllRegisterServer(void)
{
    return ax_register_server(ax_server.registry_script, *ax_server.clsid, true);
}

extern "C" HRESULT WINAPI DllUnregisterServer(void)
{
    return ax_register_server(ax_server.registry_script, *ax_server.clsid, false);
}
