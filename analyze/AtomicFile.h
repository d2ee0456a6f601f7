// A file that appears whole under its name or not at all: it is written
// under a temporary name in the same folder, flushed to the disk and then
// renamed over the final name. Dropped unfinished, it leaves nothing behind.
#pragma once

#include <cstdio>
#include <string>

class AtomicFile {
public:
    explicit AtomicFile(std::string path);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Null when the temporary file could not be made; error() says why.
    std::FILE* stream() const { return file; }
    // True once the file is complete under its final name.
    bool commit();
    const std::string& error() const { return reason; }

private:
    void fail(const std::string& what);
    void discard();

    const std::string path;
    std::string temporaryPath;
    std::FILE* file = nullptr;
    std::string reason;
};
