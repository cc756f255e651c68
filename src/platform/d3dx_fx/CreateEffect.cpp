// D3DXCreateEffectFromFileA: reads and checks an effect file and, on the real backend,
// compiles its program; failures hand the reason back in the compilation-errors buffer.
#include "Effect.h"
#include "gl/EffectProgram.h"
#include "EffectSource.h"
#include "d3d9/DeviceInternals.h"

#include <d3dx9.h>

#include <cstring>
#include <fstream>
#include <new>
#include <sstream>

namespace {

void reportErrors(const std::string& text, ID3DXBuffer** errors) {
    if (!errors) return;
    *errors = nullptr;
    ID3DXBuffer* buffer = nullptr;
    if (FAILED(D3DXCreateBuffer(DWORD(text.size() + 1), &buffer))) return;
    std::memcpy(buffer->GetBufferPointer(), text.c_str(), text.size() + 1);
    *errors = buffer;
}

bool readFile(const char* path, std::string& text) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    std::ostringstream contents;
    contents << file.rdbuf();
    text = contents.str();
    return true;
}

}  // namespace

// The include handler, flags and pool are not used: the format has no includes, and
// effects share no parameters.
HRESULT WINAPI D3DXCreateEffectFromFileA(IDirect3DDevice9* device, const char* srcfile, const D3DXMACRO* defines,
                                         ID3DXInclude*, DWORD, ID3DXEffectPool*, ID3DXEffect** effect,
                                         ID3DXBuffer** compilation_errors) {
    using namespace velmora::d3dxfx;
    if (compilation_errors) *compilation_errors = nullptr;
    if (!device || !srcfile || !effect) return D3DERR_INVALIDCALL;
    *effect = nullptr;

    std::string text;
    if (!readFile(srcfile, text)) {
        reportErrors(std::string(srcfile) + ": cannot open the file", compilation_errors);
        return D3DXERR_INVALIDDATA;
    }
    EffectSource source;
    std::string error;
    if (!parseEffectSource(text, srcfile, source, error)) {
        reportErrors(error, compilation_errors);
        return E_FAIL;
    }
    std::unique_ptr<EffectProgram> program;
    if (velmora::d3d9::makeGlContextCurrent(device)) {
        program.reset(EffectProgram::build(source, defines, srcfile, error));
        if (!program) {
            reportErrors(error, compilation_errors);
            return E_FAIL;
        }
    }
    try {
        *effect = new Effect(device, std::move(source), std::move(program));
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return D3D_OK;
}
