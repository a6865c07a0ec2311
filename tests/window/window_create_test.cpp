// CREATEOGLWINDOW and DELETEOGLWINDOW on the offscreen driver: classes,
// geometry windowed and full screen, the status bar, Escape and the close
// box, and the three fatal messages. The classes stay registered for the
// life of a process, so each test wants a fresh one (CTest runs them so).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "buttons/hoverbutton.h"
#include "platform/core/input.h"
#include "window/window.h"

namespace {

using namespace ziru::window;
using namespace ziru::platform;

constexpr char kTitle[] = "Esempio di fiamme con ZirUzodo";

class Create : public ::testing::Test {
  protected:
    void SetUp() override {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        WNDCLASSEXA wc;
        if (GetClassInfoExA(HINSTANCE(), "GLWindow", &wc)) {
            GTEST_SKIP() << "needs a process of its own (run it through ctest)";
        }
        boxes.clear();
        SetMessageBoxResponder([this](const MessageBoxCall& call) {
            boxes.push_back(call.caption + "|" + call.text);
            return IDOK;
        });
    }
    void TearDown() override { SetMessageBoxResponder(nullptr); }
    std::vector<std::string> boxes;
};

// Shows each box on standard error, bytes above 0x7F as \xNN, for the
// death tests to match.
void PrintBoxes() {
    SetMessageBoxResponder([](const MessageBoxCall& call) {
        std::string line = call.caption + "|";
        for (unsigned char c : call.text) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            line += c < 0x80 ? std::string(1, static_cast<char>(c)) : std::string(hex);
        }
        std::fprintf(stderr, "%s\n", line.c_str());
        return IDOK;
    });
}

void ExpectRect(HWND w, RECT expected, int clientWidth, int clientHeight) {
    RECT r;
    ASSERT_TRUE(GetWindowRect(w, &r));
    EXPECT_EQ(r.left, expected.left);
    EXPECT_EQ(r.top, expected.top);
    EXPECT_EQ(r.right, expected.right);
    EXPECT_EQ(r.bottom, expected.bottom);
    ASSERT_TRUE(GetClientRect(w, &r));
    EXPECT_EQ(r.right, clientWidth);
    EXPECT_EQ(r.bottom, clientHeight);
}

TEST_F(Create, WindowedRegistersCreatesAndEndsOnEscape) {
    EXPECT_FALSE(ACTIVE);
    OGLWINDOWSETTING(ARROW, "", GENERIC, "");
    EXPECT_EQ(OBJNULL, 0u);  // no context yet
    ASSERT_TRUE(CREATEOGLWINDOW(kTitle, 800, 600, 32, false));
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(ACTIVE);
    EXPECT_EQ(WIDTH, 800);
    EXPECT_EQ(HEIGHT, 600);
    ExpectRect(HWINDOW, RECT{0, 0, 800, 600}, 794, 578);
    char title[64];
    GetWindowTextA(HWINDOW, title, sizeof title);
    EXPECT_STREQ(title, kTitle);
    EXPECT_TRUE(DCWINDOW);
    EXPECT_EQ(wglGetCurrentContext(), RCWINDOW);
    EXPECT_FALSE(HSTATUS);

    WNDCLASSEXA wc;
    ASSERT_TRUE(GetClassInfoExA(HINSTANCE(), "GLWindow", &wc));
    EXPECT_EQ(wc.style, CS_VREDRAW | CS_HREDRAW);
    EXPECT_EQ(wc.lpfnWndProc, GLWNDPROC);
    EXPECT_EQ(wc.hCursor, LoadCursorA(HINSTANCE(), IDC_ARROW));
    EXPECT_EQ(wc.hIcon, LoadIconA(HINSTANCE(), IDI_APPLICATION));
    ASSERT_TRUE(GetClassInfoExA(HINSTANCE(), SZHOVERCLASS, &wc));
    EXPECT_EQ(wc.lpfnWndProc, ziru::buttons::HOVERBUTTONHANDLER);
    EXPECT_EQ(wc.style, 0u);
    EXPECT_EQ(AsObject(wc.hbrBackground), GetStockObject(NULL_BRUSH));

    // Escape: ACTIVE falls at once, the key is not recorded, the window stays.
    input::Key(HWINDOW, static_cast<UINT>(VK_ESCAPE), true);
    for (int frame = 0; frame < 10 && ACTIVE; ++frame) SETGLMSG();
    EXPECT_FALSE(ACTIVE);
    EXPECT_EQ(SETKEY[VK_ESCAPE], 0);
    EXPECT_TRUE(IsWindow(HWINDOW));
    DELETEOGLWINDOW();
    EXPECT_FALSE(IsWindow(HWINDOW));
    EXPECT_FALSE(wglGetCurrentContext());
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Create, FullScreenTakesTheScreenSize) {
    ASSERT_TRUE(CREATEOGLWINDOW(kTitle, 800, 600, 32, true));
    EXPECT_EQ(WIDTH, 1024);
    EXPECT_EQ(HEIGHT, 768);
    ExpectRect(HWINDOW, RECT{0, 0, 1024, 768}, 1022, 766);
    DELETEOGLWINDOW();
}

