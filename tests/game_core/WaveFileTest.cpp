// Reading WAV files: well-formed, unusual and broken ones.
#include <gtest/gtest.h>

#include <velmora/Platform.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "WaveBytes.h"
#include "WaveFile.h"

namespace {

class WaveFileTest : public ::testing::Test {
protected:
    void SetUp() override { velmora::selectBackend(velmora::Backend::Headless); }

    std::string file(const Bytes& bytes) { return folder.write("sound.wav", bytes); }

    // Reads the whole data chunk in pieces of `piece` bytes.
    Bytes readAll(WaveFile& wave, DWORD piece) {
        Bytes all;
        Bytes buffer(piece);
        for (;;) {
            DWORD got = 0;
            EXPECT_EQ(wave.read(piece, buffer.data(), &got), S_OK);
            if (got == 0) break;
            all.insert(all.end(), buffer.begin(), buffer.begin() + got);
        }
        return all;
    }

    TempDir folder;
};

}  // namespace

TEST_F(WaveFileTest, APcmFileOpensWithItsFormatAndData) {
    Bytes data = samples(1000, 3);
    WaveFile wave;
    ASSERT_EQ(wave.open(file(monoWave(data)).c_str()), S_OK);
    ASSERT_NE(wave.format, nullptr);
    EXPECT_EQ(wave.format->wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(wave.format->nChannels, 1);
    EXPECT_EQ(wave.format->nSamplesPerSec, 22050u);
    EXPECT_EQ(wave.format->nAvgBytesPerSec, 44100u);
    EXPECT_EQ(wave.format->nBlockAlign, 2);
    EXPECT_EQ(wave.format->wBitsPerSample, 16);
    EXPECT_EQ(wave.format->cbSize, 0);
    EXPECT_EQ(wave.dataChunk.cksize, 1000u);
    EXPECT_EQ(readAll(wave, 300), data);
}

TEST_F(WaveFileTest, DataLargerThanTheIoBufferIsReadWhole) {
    Bytes data = samples(50001, 11);  // several refills of mmio's 8 KB buffer, odd length
    WaveFile wave;
    ASSERT_EQ(wave.open(file(monoWave(data)).c_str()), S_OK);
    EXPECT_EQ(readAll(wave, 4096), data);
}

TEST_F(WaveFileTest, ReadsNeverGoPastTheDataChunk) {
    Bytes data = samples(100, 1);
    Bytes trailer(64, 0xEE);
    Bytes bytes = riff("WAVE", {chunk("fmt ", pcmFormat(1, 1, 22050, 16)), chunk("data", data), chunk("junk", trailer)});
    WaveFile wave;
    ASSERT_EQ(wave.open(file(bytes).c_str()), S_OK);

    Bytes destination(1000, 0x55);
    DWORD got = 0;
    ASSERT_EQ(wave.read(1000, destination.data(), &got), S_OK);
    EXPECT_EQ(got, 100u);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), destination.begin()));
    EXPECT_EQ(destination[100], 0x55) << "nothing written past the data";
    EXPECT_EQ(wave.dataChunk.cksize, 0u);

    ASSERT_EQ(wave.read(1000, destination.data(), &got), S_OK);
    EXPECT_EQ(got, 0u);
}

TEST_F(WaveFileTest, DataIsFoundWhereverItIsInTheRiffBody) {
    Bytes data = samples(40, 9);
    Bytes list = chunk("LIST", samples(17, 2));  // odd size: a pad byte follows
    Bytes format = chunk("fmt ", pcmFormat(1, 1, 44100, 16));
    for (const auto& order : std::vector<std::vector<Bytes>>{{format, list, chunk("data", data)},
                                                             {chunk("data", data), format},
                                                             {list, chunk("data", data), list, format}}) {
        WaveFile wave;
        ASSERT_EQ(wave.open(file(riff("WAVE", order)).c_str()), S_OK);
        EXPECT_EQ(wave.format->nSamplesPerSec, 44100u);
        EXPECT_EQ(readAll(wave, 64), data);
    }
}

