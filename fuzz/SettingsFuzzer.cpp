// Settings files, typed by hand: whatever the file holds, the warnings stay within a
// screenful, each one a line of printable text, and every setting stays in its range.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "FuzzInputFile.h"
#include "velmora/Settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FuzzInputFile input("settings.ini");
    const char* path = input.write(data, size);
    char* text = nullptr;
    size_t length = 0;
    std::FILE* warnings = open_memstream(&text, &length);
    velmora::Settings settings;
    velmora::loadSettingsFile(settings, path, warnings);
    std::fclose(warnings);
    int lines = 0;
    for (size_t i = 0; i < length; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        lines += c == '\n';
        if (c != '\n' && (c < 0x20 || c == 0x7f) && c != '\t') std::abort();
    }
    std::free(text);
    if (lines > 21) std::abort();
    if (!(settings.mouseSpeed >= 0.1 && settings.mouseSpeed <= 10) || !(settings.stickSpeed >= 0.1 && settings.stickSpeed <= 10) ||
        !(settings.stickDeadZone >= 0 && settings.stickDeadZone <= 0.9) || settings.renderScale < 0 || settings.renderScale > 4 ||
        settings.multisample % 2 != 0 || settings.multisample > 8)
        std::abort();
    return 0;
}
