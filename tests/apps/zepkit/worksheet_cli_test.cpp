// zepkit worksheet and zepkit grade as a teacher runs them. The PDF is read
// back by poppler (pdfinfo, pdftotext, pdftoppm), which shares no code with
// the library that writes it.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "export/stroke_sheet.h"
#include "export/worksheet_layout.h"
#include "support/character_files.h"
#include "support/child_process.h"
#include "support/environment.h"
#include "zep/canvas.h"

namespace {

namespace fs = std::filesystem;

// Bars that cross, and a point of each that lies in no other.
constexpr gfx::Rect kBars[] = {{20, 40, 234, 70}, {110, 20, 140, 234}, {40, 150, 214, 180}};
constexpr gfx::Point kInBar[] = {{200, 55}, {115, 100}, {190, 165}};

struct Character {
    const char* name;
    size_t strokes;
    const char* grade;
    const char* stroke_count;
};
// A grade 1 kanji, a grade 3 one, and one of no grade list.
constexpr Character kCharacters[] = {{"右", 3, "Grade 1", "3 strokes"},
                                     {"漢", 2, "Grade 3", "2 strokes"},
                                     {"猫", 1, "Secondary", "1 stroke"}};

testsupport::ChildRun RunTool(const fs::path& program, const std::vector<std::string>& args) {
    return testsupport::RunChild(program, args, {}, testsupport::ErrorOutput::WithOutput);
}

enum class Ink { White, Black, Red, Grey, Other };

Ink InkOf(uint8_t r, uint8_t g, uint8_t b) {
    if (r > 220 && g > 220 && b > 220) return Ink::White;
    if (r < 50 && g < 50 && b < 50) return Ink::Black;
    if (r > 200 && g < 50 && b < 50) return Ink::Red;
    if (r == g && g == b && r >= 0x8C && r <= 0xF0) return Ink::Grey;
    return Ink::Other;
}

// A page rendered by pdftoppm, as its PPM file's pixels.
struct Render {
    int32_t width = 0;
    int32_t height = 0;
    double dots_per_point = 0;
    std::string rgb;
    Ink At(int32_t x, int32_t y) const {
        const size_t at = 3 * static_cast<size_t>(y * width + x);
        return InkOf(static_cast<uint8_t>(rgb[at]), static_cast<uint8_t>(rgb[at + 1]),
                     static_cast<uint8_t>(rgb[at + 2]));
    }
    // The pixel under a canvas point of a cell.
    Ink AtCanvas(const player::Box& cell, gfx::Point p, double page_height) const {
        const double scale = cell.width / player::kCanvasSide;
        const double x = cell.left + (p.x + 0.5) * scale;
        const double y = page_height - (cell.bottom + cell.height - (p.y + 0.5) * scale);
        return At(static_cast<int32_t>(x * dots_per_point),
                  static_cast<int32_t>(y * dots_per_point));
    }
};

Render RenderFirstPage(const fs::path& pdf, const fs::path& prefix, int dpi) {
    const auto run = RunTool(PDFTOPPM_PATH, {"-r", std::to_string(dpi), "-f", "1", "-l", "1",
                                         "-singlefile", pdf.string(), prefix.string()});
    EXPECT_EQ(run.exit_code, 0) << run.output;
    std::ifstream in(prefix.string() + ".ppm", std::ios::binary);
    std::string magic;
    int maximum = 0;
    Render render;
    in >> magic >> render.width >> render.height >> maximum;
    in.get();
    render.rgb.assign(std::istreambuf_iterator<char>(in), {});
    EXPECT_EQ(render.rgb.size(), 3u * static_cast<size_t>(render.width * render.height));
    render.dots_per_point = dpi / 72.0;
    return render;
}

class WorksheetTest : public ::testing::Test {
protected:
    // The characters in a set of the test's own, whatever the user has imported.
    WorksheetTest() {
        fs::create_directories(dir_.path() / "share" / "zepplayer" / "kanji");
        for (const Character& c : kCharacters) {
            const std::string base = std::string("share/zepplayer/kanji/") + c.name;
            std::string script;
            for (size_t n = 0; n < c.strokes; ++n) {
                script += "L,0;W;";
                dir_.Write(base + "-0" + std::to_string(n) + ".rgn",
                           player_test::RegionFileBytes(gfx::Region::FromRect(kBars[n])));
            }
            dir_.Write(base + ".zep", script);
        }
        const std::string share = (dir_.path() / "share").string();
        testsupport::SetEnvironment("XDG_DATA_HOME", share);
        testsupport::SetEnvironment("XDG_DATA_DIRS", "/nowhere");
        // A copy of the program, which looks beside itself first.
        fs::create_directories(program_.parent_path());
        fs::copy_file(ZEPKIT_PATH, program_);
    }
    testsupport::ChildRun Zepkit(const std::vector<std::string>& args) const {
        return RunTool(program_, args);
    }
    std::string Out(const char* name) const { return (dir_.path() / name).string(); }

