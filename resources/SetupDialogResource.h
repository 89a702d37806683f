// The setup dialog's resource: the template of dialog 101 (caption, size and controls in dialog
// units) and bitmap 1001, the picture at its left. Read-only data; the app's dialog fills the
// controls' contents.
#pragma once

#include "platform/win32/DialogBox.h"

namespace resources {

inline constexpr int kRunButton = 1;
inline constexpr int kExitButton = 2;
inline constexpr int kFullscreenBox = 1001;
inline constexpr int kVsyncBox = 1015;
inline constexpr int kResolutionList = 1003;
inline constexpr int kMultisampleList = 1017;
inline constexpr int kAspectList = 1016;

inline constexpr win32::DialogControl kSetupDialogControls[] = {
    {kRunButton, win32::ControlKind::DefaultButton, "Run", 84, 94, 44, 14},
    {kExitButton, win32::ControlKind::Button, "Exit", 132, 94, 44, 14},
    {kFullscreenBox, win32::ControlKind::CheckBox, "Fullscreen", 84, 81, 46, 11},
    {kVsyncBox, win32::ControlKind::CheckBox, "Vsync", 138, 82, 31, 8},
    {0, win32::ControlKind::GroupBox, "Resolution", 84, 7, 92, 24},
    {0, win32::ControlKind::GroupBox, "Multisampling", 84, 32, 92, 24},
    {0, win32::ControlKind::GroupBox, "Aspect Ratio", 84, 57, 92, 24},
    {kResolutionList, win32::ControlKind::ComboBox, "", 85, 17, 86, 53},
    {kMultisampleList, win32::ControlKind::ComboBox, "", 85, 42, 86, 52},
    {kAspectList, win32::ControlKind::ComboBox, "", 85, 67, 86, 40},
    {1001, win32::ControlKind::Picture, "", 7, 7, 73, 101},
};

inline constexpr win32::DialogTemplate kSetupDialog{"stillness", 183, 116, kSetupDialogControls};

inline constexpr int kDialogBitmapWidth = 125;
inline constexpr int kDialogBitmapHeight = 200;

// Bitmap 1001: a red kite hanging in an evening sky over dark hills, drawn procedurally.
win32::DialogBitmap setupDialogBitmap();

}  // namespace resources
