// A file's version resource as Windows reads it for Explorer's properties and
// for hosts that show it. Windows only.
#pragma once

#include <string>

struct VersionResource {
    // Explorer's "File version" comes from the numeric part, "Product version" from the text.
    std::string fileVersion; // "major.minor.patch.build"
    std::string productVersion;
    std::string companyName;
    std::string productName;
    std::string fileDescription;
};

// False when the file cannot be read or carries no version resource.
bool readVersionResource(const std::string& path, VersionResource& out);
