// Human-like writing made from a character's stroke centre-lines, for
// measuring the stroke judge: each character gets its own smooth warp of
// position, size and slant, each stroke its own offset, length and cut-short
// or overshooting ends, and the pen samples it by time, so that points crowd
// where it moves slowly, with jitter and a little tremor. Seeded: the same
// seed gives the same writing on any machine.
#pragma once

#include <cstdint>
#include <vector>

#include "practice/ink.h"

namespace bench {

// Portable random numbers (the standard distributions differ between libraries).
class Random {
public:
    explicit Random(uint64_t seed) : state_(seed) {}
    uint64_t Next();
    double Uniform(double low, double high);
    double Normal(double spread);
    size_t Below(size_t n);

private:
    uint64_t state_;
};

// Spreads in canvas pixels, or shares of a stroke's length, or of 1.
struct WritingStyle {
    double char_shift = 0;     // the whole character's shift
    double char_scale = 0;     // its size (log)
    double char_slant = 0;     // its shear
    double mean_scale = 1;     // the size the learner writes at
    double warp = 0;           // amplitude of a smooth warp across the character
    double stroke_offset = 0;  // each stroke's shift
    double stroke_length = 0;  // each stroke's change of length
    double stroke_turn = 0;    // each stroke's turn (radians)
    double end_change = 0;     // each end cut short (< 0) or overshooting (> 0)
    double end_bias = 0;       // the mean of that: pens tend to stop short
    double jitter = 0;         // each point
    double tremor = 0;         // a slow wobble across the stroke
};

// Writing over the character shown in grey, and on an empty canvas.
WritingStyle TraceStyle();
WritingStyle RecallStyle();

// One learner's way of writing one character.
struct Hand {
    WritingStyle style;
    double scale = 1, slant = 0, dx = 0, dy = 0;
    double warp_phase[4] = {0, 0, 0, 0};
    double warp_wave = 1;
};

Hand DrawHand(const WritingStyle& style, Random& random);

// The stroke along the centre-line (canvas pixels, in writing order) as the
// hand writes it, sampled as a pointer would report it.
practice::Ink WriteStroke(const std::vector<practice::Point>& median, const Hand& hand,
                          Random& random);

// Points along a polyline as a pen moving along it reports them, with
// jitter: the sampling alone, for writing that is already a person's.
practice::Ink SampleLikePen(const std::vector<practice::Point>& line, const WritingStyle& style,
                            Random& random);

}  // namespace bench
