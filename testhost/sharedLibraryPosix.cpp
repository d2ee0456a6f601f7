#include "testhost/sharedLibrary.h"

#include <dlfcn.h>

void* openSharedLibrary(const std::string& path)
{
    // Like a host: the plug-in's symbols stay its own.
    return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}

void* findExport(void* library, const char* name)
{
    return dlsym(library, name);
}

void closeSharedLibrary(void* library)
{
    dlclose(library);
}
