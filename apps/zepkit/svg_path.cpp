#include "zepkit/svg_path.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>

namespace zepkit {

namespace {

// A curve is cut into pieces of at most this many units of its control
// polygon (a quarter pixel on the canvas), and never more than kMaxPieces.
constexpr double kPieceUnits = 16;
constexpr int kMaxPieces = 64;

struct Reader {
    std::string_view text;
    size_t pos = 0;

    void SkipSeparators() {
        while (pos < text.size() && (text[pos] == ' ' || text[pos] == ',' || text[pos] == '\t' ||
                                     text[pos] == '\n' || text[pos] == '\r')) {
            ++pos;
        }
    }
    bool AtNumber() {
        SkipSeparators();
        if (pos >= text.size()) return false;
        const char c = text[pos];
        return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.';
    }
    bool Number(double& value) {
        if (!AtNumber()) return false;
        if (text[pos] == '+') ++pos;
        const auto [end, ec] = std::from_chars(text.data() + pos, text.data() + text.size(), value);
        if (ec != std::errc() || !std::isfinite(value)) return false;
        pos = static_cast<size_t>(end - text.data());
        return true;
    }
    bool Point(PointD& p, PointD origin) {
        if (!Number(p.x) || !Number(p.y)) return false;
        p.x += origin.x;
        p.y += origin.y;
        return true;
    }
};

double Distance(PointD a, PointD b) { return std::hypot(b.x - a.x, b.y - a.y); }

int Pieces(double control_length) {
    // Clamped before the conversion: a huge or infinite length has no int.
    return static_cast<int>(
        std::clamp(std::ceil(control_length / kPieceUnits), 1.0, double{kMaxPieces}));
}

void AddQuadratic(Polyline& line, PointD p0, PointD p1, PointD p2) {
    const int n = Pieces(Distance(p0, p1) + Distance(p1, p2));
    for (int i = 1; i <= n; ++i) {
        const double t = static_cast<double>(i) / n, u = 1 - t;
        line.push_back({u * u * p0.x + 2 * u * t * p1.x + t * t * p2.x,
                        u * u * p0.y + 2 * u * t * p1.y + t * t * p2.y});
    }
}

void AddCubic(Polyline& line, PointD p0, PointD p1, PointD p2, PointD p3) {
    const int n = Pieces(Distance(p0, p1) + Distance(p1, p2) + Distance(p2, p3));
    for (int i = 1; i <= n; ++i) {
        const double t = static_cast<double>(i) / n, u = 1 - t;
        const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
        line.push_back(
            {a * p0.x + b * p1.x + c * p2.x + d * p3.x, a * p0.y + b * p1.y + c * p2.y + d * p3.y});
    }
}

// Reads the points of one command letter, repeated while numbers follow.
bool ReadCommand(Reader& r, char letter, PointD& current, Polyline& line) {
    const bool relative = letter >= 'a';
    const PointD origin = relative ? current : PointD{0, 0};
    PointD p1, p2, p3;
    switch (letter | 0x20) {
        case 'l':
            if (!r.Point(p1, origin)) return false;
            line.push_back(p1);
            current = p1;
            return true;
        case 'h':
            if (!r.Number(p1.x)) return false;
            current.x = p1.x + (relative ? current.x : 0);
            line.push_back(current);
            return true;
        case 'v':
            if (!r.Number(p1.y)) return false;
            current.y = p1.y + (relative ? current.y : 0);
            line.push_back(current);
            return true;
        case 'q':
            if (!r.Point(p1, origin) || !r.Point(p2, origin)) return false;
            AddQuadratic(line, current, p1, p2);
            current = p2;
            return true;
        case 'c':
            if (!r.Point(p1, origin) || !r.Point(p2, origin) || !r.Point(p3, origin)) return false;
            AddCubic(line, current, p1, p2, p3);
            current = p3;
            return true;
        default: return false;
    }
}

void CloseContour(Polyline& line, std::vector<Polyline>& contours) {
    if (line.size() >= 3) contours.push_back(std::move(line));
    line.clear();
}

}  // namespace

bool FlattenPath(std::string_view path, std::vector<Polyline>& contours, std::string& error) {
    contours.clear();
    Reader r{path};
    Polyline line;
    PointD current, start;
    bool moved = false;
    bool ok = true;
    for (r.SkipSeparators(); ok && r.pos < path.size(); r.SkipSeparators()) {
        char letter = path[r.pos++];
        if (letter == 'Z' || letter == 'z') {
            CloseContour(line, contours);
            current = start;
            continue;
        }
        if (letter == 'M' || letter == 'm') {
            CloseContour(line, contours);
            ok = r.Point(current, letter == 'm' ? current : PointD{0, 0});
            start = current;
            line.push_back(current);
            moved = true;
            letter = letter == 'm' ? 'l' : 'L';  // further pairs after a move are lines
            if (!r.AtNumber()) continue;
        }
        ok = ok && moved;
        do {
            ok = ok && ReadCommand(r, letter, current, line);
        } while (ok && r.AtNumber());
    }
    if (!ok || !moved) {
        error = "path does not parse near offset " + std::to_string(r.pos);
        return false;
    }
    CloseContour(line, contours);
    return true;
}

}  // namespace zepkit
