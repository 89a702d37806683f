// The third scene flash's rules that tests can call without a device: the slide and the camera eye
// of a beat number. Pure functions; any thread.
#pragma once

#include <array>

#include "platform/d3dx9/D3DXMath.h"

namespace scenes {

inline constexpr std::array<const char*, 6> kThirdFlashSlides = {"slide1", "slide2", "slide3",
                                                                 "slide4", "slide5", "slide6"};

// The slide index (0 to 5) of beat n: d = n − 1 reduced by whole cycles of 5.6; trunc(d) from 1 to
// 5 picks that slide, any other value (0, or negative for n below 1) the first.
int thirdFlashSlide(int n);

// The eye of beat n: (15 u(344 n), 15 u(34434 n) + 44, 15 u(634532 n) − 40), u the lattice noise
// of the wrapping 32-bit products.
D3DXVECTOR3 thirdFlashEye(int n);

}  // namespace scenes
