// stb_image's decoders compiled into the picture fuzzer: the system's libstb is not
// instrumented, and the fuzzer must see (and check) the decoding itself. Definitions in
// the executable take the place of the shared library's for every caller.
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>
