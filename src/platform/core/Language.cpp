#include "velmora/Language.h"

#include "velmora/Settings.h"

#include <cstdlib>
#include <cstring>

#ifdef _WIN32
#include <SDL.h>
#endif

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
    // The platform's own messages.
    {"velmora: no data/ and Shader/ in %s\n", "velmora: %s に data/ と Shader/ がありません\n"},
    {"The game's data (the folders data and Shader) was not found in:%s\nStart it with --data DIR to name the folder that holds them.",
     "ゲームのデータ（data と Shader のフォルダ）が次の場所にありません:%s\nそれらを含むフォルダを --data DIR で指定して起動してください。"},
    {"velmora: no display: %s\n", "velmora: ディスプレイがありません: %s\n"},
    {"velmora: no display could be opened (DISPLAY=%s)\n", "velmora: ディスプレイを開けませんでした (DISPLAY=%s)\n"},
    {"velmora: this display offers no OpenGL 3.3\n", "velmora: このディスプレイでは OpenGL 3.3 を使えません\n"},
    {"velmora: %s: %s; using the defaults\n", "velmora: %s: %s。既定の設定を使います\n"},
    {"velmora: %s: larger than %s KiB, not a settings file; using the defaults\n",
     "velmora: %s: %s KiB を超えているので設定ファイルではありません。既定の設定を使います\n"},
    {"velmora: %s: and %s more problems\n", "velmora: %s: ほかに %s 件の問題があります\n"},
    {"longer than %s characters; ignored", "%s 文字を超える行です。無視します"},
    {"not a 'name = value' line; ignored", "「名前 = 値」の行ではありません。無視します"},
    {"%s; ignored", "%s。無視します"},
    {"%s; keeping %s", "%s。%s のままにします"},
    {"the default", "既定値"},
    {"velmora: %s:%s: %s is already the key of %s; keeping the default\n",
     "velmora: %s:%s: %s はすでに %s のキーです。既定値のままにします\n"},
    {"'%s' from line %s", "'%s'（%s 行目）"},
    {"unknown setting '%s'", "不明な設定 '%s'"},
    {"'%s' is not a value of %s: %s", "'%s' は %s の値ではありません: %s"},
    {"unexpected argument '%s'", "予期しない引数 '%s'"},
    {"--%s takes no value", "--%s は値を取りません"},
    {"--data needs a folder", "--data にはフォルダが必要です"},
    {"--%s needs a file", "--%s にはファイルが必要です"},
    {"--%s needs a value", "--%s には値が必要です"},
    {"unknown option '--%s'", "不明なオプション '--%s'"},
    {"--record and --replay exclude each other", "--record と --replay は同時に使えません"},
    {"velmora: cannot record to %s: %s\n", "velmora: %s に記録できません: %s\n"},
    {"velmora: cannot replay %s: %s\n", "velmora: %s を再生できません: %s\n"},
    {"velmora: %s was cut short after %s frames (the game recording it was stopped); replaying them\n",
     "velmora: %s は %s フレームで途切れています（記録中のゲームが止められました）。そこまで再生します\n"},
    {"velmora: cannot find %s from the working folder: %s\n", "velmora: 作業フォルダから %s が見つかりません: %s\n"},
    {"velmora: no sound device could be opened; playing without sound\n",
     "velmora: サウンドデバイスを開けませんでした。音なしで遊びます\n"},
    // The settings file's writer, on the menu's last line.
    {"%s is read-only", "%s は読み取り専用です"},
    {"%s:%s: longer than %s characters; shorten it by hand", "%s:%s: %s 文字を超える行です。手で短くしてください"},
    {"%s: larger than %s KiB, not a settings file", "%s: %s KiB を超えているので設定ファイルではありません"},
};

// "ja", "ja_JP.UTF-8", "ja-JP", "ja@..." but not "jam" or "javanese".
bool namesJapanese(const char* locale) {
    return std::strncmp(locale, "ja", 2) == 0 && std::strchr("_-.@", locale[2]) != nullptr;
}

#ifdef _WIN32
// Windows keeps the player's language in its own settings, not in the environment.
bool localeIsJapanese() {
    SDL_Locale* locales = SDL_GetPreferredLocales();
    const bool japanese = locales && locales[0].language && namesJapanese(locales[0].language);
    SDL_free(locales);
    return japanese;
}
#else
bool localeIsJapanese() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && value[0]) return namesJapanese(value);
    }
    return false;
}
#endif

}  // namespace

Language playerLanguage() {
    switch (settings().language) {
        case LanguageChoice::English: return Language::English;
        case LanguageChoice::Japanese: return Language::Japanese;
        case LanguageChoice::Auto: break;
    }
    return localeIsJapanese() ? Language::Japanese : Language::English;
}

std::string localized(const std::string& text) {
    const bool japanese = playerLanguage() == Language::Japanese;
    for (const Words& words : kTexts)
        if (text == words.english || text == words.japanese) return japanese ? words.japanese : words.english;
    return text;
}

std::string localized(const std::string& format, std::initializer_list<std::string> values) {
    std::string words = localized(format), text;
    const std::string* value = values.begin();
    size_t from = 0;
    for (size_t blank; (blank = words.find("%s", from)) != std::string::npos && value != values.end(); ++value) {
        text += words.substr(from, blank - from) + *value;
        from = blank + 2;
    }
    return text + words.substr(from);
}

}  // namespace velmora
