#include "zepplayer/lookup_recognizer.h"

#include <memory>
#include <optional>
#include <span>
#include <system_error>

#include "lookup/recognizer.h"
#include "zep/character_store.h"

namespace fs = std::filesystem;

namespace player {

namespace {

// The set of the first data folder that has one, as characters are found.
std::optional<fs::path> FindStore(const std::vector<fs::path>& data_folders) {
    for (const fs::path& folder : data_folders) {
        std::error_code ec;
        const fs::path store = folder / kCharacterStoreName;
        if (fs::is_regular_file(store, ec)) return store;
    }
    return std::nullopt;
}

}  // namespace

LoadCandidates LocateRecognizer(const std::vector<fs::path>& data_folders, std::string& error) {
    const std::optional<fs::path> model = lookup::FindHandwritingModel(data_folders);
    if (!model) {
        error = std::string("No handwriting model: install the package ") + lookup::kModelPackage;
        return nullptr;
    }
    const std::optional<fs::path> store = FindStore(data_folders);
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
