// BITMAPTOREGION over small pictures made here: the rectangles handed to the
// platform batch by batch (seen through the region-data observer), the
// region they make, the colour test with its upward-only range, and the
// clean-up on every path, the mended failure paths included.
#include "buttons/bitmapregion.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include "platform/gdi_bmp_builder.h"
#include "runtime/runtime.h"

namespace p = ziru::platform;
using ziru::buttons::BITMAPTOREGION;

namespace {

constexpr std::uint32_t kMagenta = 0xFF00FF;

// One ExtCreateRegion call as the observer saw it.
struct Batch {
    p::DWORD bufferBytes = 0;
    p::RGNDATAHEADER header;
    std::vector<p::RECT> rects;
};

// Rectangles as comparable, printable quadruples.
using Box = std::array<int, 4>;
Box BoxOf(const p::RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}
std::vector<Box> Boxes(const std::vector<p::RECT>& rects) {
    std::vector<Box> boxes;
    for (const p::RECT& r : rects) boxes.push_back(BoxOf(r));
    return boxes;
}

using Picture = std::function<std::uint32_t(int x, int y)>;  // 0xRRGGBB, y = 0 on top

class BitmapToRegion : public testing::Test {
  protected:
    void SetUp() override {
        objectsBefore_ = p::detail::GdiObjectCount();
        blocksBefore_ = p::detail::GlobalBlockCount();
        path_ = testing::TempDir() + "bitmapregion_" +
                testing::UnitTest::GetInstance()->current_test_info()->name() + ".bmp";
        p::detail::SetRegionDataObserver([this](p::DWORD count, const p::RGNDATA* data) {
            Batch batch;
            batch.bufferBytes = count;
            batch.header = data->rdh;
            batch.rects.resize(data->rdh.nCount);
            if (!batch.rects.empty()) {
                std::memcpy(batch.rects.data(), data->Buffer, sizeof(p::RECT) * batch.rects.size());
            }
            batches_.push_back(std::move(batch));
        });
    }
    void TearDown() override {
        p::detail::SetRegionDataObserver(nullptr);
        p::detail::ClearFaults();
        std::remove(path_.c_str());
        EXPECT_EQ(p::detail::GdiObjectCount(), objectsBefore_) << "GDI objects left behind";
        EXPECT_EQ(p::detail::GlobalBlockCount(), blocksBefore_) << "global blocks left behind";
    }

    void Write(int width, int height, const Picture& picture) {
        ASSERT_TRUE(ziru::test::WriteFile(path_, ziru::test::MakeBmp24(width, height, picture)));
    }

    std::vector<p::RECT> AllRects() const {
        std::vector<p::RECT> all;
        for (const Batch& b : batches_) all.insert(all.end(), b.rects.begin(), b.rects.end());
        return all;
    }

    std::size_t objectsBefore_ = 0;
    std::size_t blocksBefore_ = 0;
    std::string path_;
    std::vector<Batch> batches_;
};

// The runs of opaque pixels, row by row: what the scan must add.
std::vector<p::RECT> Runs(int width, int height, const std::function<bool(int, int)>& opaque) {
    std::vector<p::RECT> runs;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width;) {
            if (!opaque(x, y)) {
                ++x;
                continue;
            }
            const int x0 = x;
            while (x < width && opaque(x, y)) ++x;
            runs.push_back({x0, y, x, y + 1});
        }
    }
    return runs;
}

struct ColourCase {
    const char* what;
    int width, height;
    Picture picture;
    std::uint32_t transColor;
    std::uint8_t tolerance;
    std::vector<p::RECT> expected;
    // Rows with the same runs merge into one band in the region.
    int kind;
};

