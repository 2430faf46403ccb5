// Small characters on disk for the dialog's tests: a script and one region
// file per stroke, each stroke a rectangle of the canvas.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "gfx/geometry.h"

namespace dialog_test {

// Writes "<folder>/<name>.zep" with the script and "<name>-NN.rgn" for each
// stroke; returns the script's path.
std::filesystem::path WriteCharacter(const std::filesystem::path& folder, const std::string& name,
                                     const std::string& script, const std::vector<gfx::Rect>& strokes);

// Three bars: two across, one down.
inline const std::vector<gfx::Rect> kThreeBars{{40, 60, 214, 78}, {118, 20, 136, 234}, {30, 170, 224, 188}};

}  // namespace dialog_test
