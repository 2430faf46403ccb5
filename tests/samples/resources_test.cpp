// The player's click and icon.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#define STB_IMAGE_STATIC
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

#include "generated_files.h"

namespace {

using namespace samples_test;

const fs::path kResources = kSourceDir / "resources";

uint32_t Le(const Bytes& b, size_t at, size_t size) {
    uint32_t v = 0;
    for (size_t i = size; i-- > 0;) v = v << 8 | b.at(at + i);
    return v;
}

std::string Tag(const Bytes& b, size_t at) { return std::string(b.begin() + static_cast<ptrdiff_t>(at), b.begin() + static_cast<ptrdiff_t>(at + 4)); }

TEST(Click, ComesOutOfItsGeneratorAgain) {
    const TempDir dir;
    const fs::path made = dir.path() / "click.wav";
    ASSERT_EQ(RunProgram(MAKE_CLICK_PATH, {made.string()}), 0);
    EXPECT_EQ(ReadBytes(made), ReadBytes(kResources / "click.wav"));
}

TEST(Click, IsMonoSixteenBitPcmAt44100PerSecond) {
    const Bytes wav = ReadBytes(kResources / "click.wav");
    ASSERT_EQ(wav.size(), 11566u);
    EXPECT_EQ(Tag(wav, 0), "RIFF");
    EXPECT_EQ(Le(wav, 4, 4), 11566u - 8);
    EXPECT_EQ(Tag(wav, 8), "WAVE");
    EXPECT_EQ(Tag(wav, 12), "fmt ");
    struct Field {
        const char* name;
        size_t at;
        size_t size;
        uint32_t value;
    };
    const Field fields[] = {
        {"format size", 16, 4, 18}, {"PCM", 20, 2, 1},          {"channels", 22, 2, 1},
        {"rate", 24, 4, 44100},     {"bytes per second", 28, 4, 88200}, {"block", 32, 2, 2},
        {"bits", 34, 2, 16},        {"extension size", 36, 2, 0}, {"data size", 42, 4, 11520},
    };
    for (const Field& f : fields) EXPECT_EQ(Le(wav, f.at, f.size), f.value) << f.name;
    EXPECT_EQ(Tag(wav, 38), "data");
}

std::vector<int32_t> Samples(const Bytes& wav) {
    std::vector<int32_t> samples;
    for (size_t at = 46; at + 1 < wav.size(); at += 2) samples.push_back(static_cast<int16_t>(Le(wav, at, 2)));
    return samples;
}

// Silent for 25 ms, two bursts near 1 kHz, nothing left after 115 ms.
TEST(Click, IsTwoBurstsNearOneKilohertz) {
    const std::vector<int32_t> samples = Samples(ReadBytes(kResources / "click.wav"));
    ASSERT_EQ(samples.size(), 5760u);
    struct Window {
        const char* name;
        double from_ms;
        double to_ms;
        int32_t min_peak;
        int32_t max_peak;
        bool near_1khz;
    };
    const Window windows[] = {
        {"lead-in", 0, 25, 0, 0, false},
        {"first burst", 25, 40, 9000, 9700, true},
        {"gap", 40, 50, 0, 1000, false},
        {"second burst", 50, 70, 9000, 9700, true},
        {"after the fade", 115, 5760 / 44.1, 0, 0, false},
    };
    for (const Window& w : windows) {
        const size_t from = static_cast<size_t>(w.from_ms * 44.1);
        const size_t to = std::min(samples.size(), static_cast<size_t>(w.to_ms * 44.1));
        int32_t peak = 0;
        int crossings = 0;
        for (size_t i = from; i < to; ++i) {
            peak = std::max(peak, std::abs(samples[i]));
            if (i > from && (samples[i - 1] < 0) != (samples[i] < 0)) ++crossings;
        }
        EXPECT_GE(peak, w.min_peak) << w.name;
        EXPECT_LE(peak, w.max_peak) << w.name;
        if (w.near_1khz) {
            const double hz = crossings / 2.0 / ((w.to_ms - w.from_ms) / 1000.0);
            EXPECT_GT(hz, 850) << w.name;
            EXPECT_LT(hz, 1150) << w.name;
        }
    }
}

// The Windows dialog template holds the numbers of the shared layout.
TEST(ResourceScript, ComesOutOfItsGeneratorAgain) {
    const TempDir dir;
    const fs::path made = dir.path() / "zepplayer.rc";
    ASSERT_EQ(RunProgram(MAKE_DIALOG_RC_PATH, {made.string()}), 0);
    const auto text = [](const Bytes& b) { return std::string(b.begin(), b.end()); };
    EXPECT_EQ(text(ReadBytes(made)), text(ReadBytes(kResources / "zepplayer.rc")));
}

TEST(Icon, ComesOutOfItsGeneratorAgain) {
    const TempDir dir;
    const fs::path made = dir.path() / "icon.png";
    const fs::path made_ico = dir.path() / "icon.ico";
    ASSERT_EQ(RunProgram(MAKE_ICON_PATH,
                         {(kSourceDir / "samples" / "ei").string(), made.string(), made_ico.string()}),
              0);
    EXPECT_EQ(ReadBytes(made), ReadBytes(kResources / "zepplayer.png"));
    EXPECT_EQ(ReadBytes(made_ico), ReadBytes(kResources / "zepplayer.ico"));
}

TEST(Icon, IsACharacterInRedAndBlackOnWhite) {
    const Bytes png = ReadBytes(kResources / "zepplayer.png");
    int width = 0;
    int height = 0;
    int channels = 0;
    stbi_uc* rgb =
        stbi_load_from_memory(png.data(), static_cast<int>(png.size()), &width, &height, &channels, 3);
    ASSERT_TRUE(rgb);
    const std::vector<stbi_uc> pixels(rgb, rgb + static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    stbi_image_free(rgb);
    ASSERT_EQ(width, 64);
    ASSERT_EQ(height, 64);
    int red = 0;
    int black = 0;
    for (size_t at = 0; at < pixels.size(); at += 3) {
        const int r = pixels[at];
        const int g = pixels[at + 1];
        const int b = pixels[at + 2];
        red += r > 200 && g < 80 && b < 80;
        black += r < 80 && g < 80 && b < 80;
    }
    const std::vector<stbi_uc> top_left(pixels.begin(), pixels.begin() + 3);
    EXPECT_EQ(top_left, (std::vector<stbi_uc>{255, 255, 255}));
    EXPECT_GT(red, 40);
    EXPECT_GT(black, 40);
}

}  // namespace
