#include "export/worksheet_layout.h"

#include <cmath>

namespace player {

namespace {

constexpr double kA4Width = 210 * kPointsPerMm;
constexpr double kA4Height = 297 * kPointsPerMm;
constexpr double kLetterWidth = 8.5 * 72;
constexpr double kLetterHeight = 11 * 72;

constexpr double kHeadingHeight = 22 * kPointsPerMm;
constexpr double kStripCell = 12 * kPointsPerMm;
constexpr double kPracticeCell = 18 * kPointsPerMm;
constexpr double kStripGap = 3 * kPointsPerMm;   // between the strip and the practice rows
constexpr double kBlockGap = 8 * kPointsPerMm;   // between two blocks
constexpr double kFooter = 10 * kPointsPerMm;    // the page number's line, inside the margin

size_t CellsAcross(double width, double cell) {
    return static_cast<size_t>(std::floor(width / cell));
}

size_t RowsFor(size_t cells, size_t across) { return (cells + across - 1) / across; }

double BlockHeight(size_t strokes, size_t strip_across, int rows) {
    return kHeadingHeight + static_cast<double>(RowsFor(strokes, strip_across)) * kStripCell +
           kStripGap + rows * kPracticeCell;
}

// Cells of side `cell` from `top` down, `across` to a row, the first row's
// first cell at left.
std::vector<Box> Cells(size_t count, size_t across, double left, double top, double cell) {
    std::vector<Box> cells;
    for (size_t i = 0; i < count; ++i) {
        const auto column = static_cast<double>(i % across);
        const auto row = static_cast<double>(i / across);
        cells.push_back({left + column * cell, top - (row + 1) * cell, cell, cell});
    }
    return cells;
}

BlockPlace PlaceBlock(size_t page, double left, double top, size_t strokes, size_t strip_across,
                      size_t practice_across, int rows) {
    BlockPlace block;
    block.page = page;
    block.heading = {left, top - kHeadingHeight, kHeadingHeight, kHeadingHeight};
    const double strip_top = top - kHeadingHeight;
    block.strip = Cells(strokes, strip_across, left, strip_top, kStripCell);
    const double practice_top =
        strip_top - static_cast<double>(RowsFor(strokes, strip_across)) * kStripCell - kStripGap;
    block.practice = Cells(static_cast<size_t>(rows) * practice_across, practice_across, left,
                           practice_top, kPracticeCell);
    block.practice_columns = practice_across;
    return block;
}

}  // namespace

std::optional<WorksheetLayout> LayOutWorksheet(std::span<const size_t> stroke_counts, Paper paper,
                                               int rows) {
    if (rows < 1) return std::nullopt;
    WorksheetLayout layout;
    layout.page_width = paper == Paper::A4 ? kA4Width : kLetterWidth;
    layout.page_height = paper == Paper::A4 ? kA4Height : kLetterHeight;
    layout.page_number_baseline = kWorksheetMargin + kFooter / 3;
    const double left = kWorksheetMargin;
    const double width = layout.page_width - 2 * kWorksheetMargin;
    const double top = layout.page_height - kWorksheetMargin;
    const double room = top - kWorksheetMargin - kFooter;
    const size_t strip_across = CellsAcross(width, kStripCell);
    const size_t practice_across = CellsAcross(width, kPracticeCell);

    double at = top;  // where the next block starts on the current page
    size_t page = 0;
    for (const size_t strokes : stroke_counts) {
        const double height = BlockHeight(strokes, strip_across, rows);
        if (height > room) return std::nullopt;
        if (at - height < top - room) {
            ++page;
            at = top;
        }
        layout.blocks.push_back(
            PlaceBlock(page, left, at, strokes, strip_across, practice_across, rows));
        at -= height + kBlockGap;
    }
    layout.pages = layout.blocks.empty() ? 0 : page + 1;
    return layout;
}

}  // namespace player
