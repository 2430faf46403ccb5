// The stroke judge: a learner writes a character stroke by stroke, and each
// new stroke is judged against the character's strokes (their regions and the
// sweeps that reveal them) as correct, or as a mistake with its reason.
#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "practice/ink.h"
#include "practice/placement.h"
#include "practice/tuning.h"
#include "zep/script.h"

namespace practice {

// Trace: the character is shown and written over. Recall: an empty canvas, so
// the learner's character may be shifted and scaled as a whole.
enum class Mode { Trace, Recall };
enum class Verdict { Correct, Mistake, Ignored };
enum class Reason { None, Backwards, LaterStroke, Off };

struct StrokeResult {
    Verdict verdict = Verdict::Ignored;
    size_t expected = 0;  // the stroke expected when this one was drawn
    Reason reason = Reason::None;
    // The stroke it was taken for: expected when correct or backwards, k for
    // LaterStroke, none for Off and Ignored.
    std::optional<size_t> matches;
    bool direction_judged = true;  // false for a stroke shown at once (a D command)
};

// All the judge precomputes for one character; immutable once built.
struct CharacterModel;

// Built from a loaded document (its commands, W pauses included, and its
// region files); none when a region cannot be read or there is no stroke.
// Cheap to share between judges and threads.
std::shared_ptr<const CharacterModel> BuildCharacterModel(
    std::span<const player::StrokeCommand> commands,
    std::span<const std::filesystem::path> region_files);

size_t StrokeCount(const CharacterModel& model);
// Which command of the script reveals stroke n (for a hint that plays that one sweep).
size_t CommandOfStroke(const CharacterModel& model, size_t n);

class Judge {
public:
    Judge(std::shared_ptr<const CharacterModel> model, Mode mode, double leniency = 1.0);
    // With other thresholds than the measured ones, for measuring them.
    Judge(std::shared_ptr<const CharacterModel> model, Mode mode, double leniency,
          const Tuning& tuning);
    // Judges one new stroke; only a Correct one advances expected().
    StrokeResult Add(const Ink& ink);
    size_t expected() const;
    bool complete() const;
    int mistakes() const;              // all mistakes so far
    int mistakes_on_expected() const;  // mistakes since the expected stroke became expected
    Placement placement() const;       // identity in trace mode

private:
    std::shared_ptr<const CharacterModel> model_;
    Mode mode_;
    double leniency_;
    size_t expected_ = 0;
    int mistakes_ = 0;
    int mistakes_on_expected_ = 0;
    Placement placement_;
    Tuning tuning_;
    // In recall: points of the accepted strokes and the model points they were
    // drawn for, which place the learner's character.
    std::vector<PointPair> anchors_;
};

}  // namespace practice
