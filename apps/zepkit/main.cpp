// zepkit: what the kanji suite does beyond its three programs.
//
//   zepkit import PACKAGE_DIR DATA_DIR [CHARACTERS] [--order REFERENCE.json]
//
// turns the stroke data in PACKAGE_DIR (one NAME.json per character) into the
// imported set DATA_DIR/kanji.sqlite: every character, or those of CHARACTERS;
// with --order, in the Japanese school order of the reference (KanjiVG's
// strokes as python3-kanjidraw ships them) wherever it differs without doubt.
// A file that cannot be imported is named with its reason and the rest go on;
// the exit code is then 1. The set is replaced whole (by those characters
// alone) or not at all.
//
//   zepkit unpack CHARACTER DIR
//
// writes the set's CHARACTER as DIR/NAME.zep and DIR/NAME-NN.rgn.
//
//   zepkit gif SOURCE OUT.gif [--hold MS] [--once]
//   zepkit sheet SOURCE OUT.png [--columns N]
//
// write the animation of SOURCE (a script, or a character of the imported
// set) as an animated GIF with the player's frames and timing, or its
// stroke-order sheet as a PNG picture.
//
//   zepkit worksheet CHARACTERS OUT.pdf [--paper a4|letter] [--rows N]
//   zepkit grade FILE [--above N] [--list]
//
// write a teacher's practice sheet of the characters, or list the kanji of a
// text with their school grades.
//
//   zepkit judge SOURCE [--leniency F] [FILE]
//
// judges practice sessions (JSON Lines, from FILE or standard input) stroke
// by stroke against SOURCE, one result line per session.
//
//   zepkit lookup [FILE]
//
// finds the characters of the imported set that drawings (JSON Lines, from
// FILE or standard input) most likely are, ten per drawing, best first.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "sys/cmdline.h"
#include "sys/console.h"
#include "sys/data_dirs.h"
#include "sys/utf.h"
#include "zep/character_files.h"
#include "zep/character_lookup.h"
#include "zep/character_store.h"
#include "zepkit/command_words.h"
#include "zepkit/export_command.h"
#include "zepkit/fidelity_report.h"
#include "zepkit/grade_command.h"
#include "zepkit/import.h"
#include "zepkit/japanese_order_report.h"
#include "zepkit/judge_command.h"
#include "zepkit/lookup_command.h"
#include "zepkit/progress.h"
#include "zepkit/reference_strokes.h"
#include "zepkit/worksheet_command.h"

namespace fs = std::filesystem;

namespace {

using zepkit::Printable;

constexpr char kUsage[] =
    "Usage: zepkit import PACKAGE_DIR DATA_DIR [CHARACTERS] [--order REFERENCE.json]\n"
    "       zepkit unpack CHARACTER DIR\n"
    "       zepkit gif SOURCE OUT.gif [--hold MS] [--once]\n"
    "       zepkit sheet SOURCE OUT.png [--columns N]\n"
    "       zepkit worksheet CHARACTERS OUT.pdf [--paper a4|letter] [--rows N]\n"
    "       zepkit grade FILE [--above N] [--list]\n"
    "       zepkit judge SOURCE [--leniency F] [FILE]\n"
    "       zepkit lookup [FILE]\n"
    "SOURCE is a .zep script or a character of the imported set.\n";

bool IsOneCharacter(const fs::path& stem) {
    return sys::Utf16ToCodePoints(stem.u16string()).size() == 1;
}

// NAME.json for each character asked for, or every file whose name is one
// character followed by .json.
std::vector<fs::path> Sources(const fs::path& package, const std::u16string* characters) {
    std::vector<fs::path> sources;
    if (characters) {
        for (const char32_t c : sys::Utf16ToCodePoints(*characters)) {
            std::string name;
            sys::AppendUtf8(name, c);
            sources.push_back(package /
                              fs::path(std::u8string(name.begin(), name.end()) + u8".json"));
        }
        return sources;
    }
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(package, ec)) {
        const fs::path& p = entry.path();
        if (p.extension() == ".json" && IsOneCharacter(p.stem())) sources.push_back(p);
    }
    std::sort(sources.begin(), sources.end());
    return sources;
}

bool MakeFolder(const fs::path& folder) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (!ec) return true;
    std::fprintf(stderr, "zepkit: cannot make '%s': %s\n", Printable(folder).c_str(),
                 ec.message().c_str());
    return false;
}

// The characters imported, in the order of their sources.
std::vector<player::StoredCharacter> Imported(const std::vector<zepkit::ImportResult>& results) {
    std::vector<player::StoredCharacter> characters;
    for (const zepkit::ImportResult& r : results) {
        if (r.error.empty()) characters.push_back(r.character);
    }
    return characters;
}

