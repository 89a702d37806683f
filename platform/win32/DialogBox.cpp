// The dialog window: SDL window with an OpenGL 3 context, Dear ImGui for the controls.
#include "platform/win32/DialogBox.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_opengl.h>
#include <imgui.h>
#include <backends/imgui_impl_opengl3.h>
#include <backends/imgui_impl_sdl.h>

#include <filesystem>

namespace win32 {
namespace {

constexpr const char* kDialogFont = "/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed.ttf";
constexpr float kDialogFontPixels = 12.0f;

ImVec2 toPixels(int x, int y) { return ImVec2(float(x) * kDialogUnitX, float(y) * kDialogUnitY); }

// Owns the SDL window, its GL context and the ImGui context of one dialog run.
class DialogWindow {
public:
  bool open(const DialogTemplate& dialog) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    videoStarted_ = true;
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    ImVec2 size = toPixels(dialog.width, dialog.height);
    window_ = SDL_CreateWindow(dialog.caption, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, int(size.x),
                               int(size.y), SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN);
    if (!window_) return false;
    context_ = SDL_GL_CreateContext(window_);
    if (!context_) return false;
    SDL_GL_MakeCurrent(window_, context_);
    SDL_GL_SetSwapInterval(1);
    IMGUI_CHECKVERSION();
    ImGui::CreateContext();
    imgui_ = true;
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr;
    if (std::filesystem::exists(kDialogFont)) io.Fonts->AddFontFromFileTTF(kDialogFont, kDialogFontPixels);
    ImGui::StyleColorsLight();
    ImGui_ImplSDL2_InitForOpenGL(window_, context_);
    ImGui_ImplOpenGL3_Init("#version 330 core");
    return true;
  }

  ~DialogWindow() {
    if (imgui_) {
      ImGui_ImplOpenGL3_Shutdown();
      ImGui_ImplSDL2_Shutdown();
      ImGui::DestroyContext();
    }
    if (context_) SDL_GL_DeleteContext(context_);
    if (window_) SDL_DestroyWindow(window_);
    if (videoStarted_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }

  SDL_Window* window() const { return window_; }

private:
  SDL_Window* window_ = nullptr;
  SDL_GLContext context_ = nullptr;
  bool videoStarted_ = false;
  bool imgui_ = false;
};

GLuint uploadBitmap(const DialogBitmap& bitmap) {
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, bitmap.width, bitmap.height, 0, GL_RGB, GL_UNSIGNED_BYTE, bitmap.rgb.data());
  return texture;
}

// The picture control shows the bitmap centred in its frame, cropped where it is larger.
void drawPicture(const DialogControl& control, const DialogBitmap* bitmap, GLuint texture) {
  ImVec2 pos = toPixels(control.x, control.y), size = toPixels(control.width, control.height);
  ImDrawList* draw = ImGui::GetWindowDrawList();
  draw->AddRect(pos, ImVec2(pos.x + size.x, pos.y + size.y), IM_COL32(120, 120, 120, 255));
  if (!bitmap || !texture) return;
  float showW = std::min(size.x - 2, float(bitmap->width)), showH = std::min(size.y - 2, float(bitmap->height));
  float u0 = (1.0f - showW / float(bitmap->width)) / 2, v0 = (1.0f - showH / float(bitmap->height)) / 2;
  ImVec2 at(pos.x + (size.x - showW) / 2, pos.y + (size.y - showH) / 2);
  draw->AddImage(reinterpret_cast<ImTextureID>(static_cast<std::intptr_t>(texture)), at,
                 ImVec2(at.x + showW, at.y + showH), ImVec2(u0, v0), ImVec2(1 - u0, 1 - v0));
}

// Draws one control; returns true when a button was pressed.
bool drawControl(const DialogControl& control, DialogState& state) {
  ImVec2 pos = toPixels(control.x, control.y), size = toPixels(control.width, control.height);
  ImGui::SetCursorPos(pos);
  ImGui::PushID(control.id);
  bool pressed = false;
  switch (control.kind) {
    case ControlKind::DefaultButton:
    case ControlKind::Button: {
      bool disabled = state.disabled[control.id];
      if (disabled) ImGui::BeginDisabled();
      pressed = ImGui::Button(control.text, size);
      if (control.kind == ControlKind::DefaultButton && !disabled && ImGui::IsKeyPressed(ImGuiKey_Enter)) pressed = true;
      if (disabled) ImGui::EndDisabled();
      break;
    }
    case ControlKind::CheckBox:
      ImGui::Checkbox(control.text, &state.checked[control.id]);
      break;
    case ControlKind::ComboBox: {
      const auto& items = state.items[control.id];
      int& selected = state.selection.try_emplace(control.id, -1).first->second;
      ImGui::SetNextItemWidth(size.x);
      const char* preview = selected >= 0 && selected < int(items.size()) ? items[selected].c_str() : "";
      if (ImGui::BeginCombo("##combo", preview)) {
        for (int i = 0; i < int(items.size()); ++i)
          if (ImGui::Selectable(items[i].c_str(), i == selected)) selected = i;
        ImGui::EndCombo();
      }
      break;
    }
    case ControlKind::GroupBox: {
      ImDrawList* draw = ImGui::GetWindowDrawList();
      float textY = pos.y + ImGui::GetTextLineHeight() / 2;
      draw->AddRect(ImVec2(pos.x, textY), ImVec2(pos.x + size.x, pos.y + size.y), IM_COL32(160, 160, 160, 255));
      draw->AddText(ImVec2(pos.x + 6, pos.y), ImGui::GetColorU32(ImGuiCol_Text), control.text);
      break;
    }
    case ControlKind::Picture:
      break;
  }
  ImGui::PopID();
  return pressed;
}

}  // namespace

int runDialog(const DialogTemplate& dialog, const DialogBitmap* bitmap, DialogState& state,
              const DialogCommand& onCommand) {
  DialogWindow window;
  if (!window.open(dialog)) return -1;
  GLuint texture = bitmap && !bitmap->rgb.empty() ? uploadBitmap(*bitmap) : 0;
  std::optional<int> result;
  while (!result) {
    SDL_Event event;
    while (!result && SDL_PollEvent(&event)) {
      ImGui_ImplSDL2_ProcessEvent(&event);
      bool closing = event.type == SDL_QUIT ||
                     (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE);
      if (closing) result = onCommand(kDialogClose);
    }
    if (result) break;
    ImGui_ImplOpenGL3_NewFrame();
    ImGui_ImplSDL2_NewFrame();
    ImGui::NewFrame();
    ImGui::SetNextWindowPos(ImVec2(0, 0));
    ImGui::SetNextWindowSize(ImGui::GetIO().DisplaySize);
    ImGui::Begin("dialog", nullptr,
                 ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoSavedSettings |
                     ImGuiWindowFlags_NoBringToFrontOnFocus);
    for (const DialogControl& control : dialog.controls) {
      if (control.kind == ControlKind::Picture) drawPicture(control, bitmap, texture);
    }
    std::optional<int> pressed;
    for (const DialogControl& control : dialog.controls)
      if (drawControl(control, state) && !pressed) pressed = control.id;
    ImGui::End();
    ImGui::Render();
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(window.window(), &w, &h);
    glViewport(0, 0, w, h);
    glClearColor(0.94f, 0.94f, 0.94f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    ImGui_ImplOpenGL3_RenderDrawData(ImGui::GetDrawData());
    SDL_GL_SwapWindow(window.window());
    if (pressed) result = onCommand(*pressed);
  }
  if (texture) glDeleteTextures(1, &texture);
  return *result;
}

}  // namespace win32
