#include "lookup/recognizer.h"

#include <algorithm>

#include "lookup/character_index.h"
#include "lookup/handwriting_model.h"
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

}  // namespace

struct Recognizer::Parts {
    std::unique_ptr<HandwritingModel> model;
    CharacterIndex index;
    Tuning tuning;

    std::vector<HandwritingModel::Guess> Guess(std::span<const practice::Ink> kept) const {
        if (tuning.model_guesses == 0) return {};
        if (!tuning.fit_for_model) {
            return model->Classify(kept, player::kCanvasSide, tuning.model_guesses);
        }
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
        if (strokes) parts->index.Add(record.name, *strokes);
    }
    if (parts->index.size() == 0) {
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
        if (names.size() < count && parts_->index.Holds(guess.character)) {
            names.push_back(guess.character);
        }
    }
    return names;
}

std::vector<std::string> Recognizer::Candidates(std::span<const practice::Ink> strokes,
                                                size_t count) const {
    const std::vector<practice::Ink> kept = KeptStrokes(strokes);
    if (kept.empty()) return {};
    return parts_->index.Rank(DrawingShape(kept), parts_->Guess(kept), parts_->tuning, count);
}

}  // namespace lookup
