// Loading a plug-in's shared library the way the platform's hosts do:
// LoadLibrary on Windows, dlopen elsewhere.
#pragma once

#include <string>

// Null when the library does not load.
void* openSharedLibrary(const std::string& path);
// Null when the library exports no such name.
void* findExport(void* library, const char* name);
void closeSharedLibrary(void* library);
