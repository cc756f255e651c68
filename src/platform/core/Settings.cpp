#include "velmora/Settings.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sstream>

namespace velmora {

namespace {

bool parseNumber(const std::string& text, double low, double high, double& out) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    double value = std::strtod(text.c_str(), &end);
    if (errno != 0 || *end != '\0' || !(value >= low && value <= high)) return false;
    out = value;
    return true;
}

bool parseBool(const std::string& text, bool& out) {
    if (text == "true" || text == "yes" || text == "on" || text == "1") {
        out = true;
        return true;
    }
    if (text == "false" || text == "no" || text == "off" || text == "0") {
        out = false;
        return true;
    }
    return false;
}

std::string trimmed(const std::string& text) {
    const char* space = " \t\r\n";
    size_t first = text.find_first_not_of(space);
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(space) - first + 1);
}

// One line without its end; false at the end of the file or on a read error.
bool readLine(std::FILE* file, std::string& line) {
    line.clear();
    int c = 0;
    while ((c = std::fgetc(file)) != EOF && c != '\n') line += static_cast<char>(c);
    return c == '\n' || !line.empty();
}

}  // namespace

Settings& settings() {
    static Settings current;
    return current;
}

const std::vector<SettingHelp>& settingsHelp() {
    static const std::vector<SettingHelp> help = {
        {"mouse_speed", "0.1 to 10 (1)"},
        {"invert_y", "yes or no (no)"},
        {"stick_speed", "0.1 to 10 (1)"},
        {"stick_dead_zone", "0 to 0.9 (0.2)"},
        {"full_screen", "ask, yes or no (ask)"},
        {"render_scale", "native, 1, 2, 3 or 4 (native)"},
        {"multisample", "0, 2, 4 or 8 (0)"},
        {"language", "auto, en or ja (auto)"},
        {"volume", "0 to 100 (100)"},
        {"escape", "menu or quit (menu)"},
        {"key_forward", "an SDL key name or none (W)"},
        {"key_back", "an SDL key name or none (S)"},
        {"key_left", "an SDL key name or none (A)"},
        {"key_right", "an SDL key name or none (D)"},
        {"key_thread", "an SDL key name or none (none)"},
    };
    return help;
}

bool applySetting(Settings& settings, const std::string& name, const std::string& value, std::string& problem) {
    bool known = false;
    for (const SettingHelp& help : settingsHelp()) known = known || name == help.name;
    if (!known) {
        problem = "unknown setting '" + name + "'";
        return false;
    }
    bool ok = false;
    double number = 0.0;
    if (name == "mouse_speed") {
        ok = parseNumber(value, 0.1, 10.0, number);
        if (ok) settings.mouseSpeed = number;
    } else if (name == "invert_y") {
        ok = parseBool(value, settings.invertY);
    } else if (name == "stick_speed") {
        ok = parseNumber(value, 0.1, 10.0, number);
        if (ok) settings.stickSpeed = number;
    } else if (name == "stick_dead_zone") {
        ok = parseNumber(value, 0.0, 0.9, number);
        if (ok) settings.stickDeadZone = number;
    } else if (name == "full_screen") {
        ok = value == "ask" || value == "yes" || value == "no";
        if (ok) settings.fullScreen = value == "ask" ? FullScreenChoice::Ask
                                      : value == "yes" ? FullScreenChoice::Yes
                                                       : FullScreenChoice::No;
    } else if (name == "render_scale") {
        ok = value == "native" || (parseNumber(value, 1.0, 4.0, number) && number == static_cast<int>(number));
        if (ok) settings.renderScale = value == "native" ? 0 : static_cast<int>(number);
    } else if (name == "multisample") {
        ok = value == "0" || value == "2" || value == "4" || value == "8";
        if (ok) settings.multisample = std::atoi(value.c_str());
    } else if (name == "language") {
        ok = value == "auto" || value == "en" || value == "ja";
        if (ok) settings.language = value == "auto" ? LanguageChoice::Auto
                                    : value == "en" ? LanguageChoice::English
                                                    : LanguageChoice::Japanese;
    } else if (name == "volume") {
        ok = parseNumber(value, 0.0, 100.0, number) && number == static_cast<int>(number);
        if (ok) settings.volume = static_cast<int>(number);
    } else if (name == "escape") {
        ok = value == "menu" || value == "quit";
        if (ok) settings.escape = value == "menu" ? EscapeChoice::Menu : EscapeChoice::Quit;
    } else {
        int scancode = 0;
        ok = KeyBindings::parseName(value, scancode);
        for (int i = 0; ok && i < kKeyActionCount; ++i)
            if (name == KeyBindings::settingName(KeyAction(i))) settings.keys.bind(KeyAction(i), scancode);
    }
    if (!ok) {
        for (const SettingHelp& help : settingsHelp())
            if (name == help.name) problem = "'" + value + "' is not a value of " + name + ": " + help.values;
    }
    return ok;
}

