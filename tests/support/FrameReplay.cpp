// Test support for the scene tests: the frame replay and the shared matrix and point checks.
// What a frame must show is each scene test's own business.
#include "tests/support/FrameReplay.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "app/StartUp.h"
#include "render/Cameras.h"
#include "timeline/SpectrumTrack.h"

namespace testsupport {

std::string field(std::string_view line, std::string_view key) {
  const std::string tag = "\"" + std::string(key) + "\":";
  std::size_t i = line.find(tag);
  if (i == std::string_view::npos) return {};
  i += tag.size();
  std::string out;
  if (line[i] == '"') {
    for (++i; i < line.size() && line[i] != '"'; ++i) out += line[i] == '\\' ? line[++i] : line[i];
    return out;
  }
  for (int depth = 0; i < line.size() && (depth > 0 || (line[i] != ',' && line[i] != '}')); ++i) {
    depth += line[i] == '[' ? 1 : line[i] == ']' ? -1 : 0;
    out += line[i];
  }
  return out;
}

std::vector<float> numbersOf(const std::string& raw) {
  std::vector<float> values;
  for (const char* p = raw.c_str(); *p;) {
    char* end = nullptr;
    const float v = std::strtof(p, &end);
    // Digits, a sign or a point only: strtof would also read the letters of "null" or "nan".
    if (end != p && (std::isdigit(static_cast<unsigned char>(*p)) || *p == '-' || *p == '.')) {
      values.push_back(v);
      p = end;
    } else {
      ++p;
    }
  }
  return values;
}

std::string join(const std::vector<std::string>& parts, const std::string& separator) {
  std::string out;
  for (const std::string& part : parts) out += (out.empty() ? "" : separator) + part;
  return out;
}

namespace {

std::string lookup(const std::map<std::string, std::string>& map, const std::string& name) {
  auto it = map.find(name);
  return it == map.end() ? "" : it->second;
}

std::string baseName(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }

}  // namespace

std::string Draw::state(const std::string& name) const { return lookup(states, name); }
std::string Draw::param(const std::string& name) const { return lookup(params, name); }

float Draw::value(const std::string& name) const {
  const std::vector<float> v = values(name);
  return v.empty() ? std::nanf("") : v[0];
}

D3DXVECTOR3 Draw::vector(const std::string& name) const {
  std::vector<float> v = values(name);
  v.resize(3, std::nanf(""));
  return {v[0], v[1], v[2]};
}

D3DXMATRIX Draw::matrix(const std::string& name) const {
  std::vector<float> v = values(name);
  v.resize(16, std::nanf(""));
  return D3DXMATRIX(v.data());
}

std::string Draw::stateSummary() const {
  auto text = [this](const char* name) {
    const std::string v = state(name);
    return v.empty() ? std::string("?") : v;
  };
  std::string s = text("CULLMODE") + " " + text("ZENABLE") + " " + text("ALPHABLENDENABLE");
  if (text("ALPHABLENDENABLE") == "true") s += " " + text("BLENDOP") + " " + text("SRCBLEND") + " " + text("DESTBLEND");
  return s;
}

std::string Draw::summary() const {
  return baseName(effect) + "/" + std::to_string(pass) + " " + baseName(vb) + " @" + target + " " + stateSummary();
}

Frame::Frame(const std::vector<std::string>& lines) {
  std::string target = "backbuffer", effect;
  int pass = -1;
  std::map<std::string, std::string> states;
  // Per effect: the values set so far, and those uploaded at its last BeginPass or CommitChanges.
  std::map<std::string, std::map<std::string, std::string>> set, uploaded;
  for (const std::string& line : lines) {
    const std::string ev = field(line, "ev");
    counts[ev] += 1;
    if (ev == "scene") {
      renderer = field(line, "renderer");
      args = numbersOf(field(line, "args"));
    } else if (ev == "state") {
      states[field(line, "name")] = field(line, "value");
    } else if (ev == "setMatrix" || ev == "setFloat" || ev == "setFloatArray" || ev == "setTexture") {
      set[field(line, "effect")][field(line, "param")] = field(line, ev == "setMatrix"    ? "m"
                                                                     : ev == "setTexture" ? "texture"
                                                                                          : "v");
    } else if (ev == "beginPass") {
      effect = field(line, "effect");
      pass = std::atoi(field(line, "pass").c_str());
      uploaded[effect] = set[effect];
      passes.push_back(baseName(effect) + " " + std::to_string(pass));
    } else if (ev == "commit") {
      if (pass >= 0 && field(line, "effect") == effect) uploaded[effect] = set[effect];
    } else if (ev == "endPass") {
      effect.clear();
      pass = -1;
    } else if (ev == "draw") {
      draws.push_back({target, effect, field(line, "vb"), pass, std::atoi(field(line, "base").c_str()),
                       std::atoi(field(line, "vertices").c_str()), std::atoi(field(line, "primitives").c_str()), states,
                       pass >= 0 ? uploaded[effect] : std::map<std::string, std::string>{}});
      steps.push_back("draw " + draws.back().vb);
    } else if (ev == "setRenderTarget") {
      target = field(line, "surface");
      steps.push_back(ev + " " + target);
    } else if (ev == "clear") {
      steps.push_back("clear " + target + " " + field(line, "color"));
      std::string flags;
      for (char c : field(line, "flags"))
        if (c != '[' && c != ']' && c != '"') flags += c;
      clears.push_back(flags);
    } else if (ev == "stretchRect") {
      steps.push_back(ev + " " + field(line, "from") + " " + field(line, "to"));
    } else if (ev == "present" || ev == "beginScene" || ev == "endScene") {
      steps.push_back(ev);
    } else if (ev == "messageBox") {
      messages.push_back(field(line, "caption") + ": " + field(line, "text"));
    }
  }
}

std::vector<Draw> Frame::drawsOf(std::string_view vb, std::string_view target) const {
  std::vector<Draw> found;
  for (const Draw& d : draws)
    if (d.vb == vb && (target.empty() || d.target == target)) found.push_back(d);
  return found;
}

std::vector<std::string> Frame::stepsOf(std::string_view kind) const {
  std::vector<std::string> found;
  for (const std::string& s : steps)
    if (s.compare(0, kind.size(), kind) == 0 && (s.size() == kind.size() || s[kind.size()] == ' ')) found.push_back(s);
  return found;
}

std::vector<std::string> Frame::summaries() const {
  std::vector<std::string> out;
  for (const Draw& d : draws) out.push_back(d.summary());
  return out;
}

int Frame::count(const std::string& ev) const {
  auto it = counts.find(ev);
  return it == counts.end() ? 0 : it->second;
}

void expectOverlayLastAndOnePresent(const Frame& frame, const std::string& what) {
  ASSERT_FALSE(frame.draws.empty()) << what;
  const Draw& last = frame.draws.back();
  EXPECT_EQ(last.vb + " " + last.effect + " " + last.param("tex0") + " " + last.target,
            std::string(kQuad) + " " + kTextFx + " quarvdemo\\overlay02.png backbuffer")
      << what;
  EXPECT_EQ(last.stateSummary(), "CW false true ADD SRCALPHA INVSRCALPHA") << what;
  EXPECT_EQ(last.value("alpha1"), 1.0f) << what;
  EXPECT_EQ(frame.count("present"), 1) << what;
  EXPECT_EQ(frame.steps.back(), "present") << what;
  EXPECT_EQ(std::count_if(frame.draws.begin(), frame.draws.end(), [](const Draw& d) { return d.pass < 0; }), 0) << what;
  EXPECT_TRUE(frame.messages.empty()) << what << " " << frame.messages.front();
}

D3DXMATRIX inverse(const D3DXMATRIX& m) {
  D3DXMATRIX out;
  D3DXMatrixInverse(&out, nullptr, &m);
  return out;
}

D3DXMATRIX lookAt(const D3DXVECTOR3& eye, const D3DXVECTOR3& target) {
  D3DXMATRIX m;
  const D3DXVECTOR3 up(0.0f, 1.0f, 0.0f);
  D3DXMatrixLookAtLH(&m, &eye, &target, &up);
  return m;
}

D3DXMATRIX perspective(float fov, float nearPlane, float farPlane) {
  D3DXMATRIX m;
  D3DXMatrixPerspectiveFovLH(&m, fov, 4.0f / 3.0f, nearPlane, farPlane);
  return m;
}

D3DXVECTOR3 apply(const D3DXMATRIX& m, const D3DXVECTOR3& p) {
  D3DXVECTOR3 out;
  D3DXVec3TransformCoord(&out, &p, &m);
  return out;
}

D3DXMATRIX domeWorld(float scale, float height) {
  D3DXMATRIX m;
  D3DXMatrixScaling(&m, scale, scale, scale);
  m._42 = height;
  return m;
}

D3DXVECTOR3 eyeOf(const D3DXMATRIX& view) {
  const D3DXMATRIX back = inverse(view);
  return {back._41, back._42, back._43};
}

// A left-handed projection holds _33 = f / (f - n) and _43 = -n f / (f - n).
Planes planesOf(const D3DXMATRIX& view, const D3DXMATRIX& viewProjection) {
  const D3DXMATRIX projection = inverse(view) * viewProjection;
  const double q = projection._33, qn = projection._43;
  const double n = -qn / q;
  return {static_cast<float>(n), static_cast<float>(q * n / (q - 1.0))};
}

assets::Camera sampled(const assets::CameraPath& path, float t) {
  assets::CameraPath copy = path;
  render::sampleCamera(copy, t);
  return copy.camera;
}

::testing::AssertionResult matricesNear(const D3DXMATRIX& actual, const D3DXMATRIX& expected, float tolerance) {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) {
      const float scale = std::fmax(1.0f, std::fabs(expected.m[r][c]));
      if (!(std::fabs(actual.m[r][c] - expected.m[r][c]) <= tolerance * scale))
        return ::testing::AssertionFailure()
               << "element " << r << c << ": " << actual.m[r][c] << " vs " << expected.m[r][c];
    }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult pointsNear(const D3DXVECTOR3& actual, const D3DXVECTOR3& expected, float tolerance) {
  const D3DXVECTOR3 d = actual - expected;
  if (std::fabs(d.x) <= tolerance && std::fabs(d.y) <= tolerance && std::fabs(d.z) <= tolerance)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "(" << actual.x << ", " << actual.y << ", " << actual.z << ") vs ("
                                       << expected.x << ", " << expected.y << ", " << expected.z << ")";
}

FixedSpectrum::FixedSpectrum(float s0, float s1, float s2) {
  Show::instance();
  constexpr std::uint32_t kRecords = 9000, kBands = 3;
  const std::uint32_t header[2] = {kRecords, kBands};
  std::vector<float> records(std::size_t(kRecords) * kBands);
  for (std::size_t i = 0; i < records.size(); i += kBands) {
    records[i] = s0;
    records[i + 1] = s1;
    records[i + 2] = s2;
  }
  std::string bytes(sizeof header + records.size() * sizeof(float), '\0');
  std::memcpy(bytes.data(), header, sizeof header);
  std::memcpy(bytes.data() + sizeof header, records.data(), records.size() * sizeof(float));
  loaded = timeline::spectrumTrack().load(dir_.write("fixed.txt", bytes).c_str());
}

FixedSpectrum::~FixedSpectrum() { timeline::spectrumTrack().load("RV07\\syncdata\\fft.txt"); }

}  // namespace testsupport
