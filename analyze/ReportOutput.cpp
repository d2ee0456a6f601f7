#include "analyze/ReportOutput.h"

#include "analyze/AtomicFile.h"
#include "analyze/jsonReport.h"
#include "analyze/textReport.h"

#include <cstdio>

namespace {

// An array element's lines, indented one step further.
std::string indented(const std::string& object)
{
    std::string text = "  ";
    for (const char c : object) {
        text += c;
        if (c == '\n')
            text += "  ";
    }
    return text;
}

} // namespace

ReportOutput::ReportOutput(bool asJson, std::string reportPath) : json(asJson), path(std::move(reportPath))
{
    if (json)
        write("[\n");
}

void ReportOutput::add(const FileReport& report)
{
    // A text report has nothing for a file that failed; its error goes to standard error.
    const std::string text = json ? indented(jsonReport(report)) : textReport(report);
    if (text.empty())
        return;
    const char* separator = json ? ",\n" : "\n";
    write(first ? text : separator + text);
    first = false;
}

std::string ReportOutput::finish()
{
    if (json)
        write(first ? "]\n" : "\n]\n");
    if (path.empty())
        return {};
    AtomicFile file(path);
    if (!file.stream())
        return file.error();
    std::fwrite(held.data(), 1, held.size(), file.stream());
    return file.commit() ? "" : file.error();
}

void ReportOutput::write(const std::string& text)
{
    if (!path.empty()) {
        held += text;
        return;
    }
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}