TEST_F(Create, CloseBoxDestroysTheWindowAndTearDownStaysQuiet) {
    ASSERT_TRUE(CREATEOGLWINDOW(kTitle, 800, 600, 32, false));
    input::CloseRequested(HWINDOW);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, HWND(), 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, WM_CLOSE);
    EXPECT_EQ(msg.hwnd, HWINDOW);
    int frames = 0;
    do {
        glClear(GL_COLOR_BUFFER_BIT);
        SETGLMSG();
        SwapBuffers(DCWINDOW);
        ++frames;
    } while (ACTIVE && frames < 100);
    EXPECT_FALSE(ACTIVE);
    EXPECT_FALSE(IsWindow(HWINDOW));
    DELETEOGLWINDOW();
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Create, StatusBarShowsItsTextAndParts) {
    SHOWSTATUSBAR = true;
    MAXSTATUSITEM = 2;
    STATUSITEM[1] = 100;
    STATUSITEM[2] = -1;
    ASSERT_TRUE(CREATEOGLWINDOW(kTitle, 800, 600, 32, false));
    ASSERT_TRUE(HSTATUS);
    EXPECT_EQ(HSTATUS, AWND);
    EXPECT_EQ(GetParent(HSTATUS), HWINDOW);
    EXPECT_EQ(GetDlgCtrlID(HSTATUS), 30482);
    EXPECT_STREQ(FILENAME.data(), "Percorso file");
    EXPECT_EQ(FILENAME[260], 0);
    int parts[4] = {};
    EXPECT_EQ(SendMessageA(HSTATUS, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(parts)), 2);
    EXPECT_EQ(parts[0], 100);
    EXPECT_EQ(EDGES[2], -1);
    DELETEOGLWINDOW();
    EXPECT_FALSE(IsWindow(HSTATUS));
}

TEST_F(Create, SecondWindowFailsAtRegistration) {
    EXPECT_EXIT(
        {
            PrintBoxes();
            CREATEOGLWINDOW(kTitle, 800, 600, 32, false);
            CREATEOGLWINDOW(kTitle, 800, 600, 32, false);
        },
        ::testing::ExitedWithCode(1), "Error\\|Errore di registro per la rispettiva applicazione!");
}

TEST_F(Create, NoWindowIsFatalAfterTheBarsWereTried) {
    EXPECT_EXIT(
        {
            setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
            PrintBoxes();
            SHOWMENUBAR = true;
            SHOWSTATUSBAR = true;
            CREATEMENUBAR = [] { std::fprintf(stderr, "menu bar hook\n"); };
            CREATEOGLWINDOW(kTitle, 800, 600, 32, false);
        },
        ::testing::ExitedWithCode(1),
        "menu bar hook\nError\\|Impossibile creare la finestra per la rispettiva applicazione!");
}

TEST_F(Create, NoGlIsFatal) {
    EXPECT_EXIT(
        {
            // The dummy driver makes windows but has no OpenGL.
            setenv("SDL_VIDEODRIVER", "dummy", 1);
            PrintBoxes();
            CREATEOGLWINDOW(kTitle, 800, 600, 32, false);
        },
        ::testing::ExitedWithCode(1),
        "Error\\|la rispettiva applicazione non \\\\xE8 stata inizilizata!");
}

TEST_F(Create, BitsOutsideAByteIsARunTimeError) {
    EXPECT_EXIT(CREATEOGLWINDOW(kTitle, 800, 600, 256, false), ::testing::ExitedWithCode(217), "");
}

}  // namespace
