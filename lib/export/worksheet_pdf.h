// The teacher's worksheet as a PDF file, through libharu (Debian libhpdf-dev,
// cross-built from Debian's source for Windows): for each character its
// heading, its stroke-order strip and rows of cells to trace and to write.
// Strokes are vector outlines of the regions' own pixels; the heading is text
// in libharu's built-in Japanese font, referenced by name, so that a reader
// finds and copies the character (a few old forms that its Shift JIS encoding
// lacks are drawn from their strokes instead).
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <system_error>
#include <vector>

#include "export/worksheet_layout.h"
#include "gfx/region.h"

namespace player {

struct WorksheetCharacter {
    std::u32string title;  // the character, or the name of a script that names none
    std::string grade;     // as the heading shows it: "Grade 1", "Secondary"
    std::vector<gfx::MaybeRegion> strokes;  // in writing order; none where a shape is missing
};

// The PDF's bytes; nothing when LayOutWorksheet refuses or the PDF library fails.
[[nodiscard]] std::optional<std::vector<uint8_t>> DrawWorksheetPdf(
    std::span<const WorksheetCharacter> characters, Paper paper, int rows);

// Writes that PDF in place of path's contents, or nothing (invalid_argument
// when there is no PDF to write).
bool SaveWorksheet(const std::filesystem::path& path,
                   std::span<const WorksheetCharacter> characters, Paper paper, int rows,
                   std::error_code& ec);

}  // namespace player
