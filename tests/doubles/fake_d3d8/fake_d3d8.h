#pragma once
// A scripted Direct3D 8: adapter modes, accepted depth formats, device creation
// that runs out of video memory at chosen modes, and a device that records what
// it is asked and fails the calls a test names. Everything lands in a shared
// D3D8Record that outlives the objects, so a test can read it after release.
#include <windows.h>
#include <d3d8.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "fake_d3d8_bases.h"

namespace fake_d3d8 {

struct DrawCall {
    D3DPRIMITIVETYPE type;
    UINT vertexCount, primitiveCount;
};

struct D3D8Record {
    // Script: the call named fails with `result` once it has succeeded `after` times,
    // `times` times (for ever when negative).
    struct Failure {
        HRESULT result;
        int after;
        int times = -1;
    };
    std::map<std::string, Failure> failures;
    std::vector<D3DDISPLAYMODE> modes;  // of the only adapter
    std::set<D3DFORMAT> depthFormats{D3DFMT_D24X8, D3DFMT_D16};
    std::set<std::pair<UINT, UINT>> outOfVideoMemoryAt;  // (width, height) of modes the device cannot get

    // What happened.
    std::map<std::string, int> calls;
    std::vector<D3DPRESENT_PARAMETERS> devicesCreated;  // one per CreateDevice that succeeded
    std::vector<D3DPRESENT_PARAMETERS> resets;
    std::map<D3DRENDERSTATETYPE, DWORD> renderStates;
    std::map<std::pair<DWORD, D3DTEXTURESTAGESTATETYPE>, DWORD> stageStates;
    std::map<D3DTRANSFORMSTATETYPE, D3DMATRIX> transforms;
    std::vector<BYTE> vertexData;  // the vertex buffer at its last unlock
    std::vector<BYTE> indexData;   // the index buffer at its last unlock
    std::vector<DrawCall> draws;
    int liveObjects = 0;

    // Counts the call and answers what the script says for it.
    HRESULT Call(const std::string& name);
};

using Record = std::shared_ptr<D3D8Record>;

// A new Direct3D 8 object (one reference, the caller's).
IDirect3D8* CreateFakeDirect3D(const Record& record);

// A device on its own, for the utility functions' tests (one reference, the caller's).
IDirect3DDevice8* CreateFakeDevice(const Record& record);

// The texels of a level of a texture a fake device made: rows of `pitch` bytes.
struct TextureLevel {
    UINT width, height, pitch;
    const BYTE* bits;
};
bool ReadFakeTexture(IDirect3DTexture8* texture, UINT level, TextureLevel* out);

}  // namespace fake_d3d8
