// Message boxes draw their text through Xlib font sets, which show UTF-8 (the game's
// Japanese texts) only in a UTF-8 locale taken from the environment.
#pragma once

namespace velmora::win32 {

// Makes the character type of this process, and of the environment that child
// processes (SDL's message box) read, a UTF-8 one; other locale categories are kept.
void useUtf8TextLocale();

}  // namespace velmora::win32
