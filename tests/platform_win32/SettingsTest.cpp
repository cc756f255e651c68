// The settings file: where it lives, and that every problem in it costs one warning line
// and that setting's default, never the start.
#include "Win32TestSupport.h"

#include "MemoryCeiling.h"
#include "velmora/Settings.h"
#include "velmora/SettingsFile.h"

#include <SDL.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <utility>
#include <functional>
#include <string>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace win32test;

namespace {

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/velmora-settings-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
        path = folder + "/settings.ini";
    }
    void TearDown() override {
        std::remove(path.c_str());
        rmdir(path.c_str());
        rmdir(folder.c_str());
    }

    // Loads `text` as the file; returns the warning lines.
    std::string load(const std::string& text) {
        std::ofstream(path) << text;
        return loadWarnings();
    }
    std::string loadWarnings() {
        std::FILE* warnings = std::tmpfile();
        velmora::loadSettingsFile(loaded, path, warnings);
        std::string lines;
        std::rewind(warnings);
        for (int c; (c = std::fgetc(warnings)) != EOF;) lines += static_cast<char>(c);
        std::fclose(warnings);
        return lines;
    }
    static std::string contents(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }

    // One save by another process (as another game would), under a file-size limit
    // (ulimit -f) when `sizeLimit` is set.
    struct Save {
        bool saved = false;
        std::string problem;
        int signal = 0;  // what ended the saving process, if anything did
    };
    Save saveElsewhere(const std::string& file, const std::string& name, const std::string& value, rlim_t sizeLimit = 0) {
        int pipeEnds[2];
        EXPECT_EQ(pipe(pipeEnds), 0);
        const pid_t child = fork();
        if (child == 0) {
            close(pipeEnds[0]);
            const rlimit limit{sizeLimit, sizeLimit};
            if (sizeLimit) setrlimit(RLIMIT_FSIZE, &limit);
            std::string problem;
            const std::string said = (velmora::SettingsFile(file).write(name, value, problem) ? "1" : "0") + problem;
            (void)!::write(pipeEnds[1], said.data(), said.size());
            _exit(0);
        }
        close(pipeEnds[1]);
        std::string said;
        char buffer[256];
        for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;) said.append(buffer, size_t(n));
        close(pipeEnds[0]);
        int status = 0;
        waitpid(child, &status, 0);
        Save save;
        save.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
        save.saved = !said.empty() && said[0] == '1';
        if (!said.empty()) save.problem = said.substr(1);
        return save;
    }

    static int lineCount(const std::string& text) {
        int count = 0;
        for (char c : text) count += c == '\n';
        return count;
    }

    std::string folder;
    std::string path;
    velmora::Settings loaded;
};

}  // namespace

TEST_F(SettingsFileTest, LivesInTheXdgConfigFolder) {
    {
        ScopedEnv config("XDG_CONFIG_HOME", std::string("/srv/config"));
        EXPECT_EQ(velmora::settingsFilePath(), "/srv/config/velmora/settings.ini");
    }
    ScopedEnv home("HOME", std::string("/home/player"));
    for (const char* unusable : {"", "relative/config"}) {
        ScopedEnv config("XDG_CONFIG_HOME", std::string(unusable));
        EXPECT_EQ(velmora::settingsFilePath(), "/home/player/.config/velmora/settings.ini") << unusable;
    }
}

TEST_F(SettingsFileTest, AGoodFileSetsEverythingItNames) {
    EXPECT_EQ(load("# tuned by the player\n"
                   "mouse_speed = 0.35\n"
                   "  invert_y=yes  \n"
                   "\n"
                   "stick_speed = 2.5 # a fast turn\n"
                   "stick_dead_zone = 0.1\n"
                   "full_screen = no\n"
                   "language = ja\n"
                   "vsync = off\n"),
              "");
    EXPECT_DOUBLE_EQ(loaded.mouseSpeed, 0.35);
    EXPECT_TRUE(loaded.invertY);
    EXPECT_DOUBLE_EQ(loaded.stickSpeed, 2.5);
    EXPECT_DOUBLE_EQ(loaded.stickDeadZone, 0.1);
    EXPECT_EQ(loaded.fullScreen, velmora::FullScreenChoice::No);
    EXPECT_EQ(loaded.language, velmora::LanguageChoice::Japanese);
    EXPECT_FALSE(loaded.vsync);
}

