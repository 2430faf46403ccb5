#include "export/gif_encoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string_view>

#include "stb_decode.h"

namespace player {
namespace {

using export_test::Pixels;

constexpr int32_t kSide = 254;
constexpr gfx::Color kBlue{0, 0, 255};

gfx::Bitmap Canvas(int32_t width = kSide, int32_t height = kSide) {
    return *gfx::Bitmap::Create(width, height, gfx::PixelFormat::Rgb32);
}

TimedFrame Frame(const gfx::Bitmap& picture, int32_t duration_ms) {
    return {std::make_shared<const gfx::Bitmap>(picture), 0, duration_ms};
}

bool Loops(const std::vector<uint8_t>& gif) {
    constexpr std::string_view kLoop = "NETSCAPE2.0";
    return std::search(gif.begin(), gif.end(), kLoop.begin(), kLoop.end()) != gif.end();
}

// Decodes the file and checks that in every centisecond it shows the frame
// that the nominal timeline, rounded, shows then, that it ends with the last
// frame, and that no frame before it has a delay of 0, which viewers stretch.
void ExpectSameTimeline(std::span<const TimedFrame> frames, GifLoop loop) {
    const std::optional<std::vector<uint8_t>> gif = EncodeGif(frames, loop);
    ASSERT_TRUE(gif);
    EXPECT_EQ(Loops(*gif), loop == GifLoop::Forever);
    const std::optional<export_test::Animation> shown = export_test::DecodeGif(*gif);
    ASSERT_TRUE(shown);
    ASSERT_FALSE(shown->frames.empty());

    std::vector<int64_t> durations;
    for (const TimedFrame& f : frames) durations.push_back(f.duration);
    const std::vector<int64_t> expected = CentisecondDelays(durations);
    size_t i = 0;
    size_t k = 0;
    int64_t start_i = 0;
    int64_t start_k = 0;
    while (i < frames.size() && k < shown->frames.size()) {
        ASSERT_EQ(shown->delays_ms[k] % 10, 0);
        if (k + 1 < shown->frames.size()) {
            ASSERT_GT(shown->delays_ms[k], 0) << "file frame " << k;
        }
        const int64_t end_i = start_i + expected[i];
        const int64_t end_k = start_k + shown->delays_ms[k] / 10;
        if (std::min(end_i, end_k) > std::max(start_i, start_k)) {
            ASSERT_EQ(shown->frames[k].pixels, Pixels(*frames[i].frame))
                << "frame " << i << " against file frame " << k << " at " << start_i << " cs";
        }
        if (end_i <= end_k) {
            start_i = end_i;
            ++i;
        } else {
            start_k = end_k;
            ++k;
        }
    }
    int64_t total_ms = 0;
    for (const int32_t d : shown->delays_ms) total_ms += d;
    int64_t nominal_ms = 0;
    for (const int64_t d : durations) nominal_ms += d;
    EXPECT_LE(std::abs(total_ms - nominal_ms), 5);
    EXPECT_EQ(shown->frames.back().pixels, Pixels(*frames.back().frame));
}

TEST(CentisecondDelays, EveryFrameStartsWithin5MsAndNoneOf20MsShrinksBelow2Cs) {
    std::mt19937 random(15);
    constexpr int32_t kEnginePauses[] = {0, 35, 50, 200, 500, 1500};
    for (int run = 0; run < 2000; ++run) {
        std::vector<int64_t> durations(random() % 40);
        for (int64_t& d : durations) {
            d = random() % 2 ? kEnginePauses[random() % 6] : static_cast<int32_t>(random() % 1000);
        }
        const std::vector<int64_t> delays = CentisecondDelays(durations);
        ASSERT_EQ(delays.size(), durations.size());
        int64_t nominal_ms = 0;
        int64_t rounded_cs = 0;
        for (size_t i = 0; i < delays.size(); ++i) {
            ASSERT_LE(std::abs(rounded_cs * 10 - nominal_ms), 5) << "start of frame " << i;
            if (durations[i] >= 20) {
                ASSERT_GE(delays[i], 2) << "frame " << i;
            }
            nominal_ms += durations[i];
            rounded_cs += delays[i];
        }
        ASSERT_LE(std::abs(rounded_cs * 10 - nominal_ms), 5) << "the end";
    }
}

// Fills of rectangles in the canvas's colours and one more, frames left
// unchanged, frames too short to be seen, patches of noise, a first frame of
// noise that fills the coder's dictionary many times over, and a last frame
// held longer than one delay of the format can say.
std::vector<TimedFrame> RandomAnimation(uint32_t seed) {
    std::mt19937 random(seed);
    const gfx::Color colours[] = {gfx::kWhite, gfx::kBlack, gfx::kRed, kBlue};
    constexpr int32_t kDurations[] = {0, 4, 5, 6, 35, 50, 500};
    const auto coordinate = [&] { return static_cast<int32_t>(random() % (kSide + 1)); };
    const auto noise = [&](gfx::Bitmap& canvas, const gfx::Rect& r) {
        for (int32_t y = r.top; y < r.bottom; ++y) {
            for (int32_t x = r.left; x < r.right; ++x) {
                canvas.FillRect({x, y, x + 1, y + 1}, colours[random() % 4]);
            }
        }
    };
    gfx::Bitmap canvas = Canvas();
    noise(canvas, {0, 0, kSide, kSide});
    std::vector<TimedFrame> frames{Frame(canvas, 200)};
    for (int i = 0; i < 40; ++i) {
        const gfx::Rect r{coordinate() / 2, coordinate() / 2, coordinate(), coordinate()};
        switch (random() % 4) {
            case 0: break;
            case 1: noise(canvas, {r.left, r.top, r.left + 20, r.top + 20}); break;
            default: canvas.FillRect(r, colours[random() % 4]);
        }
        frames.push_back(Frame(canvas, kDurations[random() % 7]));
    }
    frames.back().duration = 700'000;
    return frames;
}

TEST(EncodeGif, ShowsEveryFrameForItsRoundedTime) {
    for (const uint32_t seed : {1u, 2u, 3u}) {
        for (const GifLoop loop : {GifLoop::Forever, GifLoop::Once}) {
            SCOPED_TRACE(seed);
            ExpectSameTimeline(RandomAnimation(seed), loop);
        }
    }
}

// Every code size from the smallest to 8 bits: n colours, then a frame that
// shifts them in a patch, so that unchanged pixels can be made transparent.
TEST(EncodeGif, KeepsEveryColourUpTo256) {
    for (const int32_t n : {1, 2, 4, 5, 9, 129, 255, 256}) {
        SCOPED_TRACE(n);
        gfx::Bitmap canvas = Canvas(n, 8);
        const auto paint = [&](int32_t x, int32_t y, int32_t c) {
            canvas.FillRect({x, y, x + 1, y + 1},
                            {static_cast<uint8_t>(c), 7, static_cast<uint8_t>(c / 3)});
        };
        for (int32_t x = 0; x < n; ++x) {
            for (int32_t y = 0; y < 8; ++y) paint(x, y, x);
        }
        const TimedFrame first = Frame(canvas, 100);
        for (int32_t x = n / 2; x < n; ++x) paint(x, 3, (x + 1) % n);
        const TimedFrame frames[] = {first, Frame(canvas, 100)};
        ExpectSameTimeline(frames, GifLoop::Forever);
    }
}

TEST(EncodeGif, StoresOnlyWhatChanged) {
    gfx::Bitmap canvas = Canvas();
    canvas.FillRect({30, 30, 220, 220}, gfx::kBlack);
    const std::vector<TimedFrame> still{Frame(canvas, 100)};
    std::vector<TimedFrame> frames{still[0], Frame(canvas, 100)};
    canvas.FillRect({100, 100, 101, 101}, gfx::kRed);
    frames.push_back(Frame(canvas, 100));
    const size_t alone = EncodeGif(still, GifLoop::Forever)->size();
    EXPECT_LT(EncodeGif(frames, GifLoop::Forever)->size(), alone + 30);
}

TEST(EncodeGif, RefusesWhatItCannotStore) {
    const gfx::Bitmap canvas = Canvas();
    gfx::Bitmap colourful = Canvas(257, 1);
    for (int32_t x = 0; x < 257; ++x) {
        colourful.FillRect({x, 0, x + 1, 1},
                           {static_cast<uint8_t>(x), static_cast<uint8_t>(x / 256), 0});
    }
    const struct {
        const char* what;
        std::vector<TimedFrame> frames;
    } cases[] = {
        {"no frames", {}},
        {"a missing picture", {Frame(canvas, 35), {nullptr, 35}}},
        {"another size", {Frame(canvas, 35), Frame(Canvas(kSide, kSide - 1), 35)}},
        {"a 1-bit picture",
         {Frame(*gfx::Bitmap::Create(kSide, kSide, gfx::PixelFormat::Mono1), 35)}},
        {"257 colours", {Frame(colourful, 35)}},
        {"a side over 65,535", {Frame(Canvas(65'536, 1), 35)}},
    };
    for (const auto& c : cases) EXPECT_FALSE(EncodeGif(c.frames, GifLoop::Forever)) << c.what;
}

}  // namespace
}  // namespace player
