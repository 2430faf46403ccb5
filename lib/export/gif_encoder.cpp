// The GIF encoder is our own, not giflib:
//
// - zepkit builds for Windows from the same tree, cross-compiled with MinGW
//   and linked statically. giflib is not packaged for MinGW, so we would have
//   to carry and build its sources ourselves; the code below is smaller.
// - giflib writes the pixels it is given. Everything that makes these files
//   small happens before that: the changed rectangle of each frame, the
//   palette of the few colours the canvas uses, the joining of equal frames
//   and the carried rounding of the delays. It would give us only the LZW
//   coder and the block framing.
// - Its LZW coder sends every pixel as one fixed index. Ours lets a pixel
//   that did not change be sent as its colour or as the transparent index,
//   whichever continues the longer dictionary match (gif_lzw.h); that choice
//   can only be made inside the coder, and it is what makes the files
//   smaller than those of the general optimisers.
// - Decoding is not ours to write: the tests read the files back with an
//   independent decoder.
#include "export/gif_encoder.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <new>

#include "export/gif_lzw.h"
#include "gfx/little_endian.h"
#include "sys/save_encoded.h"

namespace player {

namespace {

constexpr int64_t kMaxDelay = std::numeric_limits<uint16_t>::max();  // centiseconds
constexpr int32_t kMaxSide = std::numeric_limits<uint16_t>::max();
constexpr size_t kMaxColours = 256;
constexpr int kMinCodeSize = 2;  // the format's smallest
constexpr size_t kMaxBlock = 255;
constexpr uint8_t kExtension = 0x21;
constexpr uint8_t kGraphicControl = 0xF9;
constexpr uint8_t kApplication = 0xFF;
constexpr uint8_t kImage = 0x2C;
constexpr uint8_t kTrailer = 0x3B;
constexpr uint8_t kGlobalTable = 0x80;
constexpr uint8_t kDoNotDispose = 1 << 2;
constexpr uint8_t kTransparent = 1;
constexpr int32_t kOpaque = -1;

// Colours to indices in order of first appearance. Frames change few pixels
// and mostly in runs of one colour, so the last colour found is tried first.
class Palette {
public:
    // The colour's index, added when new; -1 once there are too many.
    int32_t IndexOf(uint32_t colour) {
        if (!colours_.empty() && colours_[last_] == colour) return static_cast<int32_t>(last_);
        auto at = std::find(colours_.begin(), colours_.end(), colour);
        if (at == colours_.end()) {
            if (colours_.size() == kMaxColours) return -1;
            at = colours_.insert(at, colour);
        }
        last_ = static_cast<size_t>(at - colours_.begin());
        return static_cast<int32_t>(last_);
    }
    // Bits of the global table: at least 2, so that every index a frame's
    // code size allows lies in the table.
    [[nodiscard]] int TableBits() const {
        return std::max(kMinCodeSize,
                        static_cast<int>(std::bit_width(std::max<size_t>(colours_.size(), 1) - 1)));
    }
    [[nodiscard]] const std::vector<uint32_t>& colours() const { return colours_; }

private:
    std::vector<uint32_t> colours_;
    size_t last_ = 0;
};

// One image of the file: its rectangle, its compressed pixels and how long
// it stays.
struct Image {
    gfx::Rect rect;
    int min_code_size = kMinCodeSize;
    int32_t transparent = kOpaque;
    std::vector<uint8_t> codes;
    int64_t delay = 0;
};

// The smallest rectangle holding every pixel that differs.
gfx::Rect ChangedRect(const gfx::Bitmap& before, const gfx::Bitmap& after) {
    gfx::Rect changed{after.width(), after.height(), 0, 0};
    for (int32_t y = 0; y < after.height(); ++y) {
        const std::span<const uint32_t> a = before.Row(y);
        const std::span<const uint32_t> b = after.Row(y);
        const auto first = std::mismatch(a.begin(), a.end(), b.begin()).first;
        if (first == a.end()) continue;
        const auto last = std::mismatch(a.rbegin(), a.rend(), b.rbegin()).first;
        changed.left = std::min(changed.left, static_cast<int32_t>(first - a.begin()));
        changed.right = std::max(changed.right, static_cast<int32_t>(a.rend() - last));
        changed.top = std::min(changed.top, y);
        changed.bottom = y + 1;
    }
    return changed;
}

// The rectangle's pixels as indices, with which of them changed.
struct RectPixels {
    std::vector<uint8_t> indices;
    std::vector<bool> changed;
};

std::optional<RectPixels> CollectPixels(const gfx::Bitmap* before, const gfx::Bitmap& after,
                                        const gfx::Rect& rect, Palette& palette) {
    RectPixels pixels;
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        const std::span<const uint32_t> row = after.Row(y);
        for (int32_t x = rect.left; x < rect.right; ++x) {
            const uint32_t colour = row[static_cast<size_t>(x)];
            const int32_t index = palette.IndexOf(colour);
            if (index < 0) return std::nullopt;
            pixels.indices.push_back(static_cast<uint8_t>(index));
            pixels.changed.push_back(!before || before->Row(y)[static_cast<size_t>(x)] != colour);
        }
    }
    return pixels;
}

// Indices that no changed pixel uses, any of which can be the transparent
// one: each colour found only in unchanged pixels, else one unused index (all
// unused indices are alike). None when every pixel changed.
std::vector<uint8_t> TransparentCandidates(const RectPixels& pixels, int code_size) {
    enum Use : uint8_t { kUnused, kUnchangedOnly, kChanged };
    std::vector<Use> use(size_t{1} << code_size, kUnused);
    bool any_unchanged = false;
    for (size_t i = 0; i < pixels.indices.size(); ++i) {
        Use& u = use[pixels.indices[i]];
        u = pixels.changed[i] ? kChanged : std::max(u, kUnchangedOnly);
        any_unchanged = any_unchanged || !pixels.changed[i];
    }
    std::vector<uint8_t> candidates;
    if (!any_unchanged) return candidates;
    for (size_t t = 0; t < use.size(); ++t) {
        if (use[t] == kUnchangedOnly) candidates.push_back(static_cast<uint8_t>(t));
    }
    const auto unused = std::find(use.begin(), use.end(), kUnused);
    if (candidates.empty() && unused != use.end()) {
        candidates.push_back(static_cast<uint8_t>(unused - use.begin()));
    }
    return candidates;
}

// Each unchanged pixel as the index of the pixel to its left where that is
// one of its two, else as the transparent one, so that runs stay runs.
std::vector<uint8_t> FollowLeft(const std::vector<uint8_t>& indices,
                                const std::vector<uint8_t>& alternates, size_t width) {
    std::vector<uint8_t> chosen(alternates);
    for (size_t i = 0; i < chosen.size(); ++i) {
        const bool free = alternates[i] != indices[i];
        if (free && i % width > 0 && chosen[i - 1] == indices[i]) chosen[i] = indices[i];
    }
    return chosen;
}

// One way of sending a rectangle: what each pixel may be sent as (see
// LzwEncode) and the transparent index, if any.
struct Choice {
    std::vector<uint8_t> indices;
    std::vector<uint8_t> alternates;
    int32_t transparent;
};

// Plain, and for each transparent candidate the unchanged pixels sent as
// whichever of their two indices the coder's matches favour (tried with
// either index first on a tie), all transparent, or following their left
// neighbour. Which one is smallest varies from frame to frame.
std::vector<Choice> Choices(const gfx::Rect& rect, const RectPixels& pixels, int code_size) {
    std::vector<Choice> choices{{pixels.indices, pixels.indices, kOpaque}};
    const auto width = static_cast<size_t>(rect.right - rect.left);
    std::vector<uint8_t> alternates(pixels.indices.size());
    for (const uint8_t t : TransparentCandidates(pixels, code_size)) {
        for (size_t i = 0; i < alternates.size(); ++i) {
            alternates[i] = pixels.changed[i] ? pixels.indices[i] : t;
        }
        std::vector<uint8_t> left = FollowLeft(pixels.indices, alternates, width);
        choices.push_back({pixels.indices, alternates, t});
        choices.push_back({alternates, pixels.indices, t});
        choices.push_back({alternates, alternates, t});
        choices.push_back({left, std::move(left), t});
    }
    return choices;
}

// The smallest encoding of the rectangle. Only the winning choice is tried
// with the look-ahead parse too: on every choice it saves a few bytes more
// (0.1 % on the samples) for twice the time.
Image SmallestImage(const gfx::Rect& rect, const RectPixels& pixels) {
    Image best;
    best.rect = rect;
    const uint8_t top = *std::max_element(pixels.indices.begin(), pixels.indices.end());
    best.min_code_size = std::max(kMinCodeSize, static_cast<int>(std::bit_width(top)));
    const std::vector<Choice> choices = Choices(rect, pixels, best.min_code_size);
    const Choice* winner = nullptr;
    for (const Choice& choice : choices) {
        std::vector<uint8_t> codes =
            LzwEncode(choice.indices, choice.alternates, best.min_code_size);
        if (winner && codes.size() >= best.codes.size()) continue;
        best.codes = std::move(codes);
        best.transparent = choice.transparent;
        winner = &choice;
    }
    std::vector<uint8_t> ahead =
        LzwEncode(winner->indices, winner->alternates, best.min_code_size, LzwParse::LookAhead);
    if (ahead.size() < best.codes.size()) best.codes = std::move(ahead);
    return best;
}

// The images of the file, before the palette is final.
std::optional<std::vector<Image>> MakeImages(std::span<const TimedFrame> frames, Palette& palette) {
    std::vector<int64_t> durations;
    for (const TimedFrame& frame : frames) durations.push_back(frame.duration);
    const std::vector<int64_t> delays = CentisecondDelays(durations);

    std::vector<Image> images;
    const gfx::Bitmap* shown = nullptr;
    for (size_t i = 0; i < frames.size(); ++i) {
        if (delays[i] == 0 && i + 1 < frames.size()) continue;
        const gfx::Bitmap& picture = *frames[i].frame;
        const gfx::Rect rect = shown ? ChangedRect(*shown, picture)
                                     : gfx::Rect{0, 0, picture.width(), picture.height()};
        if (rect.IsEmpty()) {
            images.back().delay += delays[i];
            continue;
        }
        const std::optional<RectPixels> pixels = CollectPixels(shown, picture, rect, palette);
        if (!pixels) return std::nullopt;
        images.push_back(SmallestImage(rect, *pixels));
        images.back().delay = delays[i];
        shown = &picture;
    }
    return images;
}

bool ValidFrames(std::span<const TimedFrame> frames) {
    if (frames.empty() || !frames[0].frame) return false;
    const gfx::Bitmap& first = *frames[0].frame;
    if (first.width() > kMaxSide || first.height() > kMaxSide) return false;
    return std::all_of(frames.begin(), frames.end(), [&](const TimedFrame& f) {
        return f.frame && f.frame->format() == gfx::PixelFormat::Rgb32 &&
               f.frame->width() == first.width() && f.frame->height() == first.height();
    });
}

void PutU16(std::vector<uint8_t>& out, int64_t v) { gfx::PutLe16(out, static_cast<uint32_t>(v)); }

void PutHeader(std::vector<uint8_t>& out, const gfx::Bitmap& first, const Palette& palette) {
    for (const char c : std::string_view("GIF89a")) out.push_back(static_cast<uint8_t>(c));
    PutU16(out, first.width());
    PutU16(out, first.height());
    const auto bits = static_cast<uint8_t>(palette.TableBits() - 1);
    out.insert(out.end(), {static_cast<uint8_t>(kGlobalTable | bits << 4 | bits), 0, 0});
    std::vector<uint32_t> table = palette.colours();
    table.resize(size_t{1} << palette.TableBits());
    for (const uint32_t c : table) {
        out.insert(out.end(), {static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8),
                               static_cast<uint8_t>(c)});
    }
}

