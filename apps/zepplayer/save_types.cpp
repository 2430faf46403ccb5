#include "zepplayer/save_types.h"

#include <string>

#include "zepplayer/player_state.h"

namespace player {

std::filesystem::path ProposedSaveName(const SaveType& type) {
    if (ScriptPath.empty()) return {};
    std::filesystem::path name = ScriptPath.filename();
    name.replace_extension(std::string(".") + type.suffix);
    return name;
}

}  // namespace player
