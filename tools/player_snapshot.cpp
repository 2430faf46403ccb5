// player_snapshot: what the player shows and saves for a script, without a
// window: the dialog's own handlers run with a host that only records.
//
//   player_snapshot SCRIPT.zep CANVAS.bmp SAVED.bmp
//
// CANVAS.bmp: the 254 by 254 canvas as the window paints it at start (32-bit).
// SAVED.bmp: what "Save BMP" writes at start.
// The Windows window check compares the Windows program with these.
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "gfx/bitmap.h"
#include "player/bmpwrite.h"
#include "player/dialog.h"
#include "player/dialog_layout.h"
#include "player/player_state.h"
#include "sys/files.h"

namespace fs = std::filesystem;

namespace {

class RecordingHost final : public player::DialogHost {
public:
    explicit RecordingHost(fs::path save_path) : save_path_(std::move(save_path)) {}
    void RequestRepaint(player::RepaintArea /*area*/, bool /*erase*/) override {}
    void SetCounterText(const std::string& /*text*/) override {}
    void EndDialog(int32_t /*result*/) override {}
    std::optional<fs::path> AskSavePath() override { return save_path_; }
    void PlayClick() override {}
    void BringToFront() override {}

private:
    fs::path save_path_;
};

bool WriteCanvas(const fs::path& path) {
    std::optional<gfx::Bitmap> canvas =
        gfx::Bitmap::Create(player::kCanvasSide, player::kCanvasSide, gfx::PixelFormat::Rgb32);
    if (!canvas) return false;
    player::OnPaint(*canvas, player::kCanvas);
    const std::optional<std::vector<uint8_t>> file = player::EncodeBitmapFile(*canvas);
    std::error_code ec;
    return file && sys::ReplaceFileContents(path, *file, ec);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "Usage: player_snapshot SCRIPT.zep CANVAS.bmp SAVED.bmp\n");
        return 1;
    }
    // A save that fails must not leave an older file to be taken for its own.
    std::error_code ec;
    fs::remove(argv[3], ec);
    RecordingHost host{fs::path(argv[3])};
    player::OnInitDialog(host, fs::path(argv[1]));
    const bool loaded = !player::Commands.empty();
    const bool painted = loaded && WriteCanvas(argv[2]);
    if (painted) player::OnCommand(player::kIdSaveBmp);
    player::OnDestroy();
    if (!painted || !fs::exists(argv[3])) {
        std::fprintf(stderr, "player_snapshot: cannot load '%s' or write the pictures\n", argv[1]);
        return 1;
    }
    return 0;
}