// The application extension that makes viewers repeat the file (0: forever).
void PutLoopForever(std::vector<uint8_t>& out) {
    out.insert(out.end(), {kExtension, kApplication, 11});
    for (const char c : std::string_view("NETSCAPE2.0")) out.push_back(static_cast<uint8_t>(c));
    out.insert(out.end(), {3, 1, 0, 0, 0});
}

void PutImage(std::vector<uint8_t>& out, const Image& image, int64_t delay) {
    const bool clear = image.transparent != kOpaque;
    out.insert(out.end(), {kExtension, kGraphicControl, 4,
                           static_cast<uint8_t>(kDoNotDispose | (clear ? kTransparent : 0))});
    PutU16(out, delay);
    out.insert(out.end(), {static_cast<uint8_t>(clear ? image.transparent : 0), 0});
    out.push_back(kImage);
    PutU16(out, image.rect.left);
    PutU16(out, image.rect.top);
    PutU16(out, image.rect.right - image.rect.left);
    PutU16(out, image.rect.bottom - image.rect.top);
    out.push_back(0);  // no local table, not interlaced
    out.push_back(static_cast<uint8_t>(image.min_code_size));
    for (size_t at = 0; at < image.codes.size(); at += kMaxBlock) {
        const size_t n = std::min(kMaxBlock, image.codes.size() - at);
        out.push_back(static_cast<uint8_t>(n));
        out.insert(out.end(), image.codes.begin() + static_cast<ptrdiff_t>(at),
                   image.codes.begin() + static_cast<ptrdiff_t>(at + n));
    }
    out.push_back(0);
}

