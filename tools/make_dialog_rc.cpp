// make_dialog_rc: writes the player's Windows resource script: dialog template
// 1 from the layout that every window shell shares (apps/zepplayer/dialog_layout.h),
// the click as WAVE resource 1, the manifest and the program's icon.
//
//   make_dialog_rc OUTPUT.rc
//
// The files it names (zepplayer.ico, click.wav, zepplayer.manifest) lie
// beside the script.
#include <cstdio>
#include <string>
#include <system_error>
#include <vector>

#include "sys/files.h"
#include "zepplayer/dialog_layout.h"

namespace {

// The font that dialog units are measured in.
constexpr char kFontName[] = "MS Shell Dlg";
constexpr int kFontPoints = 9;

constexpr char kHeader[] =
    "// The player's Windows resources. Written by tools/make_dialog_rc from\n"
    "// apps/zepplayer/dialog_layout.h; after changing either, run\n"
    "//   cmake --build BUILD --target regenerate_resources\n"
    "#include <windows.h>\n"
    "\n"
    "1 ICON \"zepplayer.ico\"\n"
    "1 WAVE \"click.wav\"\n"
    "\n"
    "// Version 6 of the common controls, and the DPI awareness.\n"
    "CREATEPROCESS_MANIFEST_RESOURCE_ID RT_MANIFEST \"zepplayer.manifest\"\n"
    "\n"
    "1 DIALOG 0, 0, ";

// A string literal of the resource compiler: a quote is written twice.
std::string Quoted(const char* text) {
    std::string out = "\"";
    for (const char* c = text; *c; ++c) out += *c == '"' ? std::string("\"\"") : std::string(1, *c);
    return out + "\"";
}

std::string ControlLine(const player::ControlTemplate& c) {
    const bool button = c.kind == player::ControlKind::PushButton;
    const char* type = button ? "\"Button\", BS_PUSHBUTTON | WS_CHILD | WS_VISIBLE | WS_TABSTOP"
                              : "\"Static\", SS_CENTER | WS_CHILD | WS_VISIBLE | WS_GROUP";
    return "    CONTROL " + Quoted(c.text) + ", " + std::to_string(c.id) + ", " + type +
           ",\n            " + std::to_string(c.x) + ", " + std::to_string(c.y) + ", " +
           std::to_string(c.width) + ", " + std::to_string(c.height) + "\n";
}

std::string ResourceScript() {
    std::string rc = kHeader;
    rc += std::to_string(player::kDialogWidthUnits) + ", " +
          std::to_string(player::kDialogHeightUnits) + "\n";
    rc += "STYLE WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | DS_SETFONT\n";
    rc += "CAPTION " + Quoted(player::kDialogCaption) + "\n";
    rc += "FONT " + std::to_string(kFontPoints) + ", " + Quoted(kFontName) + "\n";
    // Template order is tab order.
    rc += "BEGIN\n";
    for (const player::ControlTemplate& control : player::kControls) rc += ControlLine(control);
    rc += "END\n";
    return rc;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "Usage: make_dialog_rc OUTPUT.rc\n");
        return 1;
    }
    const std::string rc = ResourceScript();
    std::error_code ec;
    if (!sys::ReplaceFileContents(argv[1], std::vector<uint8_t>(rc.begin(), rc.end()), ec)) {
        std::fprintf(stderr, "make_dialog_rc: cannot write '%s': %s\n", argv[1],
                     ec.message().c_str());
        return 1;
    }
    return 0;
}
