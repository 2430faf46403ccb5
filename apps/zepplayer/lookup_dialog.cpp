// The dialog's look-up handlers: entering and leaving look-up, the pointer,
// the tool window's buttons, and the recogniser, loaded once on a thread of
// its own and kept.
#include <chrono>
#include <filesystem>
#include <future>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "sys/utf.h"
#include "zep/character_lookup.h"
#include "zepplayer/dialog.h"
#include "zepplayer/dialog_animation.h"
#include "zepplayer/dialog_layout.h"
#include "zepplayer/ink_trail.h"
#include "zepplayer/lookup_canvas.h"
#include "zepplayer/lookup_mode.h"
#include "zepplayer/lookup_source.h"

namespace fs = std::filesystem;

namespace player {

namespace {

struct LoadOutcome {
    FindCandidates find;
    std::string error;
};

// Only the dialog's thread touches these. The loader thread has its load
// and its promise, and hands the outcome back through Loading.
LocateCandidates Locate;
std::vector<fs::path> SourceFolders;
FindCandidates Find;
std::thread Loader;
std::future<LoadOutcome> Loading;
std::optional<LookupSession> Lookup;
LookupPanel Shown;

void Show(LookupPanel panel) {
    Shown = std::move(panel);
    DialogWindow->ShowLookup(Shown);
}

// The tool window with nothing but why look-up is not there.
void ShowReason(std::string reason) {
    LookupPanel panel;
    panel.shown = true;
    panel.status = std::move(reason);
    Show(std::move(panel));
}

void RepaintCanvas() { DialogWindow->RequestRepaint(RepaintArea::Canvas, false); }

// The candidates for the strokes as they are now, in the tool window.
void Search() {
    Lookup->candidates.clear();
    if (Find && !Lookup->strokes.empty()) {
        Lookup->candidates = Find(Lookup->strokes, kLookupCandidates);
        if (Lookup->candidates.size() > kLookupCandidates) {
            Lookup->candidates.resize(kLookupCandidates);
        }
    }
    Show(PanelFor(*Lookup, static_cast<bool>(Find)));
}

// Starts loading the recogniser; false, with error saying why, when its
// files are missing or there is no thread for it.
bool StartLoad(std::string& error) {
    if (!Locate) {
        error = "this player has no handwriting recogniser";
        return false;
    }
    LoadCandidates load = Locate(SourceFolders, error);
    if (!load) return false;
    std::promise<LoadOutcome> promise;
    std::future<LoadOutcome> outcome = promise.get_future();
    DialogHost* host = DialogWindow;
    try {
        Loader = std::thread([load = std::move(load), promise = std::move(promise), host]() mutable {
            LoadOutcome loaded;
            loaded.find = load(loaded.error);
            promise.set_value(std::move(loaded));
            host->PostLookupReady();
        });
    } catch (const std::system_error& e) {
        error = std::string("cannot load the handwriting model: ") + e.what();
        return false;
    }
    Loading = std::move(outcome);
    return true;
}

void Start() {
    if (Lookup) return;
    if (!Find && !Loading.valid()) {
        std::string error;
        if (!StartLoad(error)) return ShowReason(std::move(error));
    }
    // The canvas is look-up's now; the character stays loaded underneath,
    // and so does a stroke shown by ">".
    LeavePractice();
    StopAnimation();
    ClearFrame();
    Lookup.emplace();
    Show(PanelFor(*Lookup, static_cast<bool>(Find)));
    DialogWindow->RequestRepaint(RepaintArea::Client, true);
}

void Edit(bool (*change)(LookupSession&)) {
    if (!Lookup || Lookup->writing || !change(*Lookup)) return;
    Search();
    RepaintCanvas();
}

}  // namespace

void SetCandidateSource(LocateCandidates locate, std::vector<fs::path> data_folders) {
    Locate = std::move(locate);
    SourceFolders = std::move(data_folders);
    Find = nullptr;
}

bool LookingUp() { return Lookup.has_value(); }

void LeaveLookup() {
    if (!Shown.shown) return;
    const bool was_active = Lookup.has_value();
    Lookup.reset();
    Show({});
    if (was_active) DialogWindow->RequestRepaint(RepaintArea::Client, true);
}

void EndLookup() {
    if (Loader.joinable()) Loader.join();
    Loading = {};
    Find = nullptr;
}

std::optional<std::string> ComposeLookupCanvas(gfx::Bitmap& target, const gfx::Rect& area) {
    if (!Lookup) return std::nullopt;
    ComposeLookup(target, area, *Lookup);
    // The counter counts a character's strokes, which a drawing has not.
    return std::string();
}

void LookupPointerDown(gfx::PointF at) {
    if (!OnCanvas(at)) return;
    BeginLookupInk(*Lookup, at);
    RepaintCanvas();
}

void LookupPointerMove(gfx::PointF at) {
    if (!Lookup->writing) return;
    ExtendLookupInk(*Lookup, at);
    RepaintCanvas();
}

void LookupPointerUp(gfx::PointF at) {
    if (!Lookup->writing) return;
    if (FinishLookupInk(*Lookup, at)) Search();
    RepaintCanvas();
}

void OnLookup(LookupAction action) {
    switch (action) {
        case LookupAction::Start:
            Start();
            break;
        case LookupAction::Undo:
            Edit(UndoLookupStroke);
            break;
        case LookupAction::Clear:
            Edit(ClearLookup);
            break;
        case LookupAction::Leave:
            LeaveLookup();
            break;
    }
}

void OnLookupCandidate(size_t n) {
    if (!Lookup || n >= Lookup->candidates.size()) return;
    const std::string name = Lookup->candidates[n];
    std::string error;
    const std::optional<fs::path> script =
        FindCharacterScript(sys::Utf8ToUtf16(name), SourceFolders, error);
    if (!script) {
        LookupPanel panel = PanelFor(*Lookup, true);
        panel.status = "Cannot load " + name + (error.empty() ? "" : ": " + error);
        return Show(std::move(panel));
    }
    // The load leaves look-up.
    OnDropFiles({*script});
    OnCommand(kIdPlay);
}

void OnLookupReady() {
    using namespace std::chrono_literals;
    if (!Loading.valid() || Loading.wait_for(0s) != std::future_status::ready) return;
    LoadOutcome outcome = Loading.get();
    Loader.join();
    Find = std::move(outcome.find);
    if (!Lookup) return;
    if (Find) return Search();
    // The files were there but did not load: as when they are missing.
    Lookup.reset();
    ShowReason(std::move(outcome.error));
    DialogWindow->RequestRepaint(RepaintArea::Client, true);
}

LookupPanel CurrentLookup() { return Shown; }

}  // namespace player