// A delay beyond the format's 16 bits goes on in images of one transparent
// pixel that change nothing.
void PutImageWithDelay(std::vector<uint8_t>& out, const Image& image) {
    PutImage(out, image, std::min(image.delay, kMaxDelay));
    const std::vector<uint8_t> clear_pixel{0};
    Image hold{{0, 0, 1, 1}, kMinCodeSize, 0, LzwEncode(clear_pixel, clear_pixel, kMinCodeSize)};
    for (int64_t left = image.delay - kMaxDelay; left > 0; left -= kMaxDelay) {
        PutImage(out, hold, std::min(left, kMaxDelay));
    }
}

}  // namespace

std::vector<int64_t> CentisecondDelays(std::span<const int64_t> durations_ms) {
    std::vector<int64_t> delays;
    int64_t start_ms = 0;
    int64_t start_cs = 0;
    for (const int64_t duration : durations_ms) {
        start_ms += std::max<int64_t>(duration, 0);
        const int64_t end_cs = (start_ms + 5) / 10;
        delays.push_back(end_cs - start_cs);
        start_cs = end_cs;
    }
    return delays;
}

std::optional<std::vector<uint8_t>> EncodeGif(std::span<const TimedFrame> frames, GifLoop loop) {
    if (!ValidFrames(frames)) return std::nullopt;
    Palette palette;
    const std::optional<std::vector<Image>> images = MakeImages(frames, palette);
    if (!images) return std::nullopt;

    std::vector<uint8_t> out;
    PutHeader(out, *frames[0].frame, palette);
    if (loop == GifLoop::Forever) PutLoopForever(out);
    for (const Image& image : *images) PutImageWithDelay(out, image);
    out.push_back(kTrailer);
    return out;
}

bool SaveGif(const std::filesystem::path& path, std::span<const TimedFrame> frames, GifLoop loop,
             std::error_code& ec) {
    return sys::SaveEncoded(path, [&] { return EncodeGif(frames, loop); }, ec);
}

}  // namespace player
