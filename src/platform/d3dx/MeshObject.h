// ID3DXMesh: vertex and index buffers created on the device, an attribute table for
// DrawSubset, and the CPU face data D3DXIntersect searches. The face data starts as the
// loaded file's shared copy; after the game writes to the vertex or index buffer through
// the mesh's own locks it is rebuilt from the buffers at the next ray query.
#pragma once

#include <d3dx9mesh.h>

#include "ComObject.h"
#include "MeshData.h"

#include <memory>
#include <vector>

namespace velmora::d3dx {

class MeshObject final : public ComObject<ID3DXMesh> {
public:
    static HRESULT create(IDirect3DDevice9* device, DWORD options, const MeshData& data, ID3DXMesh** mesh);

    // The face data for ray queries, current with the buffers; valid until the mesh is next
    // written or released (rays take thousands a frame, so none counts a reference).
    const std::shared_ptr<const PickGeometry>& picking();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override;

    HRESULT STDMETHODCALLTYPE DrawSubset(DWORD AttribId) override;
    DWORD STDMETHODCALLTYPE GetNumFaces() override;
    DWORD STDMETHODCALLTYPE GetNumVertices() override;
    DWORD STDMETHODCALLTYPE GetFVF() override;
    DWORD STDMETHODCALLTYPE GetNumBytesPerVertex() override;
    DWORD STDMETHODCALLTYPE GetOptions() override;
    HRESULT STDMETHODCALLTYPE GetDevice(LPDIRECT3DDEVICE9* ppDevice) override;
    HRESULT STDMETHODCALLTYPE GetVertexBuffer(LPDIRECT3DVERTEXBUFFER9* ppVB) override;
    HRESULT STDMETHODCALLTYPE GetIndexBuffer(LPDIRECT3DINDEXBUFFER9* ppIB) override;
    HRESULT STDMETHODCALLTYPE LockVertexBuffer(DWORD Flags, LPVOID* ppData) override;
    HRESULT STDMETHODCALLTYPE UnlockVertexBuffer() override;
    HRESULT STDMETHODCALLTYPE LockIndexBuffer(DWORD Flags, LPVOID* ppData) override;
    HRESULT STDMETHODCALLTYPE UnlockIndexBuffer() override;
    HRESULT STDMETHODCALLTYPE GetAttributeTable(D3DXATTRIBUTERANGE* pAttribTable, DWORD* pAttribTableSize) override;
    HRESULT STDMETHODCALLTYPE LockAttributeBuffer(DWORD Flags, DWORD** ppData) override;
    HRESULT STDMETHODCALLTYPE UnlockAttributeBuffer() override;

private:
    MeshObject(IDirect3DDevice9* device, DWORD options, const MeshData& data);
    ~MeshObject() override;

    HRESULT createBuffers(const MeshData& data);
    bool index32() const { return (options_ & D3DXMESH_32BIT) != 0; }
    void rebuildAttributeTable();
    // Reads the positions and indices back from the buffers.
    std::shared_ptr<const PickGeometry> readPicking();

    IDirect3DDevice9* device_;
    DWORD options_;
    DWORD vertexCount_;
    DWORD faceCount_;
    IDirect3DVertexBuffer9* vertexBuffer_ = nullptr;
    IDirect3DIndexBuffer9* indexBuffer_ = nullptr;
    // Shared with every mesh of the same file until this one's attributes or indices are
    // rewritten: draws read it, and one table stays in the cache for them all.
    std::shared_ptr<const std::vector<D3DXATTRIBUTERANGE>> attributeTable_;
    std::vector<DWORD> attributes_;

    std::shared_ptr<const PickGeometry> picking_;
    bool pickingStale_ = false;
    // Open locks per buffer, and whether one of them may have written: the CPU copies
    // are brought up to date when the last lock is released.
    struct LockState {
        int open = 0;
        bool written = false;
        void lock(DWORD flags);
        // Locks all of the vertex or index buffer, counted only when the buffer grants it.
        template <class Buffer>
        HRESULT lockWhole(Buffer* buffer, DWORD flags, void** data) {
            const HRESULT hr = buffer->Lock(0, 0, data, flags);
            if (SUCCEEDED(hr)) lock(flags);
            return hr;
        }
        // True when this release ends a round of locks that may have written.
        bool unlock();
    };
    LockState vertexLock_, indexLock_, attributeLock_;
};

}  // namespace velmora::d3dx
