#include "fake_d3d8.h"

#include <cstring>

namespace fake_d3d8 {

HRESULT D3D8Record::Call(const std::string& name) {
    const int done = calls[name]++;
    const auto failure = failures.find(name);
    if (failure == failures.end() || done < failure->second.after) return D3D_OK;
    const int times = failure->second.times;
    if (times < 0 || done < failure->second.after + times) return failure->second.result;
    return D3D_OK;
}

namespace {

// Counts itself in the record while it lives.
template <typename Base>
class Tracked : public Base {
public:
    explicit Tracked(Record record) : m_record(std::move(record)) { ++m_record->liveObjects; }
    ~Tracked() override { --m_record->liveObjects; }

protected:
    Record m_record;
};

template <typename Base>
class FakeBuffer : public Tracked<Base> {
public:
    FakeBuffer(Record record, UINT length, std::vector<BYTE> D3D8Record::*copy, const char* lockName)
        : Tracked<Base>(std::move(record)), m_data(length), m_copy(copy), m_lockName(lockName) {}
    HRESULT STDMETHODCALLTYPE Lock(UINT offset, UINT, BYTE** data, DWORD) override {
        if (const HRESULT hr = this->m_record->Call(m_lockName); FAILED(hr)) return hr;
        *data = m_data.data() + offset;
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE Unlock() override {
        this->m_record.get()->*m_copy = m_data;
        return this->m_record->Call(std::string(m_lockName) + "Unlock");
    }

private:
    std::vector<BYTE> m_data;
    std::vector<BYTE> D3D8Record::*m_copy;
    const char* m_lockName;
};

UINT BytesPer(D3DFORMAT format) {
    return format == D3DFMT_A8R8G8B8 || format == D3DFMT_X8R8G8B8 ? 4 : 2;
}

class FakeTexture : public Tracked<FakeDirect3DTexture8Base> {
public:
    FakeTexture(Record record, UINT width, UINT height, UINT levels, D3DFORMAT format)
        : Tracked(std::move(record)), m_format(format) {
        UINT full = 1;
        for (UINT side = width > height ? width : height; side > 1; side /= 2) ++full;
        if (levels == 0 || levels > full) levels = full;
        for (UINT i = 0; i < levels; ++i) {
            m_levels.push_back({width, height, std::vector<BYTE>(static_cast<size_t>(width) * height * BytesPer(format))});
            width = width > 1 ? width / 2 : 1;
            height = height > 1 ? height / 2 : 1;
        }
    }
    DWORD STDMETHODCALLTYPE GetLevelCount() override { return static_cast<DWORD>(m_levels.size()); }
    HRESULT STDMETHODCALLTYPE LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT*, DWORD) override {
        if (level >= m_levels.size()) return D3DERR_INVALIDCALL;
        if (const HRESULT hr = m_record->Call("TextureLockRect"); FAILED(hr)) return hr;
        locked->pBits = m_levels[level].bits.data();
        locked->Pitch = static_cast<INT>(m_levels[level].width * BytesPer(m_format));
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE UnlockRect(UINT level) override {
        return level < m_levels.size() ? D3D_OK : D3DERR_INVALIDCALL;
    }
    bool Read(UINT level, TextureLevel* out) const {
        if (level >= m_levels.size()) return false;
        const auto& l = m_levels[level];
        *out = {l.width, l.height, l.width * BytesPer(m_format), l.bits.data()};
        return true;
    }

private:
    struct Level {
        UINT width, height;
        std::vector<BYTE> bits;
    };
    D3DFORMAT m_format;
    std::vector<Level> m_levels;
};

class FakeDevice : public Tracked<FakeDirect3DDevice8Base> {
public:
    using Tracked::Tracked;

