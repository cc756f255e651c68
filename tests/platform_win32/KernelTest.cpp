// _splitpath and COM initialisation.
#include "Win32TestSupport.h"

#include <cstring>
#include <string>

using namespace win32test;

namespace {

struct SplitCase {
    const char* path;
    const char* drive;
    const char* dir;
    const char* fname;
    const char* ext;
};

}  // namespace

TEST(SplitPathTest, SplitsLikeTheCRuntime) {
    const SplitCase cases[] = {
        {"C:\\dir\\sub\\file.ext", "C:", "\\dir\\sub\\", "file", ".ext"},
        {"data/Chara/DragonFly/DragonFly.x", "", "data/Chara/DragonFly/", "DragonFly", ".x"},
        {"data\\Field/Field.x", "", "data\\Field/", "Field", ".x"},
        {"C:file.txt", "C:", "", "file", ".txt"},
        {"file", "", "", "file", ""},
        {"dir/", "", "dir/", "", ""},
        {"archive.tar.gz", "", "", "archive.tar", ".gz"},
        {"dir.v2/file", "", "dir.v2/", "file", ""},
        {"name.", "", "", "name", "."},
        {".hidden", "", "", "", ".hidden"},
        {"ab:c.d", "", "", "ab:c", ".d"},
        {"", "", "", "", ""},
    };
    for (const SplitCase& c : cases) {
        SCOPED_TRACE(c.path);
        char drive[_MAX_DRIVE], dir[_MAX_DIR], fname[_MAX_FNAME], ext[_MAX_EXT];
        _splitpath(c.path, drive, dir, fname, ext);
        EXPECT_STREQ(drive, c.drive);
        EXPECT_STREQ(dir, c.dir);
        EXPECT_STREQ(fname, c.fname);
        EXPECT_STREQ(ext, c.ext);
    }
}

TEST(SplitPathTest, OutputsMayBeNullAndLongPartsStayInTheirBuffers) {
    char dir[_MAX_DIR];
    _splitpath("a/b/c.x", nullptr, dir, nullptr, nullptr);
    EXPECT_STREQ(dir, "a/b/");

    struct {
        char dir[_MAX_DIR];
        char guard[8];
    } bounded;
    std::memset(bounded.guard, 'G', sizeof bounded.guard);
    std::string longPath = std::string(400, 'd') + "/file.x";
    _splitpath(longPath.c_str(), nullptr, bounded.dir, nullptr, nullptr);
    EXPECT_EQ(std::strlen(bounded.dir), static_cast<size_t>(_MAX_DIR - 1));
    EXPECT_EQ(std::string(bounded.guard, sizeof bounded.guard), std::string(8, 'G'));
}

class ComTest : public HeadlessTest {};

TEST_F(ComTest, InitialisationIsCountedAndBalanced) {
    EXPECT_EQ(CoInitialize(nullptr), S_OK);
    EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
    EXPECT_EQ(velmora::headless::comInitCount(), 2);
    CoUninitialize();
    CoUninitialize();
    CoUninitialize();
    EXPECT_EQ(velmora::headless::comInitCount(), 0) << "an extra CoUninitialize changes nothing";
    EXPECT_EQ(CoInitialize(nullptr), S_OK);
}
