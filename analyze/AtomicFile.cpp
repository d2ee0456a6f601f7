#include "analyze/AtomicFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr mode_t kReadableByAll = 0666;

// mkstemp makes files that only their owner can read; the finished file gets
// what any new file would get. Read once, before other files are made.
mode_t finishedFileMode()
{
    static const mode_t mode = [] {
        const mode_t mask = umask(0);
        umask(mask);
        return kReadableByAll & ~mask;
    }();
    return mode;
}

std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

std::string nameOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

AtomicFile::AtomicFile(std::string finalPath) : path(std::move(finalPath))
{
    const std::string pattern = folderOf(path) + "/." + nameOf(path) + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const mode_t mode = finishedFileMode();
    const int descriptor = mkstemp(name.data());
    if (descriptor < 0) {
        fail("cannot create a file in " + folderOf(path));
        return;
    }
    temporaryPath = name.data();
    file = fdopen(descriptor, "wb");
    if (!file) {
        close(descriptor);
        fail("cannot write " + temporaryPath);
        return;
    }
    fchmod(descriptor, mode);
}

AtomicFile::~AtomicFile()
{
    discard();
}

bool AtomicFile::commit()
{
    if (!file)
        return false;
    const bool flushed = std::fflush(file) == 0 && !std::ferror(file) && fsync(fileno(file)) == 0;
    const int closed = std::fclose(file);
    file = nullptr;
    if (!flushed || closed != 0) {
        fail("cannot write " + path);
        return false;
    }
    if (std::rename(temporaryPath.c_str(), path.c_str()) != 0) {
        fail("cannot write " + path);
        return false;
    }
    temporaryPath.clear();
    return true;
}

void AtomicFile::fail(const std::string& what)
{
    reason = what + ": " + std::strerror(errno);
    discard();
}

void AtomicFile::discard()
{
    if (file) {
        std::fclose(file);
        file = nullptr;
    }
    if (!temporaryPath.empty()) {
        std::remove(temporaryPath.c_str());
        temporaryPath.clear();
    }
}
