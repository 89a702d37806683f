// The manifest's render targets on a back buffer of odd size: the half-size targets are half of
// each dimension rounded down, the others the back buffer's own or the shadow map's.
#include <gtest/gtest.h>

#include "render/Device.h"
#include "tests/support/TraceCapture.h"
#include "tests/support/TraceDeviceHolder.h"
#include "timeline/Manifest.h"

namespace {

TEST(Manifest, TargetSizesOnAnOddBackBuffer) {
  testsupport::TraceDeviceHolder holder(1365, 767);
  render::setDevice(holder.device.get());
  {
    testsupport::TraceCapture quiet;  // no content here: the effects and textures report and stay empty
    testing::internal::CaptureStderr();
    timeline::loadManifest();
    testing::internal::GetCapturedStderr();
  }
  const timeline::Manifest& m = timeline::manifest();
  const struct {
    const render::RenderTarget& target;
    UINT width, height;
  } cases[] = {{m.halfTargetA, 682, 383},
               {m.halfTargetB, 682, 383},
               {m.depthTarget, 1365, 767},
               {m.screenCopyTarget, 1365, 767}};
  for (const auto& c : cases) {
    EXPECT_EQ(c.target.width, c.width);
    EXPECT_EQ(c.target.height, c.height);
  }
  timeline::releaseManifest();
  render::setDevice(nullptr);
}

}  // namespace
