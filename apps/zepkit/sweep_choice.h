// Choosing, for each stroke, the sweep that reveals it in writing order.
#pragma once

#include "gfx/region.h"
#include "zep/script.h"
#include "zepkit/order_fidelity.h"
#include "zepkit/stroke_data.h"

namespace zepkit {

struct SweepChoice {
    player::StrokeCommand command;
    OrderMeasures order;  // of command, with the engine's own geometry
};

// Degrees per slice of a pivot sweep whose nearest pixel of the stroke lies
// `nearest` pixels from the pivot, as the search models the engine's circles.
[[nodiscard]] double ModelAngularStep(double nearest);

// The best of a search over straight sweeps (every angle) and, where no
// straight sweep does well, pivot sweeps about points around the stroke.
// The search ranks candidates on a model of the engine's bands and slices;
// the few best are then measured exactly and the best of those is taken.
// A stroke without a centre-line has no order to keep and is drawn at once.
[[nodiscard]] SweepChoice ChooseSweep(const gfx::Region& stroke, const Polyline& median);

}  // namespace zepkit
