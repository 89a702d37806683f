// Shows the setup dialog in a window: the lists and boxes of a SetupDialog on the dialog
// template of resources/, Run, Exit and the caption's close button.
#pragma once

#include "app/SetupDialog.h"

namespace app {

// 1 after Run (DisplaySettings filled), 0 after Exit; the close button ends the process with
// exit code 0. -1 when no window can be opened.
int showSetupDialog(IDirect3D9* d3d);

}  // namespace app
