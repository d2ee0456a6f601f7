#include "host/entryPoints.h"
#include "host/opcodes.h"
#include "tests/support/RecordingHost.h"

#include <gtest/gtest.h>

// This program is linked with an editor that can never be made.
TEST(OutOfMemory, MainDiscardsTheEffectAndKeepsRefusing)
{
    RecordingHost::clear();
    EXPECT_EQ(pluginMain(RecordingHost::callback), nullptr);
    EXPECT_EQ(outOfMemory, 1);
    // The flag is never cleared: every later instance is refused too.
    EXPECT_EQ(pluginMain(RecordingHost::callback), nullptr);
    EXPECT_EQ(RecordingHost::callsOf(audioMasterVersion).size(), 2u);
}
