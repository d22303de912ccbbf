#pragma once
// The specification as a report (styled lines with tab-separated columns), as
// the clipboard block, as aligned plain text and as JSON.
#include <string>
#include <vector>

#include "spec/specification.h"

namespace velmora {

enum ReportStyle : unsigned { rsPlain = 0, rsBold = 1, rsUnderline = 2, rsItalic = 4 };

struct ReportLine {
    unsigned style = rsPlain;
    std::string text;  // columns separated by tabs
};

// The report lines in order; caption is the product name and version.
std::vector<ReportLine> BuildReportLines(const TSpecification& spec, const std::string& caption);
// The report with its columns aligned, for a terminal or a plain-text mail.
std::string ReportPlainText(const std::vector<ReportLine>& lines);
// Twelve lines joined with "\r\n", none after the last.
std::string ClipboardText(const TSpecification& spec);
// Every value of the specification in reference units.
std::string SpecificationJson(const TSpecification& spec);

}  // namespace velmora
