// Rendering contexts on SDL: formats chosen by probing the ladder, the
// native window remade for the chosen format, contexts in a handle table of
// their own so that a dead handle is refused, and the swap with its
// compositing step.
#include "platform/core/handles.h"
#include "platform/core/internal.h"
#include "platform/gdi/dc.h"
#include "platform/gl/gl.h"

namespace ziru::platform {

namespace {

struct Context {
    backend::NativeContext native = nullptr;
    HWND window;
};

struct Current {
    HDC dc;
    HGLRC context;
};

std::vector<backend::GlAttributes>& Formats() {
    static std::vector<backend::GlAttributes> formats;
    return formats;
}

detail::HandleTable<Context>& Contexts() {
    static detail::HandleTable<Context> table;
    return table;
}

Current& CurrentState() {
    static Current current;
    return current;
}

// The live window a window DC draws on.
detail::Window* WindowOf(HDC dc) {
    detail::DeviceContext* found = detail::FindDC(dc);
    if (found == nullptr || found->kind != detail::DcKind::Window) return nullptr;
    return detail::FindWindow(found->window);
}

const backend::GlAttributes* FormatAttributes(int format) {
    if (format < 1 || static_cast<std::size_t>(format) > Formats().size()) return nullptr;
    return &Formats()[static_cast<std::size_t>(format) - 1];
}

// A GL window about to lose its native window hands its current context to
// the hidden parking window first.
void InstallDestroyHook() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    detail::SetNativeDestroyHook([](detail::Window& w) {
        const backend::GlAttributes* format = FormatAttributes(w.pixelFormat);
        if (format != nullptr && Contexts().size() > 0) backend::ParkContexts(w.native, *format);
    });
}

int AddFormat(const backend::GlAttributes& attributes) {
    auto& formats = Formats();
    for (std::size_t i = 0; i < formats.size(); ++i) {
        if (formats[i] == attributes) return static_cast<int>(i) + 1;
    }
    formats.push_back(attributes);
    return static_cast<int>(formats.size());
}

}  // namespace

int ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* pfd) {
    if (pfd == nullptr || WindowOf(dc) == nullptr) return 0;
    for (const backend::GlAttributes& rung : detail::FormatLadder(*pfd)) {
        if (backend::ProbeGlAttributes(rung)) return AddFormat(rung);
    }
    return 0;
}

BOOL SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR* /*pfd*/) {
    detail::Window* w = WindowOf(dc);
    const backend::GlAttributes* attributes = FormatAttributes(format);
    if (w == nullptr || attributes == nullptr || w->pixelFormat != 0) return FALSE;
    InstallDestroyHook();
    if (!detail::RecreateNativeForGl(*w, *attributes)) return FALSE;
    w->pixelFormat = format;
    return TRUE;
}

int GetPixelFormat(HDC dc) {
    detail::Window* w = WindowOf(dc);
    return w != nullptr ? w->pixelFormat : 0;
}

int DescribePixelFormat(HDC /*dc*/, int format, UINT size, PIXELFORMATDESCRIPTOR* pfd) {
    const backend::GlAttributes* a = FormatAttributes(format);
    if (a == nullptr) return 0;
    if (pfd != nullptr && size >= sizeof(PIXELFORMATDESCRIPTOR)) {
        *pfd = PIXELFORMATDESCRIPTOR{};
        pfd->nSize = sizeof(PIXELFORMATDESCRIPTOR);
        pfd->nVersion = 1;
        pfd->dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL |
                       (a->doubleBuffer ? PFD_DOUBLEBUFFER : 0) | (a->stereo ? PFD_STEREO : 0);
        pfd->iPixelType = PFD_TYPE_RGBA;
        pfd->cRedBits = static_cast<BYTE>(a->red);
        pfd->cGreenBits = static_cast<BYTE>(a->green);
        pfd->cBlueBits = static_cast<BYTE>(a->blue);
        pfd->cColorBits = static_cast<BYTE>(a->red + a->green + a->blue);
        pfd->cAlphaBits = static_cast<BYTE>(a->alpha);
        pfd->cAccumRedBits = static_cast<BYTE>(a->accumRed);
        pfd->cAccumGreenBits = static_cast<BYTE>(a->accumGreen);
        pfd->cAccumBlueBits = static_cast<BYTE>(a->accumBlue);
        pfd->cAccumAlphaBits = static_cast<BYTE>(a->accumAlpha);
        pfd->cAccumBits =
            static_cast<BYTE>(a->accumRed + a->accumGreen + a->accumBlue + a->accumAlpha);
        pfd->cDepthBits = static_cast<BYTE>(a->depth);
        pfd->cStencilBits = static_cast<BYTE>(a->stencil);
    }
    return static_cast<int>(Formats().size());
}

HGLRC wglCreateContext(HDC dc) {
    detail::Window* w = WindowOf(dc);
    if (w == nullptr || w->pixelFormat == 0 || w->native == nullptr) return HGLRC();
    const backend::NativeContext native = backend::CreateGlContext(w->native);
    if (native == nullptr) return HGLRC();
    return HGLRC(Contexts().Add(Context{native, w->handle}));
}

BOOL wglMakeCurrent(HDC dc, HGLRC context) {
    Current& current = CurrentState();
    if (!context) {
        backend::MakeCurrent(nullptr, nullptr);
        current = Current{};
        return TRUE;
    }
    Context* found = Contexts().Find(context.value);
    detail::Window* w = WindowOf(dc);
    if (found == nullptr || w == nullptr || w->native == nullptr) return FALSE;
    if (!backend::MakeCurrent(w->native, found->native)) return FALSE;
    current = Current{dc, context};
    return TRUE;
}

BOOL wglDeleteContext(HGLRC context) {
    Context* found = Contexts().Find(context.value);
    if (found == nullptr) return FALSE;
    if (CurrentState().context == context) wglMakeCurrent(HDC(), HGLRC());
    backend::DeleteGlContext(found->native);
    Contexts().Remove(context.value);
    if (Contexts().size() == 0) backend::ReleaseParking();
    return TRUE;
}

HGLRC wglGetCurrentContext() {
    return CurrentState().context;
}

HDC wglGetCurrentDC() {
    return CurrentState().dc;
}

BOOL SwapBuffers(HDC dc) {
    detail::Window* w = WindowOf(dc);
    if (w == nullptr || w->native == nullptr || w->pixelFormat == 0) return FALSE;
    detail::CompositeChildren(w->handle);
    return backend::SwapWindow(w->native) ? TRUE : FALSE;
}

}  // namespace ziru::platform
