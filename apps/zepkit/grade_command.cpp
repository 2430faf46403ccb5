#include "zepkit/grade_command.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <unordered_map>

#include "grades/tables.h"
#include "sys/console.h"
#include "sys/files.h"
#include "sys/utf.h"
#include "zepkit/kanji_grade.h"

namespace zepkit {

namespace {

namespace fs = std::filesystem;

struct GradeWords {
    fs::path file;
    int above = 0;  // every kanji is above grade 0
    bool list = false;
};

struct KanjiCount {
    char16_t kanji;
    int grade;
    size_t count;
};

std::optional<GradeWords> ParseWords(const std::vector<std::u16string>& words) {
    GradeWords parsed;
    bool have_file = false;
    bool have_above = false;
    for (size_t i = 0; i < words.size(); ++i) {
        if (words[i] == u"--above" && i + 1 < words.size() && !have_above) {
            const std::u16string& n = words[++i];
            if (n.size() != 1 || n[0] < u'0' || n[0] > u'6') return std::nullopt;
            parsed.above = n[0] - u'0';
            have_above = true;
        } else if (words[i] == u"--list" && !parsed.list) {
            parsed.list = true;
        } else if (words[i].starts_with(u"--") || have_file) {
            return std::nullopt;
        } else {
            parsed.file = fs::path(words[i]);
            have_file = true;
        }
    }
    return have_file ? std::optional(parsed) : std::nullopt;
}

// Each kanji once, in the order of its first occurrence. Like dorvik, one
// UTF-16 unit at a time: 々 is no kanji, and nor is half of a surrogate pair.
std::vector<KanjiCount> CountKanji(std::u16string_view text) {
    std::vector<KanjiCount> counts;
    std::unordered_map<char16_t, size_t> index;
    for (const char16_t unit : text) {
        if (grade::ClassifyChar(unit).char_class != grade::CharClass::Kanji) continue;
        const auto [at, added] = index.try_emplace(unit, counts.size());
        if (added) counts.push_back({unit, KanjiGrade(unit), 0});
        ++counts[at->second].count;
    }
    return counts;
}

std::u16string Report(const std::vector<KanjiCount>& counts, const GradeWords& words) {
    std::u16string out;
    for (const KanjiCount& k : counts) {
        if (words.list) {
            if (k.grade > words.above) out += k.kanji;
            continue;
        }
        const std::string grade = GradeName(k.grade);
        const std::string count = std::to_string(k.count);
        out += k.kanji;
        out += u'\t';
        out.append(grade.begin(), grade.end());
        out += u'\t';
        out.append(count.begin(), count.end());
        out += u'\n';
    }
    if (words.list) out += u'\n';
    return out;
}

}  // namespace

int GradeCommand(const std::vector<std::u16string>& words) {
    const std::optional<GradeWords> parsed = ParseWords(words);
    if (!parsed) {
        std::fputs("Usage: zepkit grade FILE [--above N] [--list]   (N: 0 to 6)\n", stderr);
        return 2;
    }
    std::string bytes;
    std::error_code ec;
    if (!sys::ReadWholeFile(parsed->file, bytes, ec)) {
        const std::u8string name = parsed->file.u8string();
        std::fprintf(stderr, "zepkit: cannot read '%s': %s\n",
                     std::string(name.begin(), name.end()).c_str(), ec.message().c_str());
        return 1;
    }
    std::vector<KanjiCount> counts = CountKanji(sys::Utf8ToUtf16(bytes));
    std::stable_partition(counts.begin(), counts.end(),
                          [&](const KanjiCount& k) { return k.grade > parsed->above; });
    sys::UseUserLocale();
    sys::WriteText(Report(counts, *parsed));
    sys::FlushOutput();
    return 0;
}

}  // namespace zepkit
