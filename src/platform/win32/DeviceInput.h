// The real keyboard and mouse through SDL (real backend with video running only).
#pragma once

namespace velmora::win32 {

class DeviceInput {
public:
    // Virtual-key code down now. Letters follow the keyboard layout, as virtual keys do;
    // mouse buttons are read from the pointer itself, so they count wherever it is.
    static bool keyDown(int virtualKey);
    // Relative motion reported since the last call.
    static void takeMotion(int* dx, int* dy);
};

}  // namespace velmora::win32
