// The editor's four picture options as a VST 3 host saves them with its
// project: the tag "OrVw", a format version and one byte with a bit per
// option. A stream that is shorter, carries another tag, another version or
// unknown bits is not this plug-in's state.
#pragma once

#include "vst3/IBStream.h"

#include <cstdint>

namespace viewState {

// `options` are the analyzer's view option bits (Analyzer::viewOptions).
// False when the stream takes fewer bytes than the state has.
bool write(vst3::IBStream& stream, std::uint32_t options);
// False, with `options` left as they were, for anything but a whole state.
bool read(vst3::IBStream& stream, std::uint32_t& options);

} // namespace viewState
