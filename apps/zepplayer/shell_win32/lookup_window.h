// The look-up's tool window beside the player's dialog: its status, a row of
// candidate buttons in a Japanese font, Undo and Clear. It shows what the
// dialog logic's LookupPanel says and sends its buttons back there.
#pragma once

#include <windows.h>

#include "zepplayer/dialog.h"

namespace shell_win32 {

// Creates the window, hidden, owned by the dialog; false without it.
bool CreateLookupWindow(HINSTANCE instance, HWND dialog);

// Shows, updates or hides it; it opens beside the dialog.
void ShowLookupWindow(const player::LookupPanel& panel);

// Whether window is the tool window or one of its buttons.
[[nodiscard]] bool InLookupWindow(HWND window);

}  // namespace shell_win32
