// Finding a character of the imported set by drawing it: the handwriting
// model proposes candidates, and the set's own strokes, in writing order,
// re-rank them.
#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "lookup/tuning.h"
#include "practice/ink.h"

namespace lookup {

// The file of the handwriting model, and the Debian package that installs it.
inline constexpr char kModelFileName[] = "handwriting-ja.model";
inline constexpr char kModelPackage[] = "tegaki-zinnia-japanese";

// The model in the first data folder that has one, then where the Debian
// package installs it; nothing when there is none.
[[nodiscard]] std::optional<std::filesystem::path> FindHandwritingModel(
    const std::vector<std::filesystem::path>& data_folders);

class Recognizer {
public:
    // Loads the model and the set's strokes; nothing, with error saying why,
    // when either cannot be read. Takes a few hundred milliseconds: the
    // player calls it off the dialog's thread.
    [[nodiscard]] static std::unique_ptr<Recognizer> Load(const std::filesystem::path& model,
                                                          const std::filesystem::path& store,
                                                          std::string& error);
    ~Recognizer();

    // The characters of the set that the strokes (canvas pixels, in the
    // order written) most likely are, best first, at most count of them.
    // Strokes with fewer than two distinct points are left out; no strokes
    // give no candidates. Not to be called from two threads at once.
    [[nodiscard]] std::vector<std::string> Candidates(std::span<const practice::Ink> strokes,
                                                      size_t count = 10) const;

    // With other weights than the measured ones, for measuring them.
    void SetTuning(const Tuning& tuning);
    // The handwriting model's own guesses among the set's characters, best
    // first, for comparing with it.
    [[nodiscard]] std::vector<std::string> ModelCandidates(std::span<const practice::Ink> strokes,
                                                           size_t count = 10) const;

    struct Parts;

private:
    explicit Recognizer(std::unique_ptr<Parts> parts);
    std::unique_ptr<Parts> parts_;
};

}  // namespace lookup
