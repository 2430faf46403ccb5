// Importing characters from stroke data into scripts and region files, as
// records of the imported set.
#pragma once

#include <atomic>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "zep/character_store.h"
#include "zepkit/japanese_order.h"
#include "zepkit/order_fidelity.h"

namespace zepkit {

struct ImportResult {
    std::filesystem::path source;
    std::string error;               // empty when the character was written
    std::vector<OrderMeasures> strokes;  // in writing order
    player::StoredCharacter character;   // NAME.zep and NAME-NN.rgn, when imported
    JapaneseOrderCheck japanese_order;
};

// Reads one character's stroke data (NAME.json) and makes the character NAME:
// a script of one sweep per stroke, each followed by a Wait, and a region file
// per stroke. Its grade is left unknown: the grade tables belong to dorvik.
// With a reference, the strokes follow its order where it differs without doubt.
[[nodiscard]] ImportResult ImportCharacter(const std::filesystem::path& source,
                                           const ReferenceStrokes* reference = nullptr);

// Imports every source on `threads` threads; done(n) is called, from any of
// them and one call at a time, after each character, with the count so far.
[[nodiscard]] std::vector<ImportResult> ImportAll(const std::vector<std::filesystem::path>& sources,
                                                  const ReferenceStrokes* reference,
                                                  unsigned threads,
                                                  const std::function<void(size_t)>& done);

}  // namespace zepkit
