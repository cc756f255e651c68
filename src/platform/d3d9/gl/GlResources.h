// The GL copies of textures and buffers: made on first use, refreshed when the CPU data
// changed since (an unlock bumps the revision), deleted with the resource while the
// context that made them is current.
#pragma once

namespace velmora::d3d9 {

class BufferStorage;
class Texture;

// The GL texture holding every level of the texture, bound to the active unit.
unsigned glTextureFor(Texture& texture, unsigned contextId);
// The GL buffer holding the bytes, bound to target (GL_ARRAY_BUFFER or GL_ELEMENT_ARRAY_BUFFER).
unsigned glBufferFor(BufferStorage& storage, unsigned target, unsigned contextId);

}  // namespace velmora::d3d9
