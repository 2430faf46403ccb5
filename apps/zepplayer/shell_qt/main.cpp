// zepplayer: plays how one kanji is written, stroke by stroke.
//
// zepplayer [SCRIPT.zep | CHARACTER]: the script, if named, is loaded at start. Qt's own
// options (such as -platform) are taken out of the words first. When the word
// names nothing that loads, one line on standard error says why and the window
// opens empty. The exit code is always 0.
#include <QApplication>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include "sys/data_dirs.h"
#include "zep/character_lookup.h"
#include "zep/document.h"
#include "zepplayer/lookup_recognizer.h"
#include "zepplayer/shell_qt/player_window.h"

namespace {

std::string Printable(const std::filesystem::path& path) {
    const std::u8string name = path.u8string();
    return {name.begin(), name.end()};
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::optional<std::filesystem::path> argument;
    // The path's bytes are taken as they stand: the system's own names.
    // A character that names no file is looked up in the imported set.
    if (argc > 1) {
        std::string error;
        argument = player::ResolveScriptArgument(argv[1], sys::PlayerDataFolders(), error);
        if (!argument) std::fprintf(stderr, "zepplayer: %s\n", error.c_str());
    }
    player::SetCandidateSource(player::LocateRecognizer, sys::PlayerDataFolders());
    shell_qt::PlayerWindow window(argument);
    if (const std::error_code& ec = window.ArgumentError()) {
        std::fprintf(stderr, "zepplayer: cannot load '%s': %s\n", Printable(*argument).c_str(),
                     player::ReadFailureReason(ec).c_str());
    }
    window.exec();
    return 0;
}
