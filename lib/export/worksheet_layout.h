// Where everything of a worksheet goes: for each character a block (its
// heading, its stroke-order strip and its practice rows), blocks flowing over
// pages and never split. In PDF points (1/72 inch), y pointing up from the
// page's bottom edge.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

namespace player {

enum class Paper { A4, Letter };

inline constexpr double kPointsPerMm = 72.0 / 25.4;
inline constexpr double kWorksheetMargin = 15 * kPointsPerMm;
inline constexpr int kDefaultPracticeRows = 2;
// The first cells of each practice row hold the character to trace.
inline constexpr size_t kTraceCells = 3;

struct Box {
    double left = 0;
    double bottom = 0;
    double width = 0;
    double height = 0;
};

struct BlockPlace {
    size_t page = 0;
    Box heading;                    // the character large, its grade and stroke count beside it
    std::vector<Box> strip;         // one cell per stroke
    std::vector<Box> practice;      // the practice rows, row by row
    size_t practice_columns = 0;
};

struct WorksheetLayout {
    double page_width = 0;
    double page_height = 0;
    size_t pages = 0;
    double page_number_baseline = 0;  // centred, below every block
    std::vector<BlockPlace> blocks;
};

// One block per stroke count, in order. Nothing when a block is taller than a
// page's room (too many rows, or too many strokes), or rows is below 1.
[[nodiscard]] std::optional<WorksheetLayout> LayOutWorksheet(std::span<const size_t> stroke_counts,
                                                             Paper paper, int rows);

}  // namespace player
