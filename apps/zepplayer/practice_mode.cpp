#include "zepplayer/practice_mode.h"

#include <utility>

#include "zep/region_load.h"
#include "zepplayer/ink_trail.h"

namespace player {

namespace {

// After this many mistakes on one stroke, every further one shows its sweep.
constexpr int kMistakesBeforeHint = 3;
std::string MistakeNote(const practice::StrokeResult& result) {
    switch (result.reason) {
        case practice::Reason::Backwards:
            return "backwards";
        case practice::Reason::LaterStroke:
            // Numbered from 0, as the counter numbers strokes.
            if (result.matches) return "that is stroke " + std::to_string(*result.matches);
            return "try again";
        case practice::Reason::Off:
        case practice::Reason::None:
            break;
    }
    return "try again";
}

std::string ResultNote(int mistakes) {
    if (mistakes == 0) return "no mistakes";
    if (mistakes == 1) return "1 mistake";
    return std::to_string(mistakes) + " mistakes";
}

}  // namespace

std::optional<PracticeSession> StartSession(practice::Mode mode,
                                            std::span<const StrokeCommand> commands,
                                            std::span<const std::filesystem::path> region_files) {
    std::shared_ptr<const practice::CharacterModel> model =
        practice::BuildCharacterModel(commands, region_files);
    if (!model || practice::StrokeCount(*model) == 0) return std::nullopt;
    PracticeSession session;
    session.mode = mode;
    for (size_t n = 0; n < practice::StrokeCount(*model); ++n) {
        gfx::MaybeRegion shape = LoadStrokeRegion(region_files, n);
        if (!shape) return std::nullopt;
        session.shapes.push_back(std::move(*shape));
    }
    session.model = model;
    session.judge.emplace(std::move(model), mode);
    return session;
}

void BeginInk(PracticeSession& session, gfx::PointF at) {
    EndFlash(session);
    session.note.clear();
    session.ink.assign(1, at);
    session.writing = true;
}

void ExtendInk(PracticeSession& session, gfx::PointF at) {
    if (session.writing) ExtendTrail(session.ink, at);
}

StrokeOutcome FinishInk(PracticeSession& session, gfx::PointF at) {
    if (!session.writing) return {};
    ExtendInk(session, at);
    session.writing = false;
    std::vector<gfx::PointF> ink = std::move(session.ink);
    session.ink.clear();
    practice::Judge& judge = *session.judge;
    const practice::StrokeResult result = judge.Add(TrailInk(ink));
    StrokeOutcome outcome;
    switch (result.verdict) {
        case practice::Verdict::Ignored:
            return outcome;
        case practice::Verdict::Correct:
            session.flash = PracticeFlash::Accepted;
            outcome.accepted = true;
            if (judge.complete()) session.note = ResultNote(judge.mistakes());
            break;
        case practice::Verdict::Mistake:
            session.flash = PracticeFlash::Mistake;
            session.mistaken_ink = std::move(ink);
            session.note = MistakeNote(result);
            if (judge.mistakes_on_expected() >= kMistakesBeforeHint) {
                outcome.hint = judge.expected();
            }
            break;
    }
    outcome.judged = true;
    return outcome;
}

void EndFlash(PracticeSession& session) {
    session.flash = PracticeFlash::None;
    session.mistaken_ink.clear();
}

bool SessionComplete(const PracticeSession& session) {
    return session.judge && session.judge->complete();
}

practice::Placement SessionPlacement(const PracticeSession& session) {
    return session.judge ? session.judge->placement() : practice::Placement{};
}

}  // namespace player
