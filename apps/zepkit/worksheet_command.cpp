
#include "export/stroke_sheet.h"
#include "export/worksheet_pdf.h"
#include "sys/data_dirs.h"
#include "sys/files.h"
#include "sys/utf.h"
#include "zep/character_lookup.h"
#include "zep/document.h"
#include "zepkit/command_words.h"
#include "zepkit/kanji_grade.h"
#include "zepkit/worksheet_command.h"
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

namespace zepkit {

namespace {

namespace fs = std::filesystem;

// Far beyond what fits a page; the layout refuses what does not.
constexpr int kMaxRows = 99;

struct WorksheetWords {
    std::vector<std::u16string> sources;
    fs::path out;
    player::Paper paper = player::Paper::A4;
    int rows = player::kDefaultPracticeRows;
};

// A script to read and the title its block shows.
struct Source {
    fs::path script;
    std::u32string title;
};

std::string Utf8(std::u32string_view text) {
    std::string bytes;
    for (const char32_t c : text) sys::AppendUtf8(bytes, c);
    return bytes;
}

std::optional<WorksheetWords> ParseWords(const std::vector<std::u16string>& words) {
    WorksheetWords parsed;
    std::vector<std::u16string> positional;
    for (size_t i = 0; i < words.size(); ++i) {
        if (words[i] == u"--paper" && i + 1 < words.size()) {
            const std::u16string& paper = words[++i];
            if (paper != u"a4" && paper != u"letter") return std::nullopt;
            parsed.paper = paper == u"a4" ? player::Paper::A4 : player::Paper::Letter;
        } else if (words[i] == u"--rows" && i + 1 < words.size()) {
            const std::optional<int64_t> rows = ParseNumber(words[++i], kMaxRows);
            if (!rows || *rows < 1) return std::nullopt;
            parsed.rows = static_cast<int>(*rows);
        } else if (words[i].starts_with(u"--")) {
            return std::nullopt;
        } else {
            positional.push_back(words[i]);
        }
    }
    if (positional.size() < 2) return std::nullopt;
    parsed.out = fs::path(positional.back());
    positional.pop_back();
    parsed.sources = positional;
    return parsed;
}

bool IsBlank(char32_t c) { return c == U' ' || c == U'\t' || c == U'\n' || c == U'\u3000'; }

// A word naming a file is that script, titled by its name (a single character
// when it comes from the set); any other word is characters of the set.
bool AddSources(const std::u16string& word, const std::vector<fs::path>& folders,
                std::vector<Source>& sources) {
    const fs::path path(word);
    if (sys::PathExists(path)) {
        sources.push_back({path, sys::Utf16ToCodePoints(path.stem().u16string())});
        return true;
    }
    for (const char32_t c : sys::Utf16ToCodePoints(word)) {
        if (IsBlank(c)) continue;
        std::string error;
        const std::optional<fs::path> script =
            player::FindCharacterScript(sys::Utf8ToUtf16(Utf8({&c, 1})), folders, error);
        if (!script) {
            if (error.empty()) {
                error = "no script or imported character named '" + Utf8({&c, 1}) + "'";
            }
            std::fprintf(stderr, "zepkit: %s\n", error.c_str());
            return false;
        }
        sources.push_back({*script, {c}});
    }
    return true;
}

std::string GradeLine(std::u32string_view title) {
    const int grade = title.size() == 1 ? KanjiGrade(title[0]) : kOther;
    const std::string name = GradeName(grade);
    return grade <= 6 ? "Grade " + name : name;
}

std::optional<player::WorksheetCharacter> ReadCharacter(const Source& source) {
    std::error_code ec;
    const std::optional<player::Document> document = player::ReadDocument(source.script, ec);
    if (!document) {
        std::fprintf(stderr, "zepkit: cannot read '%s': %s\n", Printable(source.script).c_str(),
                     ec.message().c_str());
        return std::nullopt;
    }
    player::WorksheetCharacter character{
        source.title, GradeLine(source.title),
        player::StrokeShapes(document->commands, document->region_files)};
    if (character.strokes.empty()) {
        std::fprintf(stderr, "zepkit: '%s' has no strokes\n", Printable(source.script).c_str());
        return std::nullopt;
    }
    return character;
}

std::optional<std::vector<player::WorksheetCharacter>> ReadCharacters(
    const std::vector<std::u16string>& words) {
    const std::vector<fs::path> folders = sys::PlayerDataFolders();
    std::vector<Source> sources;
    for (const std::u16string& word : words) {
        if (!AddSources(word, folders, sources)) return std::nullopt;
    }
    if (sources.empty()) {
        std::fputs("zepkit: no characters for the worksheet\n", stderr);
        return std::nullopt;
    }
    std::vector<player::WorksheetCharacter> characters;
    for (const Source& source : sources) {
        std::optional<player::WorksheetCharacter> character = ReadCharacter(source);
        if (!character) return std::nullopt;
        characters.push_back(std::move(*character));
    }
    return characters;
}

bool FitsPages(const std::vector<player::WorksheetCharacter>& characters,
               const WorksheetWords& words) {
    std::vector<size_t> stroke_counts;
    for (const player::WorksheetCharacter& c : characters) {
        stroke_counts.push_back(c.strokes.size());
    }
    if (player::LayOutWorksheet(stroke_counts, words.paper, words.rows)) return true;
    std::fprintf(stderr, "zepkit: %d practice rows do not fit on one page with their character\n",
                 words.rows);
    return false;
}

}  // namespace

int WorksheetCommand(const std::vector<std::u16string>& words) {
    const std::optional<WorksheetWords> parsed = ParseWords(words);
    if (!parsed) {
        std::fputs("Usage: zepkit worksheet CHARACTERS OUT.pdf [--paper a4|letter] [--rows N]\n",
                   stderr);
        return 2;
    }
    const std::optional<std::vector<player::WorksheetCharacter>> characters =
        ReadCharacters(parsed->sources);
    if (!characters || !FitsPages(*characters, *parsed)) return 1;
    std::error_code ec;
    if (player::SaveWorksheet(parsed->out, *characters, parsed->paper, parsed->rows, ec)) return 0;
    std::fprintf(stderr, "zepkit: cannot write '%s': %s\n", Printable(parsed->out).c_str(),
                 ec.message().c_str());
    return 1;
}

}  // namespace zepkit
