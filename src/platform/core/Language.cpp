#include "velmora/Language.h"

#include "velmora/Settings.h"

#include <cstdlib>
#include <cstring>

namespace velmora {

namespace {

struct Words {
    const char* english;
    const char* japanese;
};

// One text a line, in both languages. The game's texts are found by their Japanese, the
// platform's by their English; printf formats keep their conversions in the same order.
const Words kTexts[] = {
    // The game's message boxes.
    {"Play in full screen?", "フルスクリーンにしますか？"},
    {"Confirm", "確認"},
    {"Direct3D initialization error", "Direct3D初期化ミス"},
    {"Direct3D initialization failed", "Direct3Dの初期化に失敗"},
    {"Direct3D initialization", "Direct3D初期化"},
    {"Shader compile error", "シェーダコンパイルエラー"},
    // Message box buttons.
    {"OK", "OK"},
    {"Cancel", "キャンセル"},
    {"Abort", "中止"},
    {"Retry", "再試行"},
    {"Ignore", "無視"},
    {"Yes", "はい"},
    {"No", "いいえ"},
};

// "ja", "ja_JP.UTF-8", "ja-JP", "ja@..." but not "jam" or "javanese".
bool namesJapanese(const char* locale) {
    return std::strncmp(locale, "ja", 2) == 0 && std::strchr("_-.@", locale[2]) != nullptr;
}

const char* messagesLocale() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && value[0]) return value;
    }
    return "";
}

}  // namespace

Language playerLanguage() {
    switch (settings().language) {
        case LanguageChoice::English: return Language::English;
        case LanguageChoice::Japanese: return Language::Japanese;
        case LanguageChoice::Auto: break;
    }
    return namesJapanese(messagesLocale()) ? Language::Japanese : Language::English;
}

std::string localized(const std::string& text) {
    const bool japanese = playerLanguage() == Language::Japanese;
    for (const Words& words : kTexts)
        if (text == words.english || text == words.japanese) return japanese ? words.japanese : words.english;
    return text;
}

}  // namespace velmora
