// The language the player reads: the game's message boxes, the platform's own messages
// and the menu are shown in it. The game's texts stay Japanese in its code; the platform
// looks up their English words, and the Japanese words for its own English texts.
#pragma once

#include <initializer_list>
#include <string>

namespace velmora {

enum class Language { English, Japanese };

// From settings().language; for auto, the locale (LC_ALL, else LC_MESSAGES, else LANG, as
// POSIX orders them; in the page the browser's language, which emscripten puts in LANG; on
// Windows the player's display language):
// Japanese for a Japanese locale, English for any other.
Language playerLanguage();

// The player's words for a text: the game's own Japanese texts (its message boxes and
// captions, keyed by the game's own text) and the platform's English texts. A text the
// table does not know comes back unchanged.
std::string localized(const std::string& text);

// The same for a text with blanks: each "%s" of the player's words takes the next value
// (a path, a name, a reason), in order.
std::string localized(const std::string& format, std::initializer_list<std::string> values);

}  // namespace velmora
