#include "GlResources.h"

#include "BufferStorage.h"
#include "GlContext.h"
#include "GlDialect.h"
#include "Texture.h"

#include <epoxy/gl.h>

namespace velmora::d3d9 {

namespace {

// A texture or buffer name, deleted only while the context that made it is still current
// (a context that is gone took its names with it).
class GlName final : public GpuObject {
public:
    enum class Kind { Texture, Buffer };

    GlName(Kind kind, unsigned contextId) : kind_(kind), contextId_(contextId) {
        if (kind_ == Kind::Texture)
            glGenTextures(1, &name_);
        else
            glGenBuffers(1, &name_);
    }
    ~GlName() override {
        if (!GlContext::isCurrent(contextId_)) return;
        if (kind_ == Kind::Texture)
            glDeleteTextures(1, &name_);
        else
            glDeleteBuffers(1, &name_);
    }
    GLuint name_ = 0;
    Kind kind_;
    unsigned contextId_;
};

// The copy of a resource for this context, made anew when there is none or it belongs to
// a context that is gone. A copy holds names of one kind only: a texture's or a buffer's.
GlName& nameIn(GpuCopy& copy, GlName::Kind kind, unsigned contextId, bool& fresh) {
    auto* name = static_cast<GlName*>(copy.object.get());
    fresh = !name || name->contextId_ != contextId;
    if (fresh) {
        copy.object = std::make_unique<GlName>(kind, contextId);
        name = static_cast<GlName*>(copy.object.get());
    }
    return *name;
}

void uploadLevels(const Texture& texture) {
    const bool opaque = texture.format() == D3DFMT_X8R8G8B8;
    const auto& levels = texture.levels();
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    for (size_t i = 0; i < levels.size(); ++i)
        gldialect::uploadBgra(GLint(i), GLsizei(levels[i].width), GLsizei(levels[i].height), levels[i].texels, opaque);
}

}  // namespace

unsigned glTextureFor(Texture& texture, unsigned contextId) {
    GpuCopy& copy = texture.gpuCopy();
    bool fresh = false;
    GlName& name = nameIn(copy, GlName::Kind::Texture, contextId, fresh);
    glBindTexture(GL_TEXTURE_2D, name.name_);
    if (fresh) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, 0);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, GLint(texture.levels().size()) - 1);
        // X8R8G8B8 has no alpha: its texels read as opaque whatever the fourth byte holds.
        if (texture.format() == D3DFMT_X8R8G8B8) gldialect::makeAlphaOpaque();
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
    GlName& name = nameIn(copy, GlName::Kind::Buffer, contextId, fresh);
    glBindBuffer(target, name.name_);
    if (fresh || copy.uploadedRevision != storage.revision()) {
        glBufferData(target, GLsizeiptr(storage.length()), storage.bytes().data(), GL_STATIC_DRAW);
        copy.uploadedRevision = storage.revision();
    }
    return name.name_;
}

}  // namespace velmora::d3d9
