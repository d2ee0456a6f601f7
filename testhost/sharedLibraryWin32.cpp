#include "testhost/sharedLibrary.h"

#include <windows.h>

void* openSharedLibrary(const std::string& path)
{
    return LoadLibraryA(path.c_str());
}

void* findExport(void* library, const char* name)
{
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

void closeSharedLibrary(void* library)
{
    FreeLibrary(static_cast<HMODULE>(library));
}
