#include "zepkit/export_command.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>

#include "export/animation_export.h"
#include "sys/data_dirs.h"
#include "zep/character_lookup.h"
#include "zep/document.h"
#include "zepkit/command_words.h"

namespace zepkit {

namespace {

namespace fs = std::filesystem;

// The longest hold or widest sheet anyone could want, and short of overflow.
constexpr int64_t kMaxOptionValue = 10'000'000;

struct ExportWords {
    std::u16string source;
    fs::path out;
    std::optional<int64_t> number;  // the value of the command's number option
    bool once = false;
};

// SOURCE, OUT and the options in any order after them; none for words that
// do not fit.
std::optional<ExportWords> ParseWords(const std::vector<std::u16string>& words,
                                      const std::u16string& number_option, bool takes_once) {
    ExportWords parsed;
    std::vector<std::u16string> positional;
    for (size_t i = 0; i < words.size(); ++i) {
        if (words[i] == number_option && i + 1 < words.size() && !parsed.number) {
            parsed.number = ParseNumber(words[++i], kMaxOptionValue);
            if (!parsed.number) return std::nullopt;
        } else if (takes_once && words[i] == u"--once" && !parsed.once) {
            parsed.once = true;
        } else if (words[i].starts_with(u"--")) {
            return std::nullopt;
        } else {
            positional.push_back(words[i]);
        }
    }
    if (positional.size() != 2) return std::nullopt;
    parsed.source = positional[0];
    parsed.out = fs::path(positional[1]);
    return parsed;
}

// The script the word names, as a file or as a character of the set, read.
std::optional<player::Document> ReadSource(const std::u16string& word) {
    std::string error;
    const std::optional<fs::path> source =
        player::ResolveScriptArgument(fs::path(word), sys::PlayerDataFolders(), error);
    if (!source) {
        std::fprintf(stderr, "zepkit: %s\n", error.c_str());
        return std::nullopt;
    }
    std::error_code ec;
    std::optional<player::Document> document = player::ReadDocument(*source, ec);
    if (!document) {
        std::fprintf(stderr, "zepkit: cannot read '%s': %s\n", Printable(*source).c_str(),
                     player::ReadFailureReason(ec).c_str());
    }
    return document;
}

int NoStrokes(const char* what, const std::u16string& source) {
    std::fprintf(stderr, "zepkit: no %s of '%s': it has no strokes%s\n", what,
                 Printable(fs::path(source)).c_str(),
                 std::string_view(what) == "sheet" ? ", or too many for one" : "");
    return 1;
}

int Written(bool saved, const fs::path& out, const std::error_code& ec) {
    if (saved) return 0;
    std::fprintf(stderr, "zepkit: cannot write '%s': %s\n", Printable(out).c_str(),
                 ec.message().c_str());
    return 1;
}

void PrintUsage(const char* usage) { std::fputs(usage, stderr); }

}  // namespace

int GifCommand(const std::vector<std::u16string>& words) {
    const std::optional<ExportWords> parsed = ParseWords(words, u"--hold", true);
    if (!parsed) {
        PrintUsage("Usage: zepkit gif SOURCE OUT.gif [--hold MS] [--once]\n");
        return 2;
    }
    const std::optional<player::Document> document = ReadSource(parsed->source);
    if (!document) return 1;
    std::error_code ec;
    const bool saved = player::ExportGif(
        *document, parsed->out,
        static_cast<int32_t>(parsed->number.value_or(player::kDefaultGifHoldMs)),
        parsed->once ? player::GifLoop::Once : player::GifLoop::Forever, ec);
    if (ec == std::errc::invalid_argument) return NoStrokes("GIF", parsed->source);
    return Written(saved, parsed->out, ec);
}

int SheetCommand(const std::vector<std::u16string>& words) {
    const std::optional<ExportWords> parsed = ParseWords(words, u"--columns", false);
    if (!parsed || parsed->number == 0) {
        PrintUsage("Usage: zepkit sheet SOURCE OUT.png [--columns N]\n");
        return 2;
    }
    const std::optional<player::Document> document = ReadSource(parsed->source);
    if (!document) return 1;
    std::error_code ec;
    const bool saved = player::ExportSheet(
        *document, parsed->out,
        static_cast<int32_t>(parsed->number.value_or(player::kDefaultSheetColumns)), ec);
    if (ec == std::errc::invalid_argument) return NoStrokes("sheet", parsed->source);
    return Written(saved, parsed->out, ec);
}

}  // namespace zepkit
