// The set's characters as the look-up compares drawings with them, and the
// ranking of candidates: the handwriting model's guesses and the characters
// of about the drawing's stroke count, ordered by how well the drawn strokes
// match each one's strokes, the model's score counting a little.
#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "lookup/handwriting_model.h"
#include "lookup/stroke_index.h"
#include "lookup/stroke_match.h"
#include "lookup/tuning.h"

namespace lookup {

class CharacterIndex {
public:
    // A character with no stroke is left out; a name given twice keeps the first.
    void Add(const std::string& name, const std::vector<IndexedStroke>& strokes);
    [[nodiscard]] size_t size() const { return entries_.size(); }
    [[nodiscard]] bool Holds(const std::string& name) const { return by_name_.count(name) > 0; }

    // At most count names, best first.
    [[nodiscard]] std::vector<std::string> Rank(
        const Shape& drawing, const std::vector<HandwritingModel::Guess>& guesses,
        const Tuning& tuning, size_t count) const;

private:
    struct Entry {
        std::string name;
        Shape shape;
    };
    std::vector<Entry> entries_;
    std::unordered_map<std::string, size_t> by_name_;
    std::vector<std::vector<size_t>> by_stroke_count_;
};

}  // namespace lookup
