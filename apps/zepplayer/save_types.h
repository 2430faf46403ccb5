// The file types of the save dialog: the canvas as a bitmap, and the exports
// of the loaded character beside it, in the order the dialog lists them.
#pragma once

#include <filesystem>

#include "zepplayer/dialog.h"

namespace player {

struct SaveType {
    const char* filter;   // what the dialog lists
    const char* pattern;  // the files it shows for it
    const char* suffix;
    SaveKind kind;
};

inline constexpr SaveType kSaveTypes[] = {
    {"Bitmap Image (*.bmp)", "*.bmp", "bmp", SaveKind::Bitmap},
    {"Animated GIF (*.gif)", "*.gif", "gif", SaveKind::AnimatedGif},
    {"Stroke order sheet (*.png)", "*.png", "png", SaveKind::StrokeSheet},
};

// The loaded script's name with the type's suffix, or nothing when no script
// is loaded.
std::filesystem::path ProposedSaveName(const SaveType& type);

}  // namespace player
