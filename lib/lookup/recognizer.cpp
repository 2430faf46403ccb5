#include "lookup/recognizer.h"

#include <algorithm>
#include <unordered_map>

#include "lookup/handwriting_model.h"
#include "lookup/stroke_index.h"
#include "lookup/stroke_match.h"
#include "zep/canvas.h"
#include "zep/character_store.h"

namespace fs = std::filesystem;

namespace lookup {

namespace {

// Where Debian's package puts the model.
constexpr char kPackagedModel[] = "/usr/share/tegaki/models/zinnia/handwriting-ja.model";
// The share of the model's box a drawing fills when fitted to it, as the
// samples it learned from fill theirs.
constexpr double kFittedShare = 0.8;

struct Entry {
    std::string name;
    Shape shape;
};

// The strokes moved and scaled, as a whole, so that their box sits in the
// middle of the canvas and fills kFittedShare of it.
std::vector<practice::Ink> FittedToCanvas(std::span<const practice::Ink> strokes) {
    double left = 1e300, top = 1e300, right = -1e300, bottom = -1e300;
    for (const practice::Ink& ink : strokes) {
        for (const practice::Point& p : ink) {
            left = std::min(left, p.x), right = std::max(right, p.x);
            top = std::min(top, p.y), bottom = std::max(bottom, p.y);
        }
    }
    const double side = std::max({right - left, bottom - top, 1.0});
    const double scale = kFittedShare * player::kCanvasSide / side;
    const double cx = (left + right) / 2, cy = (top + bottom) / 2, middle = player::kCanvasSide / 2.0;
    std::vector<practice::Ink> fitted;
    for (const practice::Ink& ink : strokes) {
        practice::Ink moved;
        for (const practice::Point& p : ink) {
            moved.push_back({middle + (p.x - cx) * scale, middle + (p.y - cy) * scale});
        }
        fitted.push_back(std::move(moved));
    }
    return fitted;
}

std::vector<practice::Ink> KeptStrokes(std::span<const practice::Ink> strokes) {
    std::vector<practice::Ink> kept;
    for (const practice::Ink& ink : strokes) {
        practice::Ink distinct = practice::DistinctPoints(ink);
        if (distinct.size() >= 2) kept.push_back(std::move(distinct));
    }
    return kept;
}

}  // namespace

struct Recognizer::Parts {
    std::unique_ptr<HandwritingModel> model;
    std::vector<Entry> entries;  // by name
    std::unordered_map<std::string, size_t> by_name;
    std::vector<std::vector<size_t>> by_stroke_count;
    Tuning tuning;

    std::vector<HandwritingModel::Guess> Guess(std::span<const practice::Ink> kept) const {
        if (!tuning.fit_for_model) return model->Classify(kept, player::kCanvasSide, tuning.model_guesses);
        return model->Classify(FittedToCanvas(kept), player::kCanvasSide, tuning.model_guesses);
    }
};

std::optional<fs::path> FindHandwritingModel(const std::vector<fs::path>& data_folders) {
    std::vector<fs::path> places;
    for (const fs::path& folder : data_folders) places.push_back(folder / kModelFileName);
    places.emplace_back(kPackagedModel);
    for (const fs::path& place : places) {
        std::error_code ec;
        if (fs::is_regular_file(place, ec)) return place;
    }
    return std::nullopt;
}

Recognizer::Recognizer(std::unique_ptr<Parts> parts) : parts_(std::move(parts)) {}
Recognizer::~Recognizer() = default;

std::unique_ptr<Recognizer> Recognizer::Load(const fs::path& model, const fs::path& store,
                                             std::string& error) {
    auto parts = std::make_unique<Parts>();
    std::string reason;
    parts->model = HandwritingModel::Open(model, reason);
    if (!parts->model) {
        const std::u8string name = model.u8string();
        error = "cannot read the handwriting model '" + std::string(name.begin(), name.end()) +
                "': " + reason;
        return nullptr;
    }
    const std::optional<std::vector<player::StoredStrokePaths>> all =
        player::ReadAllStrokePaths(store, error);
    if (!all) return nullptr;
    for (const player::StoredStrokePaths& record : *all) {
        const std::optional<std::vector<IndexedStroke>> strokes =
            DecodeStrokePaths(record.stroke_paths);
        if (!strokes || strokes->empty()) continue;
        const size_t index = parts->entries.size();
        parts->entries.push_back({record.name, CharacterShape(*strokes)});
        parts->by_name.emplace(record.name, index);
        const size_t count = parts->entries.back().shape.size();
        if (parts->by_stroke_count.size() <= count) parts->by_stroke_count.resize(count + 1);
        parts->by_stroke_count[count].push_back(index);
    }
    if (parts->entries.empty()) {
        const std::u8string name = store.u8string();
        error = "the kanji set '" + std::string(name.begin(), name.end()) + "' has no characters";
        return nullptr;
    }
    return std::unique_ptr<Recognizer>(new Recognizer(std::move(parts)));
}

void Recognizer::SetTuning(const Tuning& tuning) { parts_->tuning = tuning; }

std::vector<std::string> Recognizer::ModelCandidates(std::span<const practice::Ink> strokes,
                                                     size_t count) const {
    std::vector<std::string> names;
    const std::vector<practice::Ink> kept = KeptStrokes(strokes);
    if (kept.empty()) return names;
    for (const HandwritingModel::Guess& guess : parts_->Guess(kept)) {
        if (names.size() < count && parts_->by_name.count(guess.character)) {
            names.push_back(guess.character);
        }
    }
    return names;
}

std::vector<std::string> Recognizer::Candidates(std::span<const practice::Ink> strokes,
                                                size_t count) const {
    const Parts& p = *parts_;
    const std::vector<practice::Ink> kept = KeptStrokes(strokes);
    if (kept.empty()) return {};
    const Shape drawing = DrawingShape(kept);

    // Each candidate's model score, or none for those the model did not propose.
    std::unordered_map<size_t, double> model_score;
    for (const HandwritingModel::Guess& guess : p.Guess(kept)) {
        const auto found = p.by_name.find(guess.character);
        if (found != p.by_name.end()) model_score.emplace(found->second, guess.score);
    }
    std::vector<size_t> pool;
    for (const auto& [index, score] : model_score) pool.push_back(index);
    const size_t m = drawing.size(), window = p.tuning.stroke_count_window;
    for (size_t n = m > window ? m - window : 0; n <= m + window && n < p.by_stroke_count.size();
         ++n) {
        for (size_t index : p.by_stroke_count[n]) {
            if (!model_score.count(index)) pool.push_back(index);
        }
    }

    std::vector<std::pair<double, size_t>> ranked;
    for (size_t index : pool) {
        double cost = MatchCost(drawing, p.entries[index].shape, p.tuning.match);
        const auto scored = model_score.find(index);
        if (scored != model_score.end()) cost -= p.tuning.model_weight * scored->second;
        ranked.emplace_back(cost, index);
    }
    const size_t kept_count = std::min(count, ranked.size());
    std::partial_sort(ranked.begin(), ranked.begin() + static_cast<std::ptrdiff_t>(kept_count),
                      ranked.end());
    std::vector<std::string> names;
    for (size_t k = 0; k < kept_count; ++k) names.push_back(p.entries[ranked[k].second].name);
    return names;
}

}  // namespace lookup
