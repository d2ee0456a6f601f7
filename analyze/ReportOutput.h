// Where the report goes: standard output, each file as soon as it and the
// ones before it are done, or a file written whole at the end (--output).
// A JSON report is one array over all files.
#pragma once

#include "analyze/FileReport.h"

#include <string>

class ReportOutput {
public:
    // `path` empty: standard output.
    ReportOutput(bool json, std::string path);

    void add(const FileReport& report);
    // Ends the report; empty on success, else why the file could not be written.
    std::string finish();

private:
    void write(const std::string& text);

    const bool json;
    const std::string path;
    std::string held;
    bool first = true;
};
