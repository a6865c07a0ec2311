// The flame scene as a picture: the real window, scene and frame loop on the
// offscreen driver, checked where the floor, the flames, their flares and
// the black sky must be. The regions follow from the camera (30 units back,
// 30 degrees down, 45-degree field of view over an 800 x 600 viewport).
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <vector>

#include "platform/win.h"
#include "scene.h"
#include "window/window.h"

namespace {

using namespace ziru;
using namespace ziru::platform;

struct Rgb {
    int r, g, b;
    int Sum() const { return r + g + b; }
};

// A frame read back from the window's drawable; coordinates are viewport
// pixels from the bottom-left corner.
class Picture {
  public:
    Picture() {
        RECT client;
        GetClientRect(window::HWINDOW, &client);
        width_ = client.right;
        height_ = client.bottom;
        pixels_.resize(static_cast<size_t>(width_) * height_ * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, width_, height_, GL_RGB, GL_UNSIGNED_BYTE, pixels_.data());
    }
    Rgb At(int x, int y) const {
        const unsigned char* p = &pixels_[(static_cast<size_t>(y) * width_ + x) * 3];
        return {p[0], p[1], p[2]};
    }
    // The brightest pixel of the box [x0, x1] x [y0, y1].
    Rgb Brightest(int x0, int y0, int x1, int y1) const {
        Rgb best{0, 0, 0};
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                if (At(x, y).Sum() > best.Sum()) best = At(x, y);
            }
        }
        return best;
    }
    // True when every pixel of the box is (nearly) black.
    bool Dark(int x0, int y0, int x1, int y1) const { return Brightest(x0, y0, x1, y1).Sum() < 30; }
    // Centres of the runs of flame-bright pixels along row Y; runs closer
    // than a flame's width are one flame (its sway frays the edges).
    std::vector<int> FlameColumns(int y) const {
        std::vector<int> centres;
        int start = -1, end = -1;
        for (int x = 0; x <= width_; ++x) {
            const bool hot = x < width_ && IsFlame(At(x, y));
            if (hot && start >= 0 && x - end > 25) {
                if (end - start >= 8) centres.push_back((start + end) / 2);
                start = -1;
            }
            if (hot) {
                if (start < 0) start = x;
                end = x;
            }
        }
        if (start >= 0 && end - start >= 8) centres.push_back((start + end) / 2);
        return centres;
    }
    static bool IsFlame(Rgb c) { return c.r > 220 && c.g > 140 && c.r >= c.b; }
    int width() const { return width_; }
    int height() const { return height_; }

  private:
    int width_ = 0, height_ = 0;
    std::vector<unsigned char> pixels_;
};

class ScenePicture : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(chdir(ZIRU_SOURCE_DIR "/assets"), 0);
        window::OGLWINDOWSETTING(window::ARROW, "", window::GENERIC, "");
        window::CREATEOGLWINDOW("Esempio di fiamme con ZirUzodo", 800, 600, 32, false);
        app::SceneSetup();
    }
    void TearDown() override { window::DELETEOGLWINDOW(); }

    // Runs the demo's frame loop for FRAMES frames and reads the last one back
    // before its swap.
    Picture Run(int frames) {
        for (int i = 1; i < frames; ++i) Frame(true);
        Frame(false);
        return Picture();
    }
    void Frame(bool swap) {
        glClear(GL_COLOR_BUFFER_BIT);
        window::SETGLMSG();
        app::OPENGL_DRAW();
        if (swap) SwapBuffers(window::DCWINDOW);
    }
    void Drag(UINT down, UINT up, WPARAM button, int dx, int dy) {
        PostMessageA(window::HWINDOW, down, button, MAKELPARAM(300, 200));
        PostMessageA(window::HWINDOW, WM_MOUSEMOVE, button, MAKELPARAM(300 + dx, 200 + dy));
        PostMessageA(window::HWINDOW, up, 0, MAKELPARAM(300 + dx, 200 + dy));
    }
};

