// The inspection report as one JSON object, for scripts (and for any document that carries
// inspections):
//   {"image": {"width", "lines", "resolution" (null when not known), "width_mm", "length_mm"},
//    "judged", "lines_received", "data_lost",
//    "channels": [{"channel", "minimum", "mean", "maximum", "standard_deviation",
//                  "share_at_zero", "share_at_full_scale", "film_base", "densest"} x 3],
//    "least_offsets": {"columns": [red, green, blue], "bands": [red, green, blue]},
//    "findings": [{"kind" ("dead_columns", "stuck_columns", "weak_columns", "strong_columns",
//                  "low_band", "high_band", "dim_channel", "clipped_at_zero",
//                  "clipped_at_full_scale"), "channel", what the kind has, "text"}],
//    "defects": N, "verdict": "no defect found" | "N defects found" | "not judged"}
// Levels are in 8-bit steps, shares from 0 to 1.
#ifndef SCAN_FS_INSPECTION_REPORT_JSON_H
#define SCAN_FS_INSPECTION_REPORT_JSON_H

#include <nlohmann/json.hpp>

#include "inspection/inspection_report.h"

nlohmann::ordered_json ReportJson(const InspectionReport& report);

#endif
