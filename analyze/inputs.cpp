#include "analyze/inputs.h"

#include <sndfile.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>

namespace fs = std::filesystem;

namespace {

// Usual extensions of formats libsndfile reads that its own list names
// differently (it gives one extension per format).
const char* const kExtraExtensions[] = {"wave", "bwf",  "aif", "aifc", "snd",
                                        "ogg",  "opus", "mp3", "mp2",  "mp1"};
// Header-less audio cannot be read without being told its layout.
constexpr const char* kRawExtension = "raw";

std::set<std::string> audioExtensions()
{
    std::set<std::string> extensions(std::begin(kExtraExtensions), std::end(kExtraExtensions));
    int formats = 0;
    sf_command(nullptr, SFC_GET_FORMAT_MAJOR_COUNT, &formats, sizeof formats);
    for (int i = 0; i < formats; ++i) {
        SF_FORMAT_INFO format{};
        format.format = i;
        if (sf_command(nullptr, SFC_GET_FORMAT_MAJOR, &format, sizeof format) == 0 && format.extension)
            extensions.insert(format.extension);
    }
    extensions.erase(kRawExtension);
    return extensions;
}

bool isAudioFile(const fs::path& path, const std::set<std::string>& extensions)
{
    std::string extension = path.extension().string();
    if (extension.empty())
        return false;
    extension.erase(0, 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    std::error_code error;
    return extensions.count(extension) > 0 && fs::is_regular_file(path, error);
}

// Walks `folder`; appends its audio files, or an error naming what went wrong.
void addFolder(const std::string& folder, const std::set<std::string>& extensions,
               std::vector<AnalysisInput>& inputs)
{
    std::vector<std::string> files;
    std::error_code error;
    fs::recursive_directory_iterator walk(folder, fs::directory_options::skip_permission_denied, error);
    for (; !error && walk != fs::recursive_directory_iterator(); walk.increment(error))
        if (isAudioFile(walk->path(), extensions))
            files.push_back(walk->path().string());
    if (error) {
        inputs.push_back({folder, "", "unreadable folder: " + error.message()});
        return;
    }
    if (files.empty()) {
        inputs.push_back({folder, "", "folder holds no audio files"});
        return;
    }
    std::sort(files.begin(), files.end());
    for (std::string& file : files)
        inputs.push_back({std::move(file), "", ""});
}

// Two files of one name (in two folders, or with two extensions) must not
// write over each other's pictures.
void nameStems(std::vector<AnalysisInput>& inputs)
{
    std::set<std::string> taken;
    for (AnalysisInput& input : inputs) {
        const std::string stem = fs::path(input.path).stem().string();
        std::string candidate = stem;
        for (int number = 2; taken.count(candidate) > 0; ++number)
            candidate = stem + "-" + std::to_string(number);
        taken.insert(candidate);
        input.pictureStem = candidate;
    }
}

} // namespace

std::vector<AnalysisInput> collectInputs(const std::vector<std::string>& arguments)
{
    const std::set<std::string> extensions = audioExtensions();
    std::vector<AnalysisInput> inputs;
    for (const std::string& argument : arguments) {
        std::error_code error;
        if (fs::is_directory(argument, error))
            addFolder(argument, extensions, inputs);
        else
            inputs.push_back({argument, "", ""});
    }
    nameStems(inputs);
    return inputs;
}
