// Screenshots as 24-bit BMP files, which the demo turns into PNG files.
#pragma once

#include "testhost/HostWindow.h"

#include <string>

// False when the file cannot be written or the screenshot is empty.
bool writeScreenshot(const Screenshot& shot, const std::string& path);
