// Where look-up's candidates come from. The dialog is given a way to find
// the recogniser's files, which is quick, and gets from it the load, which
// is slow and runs on a thread of its own; the load gives the search, which
// the dialog's thread calls after each stroke. Tests give fakes of each.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "practice/ink.h"

namespace player {

// The characters the strokes (canvas pixels, in the order written) most
// likely are, best first, at most count of them.
using FindCandidates =
    std::function<std::vector<std::string>(std::span<const practice::Ink> strokes, size_t count)>;

// Loads what the search needs: an empty search, with error saying why, when
// it cannot.
using LoadCandidates = std::function<FindCandidates(std::string& error)>;

// Finds the files the load needs in the data folders: an empty load, with
// error saying why, when one is missing.
using LocateCandidates = std::function<LoadCandidates(
    const std::vector<std::filesystem::path>& data_folders, std::string& error)>;

// The source the next load takes, and the data folders it and a chosen
// candidate are found in: the program gives the handwriting recogniser (see
// lookup_recognizer.h), tests give fakes. A search loaded already is
// dropped; no load may be running.
void SetCandidateSource(LocateCandidates locate,
                        std::vector<std::filesystem::path> data_folders);

}  // namespace player
