#include "window/display_window.h"

#include <GLFW/glfw3.h>
#include <backends/imgui_impl_glfw.h>
#include <backends/imgui_impl_opengl3.h>
#include <imgui.h>

#include <cstdlib>
#include <string>

#include "render/gl_readback.h"
#include "system/host_errors.h"

namespace devhost {

namespace {

std::string LastGlfwError() {
  const char* description = nullptr;
  glfwGetError(&description);
  return description != nullptr ? description : "no reason given";
}

}  // namespace

void RequireDisplay() {
  const char* display = std::getenv("DISPLAY");
  if (display == nullptr || *display == '\0')
    throw RenderError(
        "--window: no display (DISPLAY is not set); write pictures with --png or --png-dir "
        "instead, or run under xvfb-run");
}

DisplayWindow::DisplayWindow(Vector2 size, const char* title, ImGuiContext* context)
    : size_(size), context_(context) {
  RequireDisplay();
  if (glfwInit() == GLFW_FALSE)
    throw RenderError(std::string("--window: cannot open display ") + std::getenv("DISPLAY") +
                      ": " + LastGlfwError());
  glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 3);
  glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
  glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
  glfwWindowHint(GLFW_RESIZABLE, GLFW_FALSE);
  window_ = glfwCreateWindow(size.X, size.Y, title, nullptr, nullptr);
  if (window_ == nullptr) {
    const std::string reason = LastGlfwError();
    glfwTerminate();
    throw RenderError("--window: cannot create a window with OpenGL 3.3: " + reason);
  }
  glfwMakeContextCurrent(window_);
  glfwSwapInterval(1);
  ImGui::SetCurrentContext(context_);
  keys_.Attach(window_);
  ImGui_ImplGlfw_InitForOpenGL(window_, true);
  if (!ImGui_ImplOpenGL3_Init("#version 330 core")) {
    ImGui_ImplGlfw_Shutdown();
    glfwDestroyWindow(window_);
    glfwTerminate();
    throw RenderError("--window: Dear ImGui's OpenGL 3 renderer did not start");
  }
}

// GLFW stays initialised, as the headless display does: terminating it unloads Mesa's driver,
// which frees not all it took, and the window is the program's last act.
DisplayWindow::~DisplayWindow() {
  ImGui::SetCurrentContext(context_);
  ImGui_ImplOpenGL3_Shutdown();
  ImGui_ImplGlfw_Shutdown();
  glfwDestroyWindow(window_);
}

bool DisplayWindow::CloseRequested() const { return glfwWindowShouldClose(window_) != 0; }

double DisplayWindow::Now() const { return glfwGetTime(); }

std::vector<KeyPress> DisplayWindow::BeginFrame() {
  glfwPollEvents();
  ImGui::SetCurrentContext(context_);
  std::vector<KeyPress> presses = keys_.FeedUi(ImGui::GetIO());
  ImGui_ImplOpenGL3_NewFrame();
  ImGui_ImplGlfw_NewFrame();
  return presses;
}

void DisplayWindow::Draw(ImDrawData* data) {
  glViewport(0, 0, size_.X, size_.Y);
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  ImGui_ImplOpenGL3_RenderDrawData(data);
}

Image DisplayWindow::Capture() const {
  glReadBuffer(GL_BACK);
  Image image{size_.X, size_.Y,
              std::vector<std::uint8_t>(static_cast<std::size_t>(size_.X) * 4 *
                                        static_cast<std::size_t>(size_.Y))};
  ReadBoundFramebuffer(image, false);
  return image;
}

void DisplayWindow::Show() { glfwSwapBuffers(window_); }

}  // namespace devhost
