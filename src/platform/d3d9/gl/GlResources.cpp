#include "GlResources.h"

#include "BufferStorage.h"
#include "GlContext.h"
#include "Texture.h"

#include <epoxy/gl.h>

namespace velmora::d3d9 {

namespace {

class GlTextureName final : public GpuObject {
public:
    explicit GlTextureName(unsigned contextId) : contextId_(contextId) { glGenTextures(1, &name_); }
    ~GlTextureName() override {
        if (GlContext::isCurrent(contextId_)) glDeleteTextures(1, &name_);
    }
    GLuint name_ = 0;
    unsigned contextId_;
};

class GlBufferName final : public GpuObject {
public:
    explicit GlBufferName(unsigned contextId) : contextId_(contextId) { glGenBuffers(1, &name_); }
    ~GlBufferName() override {
        if (GlContext::isCurrent(contextId_)) glDeleteBuffers(1, &name_);
    }
    GLuint name_ = 0;
    unsigned contextId_;
};

// The copy of a resource for this context, made anew when there is none or it belongs to
// a context that is gone.
template <class Name>
Name& nameIn(GpuCopy& copy, unsigned contextId, bool& fresh) {
    auto* name = static_cast<Name*>(copy.object.get());
    fresh = !name || name->contextId_ != contextId;
    if (fresh) {
        copy.object = std::make_unique<Name>(contextId);
        name = static_cast<Name*>(copy.object.get());
    }
    return *name;
}

void uploadLevels(const Texture& texture) {
    const auto& levels = texture.levels();
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    for (size_t i = 0; i < levels.size(); ++i)
        glTexImage2D(GL_TEXTURE_2D, GLint(i), GL_RGBA8, GLsizei(levels[i].width), GLsizei(levels[i].height), 0,
                     GL_BGRA, GL_UNSIGNED_BYTE, levels[i].texels.data());
}

}  // namespace

unsigned glTextureFor(Texture& texture, unsigned contextId) {
    GpuCopy& copy = texture.gpuCopy();
    bool fresh = false;
    GlTextureName& name = nameIn<GlTextureName>(copy, contextId, fresh);
    glBindTexture(GL_TEXTURE_2D, name.name_);
    if (fresh) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, 0);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, GLint(texture.levels().size()) - 1);
        // X8R8G8B8 has no alpha: its texels read as opaque whatever the fourth byte holds.
        if (texture.format() == D3DFMT_X8R8G8B8) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_A, GL_ONE);
    }
    if (fresh || copy.uploadedRevision != texture.revision()) {
        uploadLevels(texture);
        copy.uploadedRevision = texture.revision();
    }
    return name.name_;
}

unsigned glBufferFor(BufferStorage& storage, unsigned target, unsigned contextId) {
    GpuCopy& copy = storage.gpuCopy();
    bool fresh = false;
    GlBufferName& name = nameIn<GlBufferName>(copy, contextId, fresh);
    glBindBuffer(target, name.name_);
    if (fresh || copy.uploadedRevision != storage.revision()) {
        glBufferData(target, GLsizeiptr(storage.length()), storage.bytes().data(), GL_STATIC_DRAW);
        copy.uploadedRevision = storage.revision();
    }
    return name.name_;
}

}  // namespace velmora::d3d9
