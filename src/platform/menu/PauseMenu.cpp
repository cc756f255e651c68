#include "PauseMenu.h"

#include "MenuTexts.h"
#include "velmora/Language.h"
#include "velmora/Settings.h"
#include "velmora/SettingsFile.h"

#include <cstdlib>
#include <utility>

namespace velmora::menu {

namespace {

std::string text(MenuWord word) { return MenuTexts::word(word, playerLanguage()); }

struct SettingItem {
    const char* name;
    MenuWord label;
    std::vector<const char*> choices;  // in order; numbers ascending
};

const std::vector<SettingItem>& settingItems() {
    static const std::vector<SettingItem> items = {
        {"volume", MenuWord::Volume, {"0", "10", "20", "30", "40", "50", "60", "70", "80", "90", "100"}},
        {"mouse_speed", MenuWord::MouseSpeed, {"0.25", "0.5", "0.75", "1", "1.25", "1.5", "2", "3", "4", "6", "10"}},
        {"invert_y", MenuWord::InvertY, {"no", "yes"}},
        {"stick_speed", MenuWord::StickSpeed, {"0.25", "0.5", "0.75", "1", "1.25", "1.5", "2", "3", "4", "6", "10"}},
        {"stick_dead_zone", MenuWord::StickDeadZone, {"0", "0.1", "0.2", "0.3", "0.4", "0.5", "0.6"}},
        {"full_screen", MenuWord::FullScreen, {"no", "yes"}},
        {"render_scale", MenuWord::RenderScale, {"native", "1", "2", "3", "4"}},
        {"multisample", MenuWord::Multisample, {"0", "2", "4", "8"}},
        {"vsync", MenuWord::Vsync, {"no", "yes"}},
        {"language", MenuWord::Language, {"auto", "en", "ja"}},
        {"escape", MenuWord::Escape, {"menu", "quit"}},
    };
    return items;
}

const MenuWord kKeyLabels[kKeyActionCount] = {MenuWord::KeyForward, MenuWord::KeyBack, MenuWord::KeyLeft,
                                             MenuWord::KeyRight, MenuWord::KeyThread};

// The choice after (or before) `value`; a value between choices (set in the file) steps
// to the nearest choice that way.
std::string nextChoice(const SettingItem& item, const std::string& value, int direction, bool wrap) {
    const int count = static_cast<int>(item.choices.size());
    int at = -1;
    for (int i = 0; i < count; ++i)
        if (value == item.choices[i]) at = i;
    if (at < 0) {
        char* end = nullptr;
        const double number = std::strtod(value.c_str(), &end);
        at = direction > 0 ? -1 : count;
        for (int i = 0; *end == '\0' && i < count; ++i) {
            const double choice = std::atof(item.choices[i]);
            if (direction > 0 && choice < number) at = i;
            if (direction < 0 && choice > number && at == count) at = i;
        }
    }
    int next = at + direction;
    if (wrap) next = (next + count) % count;
    if (next < 0 || next >= count) return value;
    return item.choices[next];
}

// The value as the player reads it.
std::string shownValue(const std::string& name, const std::string& value) {
    if (value == "yes") return text(MenuWord::On);
    if (value == "no" || (name == "multisample" && value == "0")) return text(MenuWord::Off);
    if (value == "ask") return text(MenuWord::Ask);
    if (value == "native") return text(MenuWord::Native);
    if (value == "menu") return text(MenuWord::Menu);
    if (value == "quit") return text(MenuWord::Quit);
    if (value == "auto") return text(MenuWord::Automatic);
    if (value == "en") return text(MenuWord::English);
    if (value == "ja") return text(MenuWord::Japanese);
    return value;
}

const int kSettingCount = static_cast<int>(settingItems().size());

}  // namespace

PauseMenu::PauseMenu(KeyLabel keyLabel) : keyLabel_(std::move(keyLabel)) {}

void PauseMenu::open(bool quitOffered) {
    page_ = Page::Top;
    selected_ = 0;
    quitOffered_ = quitOffered;
    saveProblem_.clear();
    settingsKept_ = true;
}

int PauseMenu::lineCount() const { return static_cast<int>(lines().size()); }

void PauseMenu::command(Command command) {
    const int count = lineCount();
    switch (command) {
        case Command::Up: selected_ = (selected_ + count - 1) % count; break;
        case Command::Down: selected_ = (selected_ + 1) % count; break;
        case Command::Left:
        case Command::Right:
            if (page_ == Page::QuitQuestion) selected_ = 1 - selected_;
            if (page_ == Page::Settings && selected_ < kSettingCount)
                step(selected_, command == Command::Right ? 1 : -1, false);
            break;
        case Command::Accept: accept(); break;
        case Command::Back: back(); break;
    }
}

void PauseMenu::hover(int line) {
    if (page_ != Page::PressKey && line >= 0 && line < lineCount()) selected_ = line;
}

void PauseMenu::click(int line) {
    if (page_ == Page::PressKey) {
        back();
        return;
    }
    if (line < 0 || line >= lineCount()) return;
    selected_ = line;
    accept();
}

void PauseMenu::accept() {
    switch (page_) {
        case Page::Top:
            if (selected_ == 0) close();
            if (selected_ == 1) {
                page_ = Page::Settings;
                selected_ = 0;
            }
            if (selected_ == 2) {
                page_ = Page::QuitQuestion;
                selected_ = 1;  // No
            }
            break;
        case Page::Settings:
            if (selected_ < kSettingCount) {
                step(selected_, 1, true);
            } else if (selected_ < kSettingCount + kKeyActionCount) {
                bindingAction_ = selected_ - kSettingCount;
                page_ = Page::PressKey;
            } else {
                back();
            }
            break;
        case Page::QuitQuestion:
            if (selected_ == 0) {
                quitChosen_ = true;
                close();
            } else {
                back();
            }
            break;
        case Page::PressKey:
        case Page::Closed: break;
    }
}

void PauseMenu::back() {
    switch (page_) {
        case Page::Top: close(); break;
        case Page::Settings:
            page_ = Page::Top;
            selected_ = 1;
            break;
        case Page::QuitQuestion:
            page_ = Page::Top;
            selected_ = 2;
            break;
        case Page::PressKey: page_ = Page::Settings; break;
        case Page::Closed: break;
    }
}

void PauseMenu::keyPressed(int scancode) {
    if (page_ != Page::PressKey) return;
    const KeyAction action = KeyAction(bindingAction_);
    KeyBindings& keys = settings().keys;
    const int holder = keys.actionHolding(scancode, action);
    keys.bindSwapping(action, scancode);
    if (holder >= 0) change(KeyBindings::settingName(KeyAction(holder)), KeyBindings::name(keys.scancode(KeyAction(holder))));
    change(KeyBindings::settingName(action), KeyBindings::name(scancode));
    page_ = Page::Settings;
}

void PauseMenu::step(int setting, int direction, bool wrap) {
    const SettingItem& item = settingItems()[setting];
    const std::string value = settingValue(settings(), item.name);
    const std::string next = nextChoice(item, value, direction, wrap);
    if (next == value) return;
    std::string problem;
    if (applySetting(settings(), item.name, next, problem)) change(item.name, next);
}

void PauseMenu::change(const std::string& name, const std::string& value) {
    changed_ = name;
    std::string problem;
    if (SettingsFile(settingsFilePath()).write(name, value, problem))
        saveProblem_.clear();
    else
        saveProblem_ = text(MenuWord::CannotSave) + problem;
}

std::string PauseMenu::takeChange() {
    std::string change = changed_;
    changed_.clear();
    return change;
}

std::string PauseMenu::title() const {
    switch (page_) {
        case Page::Settings:
        case Page::PressKey: return text(MenuWord::Settings);
        case Page::QuitQuestion: return text(MenuWord::QuitQuestion);
        default: return text(MenuWord::Paused);
    }
}

std::vector<PauseMenu::Line> PauseMenu::lines() const {
    std::vector<Line> lines;
    switch (page_) {
        case Page::Top:
            lines.push_back({text(MenuWord::Resume), ""});
            lines.push_back({text(MenuWord::Settings), ""});
            if (quitOffered_) lines.push_back({text(MenuWord::Quit), ""});
            break;
        case Page::Settings:
        case Page::PressKey:
            for (const SettingItem& item : settingItems())
                lines.push_back({text(item.label), shownValue(item.name, settingValue(settings(), item.name))});
            for (int i = 0; i < kKeyActionCount; ++i) {
                const int scancode = settings().keys.scancode(KeyAction(i));
                lines.push_back({text(kKeyLabels[i]), scancode == KeyBindings::kUnbound ? text(MenuWord::None) : keyLabel_(scancode)});
            }
            lines.push_back({text(MenuWord::Back), ""});
            break;
        case Page::QuitQuestion:
            lines.push_back({text(MenuWord::Yes), ""});
            lines.push_back({text(MenuWord::No), ""});
            break;
        case Page::Closed: break;
    }
    return lines;
}

std::string PauseMenu::status() const {
    if (!saveProblem_.empty()) return saveProblem_;
    // In Input's order.
    const MenuWord pressKey[] = {MenuWord::PressKey, MenuWord::PressKeyPad, MenuWord::PressKeyTouch};
    const MenuWord hint[] = {MenuWord::Hint, MenuWord::PadHint, MenuWord::TouchHint};
    if (page_ == Page::PressKey) return text(pressKey[static_cast<int>(input_)]);
    if (!settingsKept_) return text(MenuWord::SettingsNotKept);
    return text(hint[static_cast<int>(input_)]);
}

}  // namespace velmora::menu