TEST_F(BitmapToRegion, TurnsEachRunOfOpaquePixelsIntoOneRectangle) {
    const auto magentaExcept = [](std::vector<int> xs, std::uint32_t colour) {
        return [xs, colour](int x, int) {
            for (int opaque : xs) {
                if (x == opaque) return colour;
            }
            return kMagenta;
        };
    };
    // Row of pixels, left to right, each its own colour.
    const auto row = [](std::vector<std::uint32_t> colours) {
        return [colours](int x, int) { return colours[x]; };
    };
    const ColourCase cases[] = {
        {"no opaque pixel: an empty region",
         4,
         3,
         [](int, int) { return kMagenta; },
         kMagenta,
         1,
         {},
         p::NULLREGION},
        {"fully opaque: one rectangle per row",
         5,
         3,
         [](int, int) { return 0x123456u; },
         kMagenta,
         1,
         {{0, 0, 5, 1}, {0, 1, 5, 2}, {0, 2, 5, 3}},
         p::SIMPLEREGION},
        {"2, 3, 4 and 7 opaque, the last run at the right edge",
         8,
         2,
         magentaExcept({2, 3, 4, 7}, 0x000000),
         kMagenta,
         1,
         {{2, 0, 5, 1}, {7, 0, 8, 1}, {2, 1, 5, 2}, {7, 1, 8, 2}},
         p::COMPLEXREGION},
        {"tolerance 1 upward only: green 0-1 transparent, 2 and red 254 opaque",
         5,
         1,
         row({0xFF00FF, 0xFF01FF, 0xFF02FF, 0xFE00FF, 0xFF00FE}),
         kMagenta,
         1,
         {{2, 0, 5, 1}},
         p::SIMPLEREGION},
        {"tolerance 0: only the exact colour",
         3,
         1,
         row({0xFF00FF, 0xFF01FF, 0xFF00FF}),
         kMagenta,
         0,
         {{1, 0, 2, 1}},
         p::SIMPLEREGION},
        {"bound clamped at 255: red 250 + 10 covers 250..255",
         4,
         1,
         row({0xF90000, 0xFA0000, 0xFF0000, 0xFF0B00}),
         0x0000FA,
         10,
         {{0, 0, 1, 1}, {3, 0, 4, 1}},
         p::COMPLEXREGION},
        {"TRANSCOLOR is 0x00BBGGRR: 0xFF0000 is blue",
         2,
         1,
         row({0x0000FF, 0xFF0000}),
         0xFF0000,
         0,
         {{1, 0, 2, 1}},
         p::SIMPLEREGION},
        {"y grows downward: only the top-left pixel",
         3,
         3,
         [](int x, int y) { return x == 0 && y == 0 ? 0u : kMagenta; },
         kMagenta,
         1,
         {{0, 0, 1, 1}},
         p::SIMPLEREGION},
    };
    for (const ColourCase& c : cases) {
        SCOPED_TRACE(c.what);
        batches_.clear();
        Write(c.width, c.height, c.picture);
        const p::HRGN region = BITMAPTOREGION(path_, c.transColor, c.tolerance);
        ASSERT_TRUE(region) << "an empty picture still gives a region";
        // One final flush, of a buffer still at its starting capacity.
        ASSERT_EQ(batches_.size(), 1u);
        EXPECT_EQ(batches_[0].bufferBytes, 32u + 16u * ziru::buttons::ALLOC_UNIT);
        EXPECT_EQ(batches_[0].header.dwSize, 32u);
        EXPECT_EQ(batches_[0].header.iType, p::RDH_RECTANGLES);
        EXPECT_EQ(batches_[0].header.nRgnSize, 0u);
        EXPECT_EQ(Boxes(batches_[0].rects), Boxes(c.expected));
        for (int y = -1; y <= c.height; ++y) {
            for (int x = -1; x <= c.width; ++x) {
                bool inside = false;
                for (const p::RECT& r : c.expected) {
                    inside |= x >= r.left && x < r.right && y >= r.top && y < r.bottom;
                }
                EXPECT_EQ(p::PtInRegion(region, x, y) != p::FALSE, inside) << x << "," << y;
            }
        }
        p::RECT box;
        EXPECT_EQ(p::GetRgnBox(region, &box), c.kind);
        EXPECT_TRUE(p::DeleteObject(p::AsObject(region)));
    }
}

struct BatchCase {
    int rects;
    std::vector<p::DWORD> counts;       // nCount of each ExtCreateRegion call
    std::vector<p::DWORD> bufferRects;  // the buffer's capacity at each call
};

