// The summary of an import's order fidelity, for people.
#pragma once

#include <string>
#include <vector>

#include "zepkit/import.h"

namespace zepkit {

// Stroke count, the fidelity's median, 5th percentile, minimum and shares at
// or above 0.8 and below 0.3, the median ceiling of the ties, the order
// between frames, and a histogram of the fidelity in steps of 0.05, as
// Markdown.
[[nodiscard]] std::string FidelityReport(const std::vector<ImportResult>& results);

}  // namespace zepkit
