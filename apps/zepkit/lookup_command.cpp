#include "zepkit/lookup_command.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>

#include "lookup/recognizer.h"
#include "sys/data_dirs.h"
#include "zep/character_lookup.h"
#include "zep/script.h"
#include "zepkit/json_lines.h"
#include "zepkit/progress.h"

namespace zepkit {

namespace {

namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;

constexpr char kUsage[] = "Usage: zepkit lookup [FILE]\n";
constexpr size_t kCandidates = 10;

std::unique_ptr<lookup::Recognizer> LoadRecognizer() {
    const std::vector<fs::path> folders = sys::PlayerDataFolders();
    const std::optional<fs::path> model = lookup::FindHandwritingModel(folders);
    if (!model) {
        std::fprintf(stderr, "zepkit: no handwriting model (%s); install the package %s\n",
                     lookup::kModelFileName, lookup::kModelPackage);
        return nullptr;
    }
    const std::optional<fs::path> set = player::FindCharacterStore(folders);
    if (!set) {
        std::fputs("zepkit: no kanji set to look up in; import one first\n", stderr);
        return nullptr;
    }
    std::string error;
    std::unique_ptr<lookup::Recognizer> recognizer = lookup::Recognizer::Load(*model, *set, error);
    if (!recognizer) std::fprintf(stderr, "zepkit: %s\n", error.c_str());
    return recognizer;
}

std::optional<std::vector<practice::Ink>> ParseDrawing(std::string_view line) {
    const Json json = Json::parse(line, nullptr, false);
    if (!json.is_object() || !json.contains("strokes")) return std::nullopt;
    return ParseStrokes(json["strokes"]);
}

}  // namespace

int LookupCommand(const std::vector<std::u16string>& words) {
    if (words.size() > 1 || (words.size() == 1 && words[0].starts_with(u"--"))) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::optional<fs::path> file =
        words.empty() ? std::nullopt : std::optional(fs::path(words[0]));
    std::string input;
    if (!ReadCommandInput(file, input)) return 1;
    // Every line is parsed before the model is loaded, and all are looked up
    // before anything is written, so a bad line leaves no results half written.
    std::vector<std::vector<practice::Ink>> drawings;
    size_t number = 0;
    bool ok = true;
    player::SplitString(input, "\n", [&](std::string_view line) {
        ++number;
        if (IsBlankLine(line)) return true;
        std::optional<std::vector<practice::Ink>> drawing = ParseDrawing(line);
        if (!drawing) {
            std::fprintf(stderr, "zepkit: line %zu is not a drawing\n", number);
            ok = false;
            return false;
        }
        drawings.push_back(std::move(*drawing));
        return true;
    });
    if (!ok) return 1;
    const std::unique_ptr<lookup::Recognizer> recognizer = LoadRecognizer();
    if (!recognizer) return 1;
    std::string output;
    Progress progress(drawings.size(), "looked up", "drawings");
    for (size_t i = 0; i < drawings.size(); ++i) {
        const Json line = {{"candidates", recognizer->Candidates(drawings[i], kCandidates)}};
        output += line.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n";
        progress.Update(i + 1);
    }
    std::fwrite(output.data(), 1, output.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace zepkit
