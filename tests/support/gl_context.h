// A GL context for tests that draw without a window of the library: a
// hidden SDL window on the offscreen driver with a compatibility context,
// current for the fixture's life, plus read-back helpers.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <vector>

namespace ziru::test {

class GlContext {
public:
    // Creates a WIDTH x HEIGHT drawable with a 24-bit depth buffer and makes
    // its context current. Aborts the test program when no context can be made.
    GlContext(int width = 64, int height = 64);
    ~GlContext();
    GlContext(const GlContext&) = delete;
    GlContext& operator=(const GlContext&) = delete;

    int width() const { return width_; }
    int height() const { return height_; }

    // RGBA bytes of the back buffer, rows bottom-up as GL reads them.
    std::vector<std::uint8_t> ReadPixels() const;

private:
    int width_;
    int height_;
    void* window_ = nullptr;
    void* context_ = nullptr;
};

// The current matrix of MODE (GL_MODELVIEW_MATRIX, GL_PROJECTION_MATRIX),
// column by column.
std::vector<float> GetMatrix(GLenum which);

}  // namespace ziru::test
