// The setup dialog's view: copies the dialog's lists into the controls and the controls back.
#include "app/SetupDialogView.h"

#include "platform/win32/Window.h"
#include "resources/SetupDialogResource.h"

namespace app {
namespace {

win32::DialogState controlsOf(const SetupDialog& dialog) {
  using namespace resources;
  win32::DialogState state;
  for (const auto& entry : dialog.resolutions) state.items[kResolutionList].push_back(entry.text);
  for (const auto* row : dialog.multisampling) state.items[kMultisampleList].push_back(row->text);
  for (const auto* row : dialog.aspects) state.items[kAspectList].push_back(row->text);
  state.selection[kResolutionList] = dialog.resolution;
  state.selection[kMultisampleList] = dialog.multisample;
  state.selection[kAspectList] = dialog.aspect;
  state.checked[kFullscreenBox] = dialog.fullscreen;
  state.checked[kVsyncBox] = dialog.vsync;
  // With no mode to choose there is nothing to run.
  state.disabled[kRunButton] = dialog.resolutions.empty();
  return state;
}

void readControls(const win32::DialogState& state, SetupDialog& dialog) {
  using namespace resources;
  dialog.resolution = state.selection.at(kResolutionList);
  dialog.multisample = state.selection.at(kMultisampleList);
  dialog.aspect = state.selection.at(kAspectList);
  dialog.fullscreen = state.checked.at(kFullscreenBox);
  dialog.vsync = state.checked.at(kVsyncBox);
}

}  // namespace

int showSetupDialog(IDirect3D9* d3d) {
  SetupDialog dialog(d3d);
  dialog.initialise();
  win32::DialogState state = controlsOf(dialog);
  win32::DialogBitmap bitmap = resources::setupDialogBitmap();
  return win32::runDialog(resources::kSetupDialog, &bitmap, state, [&](int id) -> std::optional<int> {
    switch (id) {
      case resources::kRunButton:
        readControls(state, dialog);
        if (dialog.run(displaySettings())) return 1;
        return std::nullopt;
      case resources::kExitButton:
        return 0;
      case win32::kDialogClose:
        ExitProcess(0);
      default:
        return std::nullopt;
    }
  });
}

}  // namespace app
