// The pause menu's pages and what each input does to them, apart from any device or
// drawing: Resume, Settings and Quit (with its question, No first); the settings page
// changes a setting at once and writes it to the settings file; a key binding waits for
// a key. The desktop turns its events into commands; a MenuScreen draws the lines.
#pragma once

#include "velmora/KeyBindings.h"

#include <functional>
#include <string>
#include <vector>

namespace velmora::menu {

class PauseMenu {
public:
    enum class Command { Up, Down, Left, Right, Accept, Back };
    enum class Page { Closed, Top, Settings, QuitQuestion, PressKey };
    // What the player used last, which the hint under the lines speaks of.
    enum class Input { Keys, Pad, Touch };

    struct Line {
        std::string label;
        std::string value;  // empty for a plain item
    };
    // What the player's keyboard prints on the key at a scancode's place.
    using KeyLabel = std::function<std::string(int scancode)>;

    // Without a keyboard to ask, keys are shown by their names in the settings file.
    explicit PauseMenu(KeyLabel keyLabel = KeyBindings::name);

    // quitOffered: false in the page, which is left rather than quit.
    void open(bool quitOffered);
    void close() { page_ = Page::Closed; }
    // Until the menu closes, the last line says that changes last only until the game ends.
    void warnSettingsNotKept() { settingsKept_ = false; }
    void inputUsed(Input input) { input_ = input; }
    bool isOpen() const { return page_ != Page::Closed; }
    Page page() const { return page_; }

    void command(Command command);
    // The pointer over a line, and a click on it; while a binding waits for a key, a click
    // cancels the wait, as Back (a phone has no Escape).
    void hover(int line);
    void click(int line);
    // A key pressed while a binding waits for one is bound (an action holding it gets the
    // old key); Back cancels the wait.
    void keyPressed(int scancode);

    bool quitChosen() const { return quitChosen_; }
    // The setting changed since the last call, or empty.
    std::string takeChange();

    std::string title() const;
    std::vector<Line> lines() const;
    int selected() const { return selected_; }
    // A line under the lines: the hint, the wait for a key, or why the file was not written.
    std::string status() const;

private:
    int lineCount() const;
    void accept();
    void back();
    // Steps a setting's value through its choices; a click or Return steps forward and wraps.
    void step(int setting, int direction, bool wrap);
    void change(const std::string& name, const std::string& value);

    KeyLabel keyLabel_;
    Page page_ = Page::Closed;
    int selected_ = 0;
    bool quitOffered_ = true;
    bool quitChosen_ = false;
    int bindingAction_ = 0;
    std::string changed_;
    std::string saveProblem_;
    bool settingsKept_ = true;
    Input input_ = Input::Keys;
};

}  // namespace velmora::menu
