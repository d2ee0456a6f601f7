// The VST 2.x entry point of the Linux shared objects under the name hosts
// look for first; the build names the same function `main` as well, for older
// hosts, which C++ itself cannot.
#include "host/entryPoints.h"

extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(audioMasterCallback audioMaster)
{
    return pluginMain(audioMaster);
}
