#include "tests/support/resourceScript.h"

#include <fstream>
#include <iomanip>
#include <iterator>
#include <sstream>

std::vector<BitmapResource> bitmapResources(const std::string& sourceDir)
{
    std::ifstream script(sourceDir + "/resources/orvane.rc");
    std::vector<BitmapResource> resources;
    std::string line;
    while (std::getline(script, line)) {
        std::istringstream fields(line);
        BitmapResource resource;
        std::string type;
        // Comments and blank lines fail at the id.
        if (fields >> resource.id >> type >> std::quoted(resource.file) && type == "BITMAP")
            resources.push_back(resource);
    }
    return resources;
}

std::vector<std::uint8_t> fileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}
