// Real handwriting for calibration (gzip JSON Lines, one sample a line:
// {"char": "丁", "strokes": [[[x, y], ...], ...]} in a 1,000 box), read where
// it is at hand; it stays outside the project.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "practice/ink.h"

namespace bench {

// Each character's sample, laid on the canvas as it stands (the 1,000 box on
// the 254-pixel square); empty when the file cannot be read.
std::map<std::string, std::vector<practice::Ink>> LoadHumanSamples(
    const std::filesystem::path& path);

}  // namespace bench
