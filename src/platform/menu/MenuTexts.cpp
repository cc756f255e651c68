#include "MenuTexts.h"

namespace velmora::menu {

namespace {

struct Words {
    const char* english;
    const char* japanese;
};

// In MenuWord's order.
const Words kWords[] = {
    {"Paused", "一時停止"},
    {"Resume", "再開"},
    {"Settings", "設定"},
    {"Quit", "終了"},
    {"Quit the game?", "ゲームを終了しますか？"},
    {"Yes", "はい"},
    {"No", "いいえ"},
    {"Back", "戻る"},
    {"Press a key (Escape cancels)", "キーを押してください（Escapeで取り消し）"},
    {"Press a key (B cancels)", "キーを押してください（Bで取り消し）"},
    {"Press a key on a keyboard (a tap cancels)", "キーボードのキーを押してください（タップで取り消し）"},
    {"Cannot save the settings: ", "設定を保存できません: "},
    {"This browser keeps no storage: settings will not be kept", "このブラウザは保存できません: 設定は保持されません"},
    {"Arrows choose, Left and Right change, Return selects, Escape goes back",
     "矢印で選択、左右で変更、Returnで決定、Escapeで戻る"},
    {"The pad's arrows or stick choose and change, A selects, B goes back",
     "十字キーかスティックで選択と変更、Aで決定、Bで戻る"},
    {"Tap to select or change, drag to scroll", "タップで決定・変更、ドラッグでスクロール"},
    {"Mouse speed", "マウスの速さ"},
    {"Invert up and down", "上下反転"},
    {"Stick speed", "スティックの速さ"},
    {"Stick dead zone", "スティックの遊び"},
    {"Full screen", "フルスクリーン"},
    {"Render scale", "描画の倍率"},
    {"Multisampling", "マルチサンプリング"},
    {"Volume", "音量"},
    {"Vertical sync", "垂直同期"},
    {"Escape key", "Escapeキー"},
    {"Language", "言語"},
    {"Walk forward", "前へ歩く"},
    {"Walk back", "後ろへ歩く"},
    {"Walk left", "左へ歩く"},
    {"Walk right", "右へ歩く"},
    {"Thread key", "糸のキー"},
    {"On", "オン"},
    {"Off", "オフ"},
    {"Ask at start", "起動時に確認"},
    {"Window's own", "ウィンドウに合わせる"},
    {"Opens this menu", "このメニューを開く"},
    {"None", "なし"},
    {"Automatic", "自動"},
    {"English", "English"},
    {"Japanese", "日本語"},
};
static_assert(sizeof(kWords) / sizeof(kWords[0]) == static_cast<size_t>(MenuWord::Count), "one line per word");

}  // namespace

const char* MenuTexts::word(MenuWord word, Language language) {
    const Words& words = kWords[static_cast<size_t>(word)];
    return language == Language::Japanese ? words.japanese : words.english;
}

std::vector<const char*> MenuTexts::all() {
    std::vector<const char*> texts;
    for (const Words& words : kWords) {
        texts.push_back(words.english);
        texts.push_back(words.japanese);
    }
    return texts;
}

}  // namespace velmora::menu
