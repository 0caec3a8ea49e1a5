// The inspection report as lines of text: the image, one line per channel, one per finding
// (what, where, how strong, and the limit it passed), and the verdict last.
#ifndef SCAN_FS_INSPECTION_REPORT_TEXT_H
#define SCAN_FS_INSPECTION_REPORT_TEXT_H

#include <string>
#include <vector>

#include "inspection/inspection_report.h"

std::vector<std::string> ReportLines(const InspectionReport& report);

// "no defect found", "1 defect found", "N defects found", or "not judged".
std::string Verdict(const InspectionReport& report);

// The names the report gives: "red", "green", "blue", "all channels"; "dead columns", ...
const char* ChannelName(ImageChannel channel);
const char* FindingName(FindingKind kind);

#endif
