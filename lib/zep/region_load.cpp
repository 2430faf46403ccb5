#include "zep/region_load.h"

#include <string>
#include <system_error>

#include "sys/files.h"
#include "zep/region_format.h"

namespace player {

gfx::MaybeRegion LoadRegionFile(const std::filesystem::path& path) {
    // The read's own success does not matter: whatever bytes it left are
    // decoded, and too few of them give no region. No region file holds more
    // than the decoder's limit, so nothing after it is read.
    std::string bytes;
    std::error_code ignored;
    sys::ReadFileStart(path, rgn::kMaxFileSize, bytes, ignored);
    return rgn::RegionFromBytes({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
}

gfx::MaybeRegion LoadStrokeRegion(std::span<const std::filesystem::path> files, size_t n) {
    if (n >= files.size()) return std::nullopt;
    return LoadRegionFile(files[n]);
}

gfx::Region LoadWholeCharacter(std::span<const StrokeCommand> commands,
                               std::span<const std::filesystem::path> files) {
    gfx::Region whole;
    size_t stroke = 0;
    for (const StrokeCommand& command : commands) {
        if (command.kind == CommandKind::Wait) continue;
        if (const gfx::MaybeRegion shape = LoadStrokeRegion(files, stroke++)) whole.Unite(*shape);
    }
    return whole;
}

}  // namespace player
