// What a host sees of an effect, printed the same way by every test host.
#pragma once

#include "host/AEffect.h"

#include <cstdint>
#include <string>

// A text the dispatcher writes for `opcode` into a buffer of the host's.
std::string effectText(AEffect* effect, std::int32_t opcode);
// Names, unique ID, channels, flags, program and version, one per line.
void describeEffect(AEffect* effect);
