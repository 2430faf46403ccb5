// The handwriting model (Zinnia's recogniser with a trained model file): a
// first list of the characters a drawing may be, from the whole model.
#pragma once

#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "practice/ink.h"

namespace lookup {

class HandwritingModel {
public:
    // Nothing, with error saying why, when the file cannot be read or is no model.
    [[nodiscard]] static std::unique_ptr<HandwritingModel> Open(const std::filesystem::path& file,
                                                                std::string& error);
    ~HandwritingModel();
    HandwritingModel(const HandwritingModel&) = delete;
    HandwritingModel& operator=(const HandwritingModel&) = delete;

    struct Guess {
        std::string character;  // UTF-8
        double score = 0;       // higher is likelier
    };
    // Up to count guesses, likeliest first, for strokes drawn in a square of
    // side `box` from (0, 0); strokes with fewer than two points are left out.
    [[nodiscard]] std::vector<Guess> Classify(std::span<const practice::Ink> strokes, double box,
                                              size_t count) const;

    struct Handles;

private:
    explicit HandwritingModel(std::unique_ptr<Handles> handles);
    std::unique_ptr<Handles> handles_;
};

}  // namespace lookup
