#include "tests/drop/ShortcutFolder.h"

#include <ole2.h>
#include <shlobj.h>
#include <windows.h>

#include <cstdio>

namespace {

// Long and with spaces, so that its short form differs from it.
constexpr const char* kTargetName = "a long target name.txt";
constexpr const char* kFileContent = "not a shortcut\r\n";

bool saveShortcut(const std::string& target, const std::string& path)
{
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link)))) {
        return false;
    }
    bool saved = false;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->SetPath(target.c_str())) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        wchar_t widePath[MAX_PATH];
        saved = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, MAX_PATH) > 0 &&
                SUCCEEDED(file->Save(widePath, TRUE));
        file->Release();
    }
    link->Release();
    return saved;
}

} // namespace

ShortcutFolder::ShortcutFolder()
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    // No dot in the folder's name: names without one must stay dot-free.
    folder = std::string(temp) + "orvane drop " + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    targetPath = addPlainFile(kTargetName);
}

ShortcutFolder::~ShortcutFolder()
{
    for (const std::string& file : files) {
        DeleteFileA(file.c_str());
    }
    RemoveDirectoryA(folder.c_str());
}

std::string ShortcutFolder::addShortcut(const std::string& fileName)
{
    const std::string path = pathOf(fileName);
    files.push_back(path);
    return saveShortcut(targetPath, path) ? path : std::string();
}

std::string ShortcutFolder::addPlainFile(const std::string& fileName)
{
    const std::string path = pathOf(fileName);
    files.push_back(path);
    if (FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fputs(kFileContent, file);
        std::fclose(file);
    }
    return path;
}

std::string ShortcutFolder::pathOf(const std::string& fileName) const
{
    return folder + "\\" + fileName;
}

std::string ShortcutFolder::shortTarget() const
{
    char shortPath[MAX_PATH] = {};
    GetShortPathNameA(targetPath.c_str(), shortPath, MAX_PATH);
    return shortPath;
}
