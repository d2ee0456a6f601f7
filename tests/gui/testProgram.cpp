// Window classes and bitmap resources come from this program, as they would
// come from the plug-in's library.
#include "host/entryPoints.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

class ModuleInstanceEnvironment : public ::testing::Environment {
public:
    void SetUp() override { moduleInstance = GetModuleHandleA(nullptr); }
};

const ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new ModuleInstanceEnvironment);

} // namespace
