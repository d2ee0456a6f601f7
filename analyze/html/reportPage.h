// The fixed parts of the HTML report: its style sheet, the script that
// sorts its table, and the line that explains the table.
#pragma once

extern const char* const kReportStyle;
extern const char* const kReportScript;
extern const char* const kReportIntroduction;
