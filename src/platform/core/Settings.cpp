#include "velmora/Settings.h"

#include "velmora/Language.h"
#include "velmora/Printable.h"
#include "velmora/Utf8Path.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <map>
#include <sstream>

#ifdef _WIN32
#include <SDL.h>
#endif

namespace velmora {

namespace {

// Plain decimal only ("0.35", "2", "-1"): strtod alone would also take hex, exponents,
// "inf" and anything after a stray NUL.
bool isPlainDecimal(const std::string& text) {
    size_t digits = 0, points = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] >= '0' && text[i] <= '9') ++digits;
        else if (text[i] == '.') ++points;
        else if (!(text[i] == '-' && i == 0)) return false;
    }
    return digits > 0 && points <= 1;
}

bool parseNumber(const std::string& text, double low, double high, double& out) {
    if (!isPlainDecimal(text)) return false;
    double value = std::strtod(text.c_str(), nullptr);
    if (!(value >= low && value <= high)) return false;
    out = value;
    return true;
}

bool parseWholeNumber(const std::string& text, int low, int high, int& out) {
    double value = 0.0;
    if (!parseNumber(text, low, high, value) || value != static_cast<int>(value)) return false;
    out = static_cast<int>(value);
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

// A settings file is a few lines typed by hand: anything much larger is not one (or is
// /dev/zero), and past a screenful of warnings the player learns nothing more.
constexpr size_t kMaxFileBytes = kSettingsFileMaxBytes;
constexpr size_t kMaxLineBytes = kSettingsLineMaxBytes;
constexpr int kMaxWarnings = 20;
const std::string kByteOrderMark = "\xef\xbb\xbf";

// What a bad value leaves in place, by setting name: the default unless an earlier line set it.
using KeptValues = std::map<std::string, std::pair<std::string, int>>;  // value, line

// The warning for one line, empty when the line is fine.
std::string applyLine(Settings& settings, const std::string& text, int number, KeptValues& kept,
                      std::map<std::string, int>& setOnLine) {
    if (text.size() > kMaxLineBytes) return localized("longer than %s characters; ignored", {std::to_string(kMaxLineBytes)});
    const SettingsLine line = parseSettingsLine(text);
    if (line.kind == SettingsLine::Kind::Blank) return "";
    if (line.kind == SettingsLine::Kind::Malformed) return localized("not a 'name = value' line; ignored");
    const std::string& name = line.name;
    const std::string& value = line.value;
    std::string problem;
    if (applySetting(settings, name, value, problem)) {
        kept[name] = {printable(value), number};
        setOnLine[name] = number;
        return "";
    }
    if (!isSetting(name)) return localized("%s; ignored", {problem});
    auto found = kept.find(name);
    // Worded now: a language line may have come after the kept one.
    const std::string keeping = found == kept.end() ? localized("the default")
                                                    : localized("'%s' from line %s", {found->second.first,
                                                                                       std::to_string(found->second.second)});
    return localized("%s; keeping %s", {problem, keeping});
}

}  // namespace

SettingsLine parseSettingsLine(const std::string& text) {
    SettingsLine line;
    line.equals = text.find('=');
    const size_t hash = text.find('#');
    if (line.equals == std::string::npos || hash < line.equals) {
        line.kind = trimmed(text.substr(0, hash)).empty() ? SettingsLine::Kind::Blank : SettingsLine::Kind::Malformed;
        return line;
    }
    line.kind = SettingsLine::Kind::Setting;
    line.name = trimmed(text.substr(0, line.equals));
    const size_t start = std::min(text.find_first_not_of(" \t", line.equals + 1), text.size());
    if (start == text.size() || text[start] != '"') {
        line.value = trimmed(text.substr(start, hash - std::min(hash, start)));
        line.comment = hash;
        return line;
    }
    size_t at = start + 1;
    for (; at < text.size() && text[at] != '"'; ++at) {
        if (text[at] == '\\' && at + 1 < text.size()) ++at;
        line.value += text[at];
    }
    // After the closing quote only a note may follow.
    const size_t after = at == text.size() ? at : text.find_first_not_of(" \t\r", at + 1);
    if (at == text.size() || (after != std::string::npos && text[after] != '#')) line.kind = SettingsLine::Kind::Malformed;
    line.comment = after;
    return line;
}

std::string settingsFileValue(const std::string& value) {
    if (value.find_first_of("#\"\\") == std::string::npos && value == trimmed(value)) return value;
    std::string quoted = "\"";
    for (char c : value) {
        if (c == '"' || c == '\\') quoted += '\\';
        quoted += c;
    }
    return quoted + '"';
}

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
        {"vsync", "on or off (on)"},
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

bool isSetting(const std::string& name) {
    for (const SettingHelp& help : settingsHelp())
        if (name == help.name) return true;
    return false;
}

