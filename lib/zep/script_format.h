// Writing ZEP stroke scripts: the inverse of ParseScript.
#pragma once

#include <string>
#include <vector>

#include "zep/script.h"

namespace player {

// One command per line, each ended by ';', with the numbers its kind reads
// and no others: ParseScript gives the same commands back whenever the
// numbers a kind does not read are 0, as ParseScript leaves them.
[[nodiscard]] std::string FormatScript(const std::vector<StrokeCommand>& commands);

}  // namespace player
