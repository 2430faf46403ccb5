// Importing characters from stroke data into scripts and region files.
#pragma once

#include <atomic>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "zepkit/japanese_order.h"
#include "zepkit/order_fidelity.h"

namespace zepkit {

struct ImportResult {
    std::filesystem::path source;
    std::string error;               // empty when the character was written
    std::vector<OrderMeasures> strokes;  // in writing order
    JapaneseOrderCheck japanese_order;
};

// Reads one character's stroke data (NAME.json) and writes OUT_DIR/NAME.zep
// with OUT_DIR/NAME-00.rgn, NAME-01.rgn, ...: one sweep per stroke, each
// followed by a Wait. Region files are written before the script, so a
// script never names shapes that are not there yet. With a reference, the
// strokes follow its order where it differs without doubt.
[[nodiscard]] ImportResult ImportCharacter(const std::filesystem::path& source,
                                           const std::filesystem::path& out_dir,
                                           const ReferenceStrokes* reference = nullptr);

// Imports every source on `threads` threads; done(n) is called, from any of
// them and one call at a time, after each character, with the count so far.
[[nodiscard]] std::vector<ImportResult> ImportAll(const std::vector<std::filesystem::path>& sources,
                                                  const std::filesystem::path& out_dir,
                                                  const ReferenceStrokes* reference,
                                                  unsigned threads,
                                                  const std::function<void(size_t)>& done);

}  // namespace zepkit
