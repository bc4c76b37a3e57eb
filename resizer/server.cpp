/*
 * QVXRSZ server entry points.
 */
#include "qvxrsz.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        DisableThreadLibraryCalls(instance);
        ax_module_init(instance, &LIBID_QVXRSZLib);
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
    return ax_get_class_object(rclsid, riid, ppv, CLSID_QVXRSZ, qvxrsz_create);
}

extern "C" HRESULT WINAPI DllRegisterServer(void)
{
    return ax_register_server(IDR_QVXRSZ, CLSID_QVXRSZ, true);
}

extern "C" HRESULT WINAPI DllUnregisterServer(void)
{
    return ax_register_server(IDR_QVXRSZ, CLSID_QVXRSZ, false);
}
