// The pause menu's words in English and Japanese. The glyph atlas is packed at build time
// from every text here (tools/assetgen compiles this file), so a word added here has its
// glyphs in both languages without more work.
#pragma once

#include "velmora/Language.h"

#include <vector>

namespace velmora::menu {

enum class MenuWord {
    Paused, Resume, Settings, Quit, QuitQuestion, Yes, No, Back, PressKey, PressKeyPad, PressKeyTouch, CannotSave,
    SettingsNotKept, Hint, PadHint, TouchHint,
    MouseSpeed, InvertY, StickSpeed, StickDeadZone, FullScreen, RenderScale, Multisample, Volume,
    Vsync, Escape, Language, KeyForward, KeyBack, KeyLeft, KeyRight, KeyThread,
    On, Off, Ask, Native, Menu, None, Automatic, English, Japanese,
    Count
};

class MenuTexts {
public:
    static const char* word(MenuWord word, Language language);
    // Both languages' texts, for packing their glyphs.
    static std::vector<const char*> all();
};

}  // namespace velmora::menu
