// A temporary folder with one target file and shell shortcuts to it, made with
// the platform's shell link object as a user's shell would. OLE must be
// initialised on the thread. Everything is deleted again at the end.
#pragma once

#include <string>
#include <vector>

class ShortcutFolder {
public:
    ShortcutFolder();
    ~ShortcutFolder();
    ShortcutFolder(const ShortcutFolder&) = delete;
    ShortcutFolder& operator=(const ShortcutFolder&) = delete;

    // A shortcut to the target saved under `fileName`; its full path, or an
    // empty text when the shell could not save it.
    std::string addShortcut(const std::string& fileName);
    // A file that is not a shortcut, whatever its name says.
    std::string addPlainFile(const std::string& fileName);
    std::string pathOf(const std::string& fileName) const;

    const std::string& target() const { return targetPath; }
    // The target's path in its short (8.3) form, as the platform gives it.
    std::string shortTarget() const;

private:
    std::string folder;
    std::string targetPath;
    std::vector<std::string> files;
};
