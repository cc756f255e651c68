// WAVE_FORMAT_EXTENSIBLE, as sox writes it for 24-bit or multichannel sound: taken where it
// is plain PCM of one or two channels and 8 or 16 bits, otherwise refused with a reason.
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "RiffBuilder.h"
#include "SoundTestSupport.h"
#include "velmora/HeadlessAudio.h"

namespace {

using namespace soundtest;

class ExtensibleFormatTest : public HeadlessSoundTest {
protected:
    void SetUp() override {
        HeadlessSoundTest::SetUp();
        device = newDevice();
    }

    // The "fmt " chunk of a file sox makes with `options` (bits, channels).
    std::string soxFormat(const std::string& options) {
        const std::string path = folder.path() + "/made.wav";
        EXPECT_EQ(std::system(("sox -n -r 44100 " + options + " " + path + " synth 0.1 sine 440").c_str()), 0);
        std::ifstream in(path, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const size_t at = bytes.find("fmt ");
        if (at == std::string::npos) return std::string();
        const uint32_t size = uint8_t(bytes[at + 4]) | uint8_t(bytes[at + 5]) << 8;
        return bytes.substr(at + 8, size);
    }

    HRESULT create(const std::string& format) {
        DSBUFFERDESC desc{};
        desc.dwSize = sizeof desc;
        desc.dwBufferBytes = 4800;
        desc.lpwfxFormat = reinterpret_cast<WAVEFORMATEX*>(const_cast<char*>(format.data()));
        IDirectSoundBuffer* buffer = nullptr;
        HRESULT result = device->CreateSoundBuffer(&desc, &buffer, nullptr);
        if (buffer) {
            created = *velmora::audio::stateOf(buffer);
            buffer->Release();
        }
        return result;
    }

    static void put16(std::string& format, size_t at, uint16_t value) {
        format[at] = char(value & 0xff);
        format[at + 1] = char(value >> 8);
    }

    riff::ScratchFolder folder;
    IDirectSound8* device = nullptr;
    velmora::audio::BufferState created{};
};

TEST_F(ExtensibleFormatTest, PlainPcmInExtensibleFormIsTakenTheRestRefusedAndLoggedOnce) {
    const std::string deep = soxFormat("-b 24 -c 2");
    ASSERT_EQ(deep.size(), 40u);
    ASSERT_EQ(uint8_t(deep[0]) | uint8_t(deep[1]) << 8, 0xFFFE) << "sox writes 24 bits as extensible";
    const std::string surround = soxFormat("-b 16 -c 4");
    ASSERT_EQ(surround.size(), 40u);

    // The same layout with 16-bit samples: what a 16-bit stereo buffer takes.
    std::string sixteen = deep;
    put16(sixteen, 12, 4);   // block align
    put16(sixteen, 14, 16);  // bits per sample
    put16(sixteen, 18, 16);  // valid bits
    ASSERT_EQ(create(sixteen), DS_OK);
    EXPECT_EQ(created.channels, 2);
    EXPECT_EQ(created.bitsPerSample, 16);

    std::string fewerValidBits = sixteen;
    put16(fewerValidBits, 18, 12);
    std::string floatSubFormat = sixteen;
    floatSubFormat[24] = 3;  // KSDATAFORMAT_SUBTYPE_IEEE_FLOAT
    std::string cut = sixteen;
    put16(cut, 16, 0);  // no extension bytes after all

    const std::string refused[] = {deep, surround, fewerValidBits, floatSubFormat, cut};
    testing::internal::CaptureStderr();
    for (int twice = 0; twice < 2; ++twice)
        for (const std::string& format : refused) EXPECT_EQ(create(format), DSERR_BADFORMAT);
    const std::string log = testing::internal::GetCapturedStderr();
    // Each reason at most once (another test may have logged it first), and these at once.
    for (const char* reason : {"8 or 16 bits", "two channels", "valid bits", "other than PCM", "22 extra bytes"}) {
        size_t count = 0;
        for (size_t at = log.find(reason); at != std::string::npos; at = log.find(reason, at + 1)) ++count;
        EXPECT_LE(count, 1u) << reason;
    }
    EXPECT_NE(log.find("other than PCM"), std::string::npos);
    EXPECT_NE(log.find("valid bits"), std::string::npos);
}

}  // namespace
