// Screenshots as PNG files.
#pragma once

#include "testhost/Screenshot.h"

#include <string>

// False when the file cannot be written or the screenshot is empty.
bool writeScreenshotPng(const Screenshot& shot, const std::string& path);
