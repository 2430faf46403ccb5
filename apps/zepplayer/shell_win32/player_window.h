// The player's window on Win32: the dialog from template 1, its canvas and the
// pointer on it, dropped files, the save dialog, the click and the look-up's
// tool window. Everything it shows or does for the player comes from
// zepplayer/dialog.h.
#pragma once

#include <windows.h>

#include <cstdint>

namespace shell_win32 {

// Each canvas pixel is this many device pixels across: the window's DPI over
// 96, rounded down, so the canvas stays sharp while the dialog grows with its
// font.
[[nodiscard]] int32_t CanvasScale(UINT dpi);

// Runs the modal dialog until it ends. argument is the script named on the
// command line, or null.
void RunPlayerDialog(HINSTANCE instance, const wchar_t* argument);

}  // namespace shell_win32
