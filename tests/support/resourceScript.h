// What the tests need of the source tree's resources: the BITMAP lines of
// resources/orvane.rc and the bytes of the files they name.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct BitmapResource {
    std::int32_t id = 0;
    // From the source tree's root, as the resource script names it.
    std::string file;
};

// In the order of the script; empty when it cannot be read.
std::vector<BitmapResource> bitmapResources(const std::string& sourceDir);
// Empty when the file cannot be read.
std::vector<std::uint8_t> fileBytes(const std::string& path);
