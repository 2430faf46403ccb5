#include "zepkit/judge_command.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include <nlohmann/json.hpp>

#include "practice/judge.h"
#include "sys/data_dirs.h"
#include "sys/files.h"
#include "zep/character_lookup.h"
#include "zep/document.h"
#include "zep/script.h"
#include "zepkit/command_words.h"
#include "zepkit/json_lines.h"

namespace zepkit {

namespace {

namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;

constexpr char kUsage[] = "Usage: zepkit judge SOURCE [--leniency F] [FILE]\n";
// Far beyond any use, and short of thresholds that overflow.
constexpr double kMaxLeniency = 1000;

struct JudgeWords {
    fs::path source;  // a script or a character of the set, as given
    std::optional<fs::path> input;
    double leniency = 1.0;
};

struct Session {
    std::vector<practice::Ink> strokes;
    practice::Mode mode = practice::Mode::Trace;
};

std::optional<double> ParseLeniency(const std::u16string& text) {
    std::string narrow;
    for (const char16_t c : text) {
        if (c > 0x7F) return std::nullopt;
        narrow.push_back(static_cast<char>(c));
    }
    size_t used = 0;
    double value = 0;
    try {
        value = std::stod(narrow, &used);
    } catch (const std::exception&) {
        return std::nullopt;
    }
    if (used != narrow.size() || !(value > 0) || value > kMaxLeniency) return std::nullopt;
    return value;
}

std::optional<JudgeWords> ParseWords(const std::vector<std::u16string>& words) {
    JudgeWords parsed;
    std::vector<std::u16string> positional;
    bool leniency_given = false;
    for (size_t i = 0; i < words.size(); ++i) {
        if (words[i] == u"--leniency" && i + 1 < words.size() && !leniency_given) {
            const std::optional<double> value = ParseLeniency(words[++i]);
            if (!value) return std::nullopt;
            parsed.leniency = *value;
            leniency_given = true;
        } else if (words[i].starts_with(u"--")) {
            return std::nullopt;
        } else {
            positional.push_back(words[i]);
        }
    }
    if (positional.empty() || positional.size() > 2) return std::nullopt;
    parsed.source = fs::path(positional[0]);
    if (positional.size() == 2) parsed.input = fs::path(positional[1]);
    return parsed;
}

std::optional<Session> ParseSession(std::string_view line) {
    const Json json = Json::parse(line, nullptr, false);
    if (!json.is_object() || !json.contains("strokes") || !json["strokes"].is_array()) {
        return std::nullopt;
    }
    Session session;
    if (json.contains("mode")) {
        const Json& mode = json["mode"];
        if (mode == "recall") {
            session.mode = practice::Mode::Recall;
        } else if (mode != "trace") {
            return std::nullopt;
        }
    }
    std::optional<std::vector<practice::Ink>> strokes = ParseStrokes(json["strokes"]);
    if (!strokes) return std::nullopt;
    session.strokes = std::move(*strokes);
    return session;
}

const char* VerdictName(practice::Verdict verdict) {
    switch (verdict) {
        case practice::Verdict::Correct: return "correct";
        case practice::Verdict::Mistake: return "mistake";
        case practice::Verdict::Ignored: return "ignored";
    }
    return "ignored";
}

Json ReasonName(practice::Reason reason) {
    switch (reason) {
        case practice::Reason::None: return nullptr;
        case practice::Reason::Backwards: return "backwards";
        case practice::Reason::LaterStroke: return "later-stroke";
        case practice::Reason::Off: return "off";
    }
    return nullptr;
}

std::string JudgeSession(const std::shared_ptr<const practice::CharacterModel>& model,
                         const Session& session, double leniency) {
    practice::Judge judge(model, session.mode, leniency);
    Json results = Json::array();
    for (const practice::Ink& ink : session.strokes) {
        const practice::StrokeResult r = judge.Add(ink);
        Json matches = nullptr;
        if (r.matches) matches = *r.matches;
        results.push_back({{"verdict", VerdictName(r.verdict)},
                           {"expected", r.expected},
                           {"reason", ReasonName(r.reason)},
                           {"matches", matches}});
    }
    const Json line = {
        {"results", results}, {"complete", judge.complete()}, {"mistakes", judge.mistakes()}};
    return line.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace

int JudgeCommand(const std::vector<std::u16string>& words) {
    const std::optional<JudgeWords> parsed = ParseWords(words);
    if (!parsed) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    std::string error;
    const std::optional<fs::path> source =
        player::ResolveScriptArgument(parsed->source, sys::PlayerDataFolders(), error);
    if (!source) {
        std::fprintf(stderr, "zepkit: %s\n", error.c_str());
        return 1;
    }
    std::error_code ec;
    const std::optional<player::Document> document = player::ReadDocument(*source, ec);
    const auto model =
        document ? practice::BuildCharacterModel(document->commands, document->region_files)
                 : nullptr;
    if (!model) {
        std::fprintf(stderr, "zepkit: cannot read the strokes of '%s'%s%s\n",
                     Printable(*source).c_str(), ec ? ": " : "",
                     ec ? ec.message().c_str() : "");
        return 1;
    }
    std::string input;
    if (!ReadCommandInput(parsed->input, input)) return 1;
    // Every line is read before anything is written, so a bad line leaves no
    // results half written.
    std::string output;
    size_t number = 0;
    bool ok = true;
    player::SplitString(input, "\n", [&](std::string_view line) {
        ++number;
        if (IsBlankLine(line)) return true;
        const std::optional<Session> session = ParseSession(line);
        if (!session) {
            std::fprintf(stderr, "zepkit: line %zu is not a practice session\n", number);
            ok = false;
            return false;
        }
        output += JudgeSession(model, *session, parsed->leniency);
        return true;
    });
    if (!ok) return 1;
    std::fwrite(output.data(), 1, output.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace zepkit
