#include "zepplayer/lookup_recognizer.h"

#include <memory>
#include <optional>
#include <span>

#include "lookup/recognizer.h"
#include "zep/character_lookup.h"

namespace fs = std::filesystem;

namespace player {

LoadCandidates LocateRecognizer(const std::vector<fs::path>& data_folders, std::string& error) {
    const std::optional<fs::path> model = lookup::FindHandwritingModel(data_folders);
    if (!model) {
        error = std::string("No handwriting model: install the package ") + lookup::kModelPackage;
        return nullptr;
    }
    const std::optional<fs::path> store = FindCharacterStore(data_folders);
    if (!store) {
        error = std::string("No kanji set: no data folder holds ") + kCharacterStoreName;
        return nullptr;
    }
    return [model = *model, store = *store](std::string& load_error) -> FindCandidates {
        std::shared_ptr<const lookup::Recognizer> recognizer =
            lookup::Recognizer::Load(model, store, load_error);
        if (!recognizer) return nullptr;
        return [recognizer](std::span<const practice::Ink> strokes, size_t count) {
            return recognizer->Candidates(strokes, count);
        };
    };
}

}  // namespace player
