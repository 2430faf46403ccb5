// felmar's work: decoding and encoding a picture, decoding the largest region
// file, and the whole program against a process that only reads its input.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "gfx/bitmap.h"
#include "picture/picture.h"
#include "picture/trace.h"
#include "test_picture.h"
#include "zep/region_encode.h"
#include "zep/region_format.h"

namespace {

rgntest::Picture Canvas(const std::function<bool(int32_t, int32_t)>& black) {
    rgntest::Picture picture = rgntest::WhitePicture(rgn::kCanvasSide, rgn::kCanvasSide);
    for (int32_t y = 0; y < picture.height; ++y) {
        for (int32_t x = 0; x < picture.width; ++x) {
            if (black(x, y)) picture.at(x, y) = gfx::kBlack;
        }
    }
    return picture;
}

bool Checker(int32_t x, int32_t y) { return (x + y) % 2 == 0; }

// What felmar does with a decoded picture: its black pixels straight to the file.
void Encode(benchmark::State& state, const rgntest::Picture& picture) {
    const rgn::BlackSquare square = rgntest::ToBlackSquare(picture);
    size_t size = 0;
    for (auto _ : state) {
        std::vector<uint8_t> file;
        rgn::EncodeRegion(file, square.black);
        size = file.size();
        benchmark::DoNotOptimize(file.data());
    }
    state.counters["file_bytes"] = static_cast<double>(size);
}

void BM_EncodeAllBlack(benchmark::State& state) {
    Encode(state, Canvas([](int32_t, int32_t) { return true; }));
}
BENCHMARK(BM_EncodeAllBlack)->Unit(benchmark::kMicrosecond);

// The worst case: 32,258 single pixels, none of which merges with another.
void BM_EncodeCheckerboard(benchmark::State& state) { Encode(state, Canvas(Checker)); }
BENCHMARK(BM_EncodeCheckerboard)->Unit(benchmark::kMicrosecond);

// The same through a region, as for a shape from anywhere.
void BM_TraceEncodeCheckerboard(benchmark::State& state) {
    const rgn::BlackSquare square = rgntest::ToBlackSquare(Canvas(Checker));
    for (auto _ : state) {
        std::vector<uint8_t> file;
        rgn::EncodeRegion(file, rgn::TraceBitmap(square, rgn::kCanvasSide));
        benchmark::DoNotOptimize(file.data());
    }
}
BENCHMARK(BM_TraceEncodeCheckerboard)->Unit(benchmark::kMicrosecond);

void BM_DecodeLargestFile(benchmark::State& state) {
    const rgn::BlackSquare square = rgntest::ToBlackSquare(Canvas(Checker));
    std::vector<uint8_t> file;
    rgn::EncodeRegion(file, square.black);
    if (file.size() != rgn::kMaxFileSize) state.SkipWithError("not the largest file");
    for (auto _ : state) {
        gfx::MaybeRegion region = rgn::RegionFromBytes(file);
        benchmark::DoNotOptimize(region);
    }
}
BENCHMARK(BM_DecodeLargestFile)->Unit(benchmark::kMicrosecond);

void BM_DecodeCheckerboardBmp(benchmark::State& state) {
    const std::vector<uint8_t> bmp =
        rgntest::WriteBmp(Canvas(Checker), 24, rgntest::RowOrder::BottomUp);
    for (auto _ : state) {
        rgn::PictureResult picture = rgn::DecodePicture(bmp);
        benchmark::DoNotOptimize(picture);
    }
}
BENCHMARK(BM_DecodeCheckerboardBmp)->Unit(benchmark::kMicrosecond);

// Whole processes, in wall time: felmar on the checkerboard picture against
// cat reading the same file, both started through the shell.
class CheckerboardFile {
public:
    CheckerboardFile() {
        std::string dir =
            (std::filesystem::temp_directory_path() / "picture_bench.XXXXXX").string();
        if (mkdtemp(dir.data())) dir_ = dir;
        path_ = dir_ / "checker.bmp";
        const std::vector<uint8_t> bmp =
            rgntest::WriteBmp(Canvas(Checker), 24, rgntest::RowOrder::BottomUp);
        std::ofstream(path_, std::ios::binary)
            .write(reinterpret_cast<const char*>(bmp.data()),
                   static_cast<std::streamsize>(bmp.size()));
    }
    ~CheckerboardFile() {
        std::error_code ignored;
        if (!dir_.empty()) std::filesystem::remove_all(dir_, ignored);
    }
    CheckerboardFile(const CheckerboardFile&) = delete;
    CheckerboardFile& operator=(const CheckerboardFile&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path dir_;
    std::filesystem::path path_;
};

void RunCommand(benchmark::State& state, const std::string& command) {
    const CheckerboardFile picture;
    const std::string line =
        command + " '" + picture.path().string() + "'" + (command == "cat" ? " > /dev/null" : "");
    for (auto _ : state) {
        if (std::system(line.c_str()) != 0) state.SkipWithError(("failed: " + line).c_str());
    }
}

void BM_ProcessFelmarCheckerboard(benchmark::State& state) { RunCommand(state, FELMAR_PATH); }
BENCHMARK(BM_ProcessFelmarCheckerboard)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ProcessCatCheckerboard(benchmark::State& state) { RunCommand(state, "cat"); }
BENCHMARK(BM_ProcessCatCheckerboard)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
