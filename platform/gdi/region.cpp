// Regions on pixman_region32. Joining a region that lies no higher than the
// last band of the one being built (the bitmap-to-region scan adds its
// batches row by row, a batch often ending inside a row) joins it with that
// band alone and appends the result to a list of bands, instead of letting
// pixman copy the whole accumulated region on every union, which made a
// million runs quadratic.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/gdi/objects.h"

namespace ziru::platform {

namespace detail {

static_assert(sizeof(RECT) == sizeof(pixman_box32_t));

namespace {

RegionDataObserver& Observer() {
    static RegionDataObserver observer;
    return observer;
}

int KindOf(const pixman_region32_t* region) {
    const int count = pixman_region32_n_rects(region);
    return count == 0 ? NULLREGION : count == 1 ? SIMPLEREGION : COMPLEXREGION;
}

HRGN NewRegion(pixman_region32_t* contents) {
    auto object = std::make_unique<RegionObject>();
    object->Replace(contents);
    return HRGN(AddObject(std::move(object)));
}

}  // namespace

// pixman allocates a region's data block with malloc, grows it with
// realloc and gives it back with free, and keeps the rectangles right after
// the block's header. The list form uses the same block, so a list becomes
// a region by handing the block over, and grows by realloc, which for large
// blocks moves pages instead of copying them.
namespace {

pixman_box32_t* BoxesOf(pixman_region32_data_t* data) {
    return reinterpret_cast<pixman_box32_t*>(data + 1);
}

}  // namespace

RegionObject::RegionObject() {
    pixman_region32_init(&region_);
}

RegionObject::~RegionObject() {
    pixman_region32_fini(&region_);
    std::free(list_);
}

pixman_region32_t* RegionObject::Region() {
    return Materialize() ? &region_ : nullptr;
}

const pixman_box32_t* RegionObject::Boxes(int* count) {
    if (!list_) return pixman_region32_rectangles(&region_, count);
    *count = static_cast<int>(list_->numRects);
    return BoxesOf(list_);
}

bool RegionObject::Materialize() {
    if (!list_) return true;
    const long count = list_->numRects;
    pixman_region32_fini(&region_);
    if (count == 0) {
        pixman_region32_init(&region_);
    } else if (count == 1) {
        pixman_region32_init_with_extents(&region_, BoxesOf(list_));
    } else {
        const pixman_box32_t* boxes = BoxesOf(list_);
        region_.extents = {boxes[0].x1, boxes[0].y1, boxes[count - 1].x2, boxes[count - 1].y2};
        for (long i = 0; i < count; ++i) {
            region_.extents.x1 = std::min(region_.extents.x1, boxes[i].x1);
            region_.extents.x2 = std::max(region_.extents.x2, boxes[i].x2);
        }
        region_.data = list_;
        list_ = nullptr;
        return true;
    }
    std::free(list_);
    list_ = nullptr;
    return true;
}

bool RegionObject::Reserve(std::size_t count) {
    if (list_ && static_cast<std::size_t>(list_->size) >= count) return true;
    if (count > (std::size_t{1} << 31)) return false;
    if (!list_ && region_.data && region_.data->size > 0) {
        // A region with a block of its own: the block becomes the list.
        list_ = region_.data;
        region_.data = nullptr;
        pixman_region32_init(&region_);
        if (static_cast<std::size_t>(list_->size) >= count) return true;
    }
    // Doubling keeps a long run of appends linear.
    const std::size_t room =
        std::max(count, list_ ? 2 * static_cast<std::size_t>(list_->size) : count);
    auto* grown = static_cast<pixman_region32_data_t*>(
        std::realloc(list_, sizeof(pixman_region32_data_t) + room * sizeof(pixman_box32_t)));
    if (!grown) return false;
    if (!list_) {
        // From pixman form without a block: no rectangle, or one in extents.
        grown->numRects = 0;
        if (pixman_region32_not_empty(&region_)) {
            BoxesOf(grown)[0] = region_.extents;
            grown->numRects = 1;
        }
        pixman_region32_fini(&region_);
        pixman_region32_init(&region_);
    }
    grown->size = static_cast<long>(room);
    list_ = grown;
    return true;
}

bool RegionObject::AssignBanded(const pixman_box32_t* boxes, std::size_t count) {
    // Banded order: bands top to bottom, each of one height, its rectangles
    // left to right with gaps between them. Anything else goes to pixman.
    for (std::size_t i = 0; i < count; ++i) {
        const pixman_box32_t& box = boxes[i];
        if (box.x1 >= box.x2 || box.y1 >= box.y2) return false;
        if (i == 0) continue;
        const pixman_box32_t& before = boxes[i - 1];
        const bool sameBand = box.y1 == before.y1 && box.y2 == before.y2 && box.x1 > before.x2;
        if (!sameBand && box.y1 < before.y2) return false;
    }
    pixman_region32_fini(&region_);
    pixman_region32_init(&region_);
    std::free(list_);
    list_ = nullptr;
    if (!Reserve(std::max<std::size_t>(count, 1))) return false;
    for (std::size_t start = 0; start < count;) {
        std::size_t end = start + 1;
        while (end < count && boxes[end].y1 == boxes[start].y1) ++end;
        AppendBanded(boxes + start, static_cast<int>(end - start));
        start = end;
    }
    return true;
}

bool RegionObject::CanAppend(RegionObject& other) {
    const pixman_region32_t* below = other.Region();
    if (!below) return false;
    if (!pixman_region32_not_empty(below)) return true;
    int count = 0;
    const pixman_box32_t* boxes = Boxes(&count);
    if (count == 0) return true;
    return below->extents.y1 >= boxes[count - 1].y1;
}

bool RegionObject::Append(RegionObject& other) {
    pixman_region32_t* below = other.Region();
    if (!below) return false;
    int addCount = 0;
    const pixman_box32_t* add = pixman_region32_rectangles(below, &addCount);
    if (addCount == 0) return true;
    int own = 0;
    const pixman_box32_t* boxes = Boxes(&own);
    std::size_t lastBand = static_cast<std::size_t>(own);
    while (lastBand > 0 && boxes[lastBand - 1].y1 == boxes[own - 1].y1) --lastBand;
    int firstBandEnd = 0;
    while (firstBandEnd < addCount && add[firstBandEnd].y1 == add[0].y1) ++firstBandEnd;

    // All of this region that OTHER can reach lies in its last band. That
    // band is replaced by TAIL, and REST is appended after it.
    std::vector<pixman_box32_t> tail;
    const pixman_box32_t* rest = add;
    int restCount = addCount;
    try {
        if (own == 0 || add[0].y1 >= boxes[own - 1].y2) {
            // Wholly below: nothing to join.
            lastBand = static_cast<std::size_t>(own);
        } else if (add[0].y1 == boxes[own - 1].y1 && add[0].y2 == boxes[own - 1].y2 &&
                   add[0].x1 > boxes[own - 1].x2) {
            // The rest of a row the last batch began: the band just goes on.
            tail.assign(boxes + lastBand, boxes + own);
            tail.insert(tail.end(), add, add + firstBandEnd);
            rest = add + firstBandEnd;
            restCount = addCount - firstBandEnd;
        } else {
            pixman_region32_t band;
            pixman_region32_t joined;
            pixman_region32_init(&joined);
            bool ok = pixman_region32_init_rects(&band, boxes + lastBand,
                                                 own - static_cast<int>(lastBand));
            ok = ok && pixman_region32_union(&joined, &band, below);
            pixman_region32_fini(&band);
            int joinedCount = 0;
            const pixman_box32_t* result = pixman_region32_rectangles(&joined, &joinedCount);
            if (ok) tail.assign(result, result + joinedCount);
            pixman_region32_fini(&joined);
            if (!ok) return false;
            restCount = 0;
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (!Reserve(lastBand + tail.size() + static_cast<std::size_t>(restCount))) return false;
    list_->numRects = static_cast<long>(lastBand);
    AppendBanded(tail.data(), static_cast<int>(tail.size()));
    AppendBanded(rest, restCount);
    return true;
}

void RegionObject::AppendBanded(const pixman_box32_t* add, int count) {
    pixman_box32_t* boxes = BoxesOf(list_);
    std::size_t size = static_cast<std::size_t>(list_->numRects);
    int first = 0;
    if (size > 0 && count > 0 && boxes[size - 1].y2 == add[0].y1) {
        // Where the new top band touches the old bottom band with the very
        // same spans, pixman's form has one taller band instead of two.
        std::size_t lastStart = size;
        while (lastStart > 0 && boxes[lastStart - 1].y1 == boxes[size - 1].y1) --lastStart;
        int bandEnd = 0;
        while (bandEnd < count && add[bandEnd].y1 == add[0].y1) ++bandEnd;
        bool same = static_cast<std::size_t>(bandEnd) == size - lastStart;
        for (int i = 0; same && i < bandEnd; ++i) {
            same = boxes[lastStart + i].x1 == add[i].x1 && boxes[lastStart + i].x2 == add[i].x2;
        }
        if (same) {
            for (std::size_t i = lastStart; i < size; ++i) boxes[i].y2 = add[0].y2;
            first = bandEnd;
        }
    }
    if (count > first) {
        std::memcpy(boxes + size, add + first, (count - first) * sizeof(pixman_box32_t));
        size += static_cast<std::size_t>(count - first);
    }
    list_->numRects = static_cast<long>(size);
}

void RegionObject::Replace(pixman_region32_t* region) {
    pixman_region32_fini(&region_);
    region_ = *region;
    std::free(list_);
    list_ = nullptr;
}

int RegionObject::Kind() {
    if (list_) {
        return list_->numRects == 0   ? NULLREGION
               : list_->numRects == 1 ? SIMPLEREGION
                                      : COMPLEXREGION;
    }
    return KindOf(&region_);
}

void SetRegionDataObserver(RegionDataObserver observer) {
    Observer() = std::move(observer);
}

bool AdoptRegion(HRGN region) {
    RegionObject* object = FindRegion(region);
    if (!object || object->adopted) return false;
    object->adopted = true;
    return true;
}

bool ReleaseAdoptedRegion(HRGN region) {
    RegionObject* object = FindRegion(region);
    if (!object || !object->adopted) return false;
    return RemoveObject(region.value);
}

bool RegionIsValid(HRGN region) {
    RegionObject* object = FindRegion(region);
    pixman_region32_t* contents = object ? object->Region() : nullptr;
    return contents && pixman_region32_selfcheck(contents);
}

bool RegionContains(HRGN region, int x, int y) {
    return PtInRegion(region, x, y) != FALSE;
}

std::vector<RECT> RegionRects(HRGN region) {
    std::vector<RECT> rects;
    RegionObject* object = FindRegion(region);
    pixman_region32_t* contents = object ? object->Region() : nullptr;
    if (!contents) return rects;
    int count = 0;
    const pixman_box32_t* boxes = pixman_region32_rectangles(contents, &count);
    rects.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        rects.push_back(RECT{boxes[i].x1, boxes[i].y1, boxes[i].x2, boxes[i].y2});
    }
    return rects;
}

}  // namespace detail

using namespace detail;

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    pixman_region32_t contents;
    if (left == right || top == bottom) {
        pixman_region32_init(&contents);
    } else {
        const pixman_box32_t box{left, top, right, bottom};
        pixman_region32_init_with_extents(&contents, &box);
    }
    return NewRegion(&contents);
}

HRGN ExtCreateRegion(const XFORM* xform, DWORD count, const RGNDATA* data) {
    if (!data || count < sizeof(RGNDATAHEADER)) return HRGN();
    if (Observer()) Observer()(count, data);
    if (xform) return HRGN();
    const RGNDATAHEADER& header = data->rdh;
    if (header.dwSize != sizeof(RGNDATAHEADER) || header.iType != RDH_RECTANGLES) return HRGN();
    if (header.nCount > (count - sizeof(RGNDATAHEADER)) / sizeof(RECT)) return HRGN();
    if (ShouldFail(GdiFault::ExtCreateRegion)) return HRGN();
    std::vector<pixman_box32_t> boxes;
    try {
        boxes.resize(header.nCount);
    } catch (const std::bad_alloc&) {
        return HRGN();
    }
    if (header.nCount > 0) std::memcpy(boxes.data(), data->Buffer, header.nCount * sizeof(RECT));
    auto object = std::make_unique<RegionObject>();
    if (!object->AssignBanded(boxes.data(), boxes.size())) {
        pixman_region32_t contents;
        if (!pixman_region32_init_rects(&contents, boxes.data(), static_cast<int>(boxes.size()))) {
            pixman_region32_fini(&contents);
            return HRGN();
        }
        object->Replace(&contents);
    }
    return HRGN(AddObject(std::move(object)));
}

int CombineRgn(HRGN dst, HRGN src1, HRGN src2, int mode) {
    RegionObject* target = FindRegion(dst);
    RegionObject* first = FindRegion(src1);
    RegionObject* second = mode == RGN_COPY ? first : FindRegion(src2);
    if (!target || !first || !second) return ERROR;
    if (mode < RGN_AND || mode > RGN_COPY) return ERROR;
    if (ShouldFail(GdiFault::CombineRgn)) return ERROR;
    if (mode == RGN_OR && target == first && second != target && target->CanAppend(*second)) {
        return target->Append(*second) ? target->Kind() : ERROR;
    }
    pixman_region32_t* a = first->Region();
    pixman_region32_t* b = second->Region();
    if (!a || !b || !target->Region()) return ERROR;
    pixman_region32_t result;
    pixman_region32_init(&result);
    bool ok = false;
    switch (mode) {
        case RGN_AND:
            ok = pixman_region32_intersect(&result, a, b);
            break;
        case RGN_OR:
            ok = pixman_region32_union(&result, a, b);
            break;
        case RGN_DIFF:
            ok = pixman_region32_subtract(&result, a, b);
            break;
        case RGN_COPY:
            ok = pixman_region32_copy(&result, a);
            break;
        case RGN_XOR: {
            // pixman has no XOR: (A - B) joined with (B - A).
            pixman_region32_t other;
            pixman_region32_init(&other);
            ok = pixman_region32_subtract(&result, a, b) &&
                 pixman_region32_subtract(&other, b, a) &&
                 pixman_region32_union(&result, &result, &other);
            pixman_region32_fini(&other);
            break;
        }
    }
    if (!ok) {
        pixman_region32_fini(&result);
        return ERROR;
    }
    target->Replace(&result);
    return target->Kind();
}

BOOL PtInRegion(HRGN region, int x, int y) {
    RegionObject* object = FindRegion(region);
    pixman_region32_t* contents = object ? object->Region() : nullptr;
    return contents && pixman_region32_contains_point(contents, x, y, nullptr) ? TRUE : FALSE;
}

int GetRgnBox(HRGN region, RECT* box) {
    RegionObject* object = FindRegion(region);
    pixman_region32_t* contents = object ? object->Region() : nullptr;
    if (!contents || !box) return ERROR;
    if (!pixman_region32_not_empty(contents)) {
        *box = RECT{};
        return NULLREGION;
    }
    const pixman_box32_t* extents = pixman_region32_extents(contents);
    *box = RECT{extents->x1, extents->y1, extents->x2, extents->y2};
    return KindOf(contents);
}

int OffsetRgn(HRGN region, int dx, int dy) {
    RegionObject* object = FindRegion(region);
    pixman_region32_t* contents = object ? object->Region() : nullptr;
    if (!contents) return ERROR;
    pixman_region32_translate(contents, dx, dy);
    return KindOf(contents);
}

BOOL EqualRgn(HRGN a, HRGN b) {
    RegionObject* first = FindRegion(a);
    RegionObject* second = FindRegion(b);
    pixman_region32_t* ra = first ? first->Region() : nullptr;
    pixman_region32_t* rb = second ? second->Region() : nullptr;
    return ra && rb && pixman_region32_equal(ra, rb) ? TRUE : FALSE;
}

DWORD GetRegionData(HRGN region, DWORD count, RGNDATA* data) {
    RegionObject* object = FindRegion(region);
    pixman_region32_t* contents = object ? object->Region() : nullptr;
    if (!contents) return 0;
    int n = 0;
    const pixman_box32_t* boxes = pixman_region32_rectangles(contents, &n);
    const DWORD needed = static_cast<DWORD>(sizeof(RGNDATAHEADER) + n * sizeof(RECT));
    if (!data) return needed;
    if (count < needed) return 0;
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = static_cast<DWORD>(n);
    data->rdh.nRgnSize = static_cast<DWORD>(n * sizeof(RECT));
    GetRgnBox(region, &data->rdh.rcBound);
    if (n > 0) std::memcpy(data->Buffer, boxes, n * sizeof(RECT));
    return needed;
}

BOOL SetRect(RECT* rect, int left, int top, int right, int bottom) {
    if (!rect) return FALSE;
    *rect = RECT{left, top, right, bottom};
    return TRUE;
}

}  // namespace ziru::platform
