#include "velmora/Settings.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#ifdef _WIN32
#include <SDL.h>
#endif

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
    }
    if (!ok) {
        for (const SettingHelp& help : settingsHelp())
            if (name == help.name) problem = "'" + value + "' is not a value of " + name + ": " + help.values;
    }
    return ok;
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
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (!file) {
        if (errno != ENOENT) std::fprintf(warnings, "velmora: %s: %s; using the defaults\n", path.c_str(), std::strerror(errno));
        return;
    }
    std::string line;
    for (int number = 1; readLine(file, line); ++number) {
        line = trimmed(line.substr(0, line.find('#')));
        if (line.empty()) continue;
        size_t equals = line.find('=');
        std::string problem;
        if (equals == std::string::npos) {
            problem = "not a 'name = value' line";
        } else {
            applySetting(settings, trimmed(line.substr(0, equals)), trimmed(line.substr(equals + 1)), problem);
        }
        if (!problem.empty())
            std::fprintf(warnings, "velmora: %s:%d: %s; keeping the default\n", path.c_str(), number, problem.c_str());
    }
    // Opening a folder works; reading it does not.
    if (std::ferror(file))
        std::fprintf(warnings, "velmora: %s: %s; using the defaults\n", path.c_str(), std::strerror(errno));
    std::fclose(file);
}

}  // namespace velmora