bool applySetting(Settings& settings, const std::string& name, const std::string& typed, std::string& problem) {
    if (!isSetting(name)) {
        problem = localized("unknown setting '%s'", {printable(name)});
        return false;
    }
    // The file's lines are trimmed; a value typed on the command line is read the same way.
    const std::string value = trimmed(typed);
    bool ok = false;
    double number = 0.0;
    int whole = 0;
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
        ok = value == "native" || parseWholeNumber(value, 1, 4, whole);
        if (ok) settings.renderScale = value == "native" ? 0 : whole;
    } else if (name == "multisample") {
        ok = parseWholeNumber(value, 0, 8, whole) && (whole == 0 || whole == 2 || whole == 4 || whole == 8);
        if (ok) settings.multisample = whole;
    } else if (name == "language") {
        ok = value == "auto" || value == "en" || value == "ja";
        if (ok) settings.language = value == "auto" ? LanguageChoice::Auto
                                    : value == "en" ? LanguageChoice::English
                                                    : LanguageChoice::Japanese;
    } else if (name == "vsync") {
        ok = parseBool(value, settings.vsync);
    } else if (name == "volume") {
        ok = parseWholeNumber(value, 0, 100, whole);
        if (ok) settings.volume = whole;
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
            if (name == help.name) problem = localized("'%s' is not a value of %s: %s", {printable(value), name, help.values});
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
    if (name == "vsync") out << (settings.vsync ? "yes" : "no");
    if (name == "escape") out << (settings.escape == EscapeChoice::Menu ? "menu" : "quit");
    if (name == "language")
        out << (settings.language == LanguageChoice::Auto ? "auto" : settings.language == LanguageChoice::English ? "en" : "ja");
    for (int i = 0; i < kKeyActionCount; ++i)
        if (name == KeyBindings::settingName(KeyAction(i))) out << KeyBindings::name(settings.keys.scancode(KeyAction(i)));
    return out.str();
}

std::string settingsFilePath() {
#ifdef _WIN32
    // %APPDATA%\Velmora\, made by SDL when missing.
    char* folder = SDL_GetPrefPath("", "Velmora");
    if (!folder) return "";
    std::string path = std::string(folder) + "settings.ini";
    SDL_free(folder);
    return path;
#else
    const char* config = std::getenv("XDG_CONFIG_HOME");
    // The XDG rules ignore a relative path here.
    if (config && config[0] == '/') return std::string(config) + "/velmora/settings.ini";
    const char* home = std::getenv("HOME");
    if (home && home[0]) return std::string(home) + "/.config/velmora/settings.ini";
    return "";
#endif
}

void loadSettingsFile(Settings& settings, const std::string& path, std::FILE* warnings) {
    // The path comes from the environment: a control character in it would reach the terminal.
    const std::string shown = printablePath(path);
    std::string problem;
    std::FILE* file = openRegularFile(path, problem);
    if (!file) {
        if (errno != ENOENT)
            std::fputs(localized("velmora: %s: %s; using the defaults\n", {shown, problem}).c_str(), warnings);
        return;
    }
    std::string text(kMaxFileBytes + 1, '\0');
    text.resize(std::fread(text.data(), 1, text.size(), file));
    // Opening a folder works; reading it does not.
    const bool failed = std::ferror(file) != 0;
    const int error = errno;
    std::fclose(file);
    if (failed) {
        std::fputs(localized("velmora: %s: %s; using the defaults\n", {shown, std::strerror(error)}).c_str(), warnings);
        return;
    }
    if (text.size() > kMaxFileBytes) {
        std::fputs(localized("velmora: %s: larger than %s KiB, not a settings file; using the defaults\n",
                             {shown, std::to_string(kMaxFileBytes / 1024)}).c_str(),
                   warnings);
        return;
    }
    // Some editors start a UTF-8 file with a byte order mark.
    if (text.compare(0, kByteOrderMark.size(), kByteOrderMark) == 0) text.erase(0, kByteOrderMark.size());

    KeptValues kept;
    std::map<std::string, int> setOnLine;
    int problems = 0;
    size_t start = 0;
    for (int number = 1; start < text.size(); ++number) {
        size_t end = std::min(text.find('\n', start), text.size());
        std::string warning = applyLine(settings, text.substr(start, end - start), number, kept, setOnLine);
        start = end + 1;
        if (warning.empty()) continue;
        if (++problems <= kMaxWarnings)
            std::fputs(localized("velmora: %s:%s: %s\n", {shown, std::to_string(number), warning}).c_str(), warnings);
    }
    if (problems > kMaxWarnings)
        std::fputs(localized("velmora: %s: and %s more problems\n", {shown, std::to_string(problems - kMaxWarnings)}).c_str(),
                   warnings);
    // A key on two actions: the later line (or a line taking a default's key) loses.
    for (int i = 0; i < kKeyActionCount; ++i) {
        const KeyAction action = KeyAction(i);
        const int other = settings.keys.actionHolding(settings.keys.scancode(action), action);
        const int line = setOnLine[KeyBindings::settingName(action)];
        if (line == 0 || other < 0 || setOnLine[KeyBindings::settingName(KeyAction(other))] > line) continue;
        std::fputs(localized("velmora: %s:%s: %s is already the key of %s; keeping the default\n",
                             {shown, std::to_string(line), KeyBindings::name(settings.keys.scancode(action)),
                              KeyBindings::settingName(KeyAction(other))}).c_str(),
                   warnings);
        settings.keys.bind(action, KeyBindings::defaultScancode(action));
    }
}

}  // namespace velmora