    HRESULT STDMETHODCALLTYPE Reset(D3DPRESENT_PARAMETERS* parameters) override {
        m_record->resets.push_back(*parameters);
        return m_record->Call("Reset");
    }
    HRESULT STDMETHODCALLTYPE Present(const RECT*, const RECT*, HWND, const RGNDATA*) override {
        return m_record->Call("Present");
    }
    HRESULT STDMETHODCALLTYPE TestCooperativeLevel() override { return m_record->Call("TestCooperativeLevel"); }
    HRESULT STDMETHODCALLTYPE CreateTexture(UINT width, UINT height, UINT levels, DWORD, D3DFORMAT format, D3DPOOL,
                                            IDirect3DTexture8** texture) override {
        *texture = nullptr;
        if (const HRESULT hr = m_record->Call("CreateTexture"); FAILED(hr)) return hr;
        *texture = new FakeTexture(m_record, width, height, levels, format);
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE CreateVertexBuffer(UINT length, DWORD, DWORD, D3DPOOL,
                                                 IDirect3DVertexBuffer8** buffer) override {
        *buffer = nullptr;
        if (const HRESULT hr = m_record->Call("CreateVertexBuffer"); FAILED(hr)) return hr;
        *buffer = new FakeBuffer<FakeDirect3DVertexBuffer8Base>(m_record, length, &D3D8Record::vertexData, "VertexLock");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE CreateIndexBuffer(UINT length, DWORD, D3DFORMAT, D3DPOOL,
                                                IDirect3DIndexBuffer8** buffer) override {
        *buffer = nullptr;
        if (const HRESULT hr = m_record->Call("CreateIndexBuffer"); FAILED(hr)) return hr;
        *buffer = new FakeBuffer<FakeDirect3DIndexBuffer8Base>(m_record, length, &D3D8Record::indexData, "IndexLock");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE BeginScene() override { return m_record->Call("BeginScene"); }
    HRESULT STDMETHODCALLTYPE EndScene() override { return m_record->Call("EndScene"); }
    HRESULT STDMETHODCALLTYPE Clear(DWORD, const D3DRECT*, DWORD, D3DCOLOR, float, DWORD) override {
        return m_record->Call("Clear");
    }
    HRESULT STDMETHODCALLTYPE SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) override {
        m_record->transforms[state] = *matrix;
        return m_record->Call("SetTransform");
    }
    HRESULT STDMETHODCALLTYPE SetMaterial(const D3DMATERIAL8*) override { return m_record->Call("SetMaterial"); }
    HRESULT STDMETHODCALLTYPE SetLight(DWORD, const D3DLIGHT8*) override { return m_record->Call("SetLight"); }
    HRESULT STDMETHODCALLTYPE LightEnable(DWORD, WINBOOL) override { return m_record->Call("LightEnable"); }
    HRESULT STDMETHODCALLTYPE SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override {
        const HRESULT hr = m_record->Call("SetRenderState:" + std::to_string(state));
        if (SUCCEEDED(hr)) m_record->renderStates[state] = value;
        return hr;
    }
    HRESULT STDMETHODCALLTYPE GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) override {
        *value = m_record->renderStates[state];
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE SetTexture(DWORD, IDirect3DBaseTexture8*) override { return m_record->Call("SetTexture"); }
    HRESULT STDMETHODCALLTYPE GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) override {
        *value = m_record->stageStates[{stage, type}];
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) override {
        m_record->stageStates[{stage, type}] = value;
        return m_record->Call("SetTextureStageState");
    }
    HRESULT STDMETHODCALLTYPE DrawIndexedPrimitive(D3DPRIMITIVETYPE type, UINT, UINT vertexCount, UINT,
                                                   UINT primitiveCount) override {
        m_record->draws.push_back({type, vertexCount, primitiveCount});
        return m_record->Call("DrawIndexedPrimitive");
    }
    HRESULT STDMETHODCALLTYPE DrawPrimitiveUP(D3DPRIMITIVETYPE, UINT, const void*, UINT) override {
        return m_record->Call("DrawPrimitiveUP");
    }
    HRESULT STDMETHODCALLTYPE SetVertexShader(DWORD shader) override {
        m_vertexShader = shader;
        return m_record->Call("SetVertexShader");
    }
    HRESULT STDMETHODCALLTYPE GetVertexShader(DWORD* shader) override {
        *shader = m_vertexShader;
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE SetStreamSource(UINT, IDirect3DVertexBuffer8*, UINT) override {
        return m_record->Call("SetStreamSource");
    }
    HRESULT STDMETHODCALLTYPE SetIndices(IDirect3DIndexBuffer8*, UINT) override { return m_record->Call("SetIndices"); }

private:
    DWORD m_vertexShader = 0;
};

class FakeDirect3D : public Tracked<FakeDirect3D8Base> {
public:
    using Tracked::Tracked;

    UINT STDMETHODCALLTYPE GetAdapterModeCount(UINT) override { return static_cast<UINT>(m_record->modes.size()); }
    HRESULT STDMETHODCALLTYPE EnumAdapterModes(UINT, UINT mode, D3DDISPLAYMODE* out) override {
        if (const HRESULT hr = m_record->Call("EnumAdapterModes"); FAILED(hr)) return hr;
        if (mode >= m_record->modes.size()) return D3DERR_INVALIDCALL;
        *out = m_record->modes[mode];
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE CheckDeviceFormat(UINT, D3DDEVTYPE, D3DFORMAT, DWORD usage, D3DRESOURCETYPE,
                                                D3DFORMAT format) override {
        if (usage != D3DUSAGE_DEPTHSTENCIL) return D3DERR_NOTAVAILABLE;
        return m_record->depthFormats.count(format) ? D3D_OK : D3DERR_NOTAVAILABLE;
    }
    HRESULT STDMETHODCALLTYPE CreateDevice(UINT, D3DDEVTYPE, HWND, DWORD, D3DPRESENT_PARAMETERS* parameters,
                                           IDirect3DDevice8** device) override {
        *device = nullptr;
        if (m_record->outOfVideoMemoryAt.count({parameters->BackBufferWidth, parameters->BackBufferHeight}))
            return D3DERR_OUTOFVIDEOMEMORY;
        if (const HRESULT hr = m_record->Call("CreateDevice"); FAILED(hr)) return hr;
        m_record->devicesCreated.push_back(*parameters);
        *device = new FakeDevice(m_record);
        return D3D_OK;
    }
};

}  // namespace

IDirect3D8* CreateFakeDirect3D(const Record& record) { return new FakeDirect3D(record); }

IDirect3DDevice8* CreateFakeDevice(const Record& record) { return new FakeDevice(record); }

bool ReadFakeTexture(IDirect3DTexture8* texture, UINT level, TextureLevel* out) {
    return static_cast<FakeTexture*>(texture)->Read(level, out);
}

}  // namespace fake_d3d8
