// assimp keeps part of its parse state when it rejects a malformed .x file; the tests feed
// it such files on purpose. Sanitizer builds would otherwise report that as our leak.
extern "C" const char* __lsan_default_suppressions() { return "leak:libassimp.so\n"; }
