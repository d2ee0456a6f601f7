// Prints each file's version resource as Windows reads it, one line per file:
//   FILE|file version|product version|company|product|description
// Exits 1 when a file has none. The archive check compares the lines.
#include "testhost/versionResource.h"

#include <cstdio>

int main(int argc, char** argv)
{
    int status = 0;
    for (int i = 1; i < argc; ++i) {
        VersionResource version;
        if (!readVersionResource(argv[i], version)) {
            std::printf("%s|no version resource\n", argv[i]);
            status = 1;
            continue;
        }
        std::printf("%s|%s|%s|%s|%s|%s\n", argv[i], version.fileVersion.c_str(),
                    version.productVersion.c_str(), version.companyName.c_str(), version.productName.c_str(),
                    version.fileDescription.c_str());
    }
    return status;
}
