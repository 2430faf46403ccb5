// zepplayer: plays how one kanji is written, stroke by stroke.
//
// zepplayer [SCRIPT.zep]: the script, if named, is loaded at start. Qt's own
// options (such as -platform) are taken out of the words first. The exit code
// is always 0.
#include <QApplication>

#include <filesystem>
#include <optional>

#include "player/shell_qt/player_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::optional<std::filesystem::path> argument;
    // The path's bytes are taken as they stand: the system's own names.
    if (argc > 1) argument = std::filesystem::path(argv[1]);
    shell_qt::PlayerWindow window(argument);
    window.exec();
    return 0;
}
