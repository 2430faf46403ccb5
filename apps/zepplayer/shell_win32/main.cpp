// zepplayer: plays how one kanji is written, stroke by stroke.
//
// zepplayer [SCRIPT.zep]: the script, if named, is loaded at start; further
// words are ignored. The exit code is always 0.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include "zepplayer/shell_win32/player_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*narrow line*/,
                   int /*show*/) {
    // The wide line, so that every file name arrives whole.
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
    InitCommonControls();
    shell_win32::RunPlayerDialog(instance, words && count > 1 ? words[1] : nullptr);
    LocalFree(words);
    return 0;
}
