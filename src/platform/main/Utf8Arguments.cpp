#include "Utf8Arguments.h"

#ifdef _WIN32
#include <SDL.h>

#include <cwchar>

// The platform's windows.h is the game's; these two are all main needs of the real one.
extern "C" __declspec(dllimport) wchar_t* __stdcall GetCommandLineW();
extern "C" __declspec(dllimport) wchar_t** __stdcall CommandLineToArgvW(const wchar_t* line, int* count);
extern "C" __declspec(dllimport) void* __stdcall LocalFree(void* memory);
#endif

namespace velmora {

Utf8Arguments::Utf8Arguments(int argc, char** argv) : arguments_(argv, argv + argc) {
#ifdef _WIN32
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide) {
        arguments_.clear();
        for (int i = 0; i < count; ++i) {
            char* utf8 = SDL_iconv_string("UTF-8", "UTF-16LE", reinterpret_cast<const char*>(wide[i]),
                                          (std::wcslen(wide[i]) + 1) * sizeof(wchar_t));
            arguments_.push_back(utf8 ? utf8 : "");
            SDL_free(utf8);
        }
        LocalFree(wide);
    }
#endif
    for (const std::string& argument : arguments_) pointers_.push_back(argument.c_str());
}

}  // namespace velmora
