// The music, the clock of the show: opens the piece with the audio library, starts it, turns its
// byte position into the music time, applies the seeking keys and frees the library at the end.
// One instance, owned by the entry function; it owns the stream handle. Main thread only.
#pragma once

#include "platform/audio/bass.h"

namespace timeline {

// The music time of a channel in seconds: its position converted by the library (-1 when the
// channel is not a stream).
double musicTimeOf(DWORD channel);

class MusicStream {
public:
  MusicStream() = default;
  ~MusicStream() { end(); }
  MusicStream(const MusicStream&) = delete;
  MusicStream& operator=(const MusicStream&) = delete;

  // Starts the library and creates the stream; each failure shows its message and start-up goes on
  // ("Init FAILED" or "BASS_StreamCreateFile", caption "Error::BASS"). The channel is 0 when the
  // stream could not be created.
  void open(const char* path);
  // Own rate, full volume, pan unchanged, then play from the current position.
  void start();
  double musicTime() const { return musicTimeOf(channel_); }
  // The length in seconds minus 0.03, as the loop's end test wants it.
  float endTime() const;
  // The keys, once per frame after the frame is drawn: O forward, I back, 0.1 s each; with both
  // down the position is set to where it was. Requests before 0 or past the end are refused by the
  // library and the music plays on.
  void applySeekKeys();
  // The viewer's controls: seconds of the whole stream (0 without one); a move to `seconds`
  // clamped to [0, length], playing or paused as before; pause and resume.
  double length() const;
  void seekTo(double seconds);
  void togglePause();
  bool paused() const { return BASS_ChannelIsActive(channel_) == BASS_ACTIVE_PAUSED; }
  // Frees the stream, then the library; later calls do nothing.
  void end();

  HSTREAM channel() const { return channel_; }

private:
  HSTREAM channel_ = 0;
  bool open_ = false;
};

}  // namespace timeline
