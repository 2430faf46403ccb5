// Grading the longest text a Windows command line can carry (32,767 units).
#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "dorvik/grading.h"
#include "grades/tables.h"
#include "sys/console.h"

namespace {

constexpr size_t kLongestText = 32767;

// Kanji of every list and of none, kana, letters, digits, punctuation and
// spaces, repeated to the full length.
std::u16string MixedText() {
    std::u16string pattern;
    for (const std::u16string_view list : grade::GradeKanjiTables) pattern += list;
    pattern += u"猫〇々あいうアイウーabcＸＹＺ０１９ 、。\u3000";
    std::u16string text;
    while (text.size() < kLongestText) text += pattern;
    text.resize(kLongestText);
    return text;
}

void BM_GradeQuiet(benchmark::State& state) {
    const std::u16string text = MixedText();
    size_t written = 0;
    const grade::TextSink sink = [&written](std::u16string_view s) { written += s.size(); };
    for (auto _ : state) {
        benchmark::DoNotOptimize(grade::GradeText(text, false, sink));
    }
    benchmark::DoNotOptimize(written);
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kLongestText));
}
BENCHMARK(BM_GradeQuiet)->Unit(benchmark::kMicrosecond);

// A line per kanji, each turned into the bytes the console receives.
void BM_GradeVerboseEncoded(benchmark::State& state) {
    const std::u16string text = MixedText();
    size_t written = 0;
    const grade::TextSink sink = [&written](std::u16string_view s) {
        written += sys::EncodeForConsole(s).size();
    };
    for (auto _ : state) {
        benchmark::DoNotOptimize(grade::GradeText(text, true, sink));
    }
    benchmark::DoNotOptimize(written);
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kLongestText));
}
BENCHMARK(BM_GradeVerboseEncoded)->Unit(benchmark::kMicrosecond);

}  // namespace