struct ImportRequest {
    fs::path package;
    fs::path out;
    std::optional<std::u16string> characters;
    std::optional<fs::path> reference;
};

// The words after "import", or no value when they are not a request.
std::optional<ImportRequest> ParseImport(std::vector<std::u16string> words) {
    ImportRequest request;
    for (size_t i = 0; i + 1 < words.size(); ++i) {
        if (words[i] != u"--order") continue;
        request.reference = fs::path(words[i + 1]);
        const auto option = words.begin() + static_cast<std::ptrdiff_t>(i);
        words.erase(option, option + 2);
        break;
    }
    if (words.size() != 2 && words.size() != 3) return std::nullopt;
    request.package = fs::path(words[0]);
    request.out = fs::path(words[1]);
    if (words.size() == 3) request.characters = words[2];
    return request;
}

int Import(const ImportRequest& request) {
    zepkit::ReferenceStrokes reference;
    if (request.reference) {
        std::string error;
        if (!zepkit::ReadReferenceStrokes(*request.reference, reference, error)) {
            std::fprintf(stderr, "zepkit: cannot read '%s': %s\n",
                         Printable(*request.reference).c_str(), error.c_str());
            return 1;
        }
    }
    const fs::path& package = request.package;
    const fs::path& out = request.out;
    const std::vector<fs::path> sources =
        Sources(package, request.characters ? &*request.characters : nullptr);
    if (sources.empty()) {
        std::fprintf(stderr, "zepkit: no character data in '%s'\n", Printable(package).c_str());
        return 1;
    }
    if (!MakeFolder(out)) return 1;
    zepkit::Progress progress(sources.size(), "imported", "characters");
    const auto results =
        zepkit::ImportAll(sources, request.reference ? &reference : nullptr,
                          std::max(1u, std::thread::hardware_concurrency()),
                          [&](size_t done) { progress.Update(done); });
    int status = 0;
    for (const zepkit::ImportResult& r : results) {
        if (r.error.empty()) continue;
        std::fprintf(stderr, "zepkit: %s: %s\n", Printable(r.source).c_str(), r.error.c_str());
        status = 1;
    }
    const fs::path store = out / player::kCharacterStoreName;
    const std::vector<player::StoredCharacter> imported = Imported(results);
    std::string error;
    if (imported.empty()) {
        std::fprintf(stderr, "zepkit: nothing imported; '%s' is unchanged\n",
                     Printable(store).c_str());
        return 1;
    }
    if (!player::WriteCharacterStore(store, imported, error)) {
        std::fprintf(stderr, "zepkit: %s\n", error.c_str());
        return 1;
    }
    std::fputs(zepkit::FidelityReport(results).c_str(), stdout);
    if (request.reference) std::fputs(zepkit::JapaneseOrderReport(results).c_str(), stdout);
    return status;
}

int Unpack(const std::u16string& character, const fs::path& dir) {
    std::string error;
    const std::optional<player::StoredCharacter> record =
        player::FindStoredCharacter(character, sys::PlayerDataFolders(), error);
    if (!record) {
        if (error.empty()) {
            error = "no imported character named '" + Printable(fs::path(character)) + "'";
        }
        std::fprintf(stderr, "zepkit: %s\n", error.c_str());
        return 1;
    }
    if (!MakeFolder(dir) || !player::WriteCharacterFiles(*record, dir, error)) {
        if (!error.empty()) std::fprintf(stderr, "zepkit: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::u16string> words = sys::CommandLineWords(argc, argv);
    if (words.size() >= 2 && (words[1] == u"gif" || words[1] == u"sheet")) {
        const std::vector<std::u16string> rest(words.begin() + 2, words.end());
        return words[1] == u"gif" ? zepkit::GifCommand(rest) : zepkit::SheetCommand(rest);
    }
    if (words.size() >= 2 && (words[1] == u"worksheet" || words[1] == u"grade")) {
        const std::vector<std::u16string> rest(words.begin() + 2, words.end());
        return words[1] == u"grade" ? zepkit::GradeCommand(rest) : zepkit::WorksheetCommand(rest);
    }
    if (words.size() >= 2 && words[1] == u"judge") {
        return zepkit::JudgeCommand({words.begin() + 2, words.end()});
    }
    if (words.size() >= 2 && words[1] == u"lookup") {
        return zepkit::LookupCommand({words.begin() + 2, words.end()});
    }
    if (words.size() == 4 && words[1] == u"unpack") return Unpack(words[2], fs::path(words[3]));
    const std::optional<ImportRequest> request =
        words.size() >= 2 && words[1] == u"import"
            ? ParseImport({words.begin() + 2, words.end()})
            : std::nullopt;
    if (!request) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    return Import(*request);
}