TEST_F(SettingsFileTest, EachBadLineWarnsOnceAndKeepsThatDefault) {
    const velmora::Settings defaults;
    std::string warnings = load("mouse_speed = 40\n"
                                "invert_y = maybe\n"
                                "stick_speed = fast\n"
                                "stick_dead_zone = 0.95\n"
                                "look_speed = 2\n"
                                "this line is garbled\n"
                                "\x01\xff=\xfe\n"
                                "full_screen = yes\n");
    EXPECT_EQ(lineCount(warnings), 7) << warnings;
    EXPECT_NE(warnings.find(path + ":1: '40' is not a value of mouse_speed"), std::string::npos) << warnings;
    EXPECT_NE(warnings.find(":5: unknown setting 'look_speed'"), std::string::npos) << warnings;
    EXPECT_NE(warnings.find(":6: not a 'name = value' line"), std::string::npos) << warnings;
    EXPECT_EQ(loaded.mouseSpeed, defaults.mouseSpeed);
    EXPECT_EQ(loaded.invertY, defaults.invertY);
    EXPECT_EQ(loaded.stickSpeed, defaults.stickSpeed);
    EXPECT_EQ(loaded.stickDeadZone, defaults.stickDeadZone);
    EXPECT_EQ(loaded.fullScreen, velmora::FullScreenChoice::Yes) << "a good line after bad ones still counts";
}

TEST_F(SettingsFileTest, AMissingFileIsSilentAnUnreadableOneWarns) {
    const velmora::Settings defaults;
    EXPECT_EQ(loadWarnings(), "") << "no file yet: the defaults, quietly";
    EXPECT_EQ(loaded.mouseSpeed, defaults.mouseSpeed);

    ASSERT_EQ(mkdir(path.c_str(), 0700), 0);  // unreadable as a file, even for root
    std::string warnings = loadWarnings();
    EXPECT_EQ(lineCount(warnings), 1) << warnings;
    EXPECT_NE(warnings.find(path), std::string::npos) << warnings;
    EXPECT_EQ(loaded.mouseSpeed, defaults.mouseSpeed);

    // A FIFO would wait for a writer that never comes.
    ASSERT_EQ(rmdir(path.c_str()), 0);
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    warnings = loadWarnings();
    EXPECT_NE(warnings.find(path + ": not a regular file; using the defaults"), std::string::npos) << warnings;
}

TEST_F(SettingsFileTest, KeysBindByPositionAndNeverTwoActionsOnOneKey) {
    velmora::KeyBindings keys;
    EXPECT_EQ(keys.scancode(velmora::KeyAction::Forward), SDL_SCANCODE_W);
    keys.bindSwapping(velmora::KeyAction::Forward, SDL_SCANCODE_S);
    EXPECT_EQ(keys.scancode(velmora::KeyAction::Forward), SDL_SCANCODE_S);
    EXPECT_EQ(keys.scancode(velmora::KeyAction::Back), SDL_SCANCODE_W) << "the key's old action gets the old key";
    keys.bindSwapping(velmora::KeyAction::Thread, SDL_SCANCODE_SPACE);
    keys.bindSwapping(velmora::KeyAction::Left, SDL_SCANCODE_SPACE);
    EXPECT_EQ(keys.scancode(velmora::KeyAction::Thread), SDL_SCANCODE_A);

    // In the file: an unknown name, a key taken by an earlier line, a volume out of range:
    // one warning each, that line's default. The file is judged whole: a swap is kept.
    const std::string warnings = load("key_left = Q\n"
                                      "key_right = Q\n"
                                      "key_forward = Banana\n"
                                      "key_thread = S\n"
                                      "volume = 140\n"
                                      "key_back = Left Shift\n");
    EXPECT_EQ(lineCount(warnings), 3) << warnings;
    EXPECT_NE(warnings.find(":2: Q is already the key of key_left"), std::string::npos) << warnings;
    EXPECT_NE(warnings.find(":3: 'Banana' is not a value of key_forward"), std::string::npos) << warnings;
    EXPECT_EQ(loaded.keys.scancode(velmora::KeyAction::Left), SDL_SCANCODE_Q);
    EXPECT_EQ(loaded.keys.scancode(velmora::KeyAction::Right), SDL_SCANCODE_D);
    EXPECT_EQ(loaded.keys.scancode(velmora::KeyAction::Forward), SDL_SCANCODE_W);
    EXPECT_EQ(loaded.keys.scancode(velmora::KeyAction::Thread), SDL_SCANCODE_S) << "key_back moved off S later on";
    EXPECT_EQ(loaded.keys.scancode(velmora::KeyAction::Back), SDL_SCANCODE_LSHIFT);
    EXPECT_EQ(loaded.volume, 100);

    velmora::Settings swapped;
    std::ofstream(path) << "key_forward = S\nkey_back = W\n";
    loaded = swapped;
    EXPECT_EQ(loadWarnings(), "");
    EXPECT_EQ(loaded.keys.scancode(velmora::KeyAction::Forward), SDL_SCANCODE_S);
    EXPECT_EQ(velmora::settingValue(loaded, "key_back"), "W");
}

