// Loading, recording and sampling the spectrum track.
#include "timeline/SpectrumTrack.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <thread>

#include "platform/audio/SpectrumAnalyser.h"
#include "platform/output/AtomicFile.h"
#include "platform/win32/FilePath.h"
#include "platform/win32/Keyboard.h"
#include "platform/win32/MessageBox.h"
#include "timeline/MusicStream.h"

namespace timeline {
namespace {

constexpr float kThirtieth = 0.033333335f;  // one record, in seconds of music
constexpr std::uint32_t kMaxBands = 256;     // bins of BASS_DATA_FFT512
constexpr double kLengthMargin = 0.05;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

void problemWithFile(const char* path) { MessageBoxA(nullptr, path ? path : "", "Problems With File", MB_OK); }

std::uint32_t readLe32(const unsigned char* bytes) {
  return std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 | std::uint32_t(bytes[2]) << 16 |
         std::uint32_t(bytes[3]) << 24;
}

void appendLe32(std::vector<unsigned char>& out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<unsigned char>(value >> shift));
}

float floatOfBits(std::uint32_t bits) {
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

std::uint32_t bitsOfFloat(float value) {
  std::uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

// Bytes in the file, or -1 when it cannot tell (not a regular file).
long long fileSize(std::FILE* file) {
  if (std::fseek(file, 0, SEEK_END) != 0) return -1;
  long size = std::ftell(file);
  if (size < 0 || std::fseek(file, 0, SEEK_SET) != 0) return -1;
  return size;
}

float keyAt(const SpectrumBand& band, std::uint32_t i) { return i < band.keys.size() ? band.keys[i] : 0.0f; }

enum class PassResult { Running, Done, Cancelled, WriteError };

// The polling loop of a recording: one record each time the music passes the next thirtieth.
class Recorder {
public:
  Recorder(output::AtomicFile& file, DWORD channel, std::uint32_t bandCount, std::uint32_t records, double length)
      : file_(file), channel_(channel), bandCount_(bandCount), records_(records), length_(length),
        end_(double(float(records) * kThirtieth)) {}

  PassResult pass() {
    if (GetAsyncKeyState(VK_ESCAPE) != 0) return PassResult::Cancelled;
    if (written_ < records_ && musicTimeOf(channel_) > double(written_) * kThirtieth) {
      if (!writeRecord()) return PassResult::WriteError;
      printProgress();
    }
    // The end of the stream ends it too: the clock stops there, and an override longer than the
    // piece would otherwise keep polling for ever.
    double t = musicTimeOf(channel_);
    return t < end_ && t < length_ ? PassResult::Running : PassResult::Done;
  }

  // Zero records up to the count the header promises, for records the clock skipped at the end.
  bool pad() {
    std::vector<unsigned char> zeros(std::size_t(bandCount_) * 4, 0);
    for (std::uint32_t s = written_; s < records_; ++s) {
      if (!file_.write(zeros.data(), zeros.size())) return false;
    }
    return true;
  }

  std::uint32_t written() const { return written_; }

private:
  bool writeRecord() {
    float fft[512] = {};
    BASS_ChannelGetData(channel_, fft, BASS_DATA_FFT512);
    std::vector<unsigned char> bytes;
    for (std::uint32_t j = 0; j < bandCount_; ++j) appendLe32(bytes, bitsOfFloat(fft[j]));
    ++written_;
    return file_.write(bytes.data(), bytes.size());
  }

  // Checked once per record rather than once per pass, which would print the same line
  // hundreds of times a second.
  void printProgress() const {
    auto hundredths = static_cast<long long>(musicTimeOf(channel_) * 100.0);
    if ((hundredths & 100) != 0) return;
    std::printf("Time = %f Of %f   At Sample = %d\n", musicTimeOf(channel_), double(float(records_) * kThirtieth),
                int(written_));
    std::fflush(stdout);
  }

  output::AtomicFile& file_;
  DWORD channel_;
  std::uint32_t bandCount_;
  std::uint32_t records_;
  double length_;
  double end_;
  std::uint32_t written_ = 0;
};

}  // namespace

float sampleBand(const SpectrumBand& band, float t) {
  if (band.count == 0) return 0.0f;
  if (!(t > 0.0f)) return keyAt(band, 0);
  float u = t * 10.0f;
  // Compared before converting, so huge times cannot overflow the key index.
  if (double(u) >= double(band.count - 1)) return keyAt(band, band.count - 1);
  auto i = static_cast<std::uint32_t>(u);
  float f = u - static_cast<float>(i);
  float a = keyAt(band, i);
  return a + f * (keyAt(band, i + 1) - a);
}

std::uint32_t recordCountFor(double lengthSeconds, float durationOverride) {
  if (!(lengthSeconds > 0.0)) return 0;
  // Record i is the music at i / 30 s, so the piece holds records 0 .. 30 × length.
  double held = std::floor(lengthSeconds * 30.0);
  double count = durationOverride > 0.0f ? std::trunc(double(durationOverride * 30.0f))
                                         : 30.0 * std::max(0.0, std::trunc(lengthSeconds - kLengthMargin));
  return static_cast<std::uint32_t>(std::min({count, held, double(UINT32_MAX)}));
}

bool SpectrumTrack::fill(const unsigned char* header, std::span<const unsigned char> body) {
  recordCount_ = readLe32(header);
  bandCount_ = readLe32(header + 4);
  // Only the floats the body holds are taken, so a forged header costs no more than the file.
  std::uint64_t claimed = std::uint64_t(recordCount_) * bandCount_;
  std::uint64_t present = std::min<std::uint64_t>(claimed, body.size() / 4);
  bands_.assign(static_cast<std::size_t>(std::min<std::uint64_t>(bandCount_, present)), SpectrumBand{recordCount_, {}});
  for (std::size_t j = 0; j < bands_.size(); ++j) bands_[j].keys.reserve((present - j + bandCount_ - 1) / bandCount_);
  // Float g of the body is band g % B, key g / B.
  for (std::uint64_t g = 0; g < present; ++g)
    bands_[g % bandCount_].keys.push_back(floatOfBits(readLe32(body.data() + 4 * g)));
  return present == claimed;
}

bool SpectrumTrack::load(const char* path) {
  File file(win32::openFile(path, "rb"));
  long long size = file ? fileSize(file.get()) : -1;
  unsigned char header[8];
  if (size < 8 || std::fread(header, 1, sizeof header, file.get()) != sizeof header) {
    problemWithFile(path);
    return false;
  }
  // Read no more floats than the header claims and the file holds.
  std::uint64_t claimed = std::uint64_t(readLe32(header)) * readLe32(header + 4);
  std::uint64_t floats = std::min<std::uint64_t>(claimed, std::uint64_t(size - 8) / 4);
  std::vector<unsigned char> body(static_cast<std::size_t>(floats * 4));
  body.resize(std::fread(body.data(), 1, body.size(), file.get()));
  bool whole = fill(header, body);
  // The readers use bands 0 to 2; a file with fewer leaves the rest reading 0.
  if (!whole || bandCount_ < 3) problemWithFile(path);
  return true;
}

bool SpectrumTrack::loadBytes(std::span<const unsigned char> bytes) {
  if (bytes.size() < 8) return false;
  fill(bytes.data(), bytes.subspan(8));
  return true;
}

std::vector<unsigned char> spectrumFileOf(const audio::DecodedAudio& music, std::uint32_t bands,
                                          const std::function<void(std::uint32_t, std::uint32_t)>& progress) {
  std::vector<unsigned char> out;
  if (music.empty() || bands == 0 || bands > kMaxBands) return out;
  const std::uint32_t records = recordCountFor(double(music.frames()) / double(music.rate), 0.0f);
  out.reserve(8 + std::size_t(records) * bands * 4);
  appendLe32(out, records);
  appendLe32(out, bands);
  audio::SpectrumAnalyser analyser;
  std::array<float, audio::kFftBins> bins{};
  for (std::uint32_t k = 0; k < records; ++k) {
    analyser.analyse(music.samples, std::uint64_t(k) * std::uint64_t(music.rate) / 30, bins);
    for (std::uint32_t j = 0; j < bands; ++j) appendLe32(out, bitsOfFloat(bins[j]));
    if (progress && (k % 300 == 0 || k + 1 == records)) progress(k + 1, records);
  }
  return out;
}

RecordResult SpectrumTrack::record(const char* path, DWORD channel, std::uint32_t bandCount, float durationOverride) {
  // Without a stream (its failure already reported) there is no clock to record by.
  double length = BASS_ChannelBytes2Seconds(channel, BASS_ChannelGetLength(channel));
  if (!(length > 0.0)) return RecordResult::Failed;
  if (bandCount < 1 || bandCount > kMaxBands || !path) {
    problemWithFile(path);
    return RecordResult::Failed;
  }
  // Written to "<path>.part" and renamed when whole; Escape, a failed write or SIGTERM removes it.
  output::PartCleanupScope cleanup;
  output::AtomicFile file(win32::hostPath(path));
  if (!file.ok()) {
    problemWithFile(path);
    return RecordResult::Failed;
  }
  const std::uint32_t records = recordCountFor(length, durationOverride);
  std::vector<unsigned char> header;
  appendLe32(header, records);
  appendLe32(header, bandCount);
  bool written = file.write(header.data(), header.size());

  BASS_ChannelSetAttributes(channel, 0, 0, -101);
  BASS_ChannelPlay(channel, FALSE);
  std::printf("Sampling - Start");
  std::fflush(stdout);
  Recorder recorder(file, channel, bandCount, records, length);
  PassResult pass = written ? PassResult::Running : PassResult::WriteError;
  while (pass == PassResult::Running) {
    pass = recorder.pass();
    if (pass == PassResult::Running) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  std::printf("NumberOfSamples = %d     Recorded = %d\n", int(records), int(recorder.written()));
  std::fflush(stdout);

  written = pass == PassResult::Done && recorder.pad() && file.commit();
  BASS_ChannelSetPosition(channel, BASS_ChannelSeconds2Bytes(channel, 0.0f));
  if (written) return RecordResult::Complete;
  file.abandon();
  if (pass == PassResult::Cancelled) return RecordResult::Cancelled;
  problemWithFile(path);
  return RecordResult::Failed;
}

float SpectrumTrack::band(std::uint32_t k, float musicTime) const {
  if (k >= bands_.size()) return 0.0f;
  return sampleBand(bands_[k], 3.0f * musicTime);
}

SpectrumSource SpectrumTrack::loadOrRecord(const char* path, DWORD channel, std::uint32_t bandCount,
                                           float durationOverride) {
  if (load(path)) return SpectrumSource::Loaded;
  switch (record(path, channel, bandCount, durationOverride)) {
    case RecordResult::Complete: return load(path) ? SpectrumSource::Recorded : SpectrumSource::Empty;
    case RecordResult::Cancelled: return SpectrumSource::Cancelled;
    case RecordResult::Failed: break;
  }
  return SpectrumSource::Empty;
}

SpectrumTrack& spectrumTrack() {
  static SpectrumTrack track;
  return track;
}

}  // namespace timeline