TEST_F(BitmapToRegion, FlushesEvery2000RectanglesAndGrowsByAllocUnit) {
    // A picture one pixel wide: each opaque row is one rectangle.
    const BatchCase cases[] = {
        {100, {100}, {100}},
        {101, {101}, {200}},
        {1999, {1999}, {2000}},
        {2000, {2000, 0}, {2000, 2000}},
        {4500, {2000, 2000, 500}, {2000, 2000, 2000}},
    };
    for (const BatchCase& c : cases) {
        SCOPED_TRACE(c.rects);
        batches_.clear();
        // Every other row opaque, so no two rectangles touch.
        const int height = 2 * c.rects;
        Write(1, height, [](int, int y) { return y % 2 == 0 ? 0u : kMagenta; });
        const p::HRGN region = BITMAPTOREGION(path_, kMagenta, 1);
        ASSERT_TRUE(region);
        ASSERT_EQ(batches_.size(), c.counts.size());
        for (std::size_t i = 0; i < batches_.size(); ++i) {
            EXPECT_EQ(batches_[i].header.nCount, c.counts[i]) << "batch " << i;
            EXPECT_EQ(batches_[i].bufferBytes, 32 + 16 * c.bufferRects[i]) << "batch " << i;
            // The bound covers this batch's rectangles only.
            const p::RECT& bound = batches_[i].header.rcBound;
            if (c.counts[i] == 0) {
                EXPECT_EQ(BoxOf(bound), (Box{0x7FFFFFFF, 0x7FFFFFFF, 0, 0}));
            } else {
                const std::vector<p::RECT>& rects = batches_[i].rects;
                EXPECT_EQ(BoxOf(bound), (Box{0, rects.front().top, 1, rects.back().bottom}));
            }
        }
        EXPECT_EQ(Boxes(AllRects()), Boxes(Runs(1, height, [](int, int y) { return y % 2 == 0; })));
        EXPECT_EQ(p::detail::RegionRects(region).size(), static_cast<std::size_t>(c.rects));
        EXPECT_TRUE(p::PtInRegion(region, 0, height - 2));
        EXPECT_FALSE(p::PtInRegion(region, 0, height - 1));
        EXPECT_TRUE(p::DeleteObject(p::AsObject(region)));
    }
}

TEST_F(BitmapToRegion, AMissingPictureGivesZeroAndMakesNothing) {
    EXPECT_FALSE(BITMAPTOREGION(path_ + ".missing", kMagenta, 1));
    EXPECT_FALSE(BITMAPTOREGION("", kMagenta, 1));
    EXPECT_TRUE(batches_.empty());
}

TEST_F(BitmapToRegion, TransColorAboveInt32MaxEndsWithTheRunTimeError) {
    Write(2, 2, [](int, int) { return 0u; });
    EXPECT_EXIT(
        {
            dup2(2, 1);
            BITMAPTOREGION(path_, 0x80000000u, 1);
        },
        testing::ExitedWithCode(ziru::runtime::RUNTIME_ERROR_EXIT_CODE),
        "^Runtime error: range check error");
    // The largest accepted value works: its top byte takes no part.
    const p::HRGN region = BITMAPTOREGION(path_, 0x7FFFFFFFu, 0);
    ASSERT_TRUE(region);
    EXPECT_TRUE(p::PtInRegion(region, 1, 1));
    p::DeleteObject(p::AsObject(region));
}

TEST_F(BitmapToRegion, EveryFailureOnTheWayGivesZeroAndFreesWhatWasMade) {
    using F = p::detail::GdiFault;
    struct Failure {
        const char* what;
        F fault;
        int after;
    };
    // 4500 rectangles: growth, two joins and a final flush all happen.
    const Failure failures[] = {
        {"memory context", F::CreateCompatibleDC, 0},
        {"working copy", F::CreateDIBSection, 0},
        {"buffer allocation", F::GlobalAlloc, 0},
        {"buffer lock", F::GlobalLock, 0},
        {"buffer relock after growth", F::GlobalLock, 1},
        {"buffer growth", F::GlobalReAlloc, 0},
        {"buffer growth later on", F::GlobalReAlloc, 10},
        {"first batch region", F::ExtCreateRegion, 0},
        {"third batch region", F::ExtCreateRegion, 2},
        {"first join", F::CombineRgn, 0},
        {"second join", F::CombineRgn, 1},
    };
    Write(1, 9000, [](int, int y) { return y % 2 == 0 ? 0u : kMagenta; });
    for (const Failure& f : failures) {
        SCOPED_TRACE(f.what);
        p::detail::FailAfter(f.fault, f.after);
        EXPECT_FALSE(BITMAPTOREGION(path_, kMagenta, 1));
        p::detail::ClearFaults();
        EXPECT_EQ(p::detail::GdiObjectCount(), objectsBefore_);
        EXPECT_EQ(p::detail::GlobalBlockCount(), blocksBefore_);
    }
    // Without a picture context the copy is not made: the scan then runs
    // over the blank (black, so opaque) working copy, as the original does.
    p::detail::FailAfter(F::CreateCompatibleDC, 1);
    const p::HRGN blank = BITMAPTOREGION(path_, kMagenta, 1);
    ASSERT_TRUE(blank);
    EXPECT_TRUE(p::PtInRegion(blank, 0, 1));
    p::DeleteObject(p::AsObject(blank));
}

}  // namespace
