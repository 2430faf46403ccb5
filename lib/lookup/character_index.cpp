#include "lookup/character_index.h"

#include <algorithm>

namespace lookup {

void CharacterIndex::Add(const std::string& name, const std::vector<IndexedStroke>& strokes) {
    Shape shape = CharacterShape(strokes);
    if (shape.empty() || Holds(name)) return;
    const size_t index = entries_.size(), count = shape.size();
    entries_.push_back({name, std::move(shape)});
    by_name_.emplace(name, index);
    if (by_stroke_count_.size() <= count) by_stroke_count_.resize(count + 1);
    by_stroke_count_[count].push_back(index);
}

std::vector<std::string> CharacterIndex::Rank(const Shape& drawing,
                                              const std::vector<HandwritingModel::Guess>& guesses,
                                              const Tuning& tuning, size_t count) const {
    if (drawing.empty()) return {};
    // Each candidate's model score above the lowest of the guesses, for those
    // the model proposed: a guess never counts against a character, as a
    // score below zero would against one the model did not propose.
    double lowest = 0;
    for (const HandwritingModel::Guess& guess : guesses) lowest = std::min(lowest, guess.score);
    std::unordered_map<size_t, double> model_score;
    for (const HandwritingModel::Guess& guess : guesses) {
        const auto found = by_name_.find(guess.character);
        if (found != by_name_.end()) model_score.emplace(found->second, guess.score - lowest);
    }
    std::vector<size_t> pool;
    for (const auto& [index, score] : model_score) pool.push_back(index);
    const size_t m = drawing.size(), window = tuning.stroke_count_window;
    for (size_t n = m > window ? m - window : 0; n <= m + window && n < by_stroke_count_.size();
         ++n) {
        for (size_t index : by_stroke_count_[n]) {
            if (!model_score.count(index)) pool.push_back(index);
        }
    }

    std::vector<std::pair<double, size_t>> ranked;
    for (size_t index : pool) {
        double cost = MatchCost(drawing, entries_[index].shape, tuning.match);
        const auto scored = model_score.find(index);
        if (scored != model_score.end()) cost -= tuning.model_weight * scored->second;
        ranked.emplace_back(cost, index);
    }
    const size_t kept = std::min(count, ranked.size());
    std::partial_sort(ranked.begin(), ranked.begin() + static_cast<std::ptrdiff_t>(kept),
                      ranked.end());
    std::vector<std::string> names;
    for (size_t k = 0; k < kept; ++k) names.push_back(entries_[ranked[k].second].name);
    return names;
}

}  // namespace lookup
