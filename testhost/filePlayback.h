#pragma once

#include <string>

// Plays a 16-bit WAV file through the plug-in in host-sized calls, as fast
// as it goes, and prints the nine measures exactly, one "measure NAME VALUE"
// line each. False when the file or the plug-in cannot be used.
bool playFile(const std::string& wavPath, const std::string& pluginPath);
