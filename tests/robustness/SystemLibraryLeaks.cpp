// When the window system or OpenGL is refused at start-up, SDL leaves behind what the GL
// driver it loaded and its D-Bus connection allocated (the driver is unloaded by then, so
// its frames have no names; only a full unwind reaches SDL's). Those are not the game's.
extern "C" const char* __asan_default_options() { return "fast_unwind_on_malloc=0"; }
extern "C" const char* __lsan_default_suppressions() { return "leak:libSDL2-2.0.so\nleak:libdbus-1.so\n"; }
