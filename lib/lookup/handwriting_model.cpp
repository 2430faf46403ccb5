#include "lookup/handwriting_model.h"

#include <zinnia.h>

#include <algorithm>
#include <cmath>

#include "sys/files.h"

namespace lookup {

namespace {

// The model's own square: drawings are handed over in it, as it was trained.
constexpr double kModelBox = 1000;

}  // namespace

struct HandwritingModel::Handles {
    // The model is read into memory by us (so that any file name opens on any
    // system) and Zinnia reads it from there: the bytes outlive the recogniser.
    std::string bytes;
    zinnia_recognizer_t* recognizer = nullptr;
    ~Handles() {
        if (recognizer) zinnia_recognizer_destroy(recognizer);
    }
};

HandwritingModel::HandwritingModel(std::unique_ptr<Handles> handles)
    : handles_(std::move(handles)) {}

HandwritingModel::~HandwritingModel() = default;

std::unique_ptr<HandwritingModel> HandwritingModel::Open(const std::filesystem::path& file,
                                                         std::string& error) {
    auto handles = std::make_unique<Handles>();
    std::error_code ec;
    if (!sys::ReadWholeFile(file, handles->bytes, ec)) {
        error = ec.message();
        return nullptr;
    }
    handles->recognizer = zinnia_recognizer_new();
    if (!handles->recognizer ||
        !zinnia_recognizer_open_from_ptr(handles->recognizer, handles->bytes.data(),
                                         handles->bytes.size()) ||
        zinnia_recognizer_size(handles->recognizer) == 0) {
        error = "not a handwriting model";
        return nullptr;
    }
    return std::unique_ptr<HandwritingModel>(new HandwritingModel(std::move(handles)));
}

std::vector<HandwritingModel::Guess> HandwritingModel::Classify(
    std::span<const practice::Ink> strokes, double box, size_t count) const {
    std::vector<Guess> guesses;
    zinnia_character_t* character = zinnia_character_new();
    if (!character) return guesses;
    zinnia_character_set_width(character, static_cast<size_t>(kModelBox));
    zinnia_character_set_height(character, static_cast<size_t>(kModelBox));
    const double scale = kModelBox / box;
    size_t id = 0;
    for (const practice::Ink& ink : strokes) {
        if (ink.size() < 2) continue;
        for (const practice::Point& p : ink) {
            const double x = std::clamp(std::round(p.x * scale), 0.0, kModelBox);
            const double y = std::clamp(std::round(p.y * scale), 0.0, kModelBox);
            zinnia_character_add(character, id, static_cast<int>(x), static_cast<int>(y));
        }
        ++id;
    }
    if (id > 0) {
        zinnia_result_t* result = zinnia_recognizer_classify(handles_->recognizer, character, count);
        if (result) {
            for (size_t i = 0; i < zinnia_result_size(result); ++i) {
                guesses.push_back({zinnia_result_value(result, i), zinnia_result_score(result, i)});
            }
            zinnia_result_destroy(result);
        }
    }
    zinnia_character_destroy(character);
    return guesses;
}

}  // namespace lookup
