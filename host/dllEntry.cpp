// The Windows load notification: the only Windows call of the host layer.
#include <windows.h>

#include "host/entryPoints.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD, LPVOID)
{
    moduleInstance = instance;
    return TRUE;
}
