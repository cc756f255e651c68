/* rand and srand as the Windows C runtime has them, on every platform: the game's random
 * choices (every dragonfly's flight, every shell's tumble) follow its seed as they do on
 * Windows, and a play recorded on one system replays on another. The C library's own stay
 * for everything else in the process: these are hidden in the executable (see
 * CMakeLists.txt), so that SDL's, Mesa's or OpenAL's draws never move the game's. */
#include <stdlib.h>

static unsigned int randState = 1;

void srand(unsigned int seed) { randState = seed; }

int rand(void) {
    randState = randState * 214013u + 2531011u;
    return (int)((randState >> 16) & 0x7fff);
}
