// The settings file: where it lives, and that every problem in it costs one warning line
// and that setting's default, never the start.
#include "Win32TestSupport.h"

#include "MemoryCeiling.h"
#include "velmora/Settings.h"

#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <sys/stat.h>
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
                   "language = ja\n"),
              "");
    EXPECT_DOUBLE_EQ(loaded.mouseSpeed, 0.35);
    EXPECT_TRUE(loaded.invertY);
    EXPECT_DOUBLE_EQ(loaded.stickSpeed, 2.5);
    EXPECT_DOUBLE_EQ(loaded.stickDeadZone, 0.1);
    EXPECT_EQ(loaded.fullScreen, velmora::FullScreenChoice::No);
    EXPECT_EQ(loaded.language, velmora::LanguageChoice::Japanese);
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
