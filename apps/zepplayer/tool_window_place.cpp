#include "zepplayer/tool_window_place.h"

#include <algorithm>

namespace player {

gfx::Point ToolWindowPlace(const gfx::Rect& dialog, int32_t width, int32_t height,
                           const gfx::Rect& screen, int32_t gap) {
    gfx::Point at{dialog.right + gap, dialog.top};
    if (at.x + width > screen.right) at = {dialog.left, dialog.bottom + gap};
    // A window larger than the screen keeps its top left corner on it.
    at.x = std::clamp(at.x, screen.left, std::max(screen.left, screen.right - width));
    at.y = std::clamp(at.y, screen.top, std::max(screen.top, screen.bottom - height));
    return at;
}

}  // namespace player
