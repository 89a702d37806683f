// Modal dialogs from a template of controls placed in dialog units, drawn with Dear ImGui in a
// small SDL window. The caller owns the template and the control state; the dialog reports button
// presses to a command handler, which decides when it ends. Main thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace win32 {

enum class ControlKind { DefaultButton, Button, CheckBox, ComboBox, GroupBox, Picture };

// Position and size in dialog units, as a dialog resource gives them.
struct DialogControl {
  int id;
  ControlKind kind;
  const char* text;
  int x, y, width, height;
};

struct DialogTemplate {
  const char* caption;
  int width, height;  // dialog units
  std::span<const DialogControl> controls;
};

// An RGB picture for the template's Picture control, rows top first.
struct DialogBitmap {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;
};

// The state of the controls, by control id.
struct DialogState {
  std::map<int, std::vector<std::string>> items;  // combo box entries
  std::map<int, int> selection;                   // combo box selection, -1 for none
  std::map<int, bool> checked;                    // check boxes
  std::map<int, bool> disabled;                   // buttons that cannot be pressed
};

// The id a handler receives when the caption's close button is pressed.
inline constexpr int kDialogClose = -1;

// Called with the id of a pressed button (or kDialogClose); a value ends the dialog with it.
using DialogCommand = std::function<std::optional<int>(int id)>;

// Runs the dialog until the handler ends it; returns the handler's value, or -1 when no window
// can be opened (no display).
int runDialog(const DialogTemplate& dialog, const DialogBitmap* bitmap, DialogState& state,
              const DialogCommand& onCommand);

// Pixels of a dialog unit for the dialog font (8-point sans, average character 6 x 13 pixels).
inline constexpr float kDialogUnitX = 6.0f / 4.0f;
inline constexpr float kDialogUnitY = 13.0f / 8.0f;

}  // namespace win32
