// In the browser the renderer draws with WebGL 2 through emscripten's OpenGL ES 3.0
// header; this stands in for libepoxy's, so the renderer includes one name everywhere.
#pragma once

#include <GLES3/gl3.h>
#include <GLES2/gl2ext.h>
#include <cstring>

// What libepoxy adds to the API that the renderer uses.
inline bool epoxy_has_gl_extension(const char* name) {
    GLint count = 0;
    glGetIntegerv(GL_NUM_EXTENSIONS, &count);
    for (GLint i = 0; i < count; ++i)
        if (std::strcmp(reinterpret_cast<const char*>(glGetStringi(GL_EXTENSIONS, GLuint(i))), name) == 0) return true;
    return false;
}

// OpenGL ES has only the float form of the depth range.
inline void glDepthRange(double nearZ, double farZ) { glDepthRangef(GLfloat(nearZ), GLfloat(farZ)); }
inline void glClearDepth(double depth) { glClearDepthf(GLfloat(depth)); }

// ES names the window's one colour buffer GL_BACK.
#define GL_BACK_LEFT GL_BACK
