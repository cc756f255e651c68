// The pause menu as the desktop drives it: from an opened menu, a script of commands,
// key presses and clicks, and where it leaves the menu, the settings and their file.
#include "Win32TestSupport.h"

#include "menu/MenuTexts.h"
#include "menu/PauseMenu.h"
#include "velmora/KeyBindings.h"
#include "velmora/Language.h"
#include "velmora/Settings.h"

#include <SDL.h>

#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

using namespace win32test;
using velmora::menu::MenuTexts;
using velmora::menu::MenuWord;
using velmora::menu::PauseMenu;

namespace {

std::string word(MenuWord w) { return MenuTexts::word(w, velmora::playerLanguage()); }

int lineOf(const PauseMenu& menu, MenuWord label) {
    const auto lines = menu.lines();
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i].label == word(label)) return int(i);
    return -1;
}

// u d l r: the arrows; a: accept; b: back; s, w: the S and W keys pressed while a binding
// waits; F: a click on the Forward key's line; digits: a click on that line.
void drive(PauseMenu& menu, const std::string& script) {
    using Command = PauseMenu::Command;
    for (char c : script) {
        switch (c) {
            case 'u': menu.command(Command::Up); break;
            case 'd': menu.command(Command::Down); break;
            case 'l': menu.command(Command::Left); break;
            case 'r': menu.command(Command::Right); break;
            case 'a': menu.command(Command::Accept); break;
            case 'b': menu.command(Command::Back); break;
            case 's': menu.keyPressed(SDL_SCANCODE_S); break;
            case 'w': menu.keyPressed(SDL_SCANCODE_W); break;
            case 'F': menu.click(lineOf(menu, MenuWord::KeyForward)); break;
            default: menu.click(c - '0'); break;
        }
    }
}

std::string fileText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

TEST(PauseMenuTest, CommandsMoveThroughPagesValuesKeysAndTheQuitQuestion) {
    using Page = PauseMenu::Page;
    struct Case {
        const char* what;
        bool quitOffered;
        const char* script;
        Page page;
        int selected;         // -1: not checked
        const char* setting;  // its value afterwards
        const char* value;
        const char* fileLine;  // a line the settings file holds afterwards; "": no file written
        bool quitChosen;
    };
    const Case cases[] = {
        {"Resume plays on", true, "a", Page::Closed, -1, nullptr, nullptr, "", false},
        {"up from Resume wraps to Quit", true, "u", Page::Top, 2, nullptr, nullptr, "", false},
        {"the page has no Quit: up wraps to Settings", false, "u", Page::Top, 1, nullptr, nullptr, "", false},
        {"the Quit question starts on No", true, "dda", Page::QuitQuestion, 1, nullptr, nullptr, "", false},
        {"No goes back to Quit", true, "ddaa", Page::Top, 2, nullptr, nullptr, "", false},
        {"Yes quits", true, "ddala", Page::Closed, -1, nullptr, nullptr, "", true},
        {"Back from the question is No", true, "ddab", Page::Top, 2, nullptr, nullptr, "", false},
        {"a click on Settings opens it", true, "1", Page::Settings, 0, nullptr, nullptr, "", false},
        {"left lowers the volume a step", true, "dal", Page::Settings, 0, "volume", "90", "volume = 90", false},
        {"right at the top stays", true, "dar", Page::Settings, 0, "volume", "100", "", false},
        {"accept steps forward and wraps", true, "daddaa", Page::Settings, 2, "invert_y", "no", "invert_y = no", false},
        {"accept on yes/no turns it on", true, "dadda", Page::Settings, 2, "invert_y", "yes", "invert_y = yes", false},
        {"vsync shows and turns off", true, "da" "uuuuuuuuu" "l", Page::Settings, 8, "vsync", "no", "vsync = no", false},
        {"Back leaves the settings on their item", true, "dab", Page::Top, 1, nullptr, nullptr, "", false},
        {"a key line waits for a key", true, "daF", Page::PressKey, -1, nullptr, nullptr, "", false},
        {"the key pressed is bound", true, "daFw", Page::Settings, -1, "key_forward", "W", "key_forward = W", false},
        {"the action that held the key gets the old one", true, "daFs", Page::Settings, -1, "key_back", "W", "key_back = W", false},
        {"Back cancels the wait", true, "daFb", Page::Settings, -1, "key_forward", "W", "", false},
        {"so does a click, a phone's only way out", true, "daF0", Page::Settings, -1, "key_forward", "W", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        char pattern[] = "/tmp/velmora-menu-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        const std::string folder = pattern;
        ScopedEnv config("XDG_CONFIG_HOME", folder);
        velmora::settings() = velmora::Settings{};

        PauseMenu menu;
        menu.open(c.quitOffered);
        drive(menu, c.script);
        EXPECT_EQ(menu.page(), c.page);
        if (c.selected >= 0) {
            EXPECT_EQ(menu.selected(), c.selected);
        }
        EXPECT_EQ(menu.quitChosen(), c.quitChosen);
        if (c.setting) {
            EXPECT_EQ(velmora::settingValue(velmora::settings(), c.setting), c.value);
        }
        // A change is in the file at once; moving through the menu writes nothing.
        const std::string file = fileText(velmora::settingsFilePath());
        if (*c.fileLine) {
            EXPECT_NE(file.find(std::string(c.fileLine) + "\n"), std::string::npos) << file;
        } else {
            EXPECT_EQ(file, "");
        }
        std::remove(velmora::settingsFilePath().c_str());
        rmdir((folder + "/velmora").c_str());
        rmdir(folder.c_str());
    }
    velmora::settings() = velmora::Settings{};
}

TEST(PauseMenuTest, TheLastLineSpeaksOfTheInputInUseOrWhyNothingIsKept) {
    // The settings folder is a file: nothing can be written under it.
    char pattern[] = "/tmp/velmora-menu-XXXXXX";
    const int fd = mkstemp(pattern);
    ASSERT_GE(fd, 0);
    close(fd);
    ScopedEnv config("XDG_CONFIG_HOME", std::string(pattern));
    velmora::settings() = velmora::Settings{};
    PauseMenu menu;
    using Input = PauseMenu::Input;
    const struct { Input input; MenuWord hint, waitForKey; } inputs[] = {
        {Input::Keys, MenuWord::Hint, MenuWord::PressKey},
        {Input::Pad, MenuWord::PadHint, MenuWord::PressKeyPad},
        {Input::Touch, MenuWord::TouchHint, MenuWord::PressKeyTouch},
    };
    for (const auto& in : inputs) {
        menu.open(true);
        menu.inputUsed(in.input);
        EXPECT_EQ(menu.status(), word(in.hint));
        drive(menu, "daF");
        EXPECT_EQ(menu.status(), word(in.waitForKey));
    }
    menu.open(true);
    menu.inputUsed(Input::Keys);
    drive(menu, "dal");
    EXPECT_EQ(velmora::settings().volume, 90);  // the change holds for this play
    EXPECT_EQ(menu.status().rfind(word(MenuWord::CannotSave), 0), 0u) << menu.status();
    menu.open(false);  // in a browser that keeps no storage
    menu.warnSettingsNotKept();
    EXPECT_EQ(menu.status(), word(MenuWord::SettingsNotKept));
    std::remove(pattern);
    velmora::settings() = velmora::Settings{};
}
