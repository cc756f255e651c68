#include "MeshObject.h"

#include "AttributeTable.h"
#include "d3d9/DeviceInternals.h"

#include <d3dx9.h>

#include <cstring>

namespace velmora::d3dx {

namespace {

DWORD usageOf(DWORD options, DWORD writeOnlyFlag, DWORD dynamicFlag) {
    DWORD usage = 0;
    if (options & writeOnlyFlag) usage |= D3DUSAGE_WRITEONLY;
    if (options & dynamicFlag) usage |= D3DUSAGE_DYNAMIC;
    return usage;
}

D3DPOOL poolOf(DWORD options, DWORD managedFlag, DWORD systemMemFlag) {
    if (options & managedFlag) return D3DPOOL_MANAGED;
    if (options & systemMemFlag) return D3DPOOL_SYSTEMMEM;
    return D3DPOOL_DEFAULT;
}

}  // namespace

void MeshObject::LockState::lock(DWORD flags) {
    ++open;
    if (!(flags & D3DLOCK_READONLY)) written = true;
}

bool MeshObject::LockState::unlock() {
    if (open == 0) return false;
    if (--open > 0) return false;
    const bool ended = written;
    written = false;
    return ended;
}

MeshObject::MeshObject(IDirect3DDevice9* device, DWORD options, const MeshData& data)
    : device_(device),
      options_(options),
      vertexCount_((DWORD)data.vertices.size()),
      faceCount_(data.faceCount()),
      attributes_(data.attributes),
      picking_(data.picking) {
    device_->AddRef();
}

MeshObject::~MeshObject() {
    if (vertexBuffer_) vertexBuffer_->Release();
    if (indexBuffer_) indexBuffer_->Release();
    device_->Release();
}

HRESULT MeshObject::create(IDirect3DDevice9* device, DWORD options, const MeshData& data, ID3DXMesh** mesh) {
    // Sixteen-bit indices reach 0xFFFE; 0xFFFF stays unused, as in D3DX.
    if (!(options & D3DXMESH_32BIT) && data.vertices.size() > 0xFFFF) return D3DXERR_INVALIDDATA;
    MeshObject* object = new MeshObject(device, options, data);
    const HRESULT hr = object->createBuffers(data);
    if (FAILED(hr)) {
        object->Release();
        return hr;
    }
    *mesh = object;
    return D3D_OK;
}

HRESULT MeshObject::createBuffers(const MeshData& data) {
    // The device's own buffers read the file's prepared bytes where they are; any other
    // device's are created and given a copy.
    const UINT vertexBytes = (UINT)(data.vertices.size() * sizeof(MeshVertex));
    const DWORD vertexUsage = usageOf(options_, D3DXMESH_VB_WRITEONLY, D3DXMESH_VB_DYNAMIC);
    const D3DPOOL vertexPool = poolOf(options_, D3DXMESH_VB_MANAGED, D3DXMESH_VB_SYSTEMMEM);
    HRESULT hr;
    void* bytes = nullptr;
    if (!d3d9::createSharingVertexBuffer(device_, data.vertexBytes, vertexUsage, kMeshFvf, vertexPool,
                                         &vertexBuffer_)) {
        hr = device_->CreateVertexBuffer(vertexBytes, vertexUsage, kMeshFvf, vertexPool, &vertexBuffer_, nullptr);
        if (FAILED(hr)) return hr;
        if (FAILED(hr = vertexBuffer_->Lock(0, 0, &bytes, 0))) return hr;
        std::memcpy(bytes, data.vertices.data(), vertexBytes);
        vertexBuffer_->Unlock();
    }

    const UINT indexSize = index32() ? 4 : 2;
    const DWORD indexUsage = usageOf(options_, D3DXMESH_IB_WRITEONLY, D3DXMESH_IB_DYNAMIC);
    const D3DFORMAT indexFormat = index32() ? D3DFMT_INDEX32 : D3DFMT_INDEX16;
    const D3DPOOL indexPool = poolOf(options_, D3DXMESH_IB_MANAGED, D3DXMESH_IB_SYSTEMMEM);
    if (!d3d9::createSharingIndexBuffer(device_, index32() ? data.indexBytes32 : data.indexBytes16, indexUsage,
                                        indexFormat, indexPool, &indexBuffer_)) {
        hr = device_->CreateIndexBuffer((UINT)data.indices.size() * indexSize, indexUsage, indexFormat, indexPool,
                                        &indexBuffer_, nullptr);
        if (FAILED(hr)) return hr;
        if (FAILED(hr = indexBuffer_->Lock(0, 0, &bytes, 0))) return hr;
        if (index32()) {
            std::memcpy(bytes, data.indices.data(), data.indices.size() * 4);
        } else {
            uint16_t* out = static_cast<uint16_t*>(bytes);
            for (size_t i = 0; i < data.indices.size(); ++i) out[i] = (uint16_t)data.indices[i];
        }
        indexBuffer_->Unlock();
    }

    attributeTable_ = data.attributeTable;
    return D3D_OK;
}

const std::shared_ptr<const PickGeometry>& MeshObject::picking() {
    if (pickingStale_) {
        if (auto rebuilt = readPicking()) {
            picking_ = std::move(rebuilt);
            pickingStale_ = false;
        }
    }
    return picking_;
}

std::shared_ptr<const PickGeometry> MeshObject::readPicking() {
    void* vertices = nullptr;
    void* indices = nullptr;
    if (FAILED(vertexBuffer_->Lock(0, 0, &vertices, D3DLOCK_READONLY))) return nullptr;
    if (FAILED(indexBuffer_->Lock(0, 0, &indices, D3DLOCK_READONLY))) {
        vertexBuffer_->Unlock();
        return nullptr;
    }
    auto rebuilt = std::make_shared<PickGeometry>(static_cast<const BYTE*>(vertices), vertexCount_,
                                                  (DWORD)sizeof(MeshVertex), indices, index32(), faceCount_);
    indexBuffer_->Unlock();
    vertexBuffer_->Unlock();
    return rebuilt;
}

void MeshObject::rebuildAttributeTable() {
    void* indices = nullptr;
    if (FAILED(indexBuffer_->Lock(0, 0, &indices, D3DLOCK_READONLY))) return;
    attributeTable_ =
        std::make_shared<const std::vector<D3DXATTRIBUTERANGE>>(buildAttributeTable(attributes_, indices, index32()));
    indexBuffer_->Unlock();
}

HRESULT STDMETHODCALLTYPE MeshObject::QueryInterface(REFIID riid, void** ppvObject) {
    if (!ppvObject) return E_POINTER;
    if (sameGuid(riid, IID_IUnknown)) {
        *ppvObject = static_cast<IUnknown*>(this);
        AddRef();
        return S_OK;
    }
    *ppvObject = nullptr;
    return E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE MeshObject::DrawSubset(DWORD AttribId) {
    bool streamsSet = false;
    for (const D3DXATTRIBUTERANGE& range : *attributeTable_) {
        if (range.AttribId != AttribId || range.FaceCount == 0) continue;
        if (!streamsSet) {
            device_->SetFVF(kMeshFvf);
            device_->SetStreamSource(0, vertexBuffer_, 0, sizeof(MeshVertex));
            device_->SetIndices(indexBuffer_);
            streamsSet = true;
        }
        const HRESULT hr = device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, range.VertexStart,
                                                         range.VertexCount, range.FaceStart * 3, range.FaceCount);
        if (FAILED(hr)) return hr;
    }
    return D3D_OK;
}

DWORD STDMETHODCALLTYPE MeshObject::GetNumFaces() { return faceCount_; }

DWORD STDMETHODCALLTYPE MeshObject::GetNumVertices() { return vertexCount_; }

DWORD STDMETHODCALLTYPE MeshObject::GetFVF() { return kMeshFvf; }

DWORD STDMETHODCALLTYPE MeshObject::GetNumBytesPerVertex() { return sizeof(MeshVertex); }

DWORD STDMETHODCALLTYPE MeshObject::GetOptions() { return options_; }

HRESULT STDMETHODCALLTYPE MeshObject::GetDevice(LPDIRECT3DDEVICE9* ppDevice) {
    if (!ppDevice) return D3DERR_INVALIDCALL;
    device_->AddRef();
    *ppDevice = device_;
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE MeshObject::GetVertexBuffer(LPDIRECT3DVERTEXBUFFER9* ppVB) {
    if (!ppVB) return D3DERR_INVALIDCALL;
    vertexBuffer_->AddRef();
    *ppVB = vertexBuffer_;
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE MeshObject::GetIndexBuffer(LPDIRECT3DINDEXBUFFER9* ppIB) {
    if (!ppIB) return D3DERR_INVALIDCALL;
    indexBuffer_->AddRef();
    *ppIB = indexBuffer_;
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE MeshObject::LockVertexBuffer(DWORD Flags, LPVOID* ppData) {
    return vertexLock_.lockWhole(vertexBuffer_, Flags, ppData);
}

HRESULT STDMETHODCALLTYPE MeshObject::UnlockVertexBuffer() {
    const HRESULT hr = vertexBuffer_->Unlock();
    if (vertexLock_.unlock()) pickingStale_ = true;
    return hr;
}

HRESULT STDMETHODCALLTYPE MeshObject::LockIndexBuffer(DWORD Flags, LPVOID* ppData) {
    return indexLock_.lockWhole(indexBuffer_, Flags, ppData);
}

HRESULT STDMETHODCALLTYPE MeshObject::UnlockIndexBuffer() {
    const HRESULT hr = indexBuffer_->Unlock();
    if (indexLock_.unlock()) {
        pickingStale_ = true;
        rebuildAttributeTable();
    }
    return hr;
}

HRESULT STDMETHODCALLTYPE MeshObject::GetAttributeTable(D3DXATTRIBUTERANGE* pAttribTable, DWORD* pAttribTableSize) {
    const std::vector<D3DXATTRIBUTERANGE>& table = *attributeTable_;
    if (pAttribTableSize) *pAttribTableSize = (DWORD)table.size();
    if (pAttribTable) std::memcpy(pAttribTable, table.data(), table.size() * sizeof(D3DXATTRIBUTERANGE));
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE MeshObject::LockAttributeBuffer(DWORD Flags, DWORD** ppData) {
    if (!ppData) return D3DERR_INVALIDCALL;
    *ppData = attributes_.data();
    attributeLock_.lock(Flags);
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE MeshObject::UnlockAttributeBuffer() {
    if (attributeLock_.open == 0) return D3DERR_INVALIDCALL;
    // Rewritten attributes are not re-sorted: each run of equal attributes becomes a range,
    // and DrawSubset draws every range of its attribute.
    if (attributeLock_.unlock()) rebuildAttributeTable();
    return D3D_OK;
}

}  // namespace velmora::d3dx
