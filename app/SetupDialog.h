// What the setup dialog does, without a window: fills its three lists from the Direct3D object
// (resolutions with both filters, the multisampling levels the adapter accepts, the aspect ratios)
// with their defaults, and on Run writes the chosen entries into DisplaySettings. The view
// (SetupDialogView) draws these lists and forwards the buttons.
#pragma once

#include <string>
#include <vector>

#include "app/DisplaySettings.h"
#include "platform/d3d9/d3d9.h"

namespace app {

struct MultisampleRow {
  const char* text;
  D3DMULTISAMPLE_TYPE type;
};

inline constexpr MultisampleRow kMultisampleRows[] = {
    {"No Multisampling", D3DMULTISAMPLE_NONE},
    {"2x Multisampling", D3DMULTISAMPLE_TYPE(2)},
    {"4x Multisampling", D3DMULTISAMPLE_TYPE(4)},
    {"6x Multisampling", D3DMULTISAMPLE_TYPE(6)},
    {"8x Multisampling", D3DMULTISAMPLE_TYPE(8)},
    {"10x Multisampling", D3DMULTISAMPLE_TYPE(10)},
    {"12x Multisampling", D3DMULTISAMPLE_TYPE(12)},
    {"14x Multisampling", D3DMULTISAMPLE_TYPE(14)},
    {"16x Multisampling", D3DMULTISAMPLE_TYPE(16)},
};

struct AspectRow {
  const char* text;
  float ratio;
};

inline constexpr AspectRow kAspectRows[] = {{"4:3", 1.3333334f}, {"16:10", 1.6f}, {"16:9", 1.7777778f}};

// Modes narrower than this or this fast and faster are not offered.
inline constexpr UINT kMinimumModeWidth = 640;
inline constexpr UINT kRefreshRateLimit = 120;

class SetupDialog {
public:
  struct ResolutionEntry {
    std::string text;
    UINT modeIndex;
  };

  explicit SetupDialog(IDirect3D9* d3d) : d3d_(d3d) {}

  // Fills the lists and selects their defaults; both boxes start checked.
  void initialise();
  // Writes the chosen entries into `settings`. False, and nothing written, while the resolution
  // list is empty (the adapter reported no modes): there is nothing to run.
  bool run(DisplaySettings& settings) const;

  bool fullscreen = true;
  bool vsync = true;
  std::vector<ResolutionEntry> resolutions;
  std::vector<const MultisampleRow*> multisampling;
  std::vector<const AspectRow*> aspects;
  int resolution = -1;
  int multisample = -1;
  int aspect = -1;

private:
  void listResolutions();
  void listMultisampling();
  void listAspects();

  IDirect3D9* d3d_;
};

}  // namespace app
