// The hover image button on a real parent window (offscreen driver): mouse
// sequences against state, capture and posted commands; creation, shape and
// destruction; missing pictures; and the button composited over a GL
// picture, cut to its shape.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "buttons/hoverbutton.h"
#include "platform/core/input.h"
#include "platform/core/internal.h"
#include "platform/win.h"
#include "tests/platform/core_support.h"

namespace {

using namespace ziru::platform;
namespace buttons = ziru::buttons;
using ziru::test::Log;
using ziru::test::MakeTop;

// ===== Pictures ============================================================

// 12 x 10 pictures; magenta (cut away) in the two left columns and in the
// top-right corner (x >= 8, y < 3).
constexpr int kW = 12;
constexpr int kH = 10;
bool Transparent(int x, int y) {
    return x < 2 || (x >= 8 && y < 3);
}
// Normal red, hover green, pressed blue (0x00RRGGBB).
constexpr std::uint32_t kNormal = 0xC00000;
constexpr std::uint32_t kHover = 0x00C000;
constexpr std::uint32_t kPressed = 0x0000C0;

void WriteBmp(const std::string& name, std::uint32_t colour) {
    std::vector<std::uint8_t> b = {'B', 'M'};
    auto put32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    auto put16 = [&](std::uint32_t v) {
        b.push_back(static_cast<std::uint8_t>(v));
        b.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    const std::uint32_t stride = (kW * 3 + 3) / 4 * 4;
    put32(54 + stride * kH);
    put32(0);
    put32(54);
    put32(40);
    put32(kW);
    put32(kH);
    put16(1);
    put16(24);
    for (int i = 0; i < 6; ++i) put32(0);
    for (int y = kH - 1; y >= 0; --y) {
        for (int x = 0; x < kW; ++x) {
            const std::uint32_t c = Transparent(x, y) ? 0xFF00FF : colour;
            b.push_back(static_cast<std::uint8_t>(c));
            b.push_back(static_cast<std::uint8_t>(c >> 8));
            b.push_back(static_cast<std::uint8_t>(c >> 16));
        }
        b.resize(b.size() + stride - kW * 3, 0);
    }
    std::FILE* f = std::fopen(name.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(b.data(), 1, b.size(), f);
    std::fclose(f);
}

// A folder with the prefixes "all" (three pictures), "nohover" (no H) and
// "none" (nothing).
const std::string& PictureDir() {
    static const std::string dir = [] {
        const auto path = std::filesystem::temp_directory_path() /
                          ("hoverbutton_test_" + std::to_string(::getpid()));
        return path.string() + "/";
    }();
    return dir;
}

void WritePictures() {
    const std::string& d = PictureDir();
    std::filesystem::create_directories(d);
    WriteBmp(d + "allN.BMP", kNormal);
    WriteBmp(d + "allH.BMP", kHover);
    WriteBmp(d + "allP.BMP", kPressed);
    WriteBmp(d + "nohoverN.BMP", kNormal);
    WriteBmp(d + "nohoverP.BMP", kPressed);
}

// ===== The button class, recording what reaches the button =================

std::vector<UINT>& ButtonLog() {
    static std::vector<UINT> log;
    return log;
}
// Property values seen just after WM_DESTROY was handled.
std::size_t& PropertiesLeft() {
    static std::size_t left = 0;
    return left;
}

LRESULT RecordingButton(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    ButtonLog().push_back(m);
    const LRESULT result = buttons::HOVERBUTTONHANDLER(w, m, wp, lp);
    if (m == WM_DESTROY) PropertiesLeft() = detail::FindWindow(w)->properties.size();
    return result;
}

void RegisterButtonClass() {
    static const bool done = [] {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = RecordingButton;
        wc.hbrBackground = FromObject<HBRUSH>(GetStockObject(NULL_BRUSH));
        wc.lpszClassName = "IMAGEBUTTON";
        return RegisterClassExA(&wc) != 0;
    }();
    ASSERT_TRUE(done);
}

// ===== Fixture =============================================================

// The button sits at (20, 30) in the captioned parent's client area.
constexpr int kX = 20;
constexpr int kY = 30;
constexpr int kId = 0x8123;

class HoverButton : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { WritePictures(); }
    static void TearDownTestSuite() { std::filesystem::remove_all(PictureDir()); }

    void SetUp() override {
        RegisterButtonClass();
        parent = MakeTop(WS_POPUP | WS_CAPTION | WS_VISIBLE, 100, 100, 300, 200);
        ASSERT_TRUE(parent);
        // The pointer starts away from where the buttons are made.
        input::MouseMoved(parent, 200, 150);
        Pump();
        gdiBefore = detail::GdiObjectCount();
    }
    void TearDown() override {
        ReleaseCapture();
        DestroyWindow(parent);
        Pump();
        buttons::BMPTYPE.clear();
    }

    HWND MakeButton(const std::string& prefix, int id = kId) {
        buttons::BMPTYPE = PictureDir() + prefix;
        const HWND b =
            CreateWindowExA(0, "IMAGEBUTTON", "", WS_CHILD | WS_VISIBLE, kX, kY, 50, 50, parent,
                            HMENU(static_cast<std::uint32_t>(id)), HINSTANCE(), nullptr);
        Pump();
        Log().clear();
        ButtonLog().clear();
        return b;
    }

    // Dispatches every waiting message, paints included; fails when the
    // queue does not run dry (a paint request left pending for ever).
    void Pump() {
        MSG msg;
        int count = 0;
        while (PeekMessageA(&msg, HWND(), 0, 0, PM_REMOVE)) {
            DispatchMessageA(&msg);
            ASSERT_LT(++count, 1000) << "the queue never empties";
        }
    }

    // Input at button coordinates (X, Y): reported, then handled.
    void Move(int x, int y) {
        input::MouseMoved(parent, kX + x, kY + y);
        Pump();
    }
    void Button(input::Button which, bool down, int x, int y) {
        input::MouseButton(parent, which, down, kX + x, kY + y);
        Pump();
    }

    HANDLE State(HWND b) const { return GetPropA(b, buttons::HOVERMODE); }

    // The WM_COMMAND messages the parent got, as (wParam, lParam) pairs.
    std::vector<std::pair<WPARAM, LPARAM>> Commands() const {
        std::vector<std::pair<WPARAM, LPARAM>> out;
        for (const auto& l : Log()) {
            if (l.window == parent && l.message == WM_COMMAND) out.emplace_back(l.wParam, l.lParam);
        }
        return out;
    }

    HWND parent;
    std::size_t gdiBefore = 0;
};

// ===== Creation ============================================================

TEST_F(HoverButton, CreationLoadsPicturesPlacesAndShapesTheButton) {
    const HWND b = MakeButton("all");
    ASSERT_TRUE(b);
    RECT r, p;
    GetWindowRect(b, &r);
    GetWindowRect(parent, &p);
    // Under a parent with a 3/19 frame the button stays where it was made
    // and takes the normal picture's size.
    EXPECT_EQ(r.left - p.left, 3 + kX);
    EXPECT_EQ(r.top - p.top, 19 + kY);
    EXPECT_EQ(r.right - r.left, kW);
    EXPECT_EQ(r.bottom - r.top, kH);
    EXPECT_EQ(State(b), buttons::STATE_NORMAL);
    for (const char* name : {buttons::NORMALBMP, buttons::HOVERBMP, buttons::PRESSBMP}) {
        EXPECT_NE(GetPropA(b, name), 0u) << name;
    }
    const HRGN kept(GetPropA(b, buttons::BUTTONRGN));
    ASSERT_TRUE(kept);
    EXPECT_TRUE(PtInRegion(kept, 5, 5));
    EXPECT_FALSE(PtInRegion(kept, 1, 5));
    EXPECT_FALSE(PtInRegion(kept, 9, 1));
    // Three pictures with a palette each, three contexts, two regions.
    EXPECT_EQ(detail::GdiObjectCount(), gdiBefore + 11);
}

TEST_F(HoverButton, DestructionRemovesEveryPropertyAndObject) {
    const HWND b = MakeButton("all");
    Move(5, 5);  // hovered and captured
    ASSERT_EQ(GetCapture(), b);
    DestroyWindow(b);
    EXPECT_EQ(PropertiesLeft(), 0u);
    EXPECT_EQ(detail::GdiObjectCount(), gdiBefore);
    EXPECT_FALSE(GetCapture());
    EXPECT_EQ(GetPropA(b, buttons::HOVERMODE), 0u);
}

TEST_F(HoverButton, MissingPicturesGiveNoSizeNoShapeAndNoEndlessPaint) {
    const HWND b = MakeButton("none");
    RECT r;
    GetWindowRect(b, &r);
    EXPECT_EQ(r.right - r.left, 0);
    EXPECT_EQ(r.bottom - r.top, 0);
    EXPECT_EQ(GetPropA(b, buttons::BUTTONRGN), 0u);
    EXPECT_EQ(GetPropA(b, buttons::NORMALBMP), 0u);
    EXPECT_EQ(State(b), buttons::STATE_NORMAL);
    // A requested paint is completed although there is nothing to draw.
    InvalidateRect(b, nullptr, FALSE);
    Pump();
    EXPECT_EQ(std::count(ButtonLog().begin(), ButtonLog().end(), WM_PAINT), 1);
    DestroyWindow(b);
    EXPECT_EQ(detail::GdiObjectCount(), gdiBefore);
}

TEST_F(HoverButton, MissingHoverPicturePaintsNothingAndCompletesThePaint) {
    const HWND b = MakeButton("nohover");
    EXPECT_EQ(GetPropA(b, buttons::HOVERBMP), 0u);
    Move(5, 5);
    EXPECT_EQ(State(b), buttons::STATE_HOVER);
    EXPECT_EQ(std::count(ButtonLog().begin(), ButtonLog().end(), WM_PAINT), 1);
    DestroyWindow(b);
    EXPECT_EQ(detail::GdiObjectCount(), gdiBefore);
}

TEST_F(HoverButton, SamePrefixSameShapeDifferentIds) {
    const HWND a = MakeButton("all", 7);
    const HWND b = CreateWindowExA(0, "IMAGEBUTTON", "", WS_CHILD | WS_VISIBLE, 100, 30, 50, 50,
                                   parent, HMENU(8), HINSTANCE(), nullptr);
    buttons::BMPTYPE = "changed later";
    EXPECT_TRUE(
        EqualRgn(HRGN(GetPropA(a, buttons::BUTTONRGN)), HRGN(GetPropA(b, buttons::BUTTONRGN))));
    Pump();
    input::MouseMoved(parent, 105, 35);
    Pump();
    input::MouseButton(parent, input::Button::Left, true, 105, 35);
    Pump();
    input::MouseButton(parent, input::Button::Left, false, 105, 35);
    Pump();
    EXPECT_EQ(Commands(), (std::vector<std::pair<WPARAM, LPARAM>>{{8, 0}}));
}

// ===== Mouse sequences =====================================================

enum class Act { Move, LDown, LUp, RDown, RUp };
struct Event {
    Act act;
    int x, y;  // button coordinates
};
struct Sequence {
    const char* name;
    std::vector<Event> events;
    HANDLE state;
    bool captured;
    int commands;
};

// Inside the shape (5, 5); on a cut-away pixel inside the rectangle (0, 5);
// on the parent, right of the button (40, 5); left of the button (-3, 5).
const Sequence kSequences[] = {
    {"enter", {{Act::Move, 5, 5}}, 2, true, 0},
    {"enter then leave", {{Act::Move, 5, 5}, {Act::Move, 40, 5}}, 1, false, 0},
    {"press", {{Act::Move, 5, 5}, {Act::LDown, 5, 5}}, 3, true, 0},
    {"click", {{Act::Move, 5, 5}, {Act::LDown, 5, 5}, {Act::LUp, 5, 5}}, 1, false, 1},
    {"click then move inside",
     {{Act::Move, 5, 5}, {Act::LDown, 5, 5}, {Act::LUp, 5, 5}, {Act::Move, 6, 5}},
     2,
     true,
     1},
    {"double click",
     {{Act::Move, 5, 5},
      {Act::LDown, 5, 5},
      {Act::LUp, 5, 5},
      {Act::LDown, 5, 5},
      {Act::LUp, 5, 5}},
     1,
     false,
     2},
    {"drag out", {{Act::Move, 5, 5}, {Act::LDown, 5, 5}, {Act::Move, 40, 5}}, 1, false, 0},
    {"drag out and release outside",
     {{Act::Move, 5, 5}, {Act::LDown, 5, 5}, {Act::Move, 40, 5}, {Act::LUp, 40, 5}},
     1,
     false,
     0},
    {"drag out, back in, release",
     {{Act::Move, 5, 5},
      {Act::LDown, 5, 5},
      {Act::Move, 40, 5},
      {Act::Move, 5, 5},
      {Act::LUp, 5, 5}},
     1,
     false,
     1},
    {"drag out and back in",
     {{Act::Move, 5, 5}, {Act::LDown, 5, 5}, {Act::Move, 40, 5}, {Act::Move, 5, 5}},
     3,
     true,
     0},
    {"enter with left held, release",
     {{Act::LDown, 40, 5}, {Act::Move, 5, 5}, {Act::LUp, 5, 5}},
     1,
     false,
     1},
    {"enter with left held", {{Act::LDown, 40, 5}, {Act::Move, 5, 5}}, 3, true, 0},
    {"enter with right held, release right",
     {{Act::RDown, 40, 5}, {Act::Move, 5, 5}, {Act::RUp, 5, 5}},
     3,
     true,
     0},
    {"right held, leave",
     {{Act::RDown, 40, 5}, {Act::Move, 5, 5}, {Act::RUp, 5, 5}, {Act::Move, 40, 5}},
     1,
     false,
     0},
    {"right click while hovering",
     {{Act::Move, 5, 5}, {Act::RDown, 5, 5}, {Act::RUp, 5, 5}},
     2,
     true,
     0},
    {"transparent pixel", {{Act::Move, 0, 5}}, 1, false, 0},
    {"transparent pixel while captured", {{Act::Move, 5, 5}, {Act::Move, 0, 5}}, 1, false, 0},
    {"left of the window while pressed",
     {{Act::Move, 5, 5}, {Act::LDown, 5, 5}, {Act::Move, -3, 5}},
     1,
     false,
     0},
};

TEST_F(HoverButton, MouseSequences) {
    for (const Sequence& s : kSequences) {
        SCOPED_TRACE(s.name);
        const HWND b = MakeButton("all");
        for (const Event& e : s.events) {
            switch (e.act) {
                case Act::Move:
                    Move(e.x, e.y);
                    break;
                case Act::LDown:
                case Act::LUp:
                    Button(input::Button::Left, e.act == Act::LDown, e.x, e.y);
                    break;
                case Act::RDown:
                case Act::RUp:
                    Button(input::Button::Right, e.act == Act::RDown, e.x, e.y);
                    break;
            }
        }
        EXPECT_EQ(State(b), s.state);
        EXPECT_EQ(GetCapture() == b, s.captured);
        EXPECT_EQ(Commands(), (std::vector<std::pair<WPARAM, LPARAM>>(
                                  static_cast<std::size_t>(s.commands), {kId, 0})));
        // Leave the mouse where no window is, buttons up, for the next row.
        input::MouseButton(parent, input::Button::Left, false, 200, 150);
        input::MouseButton(parent, input::Button::Right, false, 200, 150);
        ReleaseCapture();
        DestroyWindow(b);
        Pump();
        EXPECT_EQ(detail::GdiObjectCount(), gdiBefore);
    }
}

TEST_F(HoverButton, CutAwayPixelsSendNothingToTheButton) {
    MakeButton("all");
    Move(0, 5);
    Move(9, 1);
    EXPECT_TRUE(ButtonLog().empty());
    EXPECT_EQ(ziru::test::LoggedOf({WM_MOUSEMOVE}).size(), 2u);
}

// ===== On screen ===========================================================

// The parent with a GL context; the read-back hook sees the picture after
// the children are drawn over it, before the swap.
class HoverButtonOnScreen : public HoverButton {
  protected:
    void SetUp() override {
        HoverButton::SetUp();
        dc = GetDC(parent);
        PIXELFORMATDESCRIPTOR pfd{};
        pfd.nSize = sizeof pfd;
        pfd.nVersion = 1;
        pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
        pfd.cColorBits = 32;
        pfd.cDepthBits = 24;
        SetPixelFormat(dc, ChoosePixelFormat(dc, &pfd), &pfd);
        rc = wglCreateContext(dc);
        ASSERT_TRUE(rc);
        ASSERT_TRUE(wglMakeCurrent(dc, rc));
        detail::SetCompositeHook([this](HWND) {
            RECT client;
            GetClientRect(parent, &client);
            width = client.right;
            height = client.bottom;
            pixels.assign(static_cast<std::size_t>(width) * height * 4, 0);
            glPixelStorei(GL_PACK_ALIGNMENT, 1);
            glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        });
    }
    void TearDown() override {
        detail::SetCompositeHook(nullptr);
        wglMakeCurrent(HDC(), HGLRC());
        wglDeleteContext(rc);
        ReleaseDC(parent, dc);
        HoverButton::TearDown();
    }

    // A frame: the GL picture cleared to dark grey, a state the program set
    // for itself, then the swap.
    void Frame() {
        glClearColor(0.25f, 0.25f, 0.25f, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glEnable(GL_BLEND);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslatef(1, 2, 3);
        ASSERT_TRUE(SwapBuffers(dc));
    }

    // 0x00RRGGBB at client X, Y of the parent (the read-back is bottom-up).
    std::uint32_t Pixel(int x, int y) const {
        const std::size_t i = (static_cast<std::size_t>(height - 1 - y) * width + x) * 4;
        return (std::uint32_t{pixels[i]} << 16) | (std::uint32_t{pixels[i + 1]} << 8) |
               pixels[i + 2];
    }
    // Every pixel of the button's rectangle: the picture's colour on its
    // shape, the GL picture on the cut-away pixels.
    void ExpectButton(std::uint32_t colour) const {
        for (int y = 0; y < kH; ++y) {
            for (int x = 0; x < kW; ++x) {
                const std::uint32_t want = Transparent(x, y) ? 0x404040 : colour;
                ASSERT_EQ(Pixel(kX + x, kY + y), want) << x << "," << y;
            }
        }
        EXPECT_EQ(Pixel(kX + kW, kY), 0x404040u);
        EXPECT_EQ(Pixel(kX, kY + kH), 0x404040u);
    }

    HDC dc;
    HGLRC rc;
    int width = 0, height = 0;
    std::vector<std::uint8_t> pixels;
};

TEST_F(HoverButtonOnScreen, TheButtonShowsOverTheGlPictureCutToItsShape) {
    const HWND b = MakeButton("all");
    Frame();
    ExpectButton(kNormal);
    Move(5, 5);
    Frame();
    ExpectButton(kHover);
    Button(input::Button::Left, true, 5, 5);
    Frame();
    ExpectButton(kPressed);
    // The program's own state comes back as it left it.
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_EQ(m[12], 1.0f);
    EXPECT_EQ(m[14], 3.0f);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    Button(input::Button::Left, false, 5, 5);
    // A hidden button is not drawn; a destroyed one leaves nothing behind.
    ShowWindow(b, SW_HIDE);
    Frame();
    EXPECT_EQ(Pixel(kX + 5, kY + 5), 0x404040u);
    DestroyWindow(b);
    Frame();
    EXPECT_EQ(Pixel(kX + 5, kY + 5), 0x404040u);
    EXPECT_EQ(detail::GdiObjectCount(), gdiBefore);
}

}  // namespace
