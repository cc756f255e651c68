// The non-client frame Windows draws around a top-level window of a given style, in
// pixels at 96 dpi (what AdjustWindowRect reports on Windows 10): the client area is the
// window rectangle less these margins.
#pragma once

#include <windows.h>

namespace velmora::win32 {

struct WindowFrame {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;

    static WindowFrame forStyle(DWORD style) {
        const bool caption = (style & WS_CAPTION) == WS_CAPTION;
        LONG border = 0;
        if (style & WS_THICKFRAME)
            border = 8;  // sizing frame and padding
        else if (caption)
            border = 3;  // fixed dialog frame
        else if (style & WS_BORDER)
            border = 1;
        const LONG captionHeight = caption ? 23 : 0;
        return {border, border + captionHeight, border, border};
    }
};

}  // namespace velmora::win32