TEST_F(ScenePicture, ThreeFlamesOnALitTexturedFloorUnderABlackSky) {
    const Picture pic = Run(150);

    // The floor: a lit trapezoid from about y 96 (x 60..740) to y 375
    // (x 213..587), textured, so its brightness varies.
    for (auto [x, y] : {std::pair{100, 110}, {700, 110}, {400, 200}, {250, 360}, {550, 360}}) {
        EXPECT_GT(pic.At(x, y).Sum(), 120) << "floor at " << x << "," << y;
    }
    int darkest = 765, brightest = 0;
    for (int x = 120; x < 680; ++x) {
        darkest = std::min(darkest, pic.At(x, 150).Sum());
        brightest = std::max(brightest, pic.At(x, 150).Sum());
    }
    EXPECT_GT(brightest - darkest, 100) << "the floor shows no texture detail";

    // Black outside the floor and above the flames.
    EXPECT_TRUE(pic.Dark(0, 0, pic.width() - 1, 85));
    EXPECT_TRUE(pic.Dark(0, 120, 40, 370));
    EXPECT_TRUE(pic.Dark(pic.width() - 41, 120, pic.width() - 1, 370));
    EXPECT_TRUE(pic.Dark(0, 500, pic.width() - 1, pic.height() - 1));

    // Three bright yellow-orange columns rising from about x 277, 400 and 523.
    for (int y : {305, 315}) {
        const std::vector<int> columns = pic.FlameColumns(y);
        ASSERT_EQ(columns.size(), 3u) << "flame columns in row " << y;
        EXPECT_NEAR(columns[0], 277, 25);
        EXPECT_NEAR(columns[1], 400, 25);
        EXPECT_NEAR(columns[2], 523, 25);
    }
    // They rise some 100 to 150 pixels above their bases, swaying.
    for (int x : {277, 400, 523}) {
        EXPECT_TRUE(Picture::IsFlame(pic.Brightest(x - 60, 360, x + 60, 370))) << x;
        EXPECT_TRUE(pic.Dark(x - 60, 470, x + 60, 480)) << x;
    }
    // A flare glows on the floor under each flame, brighter than the floor
    // between them.
    for (int x : {277, 400, 523}) {
        EXPECT_GT(pic.Brightest(x - 40, 280, x + 40, 292).Sum(), 600) << x;
    }
    EXPECT_LT(pic.At(338, 250).Sum(), 600);
}

TEST_F(ScenePicture, RightDragMovesTheSceneNearer) {
    // Down by 50 pixels with sensitivity 2: DEPTH falls by 10, the scene
    // comes 10 units nearer and the flames spread apart.
    Run(3);
    Drag(WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON, 0, 50);
    const Picture pic = Run(150);
    EXPECT_FLOAT_EQ(window::DEPTH, -10.0f);
    const std::vector<int> columns = pic.FlameColumns(200);
    ASSERT_GE(columns.size(), 2u);
    EXPECT_LT(columns.front(), 277 - 40);
    EXPECT_GT(columns.back(), 523 + 40);
}

TEST_F(ScenePicture, LeftDragTurnsFloorAndLightTogether) {
    // Right by 90 pixels with sensitivity 2: the scene spins 90 degrees
    // about its vertical axis, so the three flames, in a row along x, now
    // stand one behind the other in the middle of the picture.
    Run(3);
    Drag(WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON, 90, 0);
    const Picture pic = Run(150);
    EXPECT_FLOAT_EQ(window::YROT, 90.0f);
    const std::vector<int> columns = pic.FlameColumns(330);
    ASSERT_FALSE(columns.empty());
    for (int x : columns) EXPECT_NEAR(x, 400, 40);
    // The floor is still lit: the light turned with it.
    EXPECT_GT(pic.At(400, 150).Sum(), 120);
}

}  // namespace
