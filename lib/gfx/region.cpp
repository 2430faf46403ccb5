// Regions in their banded form (see region.h): queries, the band walker
// behind union and intersection, and appending rectangles.
#include "gfx/region.h"

#include <algorithm>
#include <cassert>
#include <limits>
#include <utility>

#include "gfx/region_builder.h"

namespace gfx {

namespace {

using Span = Region::Span;
using Band = Region::Band;

#ifndef NDEBUG
// Checks the canonical form from band `from` on; every result goes through
// here in debug builds, so a walker fault shows up where it happens.
void AssertCanonical(const Region& region, size_t from = 0) {
    auto bands = region.bands();
    auto spans = region.spans();
    size_t expect_first = from < bands.size() ? bands[from].first_span : spans.size();
    for (size_t i = from; i < bands.size(); ++i) {
        const Band& b = bands[i];
        assert(b.top < b.bottom);
        assert(b.span_count > 0);
        assert(b.first_span == expect_first);
        expect_first += b.span_count;
        for (uint32_t k = 0; k < b.span_count; ++k) {
            const Span& s = spans[b.first_span + k];
            assert(s.x1 < s.x2);
            if (k > 0) assert(spans[b.first_span + k - 1].x2 < s.x1);
        }
        if (i > 0) {
            const Band& p = bands[i - 1];
            assert(p.bottom <= b.top);
            if (p.bottom == b.top && p.span_count == b.span_count) {
                assert(!std::equal(spans.begin() + p.first_span,
                                   spans.begin() + p.first_span + p.span_count,
                                   spans.begin() + b.first_span));
            }
        }
    }
    assert(expect_first == spans.size());
}
#else
void AssertCanonical(const Region&, size_t = 0) {}
#endif

bool Overlap(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool Holds(const Rect& outer, const Rect& inner) {
    return outer.left <= inner.left && inner.right <= outer.right && outer.top <= inner.top &&
           inner.bottom <= outer.bottom;
}

bool IsSingleRect(const Region& r) { return r.bands().size() == 1 && r.spans().size() == 1; }

enum class Op { Union, Intersect };

// The per-band step of the walker: the spans of one row range that both
// operands cover.
void MergeSpans(Op op, const Span* a, uint32_t na, const Span* b, uint32_t nb,
                RegionBuilder& out) {
    uint32_t i = 0;
    uint32_t j = 0;
    if (op == Op::Union) {
        while (i < na || j < nb) {
            const Span& s = (j >= nb || (i < na && a[i].x1 <= b[j].x1)) ? a[i++] : b[j++];
            out.AddSpan(s.x1, s.x2);
        }
        return;
    }
    while (i < na && j < nb) {
        out.AddSpan(std::max(a[i].x1, b[j].x1), std::min(a[i].x2, b[j].x2));
        if (a[i].x2 < b[j].x2) {
            ++i;
        } else {
            ++j;
        }
    }
}

// The band walker: cuts both operands' bands at every top and bottom of
// either, and per row range keeps A's spans, B's spans or their merge as the
// operation asks. Rows that only one side covers belong to a union alone.
Region Walk(Op op, const Region& a, const Region& b) {
    auto ab = a.bands();
    auto bb = b.bands();
    const Span* as = a.spans().data();
    const Span* bs = b.spans().data();
    RegionBuilder out;
    size_t i = 0;
    size_t j = 0;
    int32_t y = std::numeric_limits<int32_t>::min();  // rows above y are done
    while (i < ab.size() && j < bb.size()) {
        const Band& ba = ab[i];
        const Band& bbnd = bb[j];
        int32_t at = std::max(ba.top, y);
        int32_t bt = std::max(bbnd.top, y);
        if (at < bt) {
            int32_t end = std::min(ba.bottom, bt);
            if (op == Op::Union) out.CopyBand(at, end, as + ba.first_span, ba.span_count);
            y = end;
            if (ba.bottom == end) ++i;
        } else if (bt < at) {
            int32_t end = std::min(bbnd.bottom, at);
            if (op == Op::Union) out.CopyBand(bt, end, bs + bbnd.first_span, bbnd.span_count);
            y = end;
            if (bbnd.bottom == end) ++j;
        } else {
            int32_t end = std::min(ba.bottom, bbnd.bottom);
            out.BeginBand(at, end);
            MergeSpans(op, as + ba.first_span, ba.span_count, bs + bbnd.first_span,
                       bbnd.span_count, out);
            out.EndBand();
            y = end;
            if (ba.bottom == end) ++i;
            if (bbnd.bottom == end) ++j;
        }
    }
    if (op == Op::Union) {
        for (; i < ab.size(); ++i) {
            out.CopyBand(std::max(ab[i].top, y), ab[i].bottom, as + ab[i].first_span,
                         ab[i].span_count);
        }
        for (; j < bb.size(); ++j) {
            out.CopyBand(std::max(bb[j].top, y), bb[j].bottom, bs + bb[j].first_span,
                         bb[j].span_count);
        }
    }
    return out.Finish();
}

// Appends `lower`, which lies wholly below `upper`, to `upper`.
Region Stack(Region upper, const Region& lower) {
    RegionBuilder out(std::move(upper));
    const Span* ls = lower.spans().data();
    for (const Band& b : lower.bands()) out.CopyBand(b.top, b.bottom, ls + b.first_span, b.span_count);
    return out.Finish();
}

}  // namespace

// ---- RegionBuilder ----

void RegionBuilder::BeginBand(int32_t top, int32_t bottom) {
    assert(region_.bands_.empty() || region_.bands_.back().bottom <= top);
    top_ = top;
    bottom_ = bottom;
    first_span_ = region_.spans_.size();
}

void RegionBuilder::AddSpan(int32_t x1, int32_t x2) {
    if (x1 >= x2) return;
    auto& spans = region_.spans_;
    if (spans.size() > first_span_ && x1 <= spans.back().x2) {
        spans.back().x2 = std::max(spans.back().x2, x2);
        return;
    }
    spans.push_back({x1, x2});
}

void RegionBuilder::EndBand() {
    auto& spans = region_.spans_;
    if (spans.size() == first_span_ || top_ >= bottom_) {
        spans.resize(first_span_);
        return;
    }
    region_.bands_.push_back({top_, bottom_, static_cast<uint32_t>(first_span_),
                              static_cast<uint32_t>(spans.size() - first_span_)});
    region_.CoalesceLastBand();
}

void RegionBuilder::CopyBand(int32_t top, int32_t bottom, const Region::Span* spans,
                             uint32_t count) {
    BeginBand(top, bottom);
    region_.spans_.insert(region_.spans_.end(), spans, spans + count);
    EndBand();
}

Region RegionBuilder::Finish() {
    AssertCanonical(region_);
    Region done = std::move(region_);
    region_ = Region();
    return done;
}

// ---- Region ----

Region Region::FromRect(const Rect& r) {
    Region region;
    if (!r.IsEmpty()) {
        region.bands_.push_back({r.top, r.bottom, 0, 1});
        region.spans_.push_back({r.left, r.right});
    }
    return region;
}

Region Region::FromRects(std::span<const Rect> rects) {
    std::vector<Rect> sorted;
    sorted.reserve(rects.size());
    for (const Rect& r : rects) {
        if (!r.IsEmpty()) sorted.push_back(r);
    }
    // In row order most rectangles append in O(1) (a traced shape, a decoded
    // region file of rows or of columns); the rest start new runs, which are
    // then united pairwise so that no rectangle is walked over more than
    // log(runs) times.
    std::sort(sorted.begin(), sorted.end(), [](const Rect& a, const Rect& b) {
        return a.top != b.top ? a.top < b.top : a.left < b.left;
    });
    std::vector<Region> runs;
    Region current;
    for (const Rect& r : sorted) {
        if (current.CanAppend(r)) {
            current.AppendRect(r);
        } else {
            runs.push_back(std::move(current));
            current = FromRect(r);
        }
    }
    runs.push_back(std::move(current));
    while (runs.size() > 1) {
        size_t kept = 0;
        for (size_t k = 0; k < runs.size(); k += 2) {
            if (k + 1 < runs.size()) runs[k].Unite(runs[k + 1]);
            if (kept != k) runs[kept] = std::move(runs[k]);
            ++kept;
        }
        runs.resize(kept);
    }
    return std::move(runs.front());
}

Rect Region::Bounds() const {
    if (bands_.empty()) return Rect{};
    Rect box{spans_[bands_.front().first_span].x1, bands_.front().top,
             spans_[bands_.front().first_span].x2, bands_.back().bottom};
    for (const Band& b : bands_) {
        box.left = std::min(box.left, spans_[b.first_span].x1);
        box.right = std::max(box.right, spans_[b.first_span + b.span_count - 1].x2);
    }
    return box;
}

bool Region::Contains(int32_t x, int32_t y) const {
    auto band = std::partition_point(bands_.begin(), bands_.end(),
                                     [y](const Band& b) { return b.bottom <= y; });
    if (band == bands_.end() || band->top > y) return false;
    auto first = spans_.begin() + band->first_span;
    auto last = first + band->span_count;
    auto span = std::partition_point(first, last, [x](const Span& s) { return s.x2 <= x; });
    return span != last && span->x1 <= x;
}

void Region::Unite(const Region& other) {
    // Fast paths first: an empty side, a single rectangle appended after
    // everything (how a tracer adds pixels), one side wholly below the other,
    // one rectangle holding the other side.
    if (other.IsEmpty()) return;
    if (IsEmpty()) {
        *this = other;
        return;
    }
    if (IsSingleRect(other) && CanAppend(other.Bounds())) {
        size_t from = bands_.size() > 1 ? bands_.size() - 2 : 0;
        AppendRect(other.Bounds());
        AssertCanonical(*this, from);
        return;
    }
    if (other.bands_.front().top >= bands_.back().bottom) {
        *this = Stack(std::move(*this), other);
        return;
    }
    if (bands_.front().top >= other.bands_.back().bottom) {
        *this = Stack(other, *this);
        return;
    }
    Rect mine = Bounds();
    Rect theirs = other.Bounds();
    if (IsSingleRect(*this) && Holds(mine, theirs)) return;
    if (IsSingleRect(other) && Holds(theirs, mine)) {
        *this = other;
        return;
    }
    *this = Walk(Op::Union, *this, other);
}

void Region::Intersect(const Region& other) {
    // Fast paths: an empty side, disjoint extents, one rectangle holding the
    // other side.
    if (IsEmpty()) return;
    if (other.IsEmpty()) {
        *this = Region();
        return;
    }
    Rect mine = Bounds();
    Rect theirs = other.Bounds();
    if (!Overlap(mine, theirs)) {
        *this = Region();
        return;
    }
    if (IsSingleRect(other) && Holds(theirs, mine)) return;
    if (IsSingleRect(*this) && Holds(mine, theirs)) {
        *this = other;
        return;
    }
    *this = Walk(Op::Intersect, *this, other);
}

Region Region::United(const Region& other) const {
    Region result = *this;
    result.Unite(other);
    return result;
}

Region Region::Intersected(const Region& other) const {
    Region result = *this;
    result.Intersect(other);
    return result;
}

bool Region::CanAppend(const Rect& r) const {
    if (bands_.empty()) return true;
    const Band& last = bands_.back();
    if (r.top >= last.bottom) return true;
    return r.top >= last.top && r.bottom >= last.bottom && r.left >= spans_.back().x2;
}

// Precondition: CanAppend(r) and r not empty. Cuts the last band at r.top if
// r starts inside it, puts r's span at the end of the rows they share and a
// new band below for the rows r reaches past it.
void Region::AppendRect(const Rect& r) {
    if (bands_.empty() || r.top >= bands_.back().bottom) {
        bands_.push_back({r.top, r.bottom, static_cast<uint32_t>(spans_.size()), 1});
        spans_.push_back({r.left, r.right});
        CoalesceLastBand();
        return;
    }
    if (r.top > bands_.back().top) {
        Band lower = bands_.back();
        bands_.back().bottom = r.top;
        lower.top = r.top;
        lower.first_span = static_cast<uint32_t>(spans_.size());
        spans_.reserve(spans_.size() + lower.span_count + 1);
        std::copy_n(spans_.begin() + bands_.back().first_span, lower.span_count,
                    std::back_inserter(spans_));
        bands_.push_back(lower);
    }
    int32_t shared_bottom = bands_.back().bottom;
    if (spans_.back().x2 == r.left) {
        spans_.back().x2 = r.right;
    } else {
        spans_.push_back({r.left, r.right});
        ++bands_.back().span_count;
    }
    CoalesceLastBand();
    if (r.bottom > shared_bottom) {
        bands_.push_back({shared_bottom, r.bottom, static_cast<uint32_t>(spans_.size()), 1});
        spans_.push_back({r.left, r.right});
        CoalesceLastBand();
    }
}

void Region::AddRect(const Rect& r) {
    if (r.IsEmpty()) return;
    if (CanAppend(r)) {
        size_t from = bands_.size() > 1 ? bands_.size() - 2 : 0;
        AppendRect(r);
        AssertCanonical(*this, from);
        return;
    }
    Unite(FromRect(r));
}

void Region::CoalesceLastBand() {
    size_t n = bands_.size();
    if (n < 2) return;
    Band& upper = bands_[n - 2];
    const Band& lower = bands_[n - 1];
    if (upper.bottom != lower.top || upper.span_count != lower.span_count) return;
    // From the right: while a row is being built, its last span is the one
    // that still differs.
    for (uint32_t k = upper.span_count; k-- > 0;) {
        if (spans_[upper.first_span + k] != spans_[lower.first_span + k]) return;
    }
    upper.bottom = lower.bottom;
    spans_.resize(lower.first_span);
    bands_.pop_back();
}

std::vector<Rect> Region::Rects() const {
    std::vector<Rect> rects;
    rects.reserve(spans_.size());
    for (const Band& b : bands_) {
        for (uint32_t k = 0; k < b.span_count; ++k) {
            const Span& s = spans_[b.first_span + k];
            rects.push_back({s.x1, b.top, s.x2, b.bottom});
        }
    }
    return rects;
}

RegionKind KindOf(const Region& region) {
    if (region.IsEmpty()) return RegionKind::Null;
    return IsSingleRect(region) ? RegionKind::Simple : RegionKind::Complex;
}

RegionKind CombineRegions(MaybeRegion& dest, const MaybeRegion& a, const MaybeRegion& b,
                          CombineMode mode) {
    if (!dest || !a || !b) return RegionKind::Error;
    // Both operations are symmetric, so whenever dest is one operand the other
    // is combined into it in place; that keeps a tracer's per-pixel union on
    // the append fast path.
    const Region* other = nullptr;
    if (&dest == &a) {
        other = &*b;
    } else if (&dest == &b) {
        other = &*a;
    }
    if (other != nullptr) {
        if (mode == CombineMode::Or) {
            dest->Unite(*other);
        } else {
            dest->Intersect(*other);
        }
    } else {
        *dest = mode == CombineMode::Or ? a->United(*b) : a->Intersected(*b);
    }
    return KindOf(*dest);
}

}  // namespace gfx
