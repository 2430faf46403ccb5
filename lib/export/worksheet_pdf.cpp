#include "export/worksheet_pdf.h"

#include <hpdf.h>

#include <memory>
#include <string>

#include "export/pixel_outline.h"
#include "sys/save_encoded.h"
#include "zep/canvas.h"

namespace player {

namespace {

struct Rgb {
    double r, g, b;
};
constexpr Rgb kInk{0, 0, 0};
constexpr Rgb kNewStroke{1, 0, 0};
constexpr Rgb kTrace{0.75, 0.75, 0.75};  // #BFBFBF: seen on paper, and clearly to be written over
constexpr Rgb kRule{0.5, 0.5, 0.5};
constexpr Rgb kGuide{0.6, 0.6, 0.6};
constexpr double kRuleWidth = 0.6;
constexpr double kGuideWidth = 0.5;
constexpr HPDF_UINT16 kDash[] = {3, 3};

constexpr char kJapaneseFont[] = "MS-Mincho";
constexpr char kJapaneseEncoding[] = "90ms-RKSJ-H";  // Shift JIS, the built-in font's own
constexpr char kLatinFont[] = "Helvetica";
constexpr double kTitleShare = 0.8;  // of the heading's height
constexpr double kLabelSize = 12;
constexpr double kCellNumberSize = 7;
constexpr double kPageNumberSize = 10;

using PdfDoc = std::unique_ptr<std::remove_pointer_t<HPDF_Doc>, decltype(&HPDF_Free)>;

// libharu reports every failure here as well as in its return values; one
// failure spoils the document.
void OnPdfError(HPDF_STATUS, HPDF_STATUS, void* failed) { *static_cast<bool*>(failed) = true; }

struct Fonts {
    HPDF_Font japanese;
    HPDF_Font latin;
    HPDF_Encoder shift_jis;
};

struct Drawing {
    HPDF_Page page;
    const Fonts& fonts;
};

// The Shift JIS bytes of the text, through the encoding's own table of
// Unicode values; nothing when it holds a character that Shift JIS has not
// (a few old forms).
std::optional<std::string> ShiftJis(HPDF_Encoder encoder, std::u32string_view text) {
    std::string bytes;
    for (const char32_t c : text) {
        if (c >= 0x20 && c < 0x7F) {
            bytes += static_cast<char>(c);
            continue;
        }
        char16_t code = 0;
        for (unsigned lead = 0x81; lead <= 0xFC && code == 0; ++lead) {
            for (unsigned trail = 0x40; trail <= 0xFC && code == 0; ++trail) {
                const auto candidate = static_cast<HPDF_UINT16>(lead << 8 | trail);
                if (HPDF_Encoder_GetUnicode(encoder, candidate) == c) code = candidate;
            }
        }
        if (code == 0) return std::nullopt;
        bytes += static_cast<char>(code >> 8);
        bytes += static_cast<char>(code & 0xFF);
    }
    return bytes;
}

void Text(const Drawing& d, HPDF_Font font, double size, double x, double y,
          const std::string& text) {
    HPDF_Page_BeginText(d.page);
    HPDF_Page_SetRGBFill(d.page, 0, 0, 0);
    HPDF_Page_SetFontAndSize(d.page, font, static_cast<HPDF_REAL>(size));
    HPDF_Page_TextOut(d.page, static_cast<HPDF_REAL>(x), static_cast<HPDF_REAL>(y), text.c_str());
    HPDF_Page_EndText(d.page);
}

// The region's pixels on the canvas, scaled into the box, as one filled path.
void FillShape(const Drawing& d, const gfx::Region& shape, const Box& box, Rgb colour) {
    const double scale = box.width / kCanvasSide;
    const double top = box.bottom + box.height;
    const auto at = [&](gfx::Point p) {
        return std::pair{static_cast<HPDF_REAL>(box.left + p.x * scale),
                         static_cast<HPDF_REAL>(top - p.y * scale)};
    };
    const std::vector<Contour> contours = PixelOutline(shape, kCanvas);
    if (contours.empty()) return;
    HPDF_Page_SetRGBFill(d.page, static_cast<HPDF_REAL>(colour.r),
                         static_cast<HPDF_REAL>(colour.g), static_cast<HPDF_REAL>(colour.b));
    for (const Contour& contour : contours) {
        const auto [x0, y0] = at(contour.front());
        HPDF_Page_MoveTo(d.page, x0, y0);
        for (size_t i = 1; i < contour.size(); ++i) {
            const auto [x, y] = at(contour[i]);
            HPDF_Page_LineTo(d.page, x, y);
        }
        HPDF_Page_ClosePath(d.page);
    }
    HPDF_Page_Fill(d.page);
}

void SetStroke(const Drawing& d, Rgb colour, double width) {
    HPDF_Page_SetRGBStroke(d.page, static_cast<HPDF_REAL>(colour.r),
                           static_cast<HPDF_REAL>(colour.g), static_cast<HPDF_REAL>(colour.b));
    HPDF_Page_SetLineWidth(d.page, static_cast<HPDF_REAL>(width));
}

void Line(const Drawing& d, double x1, double y1, double x2, double y2) {
    HPDF_Page_MoveTo(d.page, static_cast<HPDF_REAL>(x1), static_cast<HPDF_REAL>(y1));
    HPDF_Page_LineTo(d.page, static_cast<HPDF_REAL>(x2), static_cast<HPDF_REAL>(y2));
    HPDF_Page_Stroke(d.page);
}

void CrossGuide(const Drawing& d, const Box& box) {
    SetStroke(d, kGuide, kGuideWidth);
    HPDF_Page_SetDash(d.page, kDash, 2, 0);
    const double middle_x = box.left + box.width / 2;
    const double middle_y = box.bottom + box.height / 2;
    Line(d, box.left, middle_y, box.left + box.width, middle_y);
    Line(d, middle_x, box.bottom, middle_x, box.bottom + box.height);
    HPDF_Page_SetDash(d.page, nullptr, 0, 0);
}

void Frame(const Drawing& d, const Box& box) {
    SetStroke(d, kRule, kRuleWidth);
    HPDF_Page_Rectangle(d.page, static_cast<HPDF_REAL>(box.left),
                        static_cast<HPDF_REAL>(box.bottom), static_cast<HPDF_REAL>(box.width),
                        static_cast<HPDF_REAL>(box.height));
    HPDF_Page_Stroke(d.page);
}

std::string StrokeCount(size_t strokes) {
    return std::to_string(strokes) + (strokes == 1 ? " stroke" : " strokes");
}

// The title as text; a character the font's encoding cannot name is drawn
// from its own strokes instead.
void Heading(const Drawing& d, const WorksheetCharacter& character, const gfx::Region& whole,
             const Box& box) {
    const double title_size = box.height * kTitleShare;
    const double baseline = box.bottom + (box.height - title_size) / 2 + title_size * 0.12;
    const std::optional<std::string> title = ShiftJis(d.fonts.shift_jis, character.title);
    if (title) {
        Text(d, d.fonts.japanese, title_size, box.left, baseline, *title);
    } else {
        FillShape(d, whole, box, kInk);
    }
    const double labels_x = box.left + box.width * 1.2;
    const double middle = box.bottom + box.height / 2;
    Text(d, d.fonts.latin, kLabelSize, labels_x, middle + kLabelSize * 0.3, character.grade);
    Text(d, d.fonts.latin, kLabelSize, labels_x, middle - kLabelSize * 1.1,
         StrokeCount(character.strokes.size()));
}

// Cell n: the guide, strokes before n in black, stroke n in red, its number in black.
void Strip(const Drawing& d, const std::vector<gfx::MaybeRegion>& strokes,
           const std::vector<Box>& cells) {
    gfx::Region earlier;
    for (size_t n = 0; n < cells.size(); ++n) {
        CrossGuide(d, cells[n]);
        FillShape(d, earlier, cells[n], kInk);
        if (strokes[n]) FillShape(d, *strokes[n], cells[n], kNewStroke);
        Frame(d, cells[n]);
        Text(d, d.fonts.latin, kCellNumberSize, cells[n].left + 1.5,
             cells[n].bottom + cells[n].height - kCellNumberSize - 0.5, std::to_string(n + 1));
        if (strokes[n]) earlier.Unite(*strokes[n]);
    }
}

void PracticeRows(const Drawing& d, const gfx::Region& whole, const BlockPlace& block) {
    for (size_t i = 0; i < block.practice.size(); ++i) {
        CrossGuide(d, block.practice[i]);
        const bool to_trace = i % block.practice_columns < kTraceCells;
        if (to_trace) FillShape(d, whole, block.practice[i], kTrace);
        Frame(d, block.practice[i]);
    }
}

void Block(const Drawing& d, const WorksheetCharacter& character, const BlockPlace& block) {
    gfx::Region whole;
    for (const gfx::MaybeRegion& stroke : character.strokes) {
        if (stroke) whole.Unite(*stroke);
    }
    Heading(d, character, whole, block.heading);
    Strip(d, character.strokes, block.strip);
    PracticeRows(d, whole, block);
}

void PageNumber(const Drawing& d, const WorksheetLayout& layout, size_t number) {
    const std::string text = std::to_string(number);
    HPDF_Page_SetFontAndSize(d.page, d.fonts.latin, static_cast<HPDF_REAL>(kPageNumberSize));
    const double width = HPDF_Page_TextWidth(d.page, text.c_str());
    Text(d, d.fonts.latin, kPageNumberSize, (layout.page_width - width) / 2,
         layout.page_number_baseline, text);
}

std::vector<HPDF_Page> AddPages(HPDF_Doc pdf, const WorksheetLayout& layout) {
    std::vector<HPDF_Page> pages;
    for (size_t i = 0; i < layout.pages; ++i) {
        pages.push_back(HPDF_AddPage(pdf));
        HPDF_Page_SetWidth(pages.back(), static_cast<HPDF_REAL>(layout.page_width));
        HPDF_Page_SetHeight(pages.back(), static_cast<HPDF_REAL>(layout.page_height));
    }
    return pages;
}

std::optional<std::vector<uint8_t>> Saved(HPDF_Doc pdf, const bool& failed) {
    if (failed || HPDF_SaveToStream(pdf) != HPDF_OK) return std::nullopt;
    std::vector<uint8_t> bytes(HPDF_GetStreamSize(pdf));
    auto size = static_cast<HPDF_UINT32>(bytes.size());
    HPDF_ReadFromStream(pdf, bytes.data(), &size);
    if (failed || size != bytes.size()) return std::nullopt;
    return bytes;
}

}  // namespace

std::optional<std::vector<uint8_t>> DrawWorksheetPdf(std::span<const WorksheetCharacter> characters,
                                                     Paper paper, int rows) {
    std::vector<size_t> stroke_counts;
    for (const WorksheetCharacter& c : characters) stroke_counts.push_back(c.strokes.size());
    const std::optional<WorksheetLayout> layout = LayOutWorksheet(stroke_counts, paper, rows);
    if (!layout || layout->pages == 0) return std::nullopt;

    bool failed = false;
    const PdfDoc pdf(HPDF_New(OnPdfError, &failed), HPDF_Free);
    if (!pdf) return std::nullopt;
    HPDF_SetCompressionMode(pdf.get(), HPDF_COMP_ALL);
    HPDF_UseJPFonts(pdf.get());
    HPDF_UseJPEncodings(pdf.get());
    const Fonts fonts{HPDF_GetFont(pdf.get(), kJapaneseFont, kJapaneseEncoding),
                      HPDF_GetFont(pdf.get(), kLatinFont, nullptr),
                      HPDF_GetEncoder(pdf.get(), kJapaneseEncoding)};
    if (failed) return std::nullopt;
    const std::vector<HPDF_Page> pages = AddPages(pdf.get(), *layout);
    for (size_t i = 0; i < pages.size() && !failed; ++i) {
        PageNumber({pages[i], fonts}, *layout, i + 1);
    }
    for (size_t i = 0; i < characters.size() && !failed; ++i) {
        Block({pages[layout->blocks[i].page], fonts}, characters[i], layout->blocks[i]);
    }
    return Saved(pdf.get(), failed);
}

bool SaveWorksheet(const std::filesystem::path& path,
                   std::span<const WorksheetCharacter> characters, Paper paper, int rows,
                   std::error_code& ec) {
    return sys::SaveEncoded(path, [&] { return DrawWorksheetPdf(characters, paper, rows); }, ec);
}

}  // namespace player
