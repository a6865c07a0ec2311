// Child windows on screen: each child window that paints gets a software
// surface of its own (what BitBlt onto its paint context writes), its window
// region (SetWindowRgn) decides where it takes the mouse, and at every buffer
// swap the shown children are drawn over the GL picture, cut to their
// regions. Each surface becomes a GL texture, uploaded again only after it
// changed, with the region in its alpha channel.
// Depends on the window table, GDI's regions and surface provider, and GL.
#include <GL/gl.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <vector>

#include "platform/core/core.h"
#include "platform/core/internal.h"
#include "platform/gdi/gdi.h"
#include "platform/gl/gl.h"

namespace ziru::platform {

namespace detail {

namespace {

struct ChildLayer {
    // Client-area pixels, 32 bits (blue, green, red, unused), top-down.
    std::vector<std::uint8_t> pixels;
    int width = 0;
    int height = 0;
    // Drawn on at least once: a child that never painted (the status bar)
    // shows nothing rather than an empty rectangle.
    bool painted = false;
    // Pixels or shape changed since the last upload.
    bool dirty = false;
    // The window region, window coordinates; 0 for the whole rectangle.
    HRGN shape;
    GLuint texture = 0;
    // The context the texture was made in.
    HGLRC context;
};

// Keyed by window handle; empty while no child window has painted or been
// shaped, which keeps the swap free of any work.
std::map<std::uint32_t, ChildLayer>& Layers() {
    static std::map<std::uint32_t, ChildLayer> layers;
    return layers;
}

// Texture names of destroyed windows whose context was not current then.
struct OrphanTexture {
    GLuint name;
    HGLRC context;
};
std::vector<OrphanTexture>& Orphans() {
    static std::vector<OrphanTexture> orphans;
    return orphans;
}

bool ChildSurface(HWND window, WindowSurface* surface) {
    const Window* w = FindWindow(window);
    if (w == nullptr || !w->parent) return false;
    const RECT client = ClientScreenRect(*w);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    if (width <= 0 || height <= 0) return false;
    ChildLayer& layer = Layers()[window.value];
    if (layer.width != width || layer.height != height) {
        layer.pixels.assign(static_cast<std::size_t>(width) * height * 4, 0);
        layer.width = width;
        layer.height = height;
    }
    layer.painted = true;
    layer.dirty = true;
    surface->pixels = layer.pixels.data();
    surface->width = width;
    surface->height = height;
    surface->stride = width * 4;
    return true;
}

// The surface as red, green, blue, alpha rows, alpha 255 inside the shape
// (client pixel X, Y is window pixel X + frame left, Y + frame top).
std::vector<std::uint8_t> MaskedPixels(const ChildLayer& layer, const RECT& frame) {
    const std::size_t count = static_cast<std::size_t>(layer.width) * layer.height;
    std::vector<std::uint8_t> rgba(count * 4);
    for (std::size_t i = 0; i < count; ++i) {
        rgba[i * 4 + 0] = layer.pixels[i * 4 + 2];
        rgba[i * 4 + 1] = layer.pixels[i * 4 + 1];
        rgba[i * 4 + 2] = layer.pixels[i * 4 + 0];
        rgba[i * 4 + 3] = layer.shape ? 0 : 255;
    }
    if (!layer.shape) return rgba;
    for (const RECT& r : RegionRects(layer.shape)) {
        const int top = std::max(0, r.top - frame.top);
        const int bottom = std::min(layer.height, r.bottom - frame.top);
        const int left = std::max(0, r.left - frame.left);
        const int right = std::min(layer.width, r.right - frame.left);
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                rgba[(static_cast<std::size_t>(y) * layer.width + x) * 4 + 3] = 255;
            }
        }
    }
    return rgba;
}

void DeleteOrphansOf(HGLRC context) {
    std::erase_if(Orphans(), [&](const OrphanTexture& orphan) {
        if (orphan.context != context) return false;
        glDeleteTextures(1, &orphan.name);
        return true;
    });
}

// Brings the texture up to date in the current context.
void Upload(ChildLayer& layer, const Window& w, HGLRC context) {
    if (layer.texture != 0 && layer.context != context) {
        // Made in another context: that name means nothing here.
        layer.texture = 0;
        layer.dirty = true;
    }
    if (layer.texture == 0) {
        glGenTextures(1, &layer.texture);
        layer.context = context;
        layer.dirty = true;
    }
    glBindTexture(GL_TEXTURE_2D, layer.texture);
    if (!layer.dirty) return;
    const std::vector<std::uint8_t> rgba = MaskedPixels(layer, FrameOf(w.style));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, layer.width, layer.height, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, rgba.data());
    layer.dirty = false;
}

