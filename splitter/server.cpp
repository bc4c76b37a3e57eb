/*
 * QVXSPLIT server entry points.
 */
#include "qvxsplit.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        DisableThreadLibraryCalls(instance);
        ax_module_init(instance, &LIBID_QVXSPLITLib);
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
    return ax_get_class_object(rclsid, riid, ppv, CLSID_QVXSplit, qvxsplit_create);
}

extern "C" HRESULT WINAPI DllRegisterServer(void)
{
    return ax_register_server(IDR_QVXSPLIT, CLSID_QVXSplit, true);
}

extern "C" HRESULT WINAPI DllUnregisterServer(void)
{
    return ax_register_server(IDR_QVXSPLIT, CLSID_QVXSplit, false);
}
