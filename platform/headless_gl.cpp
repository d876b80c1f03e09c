#include "platform/headless_gl.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>

#include <cstring>

namespace orv::platform {

struct HeadlessGL::Egl {
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLSurface surface = EGL_NO_SURFACE;
    EGLContext context = EGL_NO_CONTEXT;
};

namespace {

EGLDisplay OpenDisplay(std::string& error) {
    auto get_platform_display = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    EGLDisplay display = EGL_NO_DISPLAY;
    if (get_platform_display) {
        display = get_platform_display(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    }
    if (display == EGL_NO_DISPLAY) {
        error = "no EGL surfaceless display (is Mesa's EGL installed?)";
        return EGL_NO_DISPLAY;
    }
    EGLint major = 0, minor = 0;
    if (!eglInitialize(display, &major, &minor)) {
        error = "eglInitialize failed";
        return EGL_NO_DISPLAY;
    }
    return display;
}

}  // namespace

HeadlessGL::HeadlessGL(int width, int height)
    : egl_(std::make_unique<Egl>()), width_(width), height_(height) {
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384) {
        error_ = "bad size";
        return;
    }
    egl_->display = OpenDisplay(error_);
    if (egl_->display == EGL_NO_DISPLAY) return;
    if (!eglBindAPI(EGL_OPENGL_API)) {
        error_ = "EGL cannot bind desktop OpenGL";
        return;
    }
    const EGLint config_attribs[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT,
                                     EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                                     EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8,
                                     EGL_ALPHA_SIZE, 8, EGL_DEPTH_SIZE, 24,
                                     EGL_NONE};
    EGLConfig config;
    EGLint count = 0;
    if (!eglChooseConfig(egl_->display, config_attribs, &config, 1, &count) || count < 1) {
        error_ = "no EGL config with RGBA8 and a 24-bit depth buffer";
        return;
    }
    const EGLint surface_attribs[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
    egl_->surface = eglCreatePbufferSurface(egl_->display, config, surface_attribs);
    if (egl_->surface == EGL_NO_SURFACE) {
        error_ = "cannot create a pbuffer";
        return;
    }
    const EGLint context_attribs[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                      EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
    egl_->context = eglCreateContext(egl_->display, config, EGL_NO_CONTEXT, context_attribs);
    if (egl_->context == EGL_NO_CONTEXT) {
        error_ = "cannot create a compatibility-profile OpenGL context";
        return;
    }
    if (!MakeCurrent()) {
        error_ = "cannot make the context current";
        return;
    }
    glViewport(0, 0, width, height);
    ok_ = true;
}

HeadlessGL::~HeadlessGL() {
    if (egl_->display == EGL_NO_DISPLAY) return;
    eglMakeCurrent(egl_->display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (egl_->context != EGL_NO_CONTEXT) eglDestroyContext(egl_->display, egl_->context);
    if (egl_->surface != EGL_NO_SURFACE) eglDestroySurface(egl_->display, egl_->surface);
    // The display is shared process-wide by EGL; leave it initialised for the next context.
}

bool HeadlessGL::MakeCurrent() {
    return eglMakeCurrent(egl_->display, egl_->surface, egl_->surface, egl_->context) == EGL_TRUE;
}

void HeadlessGL::Finish() { glFinish(); }

std::vector<uint8_t> HeadlessGL::ReadColor() const {
    std::vector<uint8_t> pixels(static_cast<size_t>(width_) * height_ * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    // OpenGL returns the bottom row first; flip to top-down.
    const size_t row = static_cast<size_t>(width_) * 4;
    std::vector<uint8_t> tmp(row);
    for (int y = 0; y < height_ / 2; ++y) {
        uint8_t* a = pixels.data() + y * row;
        uint8_t* b = pixels.data() + (height_ - 1 - y) * row;
        std::memcpy(tmp.data(), a, row);
        std::memcpy(a, b, row);
        std::memcpy(b, tmp.data(), row);
    }
    return pixels;
}

std::vector<float> HeadlessGL::ReadDepth() const {
    std::vector<float> depth(static_cast<size_t>(width_) * height_);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width_, height_, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
    std::vector<float> flipped(depth.size());
    for (int y = 0; y < height_; ++y)
        std::memcpy(&flipped[static_cast<size_t>(y) * width_],
                    &depth[static_cast<size_t>(height_ - 1 - y) * width_], width_ * sizeof(float));
    return flipped;
}

}  // namespace orv::platform
