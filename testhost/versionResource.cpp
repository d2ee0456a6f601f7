#include "testhost/versionResource.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace {

// The US English, Unicode table: the one the plug-ins write and hosts look up first.
constexpr const char* kStringTable = "\\StringFileInfo\\040904B0\\";

std::string versionNumbers(DWORD high, DWORD low)
{
    char text[64];
    std::snprintf(text, sizeof text, "%lu.%lu.%lu.%lu", high >> 16, high & 0xFFFF, low >> 16, low & 0xFFFF);
    return text;
}

std::string stringValue(std::vector<char>& block, const char* name)
{
    void* value = nullptr;
    UINT length = 0;
    const std::string path = std::string(kStringTable) + name;
    if (!VerQueryValueA(block.data(), path.c_str(), &value, &length) || length == 0)
        return {};
    return static_cast<const char*>(value);
}

} // namespace

bool readVersionResource(const std::string& path, VersionResource& out)
{
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0)
        return false;
    std::vector<char> block(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, block.data()))
        return false;
    void* fixedPart = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), "\\", &fixedPart, &length) || length < sizeof(VS_FIXEDFILEINFO))
        return false;
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(fixedPart);
    out.fileVersion = versionNumbers(fixed->dwFileVersionMS, fixed->dwFileVersionLS);
    out.productVersion = stringValue(block, "ProductVersion");
    out.companyName = stringValue(block, "CompanyName");
    out.productName = stringValue(block, "ProductName");
    out.fileDescription = stringValue(block, "FileDescription");
    return true;
}