TEST_F(WaveFileTest, ExtraFormatBytesOfOtherFormatsAreReadWhole) {
    Bytes format = pcmFormat(0xFFFE, 1, 22050, 16);
    Bytes extra = samples(22, 40);
    append16(format, static_cast<uint16_t>(extra.size()));
    format.insert(format.end(), extra.begin(), extra.end());
    Bytes data = samples(10, 0);
    WaveFile wave;
    ASSERT_EQ(wave.open(file(riff("WAVE", {chunk("fmt ", format), chunk("data", data)})).c_str()), S_OK);
    ASSERT_NE(wave.format, nullptr);
    EXPECT_EQ(wave.format->wFormatTag, 0xFFFE);
    ASSERT_EQ(wave.format->cbSize, 22);
    const uint8_t* stored = reinterpret_cast<const uint8_t*>(wave.format) + 18;
    EXPECT_TRUE(std::equal(extra.begin(), extra.end(), stored));
    EXPECT_EQ(readAll(wave, 64), data);
}

TEST_F(WaveFileTest, MalformedFilesFailToOpen) {
    Bytes data = samples(10, 0);
    Bytes shortFormat = pcmFormat(1, 1, 22050, 16);
    shortFormat.resize(14);
    Bytes extraClaimsTooMuch = pcmFormat(2, 1, 22050, 4);
    append16(extraClaimsTooMuch, 5000);
    Bytes fullFile = monoWave(samples(200, 5));

    struct Case {
        const char* what;
        Bytes bytes;
    };
    const std::vector<Case> cases = {
        {"empty file", {}},
        {"not a RIFF file", Bytes(64, 'x')},
        {"form type is not WAVE", riff("AVI ", {chunk("fmt ", pcmFormat(1, 1, 22050, 16)), chunk("data", data)})},
        {"fmt shorter than 16 bytes", riff("WAVE", {chunk("fmt ", shortFormat), chunk("data", data)})},
        {"no fmt chunk", riff("WAVE", {chunk("data", data)})},
        {"no data chunk", riff("WAVE", {chunk("fmt ", pcmFormat(1, 1, 22050, 16))})},
        {"extra format bytes beyond the file",
         riff("WAVE", {chunk("fmt ", extraClaimsTooMuch), chunk("data", data)})},
        {"cut inside the format", Bytes(fullFile.begin(), fullFile.begin() + 30)},
        {"RIFF header only", Bytes(fullFile.begin(), fullFile.begin() + 12)},
    };
    for (const Case& c : cases) {
        WaveFile wave;
        EXPECT_TRUE(FAILED(wave.open(file(c.bytes).c_str()))) << c.what;
    }
    WaveFile missing;
    EXPECT_TRUE(FAILED(missing.open((folder.path() + "/no-such.wav").c_str())));
}

TEST_F(WaveFileTest, DataCutShortIsHeldToTheBytesThatAreThere) {
    Bytes full = monoWave(samples(400, 7));
    Bytes cut(full.begin(), full.end() - 300);  // the data chunk still claims 400 bytes
    WaveFile wave;
    ASSERT_EQ(wave.open(file(cut).c_str()), S_OK);
    EXPECT_EQ(wave.dataChunk.cksize, 100u) << "the loader sizes its buffer by this";
    EXPECT_EQ(readAll(wave, 64), Bytes(cut.end() - 100, cut.end()));
}

TEST_F(WaveFileTest, ReopeningReplacesTheFormatAndCloseForgetsIt) {
    WaveFile wave;
    ASSERT_EQ(wave.open(file(monoWave(samples(10, 0))).c_str()), S_OK);
    Bytes stereo = riff("WAVE", {chunk("fmt ", pcmFormat(1, 2, 44100, 16)), chunk("data", samples(8, 0))});
    wave.close();
    EXPECT_EQ(wave.format, nullptr);
    ASSERT_EQ(wave.open(folder.write("second.wav", stereo).c_str()), S_OK);
    EXPECT_EQ(wave.format->nChannels, 2);
    EXPECT_EQ(wave.dataChunk.cksize, 8u);
}
