// The demo signal through an effect as a host plays it: host-sized calls of
// processReplacing paced to real time, the host's window served between them.
#pragma once

#include "host/AEffect.h"
#include "testhost/DemoSignal.h"

#include <functional>

// Prints the pass-through result; true when every output sample has the
// input's bit pattern. `serveWindow` runs between calls and while waiting.
bool playDemoSignal(AEffect* effect, const DemoSignal& signal, const std::function<void()>& serveWindow);
