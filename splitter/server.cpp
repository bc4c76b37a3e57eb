/*
 * QVXSPLIT server entry points.
 */
#include "qvxsplit.h"

/* {EFFF30B6-3243-4DC0-A24C-E1B64EA0D4E2} */
const CLSID CLSID_QVXSplitGeneralPage = {
    0xefff30b6, 0x3243, 0x4dc0, {0xa2, 0x4c, 0xe1, 0xb6, 0x4e, 0xa0, 0xd4, 0xe2}};

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
