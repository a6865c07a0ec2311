// Writes the pictures of the shaped-button example: three buttons, each as a
// normal, a hover and a pressed picture (24-bit BMP, 64 x 64) on a magenta
// background that the buttons cut away:
//   turnN/H/P.BMP  an orange disc with a double arrow (turns the view)
//   zoomN/H/P.BMP  a blue diamond with a plus sign (zooms)
//   lightN/H/P.BMP a green rounded star with a sun (changes the light)
// Normal is lit from above; hover is brighter with a white rim; pressed is
// darker, lit from below, with the symbol moved down and right by 2 pixels.
// The bytes depend on nothing but this file.
//
//   make_button_pictures [DIRECTORY]     (default: assets/buttons)
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kSize = 64;
constexpr double kPi = 3.14159265358979323846;

struct Rgb {
    double r, g, b;
};

enum class Look { Normal, Hover, Pressed };

// How far inside the outline a pixel centre lies, in pixels (negative:
// outside), for a shape centred in the picture.
using Outline = double (*)(double dx, double dy);
// Whether the symbol covers the point (relative to the centre).
using Symbol = bool (*)(double dx, double dy);

double Disc(double dx, double dy) {
    return 29.0 - std::hypot(dx, dy);
}

double Diamond(double dx, double dy) {
    return (31.0 - std::fabs(dx) - std::fabs(dy)) / std::sqrt(2.0);
}

double Star(double dx, double dy) {
    const double angle = std::atan2(dy, dx) + kPi / 2;
    const double radius = 23.0 + 7.5 * std::cos(5 * angle);
    return radius - std::hypot(dx, dy);
}

bool DoubleArrow(double dx, double dy) {
    const double ax = std::fabs(dx);
    const bool bar = ax <= 10 && std::fabs(dy) <= 3;
    const bool head = ax > 10 && ax <= 19 && std::fabs(dy) <= 19 - ax;
    return bar || head;
}

bool Plus(double dx, double dy) {
    const double ax = std::fabs(dx), ay = std::fabs(dy);
    return (ax <= 4 && ay <= 14) || (ay <= 4 && ax <= 14);
}

bool Sun(double dx, double dy) {
    const double d = std::hypot(dx, dy);
    if (d <= 6.5) return true;
    // Eight short rays between radius 9 and 13.
    const double angle = std::atan2(dy, dx);
    const double step = kPi / 4;
    const double offset = std::remainder(angle, step);
    return d >= 9 && d <= 13 && std::fabs(offset) * d <= 1.6;
}

std::uint8_t Channel(double v) {
    if (v <= 0) return 0;
    if (v >= 255) return 255;
    return static_cast<std::uint8_t>(std::lround(v));
}

// Rows top-down, blue-green-red.
std::vector<std::uint8_t> Draw(Outline outline, Symbol symbol, Rgb base, Look look) {
    std::vector<std::uint8_t> pixels(kSize * kSize * 3);
    const double centre = (kSize - 1) / 2.0;
    const int shift = look == Look::Pressed ? 2 : 0;
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const double dx = x - centre, dy = y - centre;
            const double inside = outline(dx, dy);
            std::uint8_t* p = &pixels[(static_cast<std::size_t>(y) * kSize + x) * 3];
            if (inside < 0) {
                p[0] = 255, p[1] = 0, p[2] = 255;
                continue;
            }
            // Light from above (from below when pressed), over the height.
            const double t = dy / 32.0;
            double shade = look == Look::Pressed ? 0.62 + 0.25 * t : 1.0 - 0.35 * t;
            if (look == Look::Hover) shade *= 1.3;
            Rgb c{base.r * shade, base.g * shade, base.b * shade};
            if (inside < 2.5) {
                // The rim: dark normally, white when hovered.
                c = look == Look::Hover ? Rgb{255, 255, 255}
                                        : Rgb{c.r * 0.45, c.g * 0.45, c.b * 0.45};
            } else if (symbol(dx - shift, dy - shift)) {
                c = look == Look::Pressed ? Rgb{215, 215, 200}
                    : look == Look::Hover ? Rgb{255, 255, 210}
                                          : Rgb{245, 245, 235};
            }
            p[0] = Channel(c.b), p[1] = Channel(c.g), p[2] = Channel(c.r);
        }
    }
    return pixels;
}

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// A bottom-up 24-bit BMP with a 40-byte info header.
bool WriteBmp(const std::string& name, const std::vector<std::uint8_t>& topDown) {
    const std::uint32_t stride = (kSize * 3 + 3) / 4 * 4;
    const std::uint32_t imageBytes = stride * kSize;
    std::vector<std::uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, 54 + imageBytes);
    Put32(out, 0);
    Put32(out, 54);
    Put32(out, 40);
    Put32(out, kSize);
    Put32(out, kSize);
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0);
    Put32(out, imageBytes);
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    for (int row = kSize - 1; row >= 0; --row) {
        const auto* line = &topDown[static_cast<std::size_t>(row) * kSize * 3];
        out.insert(out.end(), line, line + kSize * 3);
        out.resize(out.size() + (stride - kSize * 3), 0);
    }
    std::FILE* file = std::fopen(name.c_str(), "wb");
    if (!file) return false;
    const bool ok = std::fwrite(out.data(), 1, out.size(), file) == out.size();
    return std::fclose(file) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string dir = argc > 1 ? argv[1] : "assets/buttons";
    struct Button {
        const char* name;
        Outline outline;
        Symbol symbol;
        Rgb base;
    };
    const Button buttons[] = {
        {"turn", Disc, DoubleArrow, {235, 120, 30}},
        {"zoom", Diamond, Plus, {40, 110, 230}},
        {"light", Star, Sun, {60, 185, 70}},
    };
    const struct {
        const char* letter;
        Look look;
    } looks[] = {{"N", Look::Normal}, {"H", Look::Hover}, {"P", Look::Pressed}};
    for (const Button& b : buttons) {
        for (const auto& l : looks) {
            const std::string name = dir + "/" + b.name + l.letter + ".BMP";
            if (!WriteBmp(name, Draw(b.outline, b.symbol, b.base, l.look))) {
                std::fprintf(stderr, "make_button_pictures: cannot write %s\n", name.c_str());
                return 1;
            }
        }
    }
    return 0;
}
