// What the judge precomputes for one character: for each stroke its pixels,
// each with its reveal time, and a grid that finds the pixel nearest to any
// point at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "gfx/geometry.h"
#include "practice/ink.h"

namespace practice {

struct StrokeModel {
    size_t command = 0;            // the script's command that reveals the stroke
    bool direction_judged = true;  // false for a Draw: it has no sweep
    std::vector<Point> pixels;     // pixel centres
    // Per pixel, the share of the stroke revealed before it, from 0 to 1. A
    // Draw's pixels take their place along the stroke's long axis instead.
    std::vector<double> times;
    std::vector<Point> path;        // centres of equal slices of reveal time, in order
    double length = 0;              // of the path
    gfx::Rect grid;                 // the box around the stroke that nearest covers
    std::vector<uint16_t> nearest;  // per grid cell, row by row: the nearest pixel
};

struct CharacterModel {
    std::vector<StrokeModel> strokes;
};

struct NearestPixel {
    double distance = 0;  // from the point to the pixel's square; 0 inside the stroke
    double time = 0;
    Point pixel;
};

// The stroke's pixel nearest to p; beyond the grid, the one nearest to the
// grid's closest cell.
[[nodiscard]] NearestPixel FindNearest(const StrokeModel& stroke, Point p);

}  // namespace practice
