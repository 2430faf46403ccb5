#include "zepplayer/dialog.h"

#include <chrono>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#include "animation/bmpwrite.h"
#include "animation/compose.h"
#include "animation/engine.h"
#include "export/animation_export.h"
#include "sys/sleep.h"
#include "zep/document.h"
#include "zepplayer/dialog_animation.h"
#include "zepplayer/dialog_layout.h"
#include "zepplayer/load_document.h"
#include "zepplayer/player_state.h"

namespace fs = std::filesystem;

namespace player {

namespace {

// "<" and ">" give a running animation this long to notice that it should stop.
constexpr int32_t kStepPause = 200;

std::thread AnimationWorker;

// Stop clears the frame and Playing under this lock, and a frame is published
// under it only while Playing is 1: once Stop has returned, an animation that
// has not yet noticed cannot put its frame back on the canvas.
std::mutex FrameGate;

class WindowEffects final : public AnimationEffects {
public:
    explicit WindowEffects(DialogHost& host) : host_(host) {}
    void Sleep(int32_t ms) override { host_.PauseAnimation(ms, Playing); }
    void PlayClick() override { host_.PlayClick(); }
    void PublishFrame(std::shared_ptr<const gfx::Bitmap> frame) override {
        const std::lock_guard lock(FrameGate);
        if (frame && Playing.load() == 0) return;
        FrameBitmap.Publish(std::move(frame));
    }
    void RequestRepaint(bool erase) override { host_.RequestRepaint(RepaintArea::Canvas, erase); }
    void BringToFront() override { host_.BringToFront(); }

private:
    DialogHost& host_;
};

std::error_code Load(const fs::path& path) {
    LeavePractice();
    LeaveLookup();
    StopAnimation();
    std::error_code ec;
    LoadDocument(
        path, [] { DialogWindow->RequestRepaint(RepaintArea::Client, true); }, ec);
    return ec;
}

void Play() {
    StopAnimation();
    ShownStroke = -1;
    StartAnimationThread(AnimationThread);
}

void Stop() {
    ShownStroke = -1;
    ClearFrame();
    DialogWindow->RequestRepaint(RepaintArea::Client, true);
}

// One stroke forward (+1) or back (-1) in step mode; from the still picture
// or an animation, to the first stroke. The step stays within RegionFiles.
void Step(int32_t direction) {
    Playing = 0;
    DialogWindow->Sleep(kStepPause);
    // An animation that has not ended within the pause would reset the stroke
    // shown when it ends; wait for it, so the press is never undone.
    StopAnimation();
    int32_t shown = ShownStroke.load();
    if (shown == -1) {
        shown = 0;
    } else if (direction > 0 && static_cast<size_t>(shown) + 1 < RegionFiles.size()) {
        ++shown;
    } else if (direction < 0 && shown > 0) {
        --shown;
    }
    ShownStroke = shown;
    ClearFrame();
    DialogWindow->RequestRepaint(RepaintArea::Client, true);
}

// The loaded character's animated GIF or stroke-order sheet, made by an
// animation of its own: the canvas, the counter and a running Play stay as
// they are. With nothing loaded there is nothing to write.
void SaveExport(const SaveChoice& choice) {
    if (ScriptPath.empty()) return;
    const Document document{Commands, RegionFiles};
    std::error_code ignored;
    if (choice.kind == SaveKind::AnimatedGif) {
        ExportGif(document, choice.path, kDefaultGifHoldMs, GifLoop::Forever, ignored);
    } else {
        ExportSheet(document, choice.path, kDefaultSheetColumns, ignored);
    }
}

// The picture the canvas shows now, saved as a black and white bitmap file,
// or an export the user chose instead. A failed save shows nothing, and
// nothing is repainted.
void SaveBmp() {
    const std::optional<SaveChoice> choice = DialogWindow->AskSavePath();
    if (!choice) return;
    if (choice->kind != SaveKind::Bitmap) {
        SaveExport(*choice);
        return;
    }
    std::optional<gfx::Bitmap> bitmap = gfx::Bitmap::Create(kCanvasSide, kCanvasSide, gfx::PixelFormat::Mono1);
    if (!bitmap) return;
    DialogWindow->SetCounterText(ComposeFrame(*bitmap, kCanvas, SharedCanvasState()));
    std::error_code ignored;
    SaveBitmapFile(choice->path, *bitmap, ignored);
}

}  // namespace

DialogHost* DialogWindow = nullptr;

void ClearFrame() {
    const std::lock_guard lock(FrameGate);
    Playing = 0;
    FrameBitmap.Clear();
}

void StopAnimation() {
    Playing = 0;
    if (AnimationWorker.joinable()) AnimationWorker.join();
}

void StartAnimationThread(std::function<void()> body) {
    StopAnimation();
    Playing = 1;
    try {
        AnimationWorker = std::thread(std::move(body));
    } catch (const std::system_error&) {
        // No animation: show the still picture, which may have left step mode.
        Playing = 0;
        DialogWindow->RequestRepaint(RepaintArea::Client, true);
    }
}

void PlayInWindow(std::span<const StrokeCommand> commands,
                  std::span<const std::filesystem::path> region_files) {
    WindowEffects effects(*DialogWindow);
    RunAnimation(commands, region_files, Playing, effects);
}

void DialogHost::Sleep(int32_t ms) { sys::SleepMilliseconds(ms); }

void DialogHost::PauseAnimation(int32_t ms, const PlayingFlag& playing) {
    playing.Pause(std::chrono::milliseconds(ms));
}

void DialogHost::ShowLookup(const LookupPanel& /*panel*/) {}

void DialogHost::PostLookupReady() {}

CanvasState SharedCanvasState() {
    return {Commands, RegionFiles, ShownStroke.load(), FrameBitmap.Current()};
}

std::error_code OnInitDialog(DialogHost& host, const std::optional<fs::path>& argument) {
    DialogWindow = &host;
    return argument ? Load(*argument) : std::error_code();
}

void OnDropFiles(const std::vector<fs::path>& files) {
    if (!files.empty()) Load(files.front());
}

void OnCommand(int32_t id) {
    // Practice and look-up give the canvas back to the buttons that show it.
    if (id == kIdPlay || id == kIdStop || id == kIdNext || id == kIdPrevious) {
        LeavePractice();
        LeaveLookup();
    }
    switch (id) {
        case kIdOk:
        case kIdCancel:
            DialogWindow->EndDialog(id);
            break;
        case kIdPlay:
            Play();
            break;
        case kIdStop:
            Stop();
            break;
        case kIdNext:
            Step(1);
            break;
        case kIdPrevious:
            Step(-1);
            break;
        case kIdSaveBmp:
            SaveBmp();
            break;
        default:
            break;
    }
}

void OnPaint(gfx::Bitmap& target, const gfx::Rect& area) {
    std::optional<std::string> counter = ComposePracticeCanvas(target, area);
    if (!counter) counter = ComposeLookupCanvas(target, area);
    if (!counter) counter = ComposeFrame(target, area, SharedCanvasState());
    DialogWindow->SetCounterText(*counter);
}

void OnDestroy() {
    LeavePractice();
    LeaveLookup();
    StopAnimation();
    EndLookup();
    DialogWindow = nullptr;
}

void AnimationThread() {
    PlayInWindow(Commands, RegionFiles);
    Playing = 0;
    ShownStroke = -1;
    DialogWindow->RequestRepaint(RepaintArea::Canvas, true);
}

}  // namespace player
