// The player's language: the setting, else the locale as POSIX orders its variables; every
// text the game shows is in the table, anything else is left alone.
#include "Win32TestSupport.h"

#include "velmora/Language.h"
#include "velmora/Settings.h"

using namespace win32test;
using velmora::Language;
using velmora::LanguageChoice;

TEST(LanguageTest, TheSettingElseTheLocaleChoosesAndEveryGameTextIsTranslated) {
    const std::optional<std::string> unset;
    const struct {
        LanguageChoice setting;
        std::optional<std::string> lcAll, lcMessages, lang;
        Language expected;
    } choices[] = {
        {LanguageChoice::Auto, unset, unset, unset, Language::English},
        {LanguageChoice::Auto, unset, unset, "ja_JP.UTF-8", Language::Japanese},
        {LanguageChoice::Auto, unset, unset, "ja.UTF-8", Language::Japanese},  // a page in plain "ja"
        {LanguageChoice::Auto, unset, unset, "jv_ID.UTF-8", Language::English},
        {LanguageChoice::Auto, unset, "ja_JP.UTF-8", "de_DE.UTF-8", Language::Japanese},
        {LanguageChoice::Auto, "C.UTF-8", "ja_JP.UTF-8", "ja_JP.UTF-8", Language::English},
        {LanguageChoice::Auto, "", "", "ja_JP.UTF-8", Language::Japanese},  // empty counts as unset
        {LanguageChoice::English, "ja_JP.UTF-8", unset, unset, Language::English},
        {LanguageChoice::Japanese, "C", unset, unset, Language::Japanese},
    };
    for (const auto& c : choices) {
        ScopedEnv lcAll("LC_ALL", c.lcAll), lcMessages("LC_MESSAGES", c.lcMessages), lang("LANG", c.lang);
        velmora::settings().language = c.setting;
        EXPECT_EQ(velmora::playerLanguage(), c.expected) << c.lcAll.value_or("-") << " " << c.lang.value_or("-");
    }

    const struct {
        const char *game, *english;
    } texts[] = {
        {"フルスクリーンにしますか？", "Play in full screen?"}, {"確認", "Confirm"},
        {"Direct3D初期化ミス", "Direct3D initialization error"}, {"Direct3Dの初期化に失敗", "Direct3D initialization failed"},
        {"Direct3D初期化", "Direct3D initialization"}, {"シェーダコンパイルエラー", "Shader compile error"},
        {"Sample.fx(3): error X3000: syntax error", "Sample.fx(3): error X3000: syntax error"},  // unknown
    };
    for (const auto& text : texts) {
        velmora::settings().language = LanguageChoice::English;
        EXPECT_EQ(velmora::localized(text.game), text.english);
        velmora::settings().language = LanguageChoice::Japanese;
        EXPECT_EQ(velmora::localized(text.game), text.game);
        EXPECT_EQ(velmora::localized(text.english), text.game) << "the platform's English finds the same entry";
    }
    EXPECT_EQ(velmora::localized("'%s' from line %s", {"100%s", "3"}), "'100%s'（3 行目）") << "values go in once, in order";
    velmora::settings().language = LanguageChoice::Auto;
}
