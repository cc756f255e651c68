// MessageBoxA: scripted answers, default buttons, the record, and the text on standard
// error when there is no display.
#include "Win32TestSupport.h"

#include "win32/MessageBoxButtons.h"
#include "win32/sdl/Utf8Locale.h"

#include <clocale>
#include <langinfo.h>

using namespace win32test;
using velmora::win32::MessageBoxButtons;

namespace {

class MessageBoxTest : public HeadlessTest {};

const char* const kQuestion = "\xE3\x83\x95\xE3\x83\xAB\xE3\x82\xB9\xE3\x82\xAF\xE3\x83\xAA\xE3\x83\xBC\xE3\x83\xB3"
                              "\xE3\x81\xAB\xE3\x81\x97\xE3\x81\xBE\xE3\x81\x99\xE3\x81\x8B\xEF\xBC\x9F";  // フルスクリーンにしますか？
const char* const kConfirm = "\xE7\xA2\xBA\xE8\xAA\x8D";  // 確認

}  // namespace

TEST_F(MessageBoxTest, ScriptedAnswersAreUsedInOrderAndEveryBoxIsRecorded) {
    velmora::headless::queueMessageBoxAnswer(IDYES);
    velmora::headless::queueMessageBoxAnswer(IDNO);
    const UINT question = MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2;

    EXPECT_EQ(MessageBoxA(nullptr, kQuestion, kConfirm, question), IDYES);
    EXPECT_EQ(MessageBoxA(nullptr, kQuestion, kConfirm, question), IDNO);
    EXPECT_EQ(MessageBoxA(nullptr, kQuestion, kConfirm, question), IDNO) << "none left: the default button";
    EXPECT_EQ(MessageBoxA(nullptr, "Direct3D", "", MB_OK), IDOK);

    const auto& shown = velmora::headless::messageBoxesShown();
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_EQ(shown[0].text, kQuestion);
    EXPECT_EQ(shown[0].caption, kConfirm);
    EXPECT_EQ(shown[0].type, question);
    EXPECT_EQ(shown[0].answer, IDYES);
    EXPECT_EQ(shown[2].answer, IDNO);
    EXPECT_EQ(shown[3].caption, "");
}

TEST_F(MessageBoxTest, TheDefaultButtonFollowsTypeAndDefButtonFlag) {
    struct Case {
        UINT type;
        int answer;
    };
    const Case cases[] = {
        {MB_OK, IDOK},
        {MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
        {MB_YESNO, IDYES},
        {MB_YESNO | MB_DEFBUTTON2, IDNO},
        {MB_YESNO | MB_DEFBUTTON3, IDYES},  // no third button: the first
        {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
        {MB_ABORTRETRYIGNORE | MB_DEFBUTTON2, IDRETRY},
        {MB_RETRYCANCEL, IDRETRY},
        {7, 0},  // not a box type: the call fails
    };
    for (const Case& c : cases) EXPECT_EQ(MessageBoxA(nullptr, "t", "c", c.type), c.answer) << c.type;
    EXPECT_EQ(velmora::headless::messageBoxesShown().size(), std::size(cases));
}

TEST_F(MessageBoxTest, EscapeClosesOnlyBoxesThatCanBeCancelled) {
    EXPECT_EQ(MessageBoxButtons::forType(MB_YESNO).escapeAnswer, 0);
    EXPECT_EQ(MessageBoxButtons::forType(MB_ABORTRETRYIGNORE).escapeAnswer, 0);
    EXPECT_EQ(MessageBoxButtons::forType(MB_OK).escapeAnswer, IDOK);
    EXPECT_EQ(MessageBoxButtons::forType(MB_YESNOCANCEL).escapeAnswer, IDCANCEL);
    auto yesNo = MessageBoxButtons::forType(MB_YESNO | MB_DEFBUTTON2);
    ASSERT_EQ(yesNo.buttons.size(), 2u);
    EXPECT_EQ(yesNo.buttons[0].answer, IDYES) << "Yes left of No";
    EXPECT_EQ(yesNo.defaultIndex, 1);
}

TEST_F(MessageBoxTest, NullTextsAndTheHeadlessBackendsSilence) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBoxA(nullptr, nullptr, nullptr, MB_OK), IDOK);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    const auto& shown = velmora::headless::messageBoxesShown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "");
    EXPECT_EQ(shown[0].caption, "Error") << "Windows' caption for a null one";
}

TEST_F(RealBackendTest, WithoutADisplayTheBoxGoesToStandardErrorWithTheDefaultAnswer) {
    ScopedEnv display("DISPLAY", std::nullopt);
    ScopedEnv wayland("WAYLAND_DISPLAY", std::nullopt);
    ScopedEnv driver("SDL_VIDEODRIVER", std::nullopt);
    ScopedEnv locale("LC_ALL", "C.UTF-8");  // a player who reads English

    testing::internal::CaptureStderr();
    int answer = MessageBoxA(nullptr, kQuestion, kConfirm, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
    int ok = MessageBoxA(nullptr, "Direct3D\xE5\x88\x9D\xE6\x9C\x9F\xE5\x8C\x96\xE3\x83\x9F\xE3\x82\xB9", "", MB_OK);
    std::string printed = testing::internal::GetCapturedStderr();

    EXPECT_EQ(answer, IDNO);
    EXPECT_EQ(ok, IDOK);
    // SDL may add its own complaints about the missing display before ours.
    const std::string expected = "Confirm: Play in full screen?\nDirect3D initialization error\n";
    ASSERT_GE(printed.size(), expected.size());
    EXPECT_EQ(printed.substr(printed.size() - expected.size()), expected);
}

TEST_F(RealBackendTest, ScriptedAnswersAreNotShownOnScreen) {
    ScopedEnv display("DISPLAY", std::nullopt);
    velmora::headless::queueMessageBoxAnswer(IDYES);
    testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBoxA(nullptr, kQuestion, kConfirm, MB_YESNO | MB_DEFBUTTON2), IDYES);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(Utf8LocaleTest, ACLocaleEnvironmentIsGivenAUtf8CharacterType) {
    ScopedEnv all("LC_ALL", "C");
    ScopedEnv ctype("LC_CTYPE", std::nullopt);
    ScopedEnv lang("LANG", std::nullopt);
    ScopedEnv messages("LC_MESSAGES", "ja_JP.UTF-8");

    velmora::win32::useUtf8TextLocale();
    EXPECT_EQ(std::getenv("LC_MESSAGES"), nullptr) << "LC_ALL outranked it; LANG now says what LC_ALL said";

    EXPECT_STREQ(nl_langinfo(CODESET), "UTF-8");
    EXPECT_EQ(std::getenv("LC_ALL"), nullptr) << "LC_ALL would override LC_CTYPE in SDL's box process";
    ASSERT_NE(std::getenv("LANG"), nullptr);
    EXPECT_STREQ(std::getenv("LANG"), "C") << "the other categories keep what LC_ALL said";
    // A process started now (SDL's box is one) reads a UTF-8 character type.
    std::setlocale(LC_CTYPE, "C");
    ASSERT_NE(std::setlocale(LC_CTYPE, ""), nullptr);
    EXPECT_STREQ(nl_langinfo(CODESET), "UTF-8");
    std::setlocale(LC_CTYPE, "C");
}
