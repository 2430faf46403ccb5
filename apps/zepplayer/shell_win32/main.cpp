// zepplayer: plays how one kanji is written, stroke by stroke.
//
// zepplayer [SCRIPT.zep | CHARACTER]: the script, if named, is loaded at
// start; a character that names no file is looked up in the imported set, as
// on Linux. Further words are ignored. The exit code is always 0.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <filesystem>
#include <optional>
#include <string>

#include "sys/data_dirs.h"
#include "zep/character_lookup.h"
#include "zepplayer/lookup_recognizer.h"
#include "zepplayer/shell_win32/player_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*narrow line*/,
                   int /*show*/) {
    // The wide line, so that every file name arrives whole.
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
    std::optional<std::filesystem::path> argument;
    if (words && count > 1) {
        // A window program has no console to say why a word found nothing.
        std::string ignored;
        argument = player::ResolveScriptArgument(words[1], sys::PlayerDataFolders(), ignored);
    }
    LocalFree(words);
    InitCommonControls();
    player::SetCandidateSource(player::LocateRecognizer, sys::PlayerDataFolders());
    shell_win32::RunPlayerDialog(instance, argument ? argument->c_str() : nullptr);
    return 0;
}
