#include "zepplayer/load_document.h"

#include <optional>
#include <utility>

#include "zep/document.h"
#include "zepplayer/player_state.h"

namespace player {

bool LoadDocument(const std::filesystem::path& path, const std::function<void()>& request_repaint,
                  std::error_code& ec) {
    Commands.clear();
    ScriptPath.clear();
    std::optional<Document> document = ReadDocument(path, ec);
    const bool loaded = document.has_value();
    if (loaded) {
        Commands = std::move(document->commands);
        RegionFiles = std::move(document->region_files);
        ScriptPath = path;
        ShownStroke = -1;
    }
    // Even a failed load has changed the document: Commands is empty.
    request_repaint();
    return loaded;
}

}  // namespace player
