#include "CommandLine.h"

#include "velmora/Language.h"
#include "velmora/Printable.h"
#include "velmora/Settings.h"

#include <cstring>

namespace velmora {

namespace {

// --mouse-speed is the file's mouse_speed.
std::string settingName(const std::string& option) {
    std::string name = option;
    for (char& c : name)
        if (c == '-') c = '_';
    return name;
}

}  // namespace

CommandLine parseCommandLine(int argc, const char* const* argv) {
    CommandLine line;
    auto invalid = [&line](const std::string& error) {
        line.action = CommandLine::Action::Invalid;
        line.error = error;
        return line;
    };
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            line.action = CommandLine::Action::Help;
            return line;
        }
        if (argument == "--version") {
            line.action = CommandLine::Action::Version;
            return line;
        }
        if (argument.compare(0, 2, "--") != 0) return invalid(localized("unexpected argument '%s'", {printablePath(argument)}));

        // --name=value or --name value
        std::string name = argument.substr(2), value;
        bool hasValue = false;
        size_t equals = name.find('=');
        if (equals != std::string::npos) {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
            hasValue = true;
        }
        auto takeValue = [&]() {
            if (hasValue) return true;
            if (i + 1 >= argc) return false;
            value = argv[++i];
            return true;
        };

        if (name == "windowed" || name == "fullscreen") {
            if (hasValue) return invalid(localized("--%s takes no value", {name}));
            line.settings.push_back({"full_screen", name == "fullscreen" ? "yes" : "no"});
        } else if (name == "data") {
            // An empty value is an unset shell variable, not a wish for the default.
            if (!takeValue() || value.empty()) return invalid(localized("--data needs a folder"));
            line.dataDir = value;
        } else if (name == "record" || name == "replay") {
            if (!takeValue() || value.empty()) return invalid(localized("--%s needs a file", {name}));
            (name == "record" ? line.recordFile : line.replayFile) = value;
        } else if (isSetting(settingName(name))) {
            if (!takeValue()) return invalid(localized("--%s needs a value", {name}));
            line.settings.push_back({settingName(name), value});
        } else {
            return invalid(localized("unknown option '--%s'", {printablePath(name)}));
        }
    }
    if (!line.recordFile.empty() && !line.replayFile.empty()) return invalid(localized("--record and --replay exclude each other"));
    return line;
}

void printUsage(std::FILE* out) {
    // Too long for the table of texts: both languages are here, around the settings' list.
    const bool japanese = playerLanguage() == Language::Japanese;
    const std::string path = settingsFilePath().empty() ? "~/.config/velmora/settings.ini" : settingsFilePath();
    std::fprintf(out,
                 japanese ? "使い方: velmora [オプション]...\n"
                            "クモ型のマシンでアリーナを進み、糸でトンボを捕まえて、\n"
                            "眠っているボスに投げつけます。\n"
                            "\n"
                            "  --windowed           尋ねずにウィンドウでプレイする\n"
                            "  --fullscreen         尋ねずにフルスクリーンでプレイする\n"
                            "  --data DIR           ゲームの data/ と Shader/ を DIR から読む（既定では作業\n"
                            "                       フォルダ、プログラムのフォルダ、インストールされた\n"
                            "                       データのフォルダの順に探す）\n"
                            "  --record FILE        プレイの入力を FILE に残し、あとで見られるようにする\n"
                            "  --replay FILE        FILE を再生する（Escape で止まる）\n"
                            "  --help               この説明を表示して終了する\n"
                            "  --version            バージョンを表示して終了する\n"
                            "\n"
                            "設定（%s からも読み込みます）:\n"
                          : "Usage: velmora [OPTION]...\n"
                            "Steer a spider machine through the arena, catch dragonflies with the thread and\n"
                            "throw them at the sleeping boss.\n"
                            "\n"
                            "  --windowed           play in a window without asking\n"
                            "  --fullscreen         play in full screen without asking\n"
                            "  --data DIR           read the game's data/ and Shader/ from DIR (by default the\n"
                            "                       working directory, the program's folder, then the\n"
                            "                       installed data folder)\n"
                            "  --record FILE        keep the play's input in FILE, to watch it again\n"
                            "  --replay FILE        play FILE back (Escape stops it)\n"
                            "  --help               show this text and exit\n"
                            "  --version            show the version and exit\n"
                            "\n"
                            "Settings (also read from %s):\n",
                 path.c_str());
    for (const SettingHelp& help : settingsHelp()) {
        std::string option = "--" + std::string(help.name) + "=V";
        for (char& c : option)
            if (c == '_') c = '-';
        std::fprintf(out, "  %-20s %s\n", option.c_str(), help.values);
    }
    // A Japanese letter takes two columns.
    std::fputs(japanese ? "\n"
                          "操作:\n"
                          "  マウス               視点を回す\n"
                          "  左ボタン（長押し）   糸で狙う。離すと撃つ（玉を持っていれば投げる）\n"
                          "  W A S D              歩く（どの配列でもその位置のキー）\n"
                          "  Escape、パッドの Start  ポーズメニュー: 再開、設定、終了\n"
                        : "\n"
                          "Controls:\n"
                          "  mouse                turn the view\n"
                          "  left button (hold)   aim the thread; release to shoot (or throw a held ball)\n"
                          "  W A S D              walk (the keys at those places on any layout)\n"
                          "  Escape, pad's Start  pause menu: resume, settings, quit\n",
               out);
}

}  // namespace velmora
