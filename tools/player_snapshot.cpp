// player_snapshot: what the player shows and saves for a script, without a
// window: the dialog's own handlers run with a host that only records.
//
//   player_snapshot SCRIPT.zep OUTPUT_DIR
//
// writes into OUTPUT_DIR, for the script loaded at start:
//   canvas.bmp       the 254 by 254 canvas as the window paints it (32-bit)
//   saved.bmp        what "Save BMP" writes
//   next-canvas.bmp  the canvas after ">"
//   next-counter.txt the stroke counter's text after ">"
// The Windows window check compares the Windows program with these.
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "animation/bmpwrite.h"
#include "gfx/bitmap.h"
#include "sys/files.h"
#include "zepplayer/dialog.h"
#include "zepplayer/dialog_layout.h"
#include "zepplayer/player_state.h"

namespace fs = std::filesystem;

namespace {

class RecordingHost final : public player::DialogHost {
public:
    explicit RecordingHost(fs::path save_path) : save_path_(std::move(save_path)) {}
    void RequestRepaint(player::RepaintArea /*area*/, bool /*erase*/) override {}
    void SetCounterText(const std::string& text) override { counter_ = text; }
    void EndDialog(int32_t /*result*/) override {}
    std::optional<player::SaveChoice> AskSavePath() override {
        return player::SaveChoice{save_path_};
    }
    void PlayClick() override {}
    void BringToFront() override {}
    // No animation runs, so ">" has nothing to wait for.
    void Sleep(int32_t /*ms*/) override {}
    // Nor does practice.
    void StartTimer(int32_t /*ms*/) override {}

    [[nodiscard]] const std::string& counter() const { return counter_; }

private:
    fs::path save_path_;
    std::string counter_;
};

bool WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::error_code ec;
    return sys::ReplaceFileContents(path, bytes, ec);
}

bool WriteCanvas(const fs::path& path) {
    std::optional<gfx::Bitmap> canvas =
        gfx::Bitmap::Create(player::kCanvasSide, player::kCanvasSide, gfx::PixelFormat::Rgb32);
    if (!canvas) return false;
    player::OnPaint(*canvas, player::kCanvas);
    const std::optional<std::vector<uint8_t>> file = player::EncodeBitmapFile(*canvas);
    return file && WriteFile(path, *file);
}

bool Record(const fs::path& script, const fs::path& out) {
    const fs::path saved = out / "saved.bmp";
    // A save that fails must not leave an older file to be taken for its own.
    std::error_code ec;
    fs::remove(saved, ec);
    RecordingHost host{saved};
    player::OnInitDialog(host, script);
    if (player::Commands.empty() || !WriteCanvas(out / "canvas.bmp")) return false;
    player::OnCommand(player::kIdSaveBmp);
    if (!fs::exists(saved, ec)) return false;
    player::OnCommand(player::kIdNext);
    if (!WriteCanvas(out / "next-canvas.bmp")) return false;
    const std::string& counter = host.counter();
    return WriteFile(out / "next-counter.txt", {counter.begin(), counter.end()});
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "Usage: player_snapshot SCRIPT.zep OUTPUT_DIR\n");
        return 1;
    }
    const bool recorded = Record(argv[1], argv[2]);
    player::OnDestroy();
    if (!recorded) {
        std::fprintf(stderr, "player_snapshot: cannot load '%s' or write into '%s'\n", argv[1],
                     argv[2]);
        return 1;
    }
    return 0;
}
