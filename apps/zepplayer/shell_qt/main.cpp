// zepplayer: plays how one kanji is written, stroke by stroke.
//
// zepplayer [SCRIPT.zep | CHARACTER]: the script, if named, is loaded at start. Qt's own
// options (such as -platform) are taken out of the words first. The exit code
// is always 0.
#include <QApplication>

#include <filesystem>
#include <optional>

#include "sys/data_dirs.h"
#include "zep/character_lookup.h"
#include "zepplayer/shell_qt/player_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::optional<std::filesystem::path> argument;
    // The path's bytes are taken as they stand: the system's own names.
    // A character that names no file is looked up in the imported set.
    if (argc > 1) argument = player::ResolveScriptArgument(argv[1], sys::PlayerDataFolders());
    shell_qt::PlayerWindow window(argument);
    window.exec();
    return 0;
}
