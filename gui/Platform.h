// The few services of the platform that editors use outside any window:
// clocks, sleeping, and what a thread needs before it makes an editor.
#pragma once

#include <cstdint>

namespace platform {

// Milliseconds of the clock that paces the idle work during mouse tracking;
// wraps around.
std::uint32_t idleClockMilliseconds();
// Milliseconds of the clock that paces the editor's refresh; wraps around.
// Safe on the host's audio thread: it reads a clock and nothing else.
std::uint32_t refreshClockMilliseconds();
void sleepMilliseconds(std::uint32_t milliseconds);
// Once for each editor, on the thread that makes it and later destroys it:
// what taking drops from other programs needs on that thread.
void attachEditorThread();
void detachEditorThread();

} // namespace platform