// Draws WINDOW's shown children, in creation order (later ones on top),
// each followed by its own children. ORIGIN is the top-level client area's
// screen position.
void DrawChildren(const Window& window, const POINT& origin, HGLRC context) {
    for (HWND handle : window.children) {
        const Window* child = FindWindow(handle);
        if (child == nullptr || !child->visible) continue;
        auto found = Layers().find(handle.value);
        if (found != Layers().end() && found->second.painted) {
            ChildLayer& layer = found->second;
            const RECT client = ClientScreenRect(*child);
            // The surface keeps its size until the child paints again.
            const float x0 = static_cast<float>(client.left - origin.x);
            const float y0 = static_cast<float>(client.top - origin.y);
            const float x1 = x0 + static_cast<float>(layer.width);
            const float y1 = y0 + static_cast<float>(layer.height);
            Upload(layer, *child, context);
            glBegin(GL_QUADS);
            glTexCoord2f(0, 0);
            glVertex2f(x0, y0);
            glTexCoord2f(0, 1);
            glVertex2f(x0, y1);
            glTexCoord2f(1, 1);
            glVertex2f(x1, y1);
            glTexCoord2f(1, 0);
            glVertex2f(x1, y0);
            glEnd();
        }
        DrawChildren(*child, origin, context);
    }
}

void CompositeLayers(HWND top) {
    if (Layers().empty()) return;
    const Window* w = FindWindow(top);
    if (w == nullptr || w->children.empty() || !IsShown(*w)) return;
    const HGLRC context = wglGetCurrentContext();
    if (!context) return;
    const RECT client = ClientScreenRect(*w);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    if (width <= 0 || height <= 0) return;

    // Everything touched here is put back, so the program's next frame
    // starts from the state it left.
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
    GLint activeTexture = GL_TEXTURE0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &activeTexture);
    glActiveTexture(GL_TEXTURE0);
    glMatrixMode(GL_TEXTURE);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, width, height, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();

    DeleteOrphansOf(context);
    glViewport(0, 0, width, height);
    for (GLenum cap : {GL_LIGHTING,      GL_DEPTH_TEST,    GL_CULL_FACE,        GL_BLEND,
                       GL_FOG,           GL_SCISSOR_TEST,  GL_STENCIL_TEST,     GL_COLOR_MATERIAL,
                       GL_TEXTURE_1D,    GL_TEXTURE_3D,    GL_TEXTURE_CUBE_MAP, GL_TEXTURE_GEN_S,
                       GL_TEXTURE_GEN_T, GL_TEXTURE_GEN_R, GL_TEXTURE_GEN_Q,    GL_CLIP_PLANE0,
                       GL_CLIP_PLANE1,   GL_CLIP_PLANE2,   GL_CLIP_PLANE3,      GL_CLIP_PLANE4,
                       GL_CLIP_PLANE5}) {
        glDisable(cap);
    }
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    // The shape is the alpha channel: pixels outside it are not drawn.
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.5f);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glColor4f(1, 1, 1, 1);

    DrawChildren(*w, POINT{client.left, client.top}, context);

    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_TEXTURE);
    glPopMatrix();
    glActiveTexture(static_cast<GLenum>(activeTexture));
    glPopClientAttrib();
    glPopAttrib();
}

}  // namespace

void InstallChildLayer() {
    SetWindowSurfaceProvider(ChildSurface);
}

void ForgetChildLayer(HWND window) {
    auto found = Layers().find(window.value);
    if (found == Layers().end()) return;
    ChildLayer& layer = found->second;
    if (layer.shape) ReleaseAdoptedRegion(layer.shape);
    if (layer.texture != 0) {
        const HGLRC context = wglGetCurrentContext();
        if (context && context == layer.context) {
            glDeleteTextures(1, &layer.texture);
        } else {
            Orphans().push_back(OrphanTexture{layer.texture, layer.context});
        }
    }
    Layers().erase(found);
}

bool ShapeContains(HWND window, int x, int y) {
    auto found = Layers().find(window.value);
    if (found == Layers().end() || !found->second.shape) return true;
    return RegionContains(found->second.shape, x, y);
}

void CompositeChildLayers(HWND top) {
    CompositeLayers(top);
}

}  // namespace detail

int SetWindowRgn(HWND window, HRGN region, BOOL /*redraw*/) {
    detail::Window* w = detail::FindWindow(window);
    if (w == nullptr) return 0;
    if (region && !detail::AdoptRegion(region)) return 0;
    auto found = detail::Layers().find(window.value);
    if (found == detail::Layers().end()) {
        if (!region) return 1;
        found = detail::Layers().emplace(window.value, detail::ChildLayer{}).first;
    }
    detail::ChildLayer& layer = found->second;
    if (layer.shape && layer.shape != region) detail::ReleaseAdoptedRegion(layer.shape);
    layer.shape = region;
    layer.dirty = true;
    return 1;
}

}  // namespace ziru::platform
