// The D3DX 9 subset the system calls: math, effects compiled from our .fx files, and textures
// loaded from PNG and JPEG. Effects and buffers are reference counted like device objects.
#pragma once

#include "platform/d3d9/d3d9.h"
#include "platform/d3dx9/D3DXMath.h"

constexpr HRESULT D3DXERR_INVALIDDATA = static_cast<HRESULT>(0x88760B59u);
constexpr DWORD D3DXSHADER_DEBUG = 0x1;

using D3DXHANDLE = const char*;

struct D3DXMACRO {
  LPCSTR Name;
  LPCSTR Definition;
};
struct ID3DXInclude;
struct ID3DXEffectPool;

// A block of bytes handed back by D3DX; compile errors come as text ending in a zero byte.
struct ID3DXBuffer : IUnknown {
  virtual void* GetBufferPointer() = 0;
  virtual DWORD GetBufferSize() = 0;
};

// An effect: a parameter table by name and numbered passes. Setters on a name the effect does
// not declare return D3DERR_INVALIDCALL and change nothing. Begin gives the pass count; a pass
// binds its program and uploads the parameters; CommitChanges uploads what changed since; End
// restores every render state the passes set.
struct ID3DXEffect : IUnknown {
  // The effect's one technique; null when the effect has no passes.
  virtual D3DXHANDLE GetCurrentTechnique() = 0;
  virtual HRESULT Begin(UINT* pPasses, DWORD Flags) = 0;
  virtual HRESULT BeginPass(UINT Pass) = 0;
  virtual HRESULT CommitChanges() = 0;
  virtual HRESULT EndPass() = 0;
  virtual HRESULT End() = 0;
  virtual HRESULT SetMatrix(D3DXHANDLE hParameter, const D3DXMATRIX* pMatrix) = 0;
  virtual HRESULT SetFloat(D3DXHANDLE hParameter, FLOAT f) = 0;
  virtual HRESULT SetFloatArray(D3DXHANDLE hParameter, const FLOAT* pf, UINT Count) = 0;
  virtual HRESULT SetTexture(D3DXHANDLE hParameter, IDirect3DBaseTexture9* pTexture) = 0;
};

// Reads and compiles an effect file. On failure *ppEffect is null and, when the file was read,
// *ppCompilationErrors (if asked for) holds "path(line): message" lines.
HRESULT D3DXCreateEffectFromFileA(IDirect3DDevice9* pDevice, LPCSTR pSrcFile, const D3DXMACRO* pDefines,
                                  ID3DXInclude* pInclude, DWORD Flags, ID3DXEffectPool* pPool,
                                  ID3DXEffect** ppEffect, ID3DXBuffer** ppCompilationErrors);

// Decodes a PNG or JPEG into a managed A8R8G8B8 texture with a full mip chain, named by its path.
// A missing or undecodable file gives D3DXERR_INVALIDDATA (the device's own failures pass through).
HRESULT D3DXCreateTextureFromFileA(IDirect3DDevice9* pDevice, LPCSTR pSrcFile, IDirect3DTexture9** ppTexture);
