// The HTML report of every file of a call: one self-contained page (its
// plots embedded, nothing fetched from anywhere) with a table of the files'
// figures that sorts by any column when its header is clicked, and each
// file's plots below it. Files are added in the order of the call.
#pragma once

#include "analyze/FileReport.h"

#include <optional>
#include <string>
#include <vector>

class HtmlReport {
public:
    void add(const FileReport& report);
    // Writes the page whole or not at all; empty on success, else why not.
    std::string write(const std::string& path) const;

private:
    struct Cell {
        std::string text;
        // What the column sorts by; none sorts last.
        std::optional<double> value;
    };
    struct Plot {
        std::string kind;
        std::string base64;
    };
    struct Row {
        std::string file;
        std::vector<Cell> figures;
        std::vector<std::string> notes;
        std::string error;
        std::vector<Plot> plots;
    };

    std::string page() const;
    std::string table() const;
    std::string section(std::size_t index) const;

    std::vector<Row> rows;
};