TEST_F(SettingsFileTest, WritingOneSettingKeepsEveryOtherLine) {
    std::ofstream(path) << "# my settings\n"
                           "mouse_speed = 0.5  # slow hands\n"
                           "\n"
                           "future_setting = 3\n"
                           "volume=40\n"
                           "not a setting at all";
    std::string problem;
    const velmora::SettingsFile file(path);
    for (const auto& [name, value] : {std::pair{"volume", "70"}, {"mouse_speed", "2"}, {"invert_y", "yes"}})
        ASSERT_TRUE(file.write(name, value, problem)) << problem;
    std::ifstream written(path);
    const std::string text((std::istreambuf_iterator<char>(written)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "# my settings\n"
                    "mouse_speed = 2 # slow hands\n"
                    "\n"
                    "future_setting = 3\n"
                    "volume= 70\n"
                    "not a setting at all\n"
                    "invert_y = yes\n");

    // A folder that is missing is made; one that cannot be (a file stands in its way) is a
    // reason, and the file in the way is untouched.
    const velmora::SettingsFile fresh(folder + "/new/velmora/settings.ini");
    EXPECT_TRUE(fresh.write("volume", "10", problem)) << problem;
    const velmora::SettingsFile blocked(path + "/settings.ini");
    EXPECT_FALSE(blocked.write("volume", "10", problem));
    EXPECT_NE(problem.find(path), std::string::npos) << problem;
    std::ifstream again(path);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(again)), std::istreambuf_iterator<char>()), text);
    std::remove((folder + "/new/velmora/settings.ini").c_str());
    rmdir((folder + "/new/velmora").c_str());
    rmdir((folder + "/new").c_str());
}

// Files typed by a careless hand or made by a hostile one; the command line reads values
// by the same rule.
TEST_F(SettingsFileTest, HostileOrCarelessFilesCostAtMostAFewWarnings) {
    const struct {
        std::string text;
        std::function<bool(const velmora::Settings&)> holds;
        int warnings;
        std::string warning;  // a fragment of one of them
    } cases[] = {
        {"\xef\xbb\xbfmouse_speed = 3\n", [](auto& s) { return s.mouseSpeed == 3; }, 0, ""},
        {std::string("mouse_speed = 3\0garbage\n", 24), [](auto& s) { return s.mouseSpeed == 1; }, 1, "'3\\x00garbage' is not"},
        {"mouse_speed = 0x2\nstick_speed = 0x1p1\n", [](auto& s) { return s.mouseSpeed == 1 && s.stickSpeed == 1; }, 2, ":2: '0x1p1'"},
        {"mouse_speed = 3\nmouse_speed = fast\n", [](auto& s) { return s.mouseSpeed == 3; }, 1, "keeping '3' from line 1"},
        {"render_scale = 2.0\nmultisample = 2.0\n", [](auto& s) { return s.renderScale == 2 && s.multisample == 2; }, 0, ""},
        {std::string(70000, 'x'), [](auto& s) { return s.mouseSpeed == 1; }, 1, "larger than 64 KiB"},
    };
    for (const auto& c : cases) {
        loaded = velmora::Settings();
        std::string warnings = load(c.text);
        EXPECT_TRUE(c.holds(loaded)) << c.text.substr(0, 40);
        EXPECT_EQ(lineCount(warnings), c.warnings) << warnings;
        EXPECT_NE(warnings.find(c.warning), std::string::npos) << warnings;
    }
    std::string manyBad;
    for (int i = 0; i < 30000; ++i) manyBad += "x\n";
    std::string warnings = load(manyBad);
    EXPECT_EQ(lineCount(warnings), 21);
    EXPECT_NE(warnings.find("and 29980 more problems"), std::string::npos) << warnings.substr(warnings.size() - 200);
    EXPECT_TRUE(velmora::test::runsWithinMemory(64 << 20, [] { velmora::loadSettingsFile(velmora::settings(), "/dev/zero", stderr); }));

    std::string problem;
    EXPECT_TRUE(velmora::applySetting(loaded, "mouse_speed", " 4 ", problem)) << problem;
    EXPECT_FALSE(velmora::applySetting(loaded, "mouse_speed", "0x2", problem));
}

