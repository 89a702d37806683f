// Entry point of redkite. The show's shell (dialog, window, frame loop) is not built yet; until it
// is, the program says so and exits successfully so the set-up script can run it.
#include <cstdio>

int main() {
  std::puts("redkite: the platform layer is built; the show itself is not part of this build yet.");
  return 0;
}