    player_test::ScratchDir dir_;
    fs::path program_ = dir_.path() / "bin" / fs::path(ZEPKIT_PATH).filename();
};

// One page a block with eight rows; each page's text holds its character,
// grade and stroke count, and ends with the page's number alone on a line.
TEST_F(WorksheetTest, PagesPaperAndTextLayer) {
    const struct {
        const char* paper;
        const char* size;
    } papers[] = {{"a4", "595.276 x 841.89 pts (A4)"}, {"letter", "612 x 792 pts (letter)"}};
    for (const auto& paper : papers) {
        const std::string pdf = Out("sheet.pdf");
        const auto made = Zepkit({"worksheet", "右漢猫", pdf, "--paper", paper.paper, "--rows", "8"});
        ASSERT_EQ(made.exit_code, 0) << made.output;
        const std::string info = RunTool(PDFINFO_PATH, {pdf}).output;
        EXPECT_NE(info.find("Pages:           3\n"), std::string::npos) << info;
        EXPECT_NE(info.find(paper.size), std::string::npos) << info;
        for (size_t page = 1; page <= 3; ++page) {
            const std::string n = std::to_string(page);
            std::string text = RunTool(PDFTOTEXT_PATH, {"-f", n, "-l", n, pdf, "-"}).output;
            const Character& c = kCharacters[page - 1];
            for (const char* expected : {c.name, c.grade, c.stroke_count}) {
                EXPECT_NE(text.find(expected), std::string::npos) << "page " << n << ": " << text;
            }
            text.erase(text.find_last_not_of("\n\f ") + 1);
            EXPECT_EQ(text.substr(text.find_last_of('\n') + 1), n) << paper.paper;
        }
    }
}

// Strip cell n shows what cell n of the stroke-order sheet shows; the first
// practice cells show the character in light grey, the next is empty; the
// 15 mm margins hold no ink.
TEST_F(WorksheetTest, StripMatchesTheSheetTraceCellsAndMargins) {
    const std::string pdf = Out("migi.pdf");
    ASSERT_EQ(Zepkit({"worksheet", "右", pdf}).exit_code, 0);
    const Render page = RenderFirstPage(pdf, dir_.path() / "page", 150);
    const size_t strokes[] = {3};
    const auto layout = player::LayOutWorksheet(strokes, player::Paper::A4, 2);
    ASSERT_TRUE(layout);
    const player::BlockPlace& block = layout->blocks[0];

    std::vector<gfx::MaybeRegion> shapes;
    for (const gfx::Rect& bar : kBars) shapes.push_back(gfx::Region::FromRect(bar));
    const std::optional<gfx::Bitmap> sheet = player::DrawStrokeSheet(shapes);
    ASSERT_TRUE(sheet);
    constexpr int32_t kPitch = player::kCanvasSide + 1;
    for (int32_t cell = 0; cell < 3; ++cell) {
        for (const gfx::Point p : kInBar) {
            const gfx::Color c = sheet->GetPixel(player::kSheetMargin + 1 + cell * kPitch + p.x,
                                                 player::kSheetMargin + 1 + p.y)
                                     .value_or(gfx::kGray);
            EXPECT_EQ(page.AtCanvas(block.strip[static_cast<size_t>(cell)], p, layout->page_height),
                      InkOf(c.r, c.g, c.b))
                << "cell " << cell << " at " << p.x << "," << p.y;
        }
    }
    for (const gfx::Point p : kInBar) {
        EXPECT_EQ(page.AtCanvas(block.practice[0], p, layout->page_height), Ink::Grey);
        EXPECT_EQ(page.AtCanvas(block.practice[player::kTraceCells], p, layout->page_height),
                  Ink::White);
    }

    const auto margin = static_cast<int32_t>(player::kWorksheetMargin * page.dots_per_point) - 1;
    int32_t inked = 0;
    for (int32_t y = 0; y < page.height; ++y) {
        for (int32_t x = 0; x < page.width; ++x) {
            const bool in_margin = x < margin || y < margin || x >= page.width - margin ||
                                   y >= page.height - margin;
            inked += in_margin && page.At(x, y) != Ink::White;
        }
    }
    EXPECT_EQ(inked, 0);
}

// A character not in the set, a folder that does not exist, no rows: one
// message, a failing exit code, and no file left behind.
TEST_F(WorksheetTest, BadInputWritesNothing) {
    const std::string out = Out("out.pdf");
    const std::vector<std::vector<std::string>> refusals{
        {"worksheet", "右山", out},
        {"worksheet", "右", Out("missing/out.pdf")},
        {"worksheet", "右", out, "--rows", "0"},
        {"worksheet", "右", out, "--rows", "40"},
    };
    const auto entries = [&] {
        return std::distance(fs::directory_iterator(dir_.path()), fs::directory_iterator());
    };
    const auto before = entries();
    for (const auto& args : refusals) {
        const auto refused = Zepkit(args);
        EXPECT_NE(refused.exit_code, 0) << args[1] << " " << args.back();
        EXPECT_EQ(std::count(refused.output.begin(), refused.output.end(), '\n'), 1)
            << refused.output;
        EXPECT_EQ(entries(), before) << args[1] << " " << args.back();
    }
}

// The kanji of a text, each once with its grade and count; kana, Latin
// letters, digits and 々 are no kanji. --above puts the kanji beyond that
// grade first, --list gives only those, ready for the worksheet.
TEST_F(WorksheetTest, GradeListsTheKanjiOfAText) {
    const std::string text = dir_.Write("text.txt", "右は漢字。猫々、右ABC１2〇\n").string();
    const struct {
        std::vector<std::string> options;
        const char* expected;
    } cases[] = {
        {{}, "右\t1\t2\n漢\t3\t1\n字\t1\t1\n猫\tSecondary\t1\n〇\tOther\t1\n"},
        {{"--above", "2"}, "漢\t3\t1\n猫\tSecondary\t1\n〇\tOther\t1\n右\t1\t2\n字\t1\t1\n"},
        {{"--above", "2", "--list"}, "漢猫〇\n"},
        {{"--list"}, "右漢字猫〇\n"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"grade", text};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const auto run = Zepkit(args);
        EXPECT_EQ(run.exit_code, 0);
        EXPECT_EQ(run.output, c.expected) << args.size();
    }
    EXPECT_EQ(Zepkit({"grade", text, "--above", "7"}).exit_code, 2);
    EXPECT_EQ(Zepkit({"grade", Out("none.txt")}).exit_code, 1);
}

}  // namespace