// What an unlucky machine or a careless hand leaves in place of the file, and names the
// reader could not take back. Each save is read back: the text, and the setting as the
// next start reads it.
TEST_F(SettingsFileTest, TheWriterLeavesWhatItMustAndWritesOnlyWhatTheReaderTakes) {
    namespace fs = std::filesystem;
    const std::string longNote = "volume = 40 # " + std::string(1100, 'x') + "\n";
    const std::string nearlyFull(65530, '\n');
    const std::string dotFiles = folder + "/dotfiles";
    const struct {
        const char* what;
        std::string before;
        std::function<void()> arrange;  // what stands at the path instead of `before`
        const char* name;
        const char* value;
        rlim_t sizeLimit;
        std::string after;  // empty: the file is as before and `reason` says why
        const char* reason;
    } cases[] = {
        {"a key SDL names #", "key_thread = T\n", nullptr, "key_thread", "#", 0, "key_thread = \"#\"\n", ""},
        {"Keypad #, added", "# mine\n", nullptr, "key_forward", "Keypad #", 0, "# mine\nkey_forward = \"Keypad #\"\n", ""},
        {"a quoted key changed", "key_back = \"#\" # odd\n", nullptr, "key_back", "S", 0, "key_back = S # odd\n", ""},
        {"a file with CRLF, the last line without", "# mine\r\nvolume = 40", nullptr, "mouse_speed", "2", 0,
         "# mine\r\nvolume = 40\r\nmouse_speed = 2\r\n", ""},
        {"a first line after a BOM", "\xef\xbb\xbfvolume = 40\n", nullptr, "volume", "70", 0, "\xef\xbb\xbfvolume = 70\n", ""},
        {"an over-long line", longNote, nullptr, "volume", "90", 0, "", ":1: longer than 1024 characters"},
        {"a file that would grow past 64 KiB", nearlyFull, nullptr, "volume", "90", 0, "", "larger than 64 KiB"},
        {"a read-only file", "volume = 40\n", [&] { chmod(path.c_str(), 0444); }, "volume", "90", 0, "",
         "settings.ini is read-only"},
        {"a FIFO", "", [&] { fs::remove(path), mkfifo(path.c_str(), 0600); }, "volume", "90", 0, "", "not a regular file"},
        {"a file-size limit", "# " + std::string(100, 'n') + "\n", nullptr, "volume", "90", 110, "", "File too large"},
        {"a link to a file kept elsewhere", "volume = 40\n",
         [&] {
             fs::create_directories(dotFiles);
             fs::rename(path, dotFiles + "/settings.ini");
             fs::create_symlink("dotfiles/settings.ini", path);
         },
         "volume", "90", 0, "volume = 90\n", ""},
    };
    for (const auto& c : cases) {
        fs::remove_all(dotFiles);
        fs::remove(path);
        std::ofstream(path, std::ios::binary) << c.before;
        if (c.arrange) c.arrange();
        const auto type = fs::symlink_status(path).type();
        const auto mode = fs::status(path).permissions();
        const Save save = saveElsewhere(path, c.name, c.value, c.sizeLimit);
        EXPECT_EQ(save.signal, 0) << c.what;
        EXPECT_EQ(save.saved, !c.after.empty()) << c.what << ": " << save.problem;
        EXPECT_NE(save.problem.find(c.reason), std::string::npos) << c.what << ": " << save.problem;
        EXPECT_EQ(fs::symlink_status(path).type(), type) << c.what;
        EXPECT_EQ(fs::status(path).permissions(), mode) << c.what;
        if (type == fs::file_type::regular || type == fs::file_type::symlink) {
            const std::string text = contents(path);
            EXPECT_TRUE(text == (c.after.empty() ? c.before : c.after)) << c.what << ": " << text.substr(0, 200);
        }
        for (const auto& entry : fs::recursive_directory_iterator(folder))
            EXPECT_EQ(entry.path().string().find(".new"), std::string::npos) << c.what << ": left " << entry.path();
        if (c.after.empty()) continue;
        loaded = velmora::Settings();
        EXPECT_EQ(loadWarnings(), "") << c.what;
        EXPECT_EQ(velmora::settingValue(loaded, c.name), c.value) << c.what;
    }
    fs::remove_all(dotFiles);
    fs::remove(path);
}

// Two games making many changes at once: each change saved, none of the player's lines lost.
TEST_F(SettingsFileTest, TwoGamesSavingAtOnceKeepEveryLine) {
    const std::string mine = "# my settings\nfuture_setting = 3\n";
    std::ofstream(path) << mine;
    const int changes = 100;
    const velmora::SettingsFile file(path);
    std::string problem;
    const pid_t other = fork();
    if (other == 0) {
        bool all = true;
        for (int i = 1; i <= changes; ++i) all = file.write("mouse_speed", std::to_string(1 + i % 9), problem) && all;
        _exit(all ? 0 : 1);
    }
    int saved = 0;
    for (int i = 1; i <= changes; ++i) saved += file.write("volume", std::to_string(i), problem);
    int status = 0;
    waitpid(other, &status, 0);
    EXPECT_EQ(saved, changes) << problem;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the other game's saves failed";
    const std::string text = contents(path);
    EXPECT_EQ(text.compare(0, mine.size(), mine), 0) << text;
    EXPECT_EQ(lineCount(text), 4) << text;
    EXPECT_NE(text.find("\nvolume = " + std::to_string(changes) + "\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nmouse_speed = " + std::to_string(1 + changes % 9) + "\n"), std::string::npos) << text;
}
