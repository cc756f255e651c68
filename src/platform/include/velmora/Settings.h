// What the player can tune: read from the settings file at start-up, then from the
// command line (--name=value), before the game starts. The platform layer reads them;
// the game never sees them.
#pragma once

#include "velmora/KeyBindings.h"

#include <cstdio>
#include <string>
#include <vector>

namespace velmora {

enum class FullScreenChoice { Ask, Yes, No };
enum class LanguageChoice { Auto, English, Japanese };
enum class EscapeChoice { Menu, Quit };

struct Settings {
    double mouseSpeed = 1.0;     // multiplies mouse motion
    bool invertY = false;        // mouse and stick alike
    double stickSpeed = 1.0;     // the right stick's turn speed, 1 = a brisk mouse
    double stickDeadZone = 0.2;  // share of a stick's travel that counts as rest
    FullScreenChoice fullScreen = FullScreenChoice::Ask;  // Ask: the start-up question
    int renderScale = 0;         // 0: the window's own pixel size; n: n x 1280 x 720
    int multisample = 0;         // samples per pixel; 0 is off
    LanguageChoice language = LanguageChoice::Auto;  // Auto: the locale's, see playerLanguage
    bool vsync = true;           // each present waits for the display's refresh
    int volume = 100;            // master volume in percent
    EscapeChoice escape = EscapeChoice::Menu;  // Quit: Escape ends the game at once
    KeyBindings keys;
};

// The process's settings; defaults until main loads them.
Settings& settings();

// One setting by its name in the file (mouse_speed, invert_y, ...), from the file or the
// command line alike: spaces around the value do not count, numbers are plain decimals.
// An unknown name or a value out of range returns false with the reason, and the setting
// keeps its value.
bool applySetting(Settings& settings, const std::string& name, const std::string& value, std::string& problem);
bool isSetting(const std::string& name);

// The value of a setting as the file writes it; empty for an unknown name.
std::string settingValue(const Settings& settings, const std::string& name);

// Every setting's name, with the values it takes, for the usage text.
struct SettingHelp {
    const char* name;
    const char* values;
};
const std::vector<SettingHelp>& settingsHelp();

// What the reader takes: a larger file or a longer line is refused, so the writer never
// makes one.
constexpr size_t kSettingsFileMaxBytes = 64 * 1024;
constexpr size_t kSettingsLineMaxBytes = 1024;

// One line of the file taken apart, for the reader and the writer alike:
// "  name = value # note". A value holding '#' (the keys SDL names "#" and "Keypad #") is
// written in double quotes, with \" and \\ for a quote and a backslash inside.
struct SettingsLine {
    enum class Kind { Blank, Setting, Malformed };
    Kind kind = Kind::Blank;
    std::string name, value;
    size_t equals = 0;            // where the '=' is
    size_t comment = std::string::npos;  // where the note after the value starts
};
SettingsLine parseSettingsLine(const std::string& line);
// The value as a line writes it: quoted when it would not read back bare.
std::string settingsFileValue(const std::string& value);

// $XDG_CONFIG_HOME/velmora/settings.ini, else ~/.config/velmora/settings.ini; empty when
// neither folder is known.
std::string settingsFilePath();

// Reads "name = value" lines ('#' starts a comment). Every problem (an unreadable or
// oversized file, a line that is not a setting, an unknown name, a value out of range) is
// one line on `warnings` (the first 20, then their count), saying what the setting keeps.
// A missing file is no problem. A key bound to two actions keeps the one set first; the
// later line gets its default.
void loadSettingsFile(Settings& settings, const std::string& path, std::FILE* warnings);

}  // namespace velmora
