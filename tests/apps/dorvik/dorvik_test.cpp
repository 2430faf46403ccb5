// The real program, started as a shell would start it: exact output bytes
// and exit codes under a UTF-8 locale, the C locale and no locale at all.
#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <string>
#include <vector>

#include "school_year_kanji.h"
#include "sys/utf.h"

namespace {

struct Outcome {
    std::string output;
    int exit_code;
};

// Runs dorvik with exactly these arguments and environment, SIGPIPE at its
// default. With reader_gone, its output is a pipe that nobody reads any more.
Outcome RunDorvik(const std::vector<std::string>& args, const std::vector<std::string>& env,
                  bool reader_gone = false) {
    std::vector<char*> argv{const_cast<char*>(DORVIK_PATH)};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (const std::string& e : env) envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);

    int fds[2];
    if (pipe(fds) != 0) return {"pipe failed", -1};
    if (reader_gone) close(fds[0]);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    if (!reader_gone) posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addclose(&actions, fds[1]);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t pipe_signal;
    sigemptyset(&pipe_signal);
    sigaddset(&pipe_signal, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &pipe_signal);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, DORVIK_PATH, &actions, &attributes, argv.data(), envp.data());
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    Outcome run{"", -1};
    if (spawned != 0) {
        if (!reader_gone) close(fds[0]);
        run.output = "spawn failed";
        return run;
    }
    if (!reader_gone) {
        char buffer[4096];
        ssize_t n = 0;
        while ((n = read(fds[0], buffer, sizeof buffer)) > 0) run.output.append(buffer, static_cast<size_t>(n));
        close(fds[0]);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFEXITED(status)) run.exit_code = WEXITSTATUS(status);
    return run;
}

const std::vector<std::string> kUtf8Locale = {"LANG=C.UTF-8"};
const std::vector<std::string> kNoLocale = {};

const std::string kUsage =
    "使用例: dorvik [オプション <漢字>\n"
    "\n"
    "オプション:\n"
    " -v, --verbose    詳細表示。\n"
    " --help           このメッセージを表示。\n"
    " --version        バージョン表示。\n";
const std::string kResult0 = "\nResult: Grade 0／幼稚園児\n";
const std::string kResult1 = "\nResult: Grade 1／小学一年生\n";
const std::string kResult3 = "\nResult: Grade 3／小学三年生\n";
const std::string kKanjiLines =
    "「漢」 は小学三年生の漢字です。\n"
    "「字」 は小学一年生の漢字です。\n";

TEST(Dorvik, WritesTheSameUtf8UnderAnyLocale) {
    const std::vector<std::string> envs[] = {kUtf8Locale, kNoLocale, {"LC_ALL=C"},
                                             {"LANG=xx_YY.UTF-8"}};
    for (const auto& env : envs) {
        const std::string label = env.empty() ? "no locale" : env[0];
        const Outcome run = RunDorvik({"-v", "漢字"}, env);
        EXPECT_EQ(run.output, kKanjiLines + kResult3) << label;
        EXPECT_EQ(run.exit_code, 3) << label;
    }
}

TEST(Dorvik, HandlesItsOptions) {
    struct Case {
        const char* name;
        std::vector<std::string> args;
        std::string output;
        int exit_code;
    };
    const std::vector<Case> cases = {
        {"no words", {}, kUsage, 231},
        {"help", {"--help"}, kUsage, 231},
        {"help stops before grading", {"-v", "漢字", "--help"}, kUsage, 231},
        {"version alone is narrow", {"--version", "--help"}, "0.0\n", 231},
        {"first of help and version wins", {"--help", "--version"}, kUsage, 231},
        {"verbose alone", {"-v"}, kResult0, 0},
        {"quiet", {"漢字"}, kResult3, 3},
        {"option after the text", {"字", "--verbose"}, "「字」 は小学一年生の漢字です。\n" + kResult1, 1},
        {"words are joined", {"-v", "漢", "字"}, kKanjiLines + kResult3, 3},
        {"repeated options and words", {"-v", "--verbose", "字", "-v", "字"},
         "「字」 は小学一年生の漢字です。\n「字」 は小学一年生の漢字です。\n" + kResult1, 1},
        {"unknown options are text", {"-h", "-V", "--Help"}, kResult3, 3},
        {"an empty word adds nothing", {""}, kResult0, 0},
        {"invalid UTF-8 is skipped", {"\xFF\xE6\xBC", "\xED\xA0\x80"}, kResult0, 0},
        {"above U+FFFF is skipped", {"\xF0\xA0\x80\x8B"}, kResult0, 0},
    };
    for (const Case& c : cases) {
        const Outcome run = RunDorvik(c.args, kUtf8Locale);
        EXPECT_EQ(run.output, c.output) << c.name;
        EXPECT_EQ(run.exit_code, c.exit_code) << c.name;
    }
}

TEST(Dorvik, GradesEveryListedKanjiByItsOwnList) {
    const std::array<const char*, 6> years = {"一", "二", "三", "四", "五", "六"};
    std::string text;
    std::string expected;
    for (size_t i = 0; i < grade_test::kSchoolYearKanji.size(); ++i) {
        for (const char16_t unit : grade_test::kSchoolYearKanji[i]) {
            std::string kanji;
            sys::AppendUtf8(kanji, unit);
            text += kanji;
            expected += "「" + kanji + "」 は小学" + years[i] + "年生の漢字です。\n";
        }
    }
    const Outcome run = RunDorvik({"--verbose", text}, kNoLocale);
    EXPECT_EQ(run.output, expected + "\nResult: Grade 6／小学六年生\n");
    EXPECT_EQ(run.exit_code, 6);
}

TEST(Dorvik, NamesEachGradeInItsResultAndExitCode) {
    const struct {
        const char* text;
        const char* label;
    } grades[] = {
        {"。", "Grade 0／幼稚園児"},   {"一", "Grade 1／小学一年生"}, {"引", "Grade 2／小学二年生"},
        {"悪", "Grade 3／小学三年生"}, {"愛", "Grade 4／小学四年生"}, {"圧", "Grade 5／小学五年生"},
        {"胃", "Grade 6／小学六年生"}, {"猫", "Grade 7+／中学生以上"},
    };
    for (size_t g = 0; g < std::size(grades); ++g) {
        const Outcome run = RunDorvik({grades[g].text}, kUtf8Locale);
        EXPECT_EQ(run.output, std::string("\nResult: ") + grades[g].label + "\n") << g;
        EXPECT_EQ(run.exit_code, static_cast<int>(g));
    }
}

// As in "dorvik -v TEXT | head -1": the exit code is still the grade.
TEST(Dorvik, AReaderThatLeavesEarlyChangesNothing) {
    const Outcome run = RunDorvik({"-v", "漢字"}, kUtf8Locale, true);
    EXPECT_EQ(run.exit_code, 3);
}

TEST(Dorvik, SaysEachNoteOnce) {
    const Outcome run = RunDorvik({"-v", "あ1a々", "カ２Ｂ々"}, kUtf8Locale);
    EXPECT_EQ(run.output,
              "カナを習うのは、小学一年生から。\n"
              "数字を習うのは、小学一年生から。\n"
              "英語を習うのは、小学三年生から。\n"
              "「々」を習うのは、小学三年生から。\n" + kResult3);
    EXPECT_EQ(run.exit_code, 3);
}

}  // namespace
