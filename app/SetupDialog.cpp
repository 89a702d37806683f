// Lists, defaults and the Run button of the setup dialog.
#include "app/SetupDialog.h"

#include <cstdio>

#include "platform/win32/MessageBox.h"

namespace app {

DisplaySettings& displaySettings() {
  static DisplaySettings settings;
  return settings;
}

void SetupDialog::initialise() {
  fullscreen = true;
  vsync = true;
  resolutions.clear();
  multisampling.clear();
  aspects.clear();
  resolution = multisample = aspect = -1;
  if (d3d_->GetAdapterModeCount(D3DADAPTER_DEFAULT, D3DFMT_X8R8G8B8) == 0) {
    MessageBoxA(nullptr, "Somethings Terribly Wrong", "GetAdapterModeCount = 0", MB_OK);
    return;
  }
  listResolutions();
  listMultisampling();
  listAspects();
}

// Every mode at least 640 wide and below 120 Hz, labelled with its index; the last 800 x 600 entry
// is the default.
void SetupDialog::listResolutions() {
  UINT count = d3d_->GetAdapterModeCount(D3DADAPTER_DEFAULT, D3DFMT_X8R8G8B8);
  int defaultEntry = 0;
  for (UINT i = 0; i < count; ++i) {
    D3DDISPLAYMODE mode{};
    if (FAILED(d3d_->EnumAdapterModes(D3DADAPTER_DEFAULT, D3DFMT_X8R8G8B8, i, &mode))) continue;
    if (mode.Width < kMinimumModeWidth || mode.RefreshRate >= kRefreshRateLimit) continue;
    char text[64];
    std::snprintf(text, sizeof text, "%2d: %4dx%4d@%dHz", int(i), int(mode.Width), int(mode.Height),
                  int(mode.RefreshRate));
    if (mode.Width == 800 && mode.Height == 600) defaultEntry = static_cast<int>(resolutions.size());
    resolutions.push_back(ResolutionEntry{text, i});
  }
  resolution = resolutions.empty() ? -1 : defaultEntry;
}

// The table's rows up to the first the adapter refuses; "2x" is the default when at least three
// rows passed.
void SetupDialog::listMultisampling() {
  for (const MultisampleRow& row : kMultisampleRows) {
    if (FAILED(d3d_->CheckDeviceMultiSampleType(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, FALSE, row.type,
                                                nullptr)))
      break;
    multisampling.push_back(&row);
  }
  if (!multisampling.empty()) multisample = multisampling.size() > 2 ? 1 : 0;
}

// "4:3" unless the desktop is wider: exactly 16:10 or up to it selects "16:10", wider "16:9".
void SetupDialog::listAspects() {
  for (const AspectRow& row : kAspectRows) aspects.push_back(&row);
  aspect = 0;
  D3DDISPLAYMODE desktop{};
  if (FAILED(d3d_->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &desktop)) || desktop.Height == 0) return;
  float ratio = float(desktop.Width) / float(desktop.Height);
  if (ratio > kAspectRows[0].ratio) aspect = 1;
  if (ratio > kAspectRows[1].ratio) aspect = 2;
}

bool SetupDialog::run(DisplaySettings& settings) const {
  if (resolution < 0 || resolution >= int(resolutions.size())) return false;
  if (fullscreen) settings.fullscreen = true;
  settings.vsync = vsync;
  D3DDISPLAYMODE mode{};
  if (SUCCEEDED(d3d_->EnumAdapterModes(D3DADAPTER_DEFAULT, D3DFMT_X8R8G8B8, resolutions[resolution].modeIndex, &mode))) {
    settings.width = mode.Width;
    settings.height = mode.Height;
    settings.refreshRate = mode.RefreshRate;
    settings.format = mode.Format;
  }
  if (aspect >= 0 && aspect < int(aspects.size())) settings.aspectRatio = aspects[aspect]->ratio;
  if (multisample >= 0 && multisample < int(multisampling.size())) settings.multiSampleType = multisampling[multisample]->type;
  return true;
}

}  // namespace app
