// Captures what a drawing call sends to OpenGL through feedback mode and
// groups the emitter's triangles into billboards, so tests can count the
// particles drawn and measure each one in window coordinates.
#pragma once

#include <GL/gl.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace ziru::test {

// A vertex as feedback reports it in GL_3D_COLOR_TEXTURE mode.
struct FeedbackVertex {
    float x, y, z;
    float r, g, b, a;
    float s, t, p, q;
};

struct FeedbackTriangle {
    FeedbackVertex v[3];
};

// Runs DRAW in feedback mode and returns the triangles it produced (polygons
// arrive already split into triangles). An overflowing buffer fails the
// caller's expectations by returning nothing.
inline std::vector<FeedbackTriangle> CaptureTriangles(const std::function<void()>& draw) {
    static std::vector<float> buffer(1 << 20);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint size = glRenderMode(GL_RENDER);
    std::vector<FeedbackTriangle> triangles;
    constexpr int FLOATS = sizeof(FeedbackVertex) / sizeof(float);
    for (GLint i = 0; i < size;) {
        const auto token = static_cast<GLint>(buffer[i]);
        if (token == GL_POLYGON_TOKEN && static_cast<int>(buffer[i + 1]) == 3) {
            FeedbackTriangle tri;
            for (int k = 0; k < 3; ++k)
                std::copy_n(&buffer[i + 2 + k * FLOATS], FLOATS, &tri.v[k].x);
            triangles.push_back(tri);
            i += 2 + 3 * FLOATS;
        } else {
            // Anything but triangles is unexpected here: report nothing.
            return {};
        }
    }
    return triangles;
}

// The bounding box of a run of triangles in window coordinates.
struct Box {
    float xmin = 1e30f, xmax = -1e30f, ymin = 1e30f, ymax = -1e30f;
    void Add(const FeedbackVertex& v) {
        xmin = std::min(xmin, v.x);
        xmax = std::max(xmax, v.x);
        ymin = std::min(ymin, v.y);
        ymax = std::max(ymax, v.y);
    }
    float Width() const { return xmax - xmin; }
    float Height() const { return ymax - ymin; }
    float CentreX() const { return (xmin + xmax) / 2; }
    float CentreY() const { return (ymin + ymax) / 2; }
};

// Splits TRIANGLES into billboards of PER_BILLBOARD triangles each (2 for a
// textured square, 32 for a disc) and boxes each one.
inline std::vector<Box> Billboards(const std::vector<FeedbackTriangle>& triangles,
                                   std::size_t per_billboard) {
    std::vector<Box> boxes;
    for (std::size_t i = 0; i + per_billboard <= triangles.size(); i += per_billboard) {
        Box box;
        for (std::size_t k = i; k < i + per_billboard; ++k)
            for (const FeedbackVertex& v : triangles[k].v) box.Add(v);
        boxes.push_back(box);
    }
    return boxes;
}

}  // namespace ziru::test
