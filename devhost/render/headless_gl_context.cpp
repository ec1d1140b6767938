#include "render/headless_gl_context.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "system/host_errors.h"

namespace devhost {

namespace {

[[noreturn]] void Fail(const char* step) {
  char code[16];
  std::snprintf(code, sizeof code, "0x%04x", static_cast<unsigned>(eglGetError()));
  throw RenderError(std::string("headless OpenGL: ") + step + " failed (EGL error " + code +
                    "); are libegl-mesa0 and libgl1-mesa-dri installed?");
}

}  // namespace

HeadlessGlContext::HeadlessGlContext() {
  // The software rasteriser even where a GPU exists, so pictures are the same on every machine;
  // a caller's own choice in the environment wins.
  setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
  // llvmpipe compiles its shaders for the CPU it runs on: with FMA it fuses the interpolation of
  // texture coordinates and colours, and SSE4.1 changes its rounding code, both moving edge pixels
  // by one or two. SSE2 is on every x86-64 CPU, so limited to it every machine draws the same bits.
  setenv("GALLIUM_OVERRIDE_CPU_CAPS", "sse2", 0);
  const auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
      eglGetProcAddress("eglGetPlatformDisplayEXT"));
  if (getPlatformDisplay == nullptr) Fail("eglGetProcAddress(eglGetPlatformDisplayEXT)");
  EGLDisplay display =
      getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
  if (display == EGL_NO_DISPLAY) Fail("eglGetPlatformDisplayEXT(EGL_PLATFORM_SURFACELESS_MESA)");
  if (eglInitialize(display, nullptr, nullptr) == EGL_FALSE) Fail("eglInitialize");
  display_ = display;
  if (eglBindAPI(EGL_OPENGL_API) == EGL_FALSE) Fail("eglBindAPI(EGL_OPENGL_API)");

  const EGLint configAttributes[] = {EGL_SURFACE_TYPE,
                                     EGL_PBUFFER_BIT,
                                     EGL_RENDERABLE_TYPE,
                                     EGL_OPENGL_BIT,
                                     EGL_RED_SIZE,
                                     8,
                                     EGL_GREEN_SIZE,
                                     8,
                                     EGL_BLUE_SIZE,
                                     8,
                                     EGL_ALPHA_SIZE,
                                     8,
                                     EGL_NONE};
  EGLConfig config = nullptr;
  EGLint configs = 0;
  if (eglChooseConfig(display, configAttributes, &config, 1, &configs) == EGL_FALSE || configs < 1)
    Fail("eglChooseConfig (8-bit RGBA, desktop OpenGL)");

  const EGLint contextAttributes[] = {EGL_CONTEXT_MAJOR_VERSION,
                                      3,
                                      EGL_CONTEXT_MINOR_VERSION,
                                      3,
                                      EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                      EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT,
                                      EGL_NONE};
  EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, contextAttributes);
  if (context == EGL_NO_CONTEXT) Fail("eglCreateContext (OpenGL 3.3 core)");
  context_ = context;
  if (eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context) == EGL_FALSE)
    Fail("eglMakeCurrent without a surface");
}

// The display stays initialised: it is the process's one surfaceless display, and terminating it
// unloads Mesa's driver, which the next context would load again (and which frees not all it took).
HeadlessGlContext::~HeadlessGlContext() {
  eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  if (context_ != nullptr) eglDestroyContext(display_, context_);
}

}  // namespace devhost
