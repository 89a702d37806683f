// The frame-trace events of the device calls, written alike by every backend (trace and gl), so a
// trace run and a GL run log the same lines. Header only; each function writes one event.
#pragma once

#include <string>
#include <utility>

#include "platform/d3d9/d3d9.h"
#include "platform/trace/FrameTrace.h"

namespace d3d9 {

inline ::trace::TraceLine traceEvent(const char* ev) { return ::trace::frameTrace().event(ev); }

inline const char* traceNameOf(const IDirect3DResource9* resource) {
  return resource ? resource->GetDebugName() : nullptr;
}

inline const char* renderStateName(D3DRENDERSTATETYPE state) {
  switch (state) {
    case D3DRS_ZENABLE: return "ZENABLE";
    case D3DRS_SRCBLEND: return "SRCBLEND";
    case D3DRS_DESTBLEND: return "DESTBLEND";
    case D3DRS_CULLMODE: return "CULLMODE";
    case D3DRS_ALPHABLENDENABLE: return "ALPHABLENDENABLE";
    case D3DRS_BLENDOP: return "BLENDOP";
  }
  return nullptr;
}

// The name of a render-state value, or null for a value without one (written as a number).
inline const char* renderStateValueName(D3DRENDERSTATETYPE state, DWORD value) {
  switch (state) {
    case D3DRS_CULLMODE:
      switch (value) {
        case D3DCULL_NONE: return "NONE";
        case D3DCULL_CW: return "CW";
        case D3DCULL_CCW: return "CCW";
      }
      return nullptr;
    case D3DRS_SRCBLEND:
    case D3DRS_DESTBLEND:
      switch (value) {
        case D3DBLEND_ZERO: return "ZERO";
        case D3DBLEND_ONE: return "ONE";
        case D3DBLEND_SRCCOLOR: return "SRCCOLOR";
        case D3DBLEND_INVSRCCOLOR: return "INVSRCCOLOR";
        case D3DBLEND_SRCALPHA: return "SRCALPHA";
        case D3DBLEND_INVSRCALPHA: return "INVSRCALPHA";
      }
      return nullptr;
    case D3DRS_BLENDOP:
      switch (value) {
        case D3DBLENDOP_ADD: return "ADD";
        case D3DBLENDOP_MIN: return "MIN";
      }
      return nullptr;
    default: return nullptr;
  }
}

// {"ev":"state",...}: a bool for switches, a name for the known enumerations, a number otherwise.
inline void traceState(D3DRENDERSTATETYPE state, DWORD value) {
  auto line = traceEvent("state");
  if (const char* name = renderStateName(state)) {
    line.str("name", name);
  } else {
    line.integer("name", state);
  }
  if (state == D3DRS_ZENABLE || state == D3DRS_ALPHABLENDENABLE) {
    line.boolean("value", value != 0);
  } else if (const char* valueName = renderStateValueName(state, value)) {
    line.str("value", valueName);
  } else {
    line.integer("value", value);
  }
}

inline std::string clearFlagsJson(DWORD flags) {
  std::string json = "[";
  const std::pair<DWORD, const char*> names[] = {
      {D3DCLEAR_TARGET, "\"TARGET\""}, {D3DCLEAR_ZBUFFER, "\"ZBUFFER\""}, {D3DCLEAR_STENCIL, "\"STENCIL\""}};
  for (const auto& [bit, name] : names) {
    if (!(flags & bit)) continue;
    if (json.size() > 1) json += ',';
    json += name;
  }
  return json + "]";
}

// The flags' text is only built while recording: a clear of the null device allocates nothing.
inline void traceClear(DWORD flags, D3DCOLOR color, float z, DWORD stencil) {
  if (!::trace::frameTrace().recording()) return;
  traceEvent("clear").raw("flags", clearFlagsJson(flags)).hex("color", color).num("z", z).integer("stencil", stencil);
}

// setRenderTarget and setDepthStencil: the surface by name.
inline void traceSurface(const char* ev, const IDirect3DSurface9* surface) {
  traceEvent(ev).name("surface", traceNameOf(surface));
}

// {"ev":"stretchRect",...,"filter":"NONE"}: the filter by name, or a number for one without.
inline void traceStretchRect(const IDirect3DSurface9* from, const IDirect3DSurface9* to, D3DTEXTUREFILTERTYPE filter) {
  auto line = traceEvent("stretchRect");
  line.name("from", traceNameOf(from)).name("to", traceNameOf(to));
  switch (filter) {
    case D3DTEXF_NONE: line.str("filter", "NONE"); break;
    case D3DTEXF_POINT: line.str("filter", "POINT"); break;
    case D3DTEXF_LINEAR: line.str("filter", "LINEAR"); break;
    default: line.integer("filter", filter);
  }
}

inline void traceDraw(const IDirect3DVertexBuffer9* stream, INT base, UINT vertices, UINT start, UINT primitives) {
  traceEvent("draw")
      .name("vb", traceNameOf(stream))
      .integer("base", base)
      .integer("vertices", vertices)
      .integer("start", start)
      .integer("primitives", primitives);
}

}  // namespace d3d9
