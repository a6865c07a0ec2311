// The shaped-buttons example as a process on the offscreen driver: its
// pictures show the three buttons over the flame scene, cut to their shapes,
// lit on hover and changed when pressed, and a click on the disc turns the
// scene. Input is scripted through ZIRU_TEST_EVENTS; pictures are the
// example's own PPM snapshots.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;  // top row first

    unsigned Pixel(int x, int y) const {
        const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
        return (unsigned{rgb[i]} << 16) | (unsigned{rgb[i + 1]} << 8) | rgb[i + 2];
    }
};

std::vector<unsigned char> ReadBytes(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

Picture ReadPpm(const std::string& name) {
    Picture p;
    std::FILE* f = std::fopen(name.c_str(), "rb");
    if (f == nullptr) return p;
    int max = 0;
    if (std::fscanf(f, "P6 %d %d %d", &p.width, &p.height, &max) == 3 && std::fgetc(f) == '\n') {
        p.rgb.resize(static_cast<std::size_t>(p.width) * p.height * 3);
        if (std::fread(p.rgb.data(), 1, p.rgb.size(), f) != p.rgb.size()) p.rgb.clear();
    }
    std::fclose(f);
    return p;
}

// The button pictures are plain 24-bit bottom-up BMPs.
Picture ReadBmp(const std::string& name) {
    const std::vector<unsigned char> b = ReadBytes(name);
    Picture p;
    if (b.size() < 54) return p;
    auto u32 = [&](std::size_t at) {
        return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (unsigned{b[at + 3]} << 24);
    };
    p.width = static_cast<int>(u32(18));
    p.height = static_cast<int>(u32(22));
    const std::size_t stride = (static_cast<std::size_t>(p.width) * 3 + 3) / 4 * 4;
    for (int y = 0; y < p.height; ++y) {
        const std::size_t row = u32(10) + (p.height - 1 - y) * stride;
        for (int x = 0; x < p.width; ++x) {
            const std::size_t at = row + x * 3;
            p.rgb.insert(p.rgb.end(), {b[at + 2], b[at + 1], b[at]});
        }
    }
    return p;
}

constexpr unsigned kMagenta = 0xFF00FF;

struct Placed {
    const char* name;
    int x, y;
};
// Where the example puts its buttons (client coordinates).
constexpr Placed kButtons[] = {{"turn", 12, 12}, {"zoom", 86, 12}, {"light", 160, 12}};

class ButtonsFlames : public ::testing::Test {
  protected:
    static std::string SourceDir() { return ZIRU_SOURCE_DIR; }

    // Runs the example for FRAMES frames with EVENTS, writing a snapshot
    // after each frame of AT; the snapshots in that order.
    std::vector<Picture> Run(const std::string& events, int frames, std::vector<int> at) {
        static int runs = 0;
        const auto dir =
            std::filesystem::temp_directory_path() /
            ("buttons_flames_test_" + std::to_string(::getpid()) + "_" + std::to_string(++runs));
        std::filesystem::create_directories(dir);
        std::string command =
            "env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=offscreen "
            "ZIRU_TEST_EVENTS='" +
            events + "' '" + BUTTONS_FLAMES + "' '" + SourceDir() + "/assets' --frames " +
            std::to_string(frames);
        for (int frame : at) {
            command += " --snapshot " + std::to_string(frame) + " '" +
                       (dir / std::to_string(frame)).string() + ".ppm'";
        }
        command += " 2>/dev/null";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        std::vector<Picture> pictures;
        for (int frame : at) {
            pictures.push_back(ReadPpm((dir / std::to_string(frame)).string() + ".ppm"));
        }
        std::filesystem::remove_all(dir);
        return pictures;
    }

    // Every pixel of the button's picture where its shape is; the scene
    // (never magenta) where the picture is cut away.
    static void ExpectButton(const Picture& shot, const Placed& where, char look) {
        const Picture picture =
            ReadBmp(SourceDir() + "/assets/buttons/" + where.name + look + ".BMP");
        ASSERT_EQ(picture.width, 64) << where.name << look;
        ASSERT_EQ(shot.width, 794);
        ASSERT_EQ(shot.height, 578);
        int opaque = 0;
        for (int y = 0; y < picture.height; ++y) {
            for (int x = 0; x < picture.width; ++x) {
                const unsigned want = picture.Pixel(x, y);
                const unsigned got = shot.Pixel(where.x + x, where.y + y);
                if (want == kMagenta) {
                    ASSERT_NE(got, kMagenta) << where.name << look << " " << x << "," << y;
                } else {
                    ++opaque;
                    ASSERT_EQ(got, want) << where.name << look << " " << x << "," << y;
                }
            }
        }
        EXPECT_GT(opaque, 1000);
        EXPECT_LT(opaque, 64 * 64 - 300);
    }
};

// The pointer goes to the disc (client 44, 44), the left button goes down
// and comes up there. One event is reported per pump, and the frame loop
// pumps once a frame plus once per message: the gaps leave room for that.
constexpr char kClickOnTheDisc[] = "5:move:44,44;40:down:L,44,44;80:up:L,44,44";

TEST_F(ButtonsFlames, ButtonsShowOverTheSceneLightUpAndPress) {
    const std::vector<Picture> shots = Run(kClickOnTheDisc, 110, {25, 55, 110});
    ASSERT_EQ(shots.size(), 3u);
    ExpectButton(shots[0], kButtons[0], 'H');
    ExpectButton(shots[1], kButtons[0], 'P');
    ExpectButton(shots[2], kButtons[0], 'N');
    for (const Picture& shot : shots) {
        ExpectButton(shot, kButtons[1], 'N');
        ExpectButton(shot, kButtons[2], 'N');
    }
}

TEST_F(ButtonsFlames, AClickOnTheDiscTurnsTheScene) {
    const Picture still = Run("", 110, {110}).at(0);
    const Picture turned = Run(kClickOnTheDisc, 110, {110}).at(0);
    ASSERT_EQ(still.rgb.size(), turned.rgb.size());
    ASSERT_FALSE(still.rgb.empty());
    // The buttons look the same; below them the scene has turned.
    int changed = 0;
    for (int y = 90; y < still.height; ++y) {
        for (int x = 0; x < still.width; ++x) {
            if (still.Pixel(x, y) != turned.Pixel(x, y)) ++changed;
        }
    }
    EXPECT_GT(changed, still.width * (still.height - 90) / 10);
    for (const Placed& b : kButtons) {
        ExpectButton(still, b, 'N');
        ExpectButton(turned, b, 'N');
    }
}

}  // namespace
