// What holding the import to the Japanese school order did, for people.
#pragma once

#include <string>
#include <vector>

#include "zepkit/import.h"

namespace zepkit {

// The characters and strokes in the reference's order and direction before
// and after, then every character changed and every one left as read, with
// why, as Markdown.
[[nodiscard]] std::string JapaneseOrderReport(const std::vector<ImportResult>& results);

}  // namespace zepkit