std::string settingValue(const Settings& settings, const std::string& name) {
    std::ostringstream out;
    if (name == "mouse_speed") out << settings.mouseSpeed;
    if (name == "invert_y") out << (settings.invertY ? "yes" : "no");
    if (name == "stick_speed") out << settings.stickSpeed;
    if (name == "stick_dead_zone") out << settings.stickDeadZone;
    if (name == "full_screen")
        out << (settings.fullScreen == FullScreenChoice::Ask ? "ask" : settings.fullScreen == FullScreenChoice::Yes ? "yes" : "no");
    if (name == "render_scale") {
        if (settings.renderScale == 0) out << "native";
        else out << settings.renderScale;
    }
    if (name == "multisample") out << settings.multisample;
    if (name == "volume") out << settings.volume;
    if (name == "escape") out << (settings.escape == EscapeChoice::Menu ? "menu" : "quit");
    if (name == "language")
        out << (settings.language == LanguageChoice::Auto ? "auto" : settings.language == LanguageChoice::English ? "en" : "ja");
    for (int i = 0; i < kKeyActionCount; ++i)
        if (name == KeyBindings::settingName(KeyAction(i))) out << KeyBindings::name(settings.keys.scancode(KeyAction(i)));
    return out.str();
}

std::string settingsFilePath() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    // The XDG rules ignore a relative path here.
    if (config && config[0] == '/') return std::string(config) + "/velmora/settings.ini";
    const char* home = std::getenv("HOME");
    if (home && home[0]) return std::string(home) + "/.config/velmora/settings.ini";
    return "";
}

void loadSettingsFile(Settings& settings, const std::string& path, std::FILE* warnings) {
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (!file) {
        if (errno != ENOENT) std::fprintf(warnings, "velmora: %s: %s; using the defaults\n", path.c_str(), std::strerror(errno));
        return;
    }
    std::string line;
    int bindingLines[kKeyActionCount] = {};
    for (int number = 1; readLine(file, line); ++number) {
        line = trimmed(line.substr(0, line.find('#')));
        if (line.empty()) continue;
        size_t equals = line.find('=');
        std::string problem;
        if (equals == std::string::npos) {
            problem = "not a 'name = value' line";
        } else {
            const std::string name = trimmed(line.substr(0, equals));
            if (applySetting(settings, name, trimmed(line.substr(equals + 1)), problem))
                for (int i = 0; i < kKeyActionCount; ++i)
                    if (name == KeyBindings::settingName(KeyAction(i))) bindingLines[i] = number;
        }
        if (!problem.empty())
            std::fprintf(warnings, "velmora: %s:%d: %s; keeping the default\n", path.c_str(), number, problem.c_str());
    }
    // A key on two actions: the later line (or a line taking a default's key) loses.
    for (int i = 0; i < kKeyActionCount; ++i) {
        const KeyAction action = KeyAction(i);
        const int other = settings.keys.actionHolding(settings.keys.scancode(action), action);
        if (bindingLines[i] == 0 || other < 0 || (bindingLines[other] != 0 && bindingLines[other] > bindingLines[i])) continue;
        std::fprintf(warnings, "velmora: %s:%d: %s is already the key of %s; keeping the default\n", path.c_str(), bindingLines[i],
                     KeyBindings::name(settings.keys.scancode(action)).c_str(), KeyBindings::settingName(KeyAction(other)));
        settings.keys.bind(action, KeyBindings::defaultScancode(action));
    }
    // Opening a folder works; reading it does not.
    if (std::ferror(file))
        std::fprintf(warnings, "velmora: %s: %s; using the defaults\n", path.c_str(), std::strerror(errno));
    std::fclose(file);
}

}  // namespace velmora
