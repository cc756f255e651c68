// The multimedia file functions on small RIFF files written by the tests.
#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cstddef>
#include <ctime>
#include <random>
#include <string>

#include "RiffBuilder.h"

namespace {

const FOURCC kWave = mmioFOURCC('W', 'A', 'V', 'E');
const FOURCC kFmt = mmioFOURCC('f', 'm', 't', ' ');
const FOURCC kData = mmioFOURCC('d', 'a', 't', 'a');

class MmioTest : public ::testing::Test {
protected:
    HMMIO open(const std::string& bytes, DWORD flags = MMIO_ALLOCBUF | MMIO_READ) {
        std::string path = folder.write("file" + std::to_string(++written) + ".wav", bytes);
        return mmioOpenA(path.data(), nullptr, flags);
    }
    static LONG position(HMMIO file) { return mmioSeek(file, 0, SEEK_CUR); }

    riff::ScratchFolder folder;
    int written = 0;
};

// A WAVE with a LIST chunk and an odd-sized chunk between "fmt " and "data".
std::string waveWithExtraChunks(const std::string& data) {
    return riff::form("RIFF", "WAVE",
                      riff::chunk("fmt ", riff::pcmFormat(1, 22050, 8)) +
                          riff::form("LIST", "INFO", riff::chunk("INAM", "odd")) + riff::chunk("junk", "12345") +
                          riff::chunk("data", data));
}

TEST_F(MmioTest, DescendsIntoRiffAndFindsChunksPastOthers) {
    std::string data = "sound";
    std::string bytes = waveWithExtraChunks(data);
    HMMIO file = open(bytes);
    ASSERT_NE(file, nullptr);

    MMCKINFO riffChunk {};
    ASSERT_EQ(mmioDescend(file, &riffChunk, nullptr, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(riffChunk.ckid, FOURCC_RIFF);
    EXPECT_EQ(riffChunk.fccType, kWave);
    EXPECT_EQ(riffChunk.cksize, bytes.size() - 8);
    EXPECT_EQ(riffChunk.dwDataOffset, 8u);
    EXPECT_EQ(riffChunk.dwFlags, 0u);
    EXPECT_EQ(position(file), 12);

    MMCKINFO fmt {};
    fmt.ckid = kFmt;
    ASSERT_EQ(mmioDescend(file, &fmt, &riffChunk, MMIO_FINDCHUNK), MMSYSERR_NOERROR);
    EXPECT_EQ(fmt.cksize, 16u);
    EXPECT_EQ(fmt.dwDataOffset, 20u);
    PCMWAVEFORMAT pcm {};
    ASSERT_EQ(mmioRead(file, reinterpret_cast<HPSTR>(&pcm), sizeof pcm), 16);
    EXPECT_EQ(pcm.wf.nSamplesPerSec, 22050u);
    EXPECT_EQ(pcm.wBitsPerSample, 8);
    ASSERT_EQ(mmioAscend(file, &fmt, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(position(file), 36);

    // The search for "data" may start again at the beginning of the RIFF body.
    ASSERT_EQ(mmioSeek(file, riffChunk.dwDataOffset + 4, SEEK_SET), 12);
    MMCKINFO dataChunk {};
    dataChunk.ckid = kData;
    ASSERT_EQ(mmioDescend(file, &dataChunk, &riffChunk, MMIO_FINDCHUNK), MMSYSERR_NOERROR);
    EXPECT_EQ(dataChunk.cksize, data.size());
    EXPECT_EQ(dataChunk.dwDataOffset, bytes.size() - 6);  // 5 bytes and the pad byte
    char read[8] = {};
    EXPECT_EQ(mmioRead(file, read, sizeof read), 6);
    EXPECT_EQ(std::string(read, 5), data);
    EXPECT_EQ(mmioClose(file, 0), MMSYSERR_NOERROR);
}

TEST_F(MmioTest, AscendSkipsThePadByteOfAnOddChunk) {
    std::string bytes = riff::chunk("odd ", "abc") + riff::chunk("next", "xy");
    HMMIO file = open(bytes);
    MMCKINFO odd {};
    ASSERT_EQ(mmioDescend(file, &odd, nullptr, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(odd.cksize, 3u);
    ASSERT_EQ(mmioAscend(file, &odd, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(position(file), 12);
    MMCKINFO next {};
    ASSERT_EQ(mmioDescend(file, &next, nullptr, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(next.ckid, mmioFOURCC('n', 'e', 'x', 't'));
    mmioClose(file, 0);
}

TEST_F(MmioTest, FindsRiffAndListFormsByTheirType) {
    std::string lists = riff::form("LIST", "adtl", riff::chunk("labl", "1234")) +
                        riff::form("LIST", "INFO", riff::chunk("INAM", "name"));
    std::string bytes = riff::form("RIFF", "AVI ", riff::chunk("avih", "x")) + riff::form("RIFF", "WAVE", lists);
    HMMIO file = open(bytes);

    MMCKINFO wave {};
    wave.fccType = kWave;
    ASSERT_EQ(mmioDescend(file, &wave, nullptr, MMIO_FINDRIFF), MMSYSERR_NOERROR);
    EXPECT_EQ(wave.dwDataOffset, 22u + 8u);  // after the whole "AVI " form

    MMCKINFO info {};
    info.fccType = mmioFOURCC('I', 'N', 'F', 'O');
    ASSERT_EQ(mmioDescend(file, &info, &wave, MMIO_FINDLIST), MMSYSERR_NOERROR);
    EXPECT_EQ(info.ckid, FOURCC_LIST);
    MMCKINFO name {};
    ASSERT_EQ(mmioDescend(file, &name, &info, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(name.ckid, mmioFOURCC('I', 'N', 'A', 'M'));

    MMCKINFO missing {};
    missing.fccType = mmioFOURCC('n', 'o', 'n', 'e');
    EXPECT_EQ(mmioSeek(file, 0, SEEK_SET), 0);
    EXPECT_EQ(mmioDescend(file, &missing, nullptr, MMIO_FINDRIFF), MMIOERR_CHUNKNOTFOUND);
    mmioClose(file, 0);
}

TEST_F(MmioTest, SearchStopsAtTheEndOfTheParentChunk) {
    // "data" follows the RIFF chunk instead of sitting inside it.
    std::string bytes = riff::form("RIFF", "WAVE", riff::chunk("fmt ", riff::pcmFormat(1, 8000, 8))) +
                        riff::chunk("data", "abcd");
    HMMIO file = open(bytes);
    MMCKINFO riffChunk {};
    ASSERT_EQ(mmioDescend(file, &riffChunk, nullptr, 0), MMSYSERR_NOERROR);
    MMCKINFO dataChunk {};
    dataChunk.ckid = kData;
    EXPECT_EQ(mmioDescend(file, &dataChunk, &riffChunk, MMIO_FINDCHUNK), MMIOERR_CHUNKNOTFOUND);

    ASSERT_EQ(mmioSeek(file, 12, SEEK_SET), 12);
    EXPECT_EQ(mmioDescend(file, &dataChunk, nullptr, MMIO_FINDCHUNK), MMSYSERR_NOERROR);
    EXPECT_EQ(dataChunk.dwDataOffset, riffChunk.dwDataOffset + riffChunk.cksize + 8);

    MMCKINFO absent {};
    absent.ckid = mmioFOURCC('n', 'o', 'n', 'e');
    ASSERT_EQ(mmioSeek(file, 12, SEEK_SET), 12);
    EXPECT_EQ(mmioDescend(file, &absent, nullptr, MMIO_FINDCHUNK), MMIOERR_CHUNKNOTFOUND);
    mmioClose(file, 0);
}

// Reads `count` bytes the way a WAV loader does: straight from the I/O buffer, advancing
// it whenever the read pointer reaches its end.
std::string readThroughBuffer(HMMIO file, std::size_t count, std::vector<LONG>& bufferOffsets) {
    MMIOINFO info {};
    EXPECT_EQ(mmioGetInfo(file, &info, 0), MMSYSERR_NOERROR);
    std::string bytes;
    while (bytes.size() < count) {
        if (info.pchNext == info.pchEndRead) {
            EXPECT_EQ(mmioAdvance(file, &info, MMIO_READ), MMSYSERR_NOERROR);
            bufferOffsets.push_back(info.lBufOffset);
            if (info.pchNext == info.pchEndRead) break;
        }
        bytes.push_back(*info.pchNext++);
    }
    EXPECT_EQ(mmioSetInfo(file, &info, 0), MMSYSERR_NOERROR);
    return bytes;
}

TEST_F(MmioTest, BufferedReadingCrossesTheEightKilobyteEdgeAndEndsCleanly) {
    std::string bytes = riff::pattern(20000);
    HMMIO file = open(bytes);
    MMIOINFO info {};
    ASSERT_EQ(mmioGetInfo(file, &info, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(info.cchBuffer, 8192);
    EXPECT_EQ(info.hmmio, file);

    ASSERT_EQ(mmioSeek(file, 100, SEEK_SET), 100);
    std::vector<LONG> offsets;
    EXPECT_EQ(readThroughBuffer(file, 9000, offsets), bytes.substr(100, 9000));
    EXPECT_EQ(position(file), 9100);

    // The rest of the file, then the end: advancing there succeeds with an empty buffer.
    offsets.clear();
    EXPECT_EQ(readThroughBuffer(file, 50000, offsets), bytes.substr(9100));
    ASSERT_FALSE(offsets.empty());
    EXPECT_EQ(offsets.back(), 20000);
    EXPECT_EQ(position(file), 20000);

    // mmioRead across the buffer edge agrees with the file.
    std::string read(10000, '\0');
    ASSERT_EQ(mmioSeek(file, 8000, SEEK_SET), 8000);
    EXPECT_EQ(mmioRead(file, read.data(), 10000), 10000);
    EXPECT_EQ(read, bytes.substr(8000, 10000));
    EXPECT_EQ(mmioRead(file, read.data(), 10000), 2000);
    EXPECT_EQ(mmioRead(file, read.data(), 10000), 0);
    mmioClose(file, 0);
}

TEST_F(MmioTest, SeekFollowsItsOriginAndRefusesNegativePositions) {
    HMMIO file = open(riff::pattern(300));
    EXPECT_EQ(mmioSeek(file, 10, SEEK_SET), 10);
    EXPECT_EQ(mmioSeek(file, 5, SEEK_CUR), 15);
    EXPECT_EQ(mmioSeek(file, -20, SEEK_END), 280);
    EXPECT_EQ(mmioSeek(file, -1, SEEK_SET), -1);
    EXPECT_EQ(mmioSeek(file, 0, 7), -1);
    EXPECT_EQ(position(file), 280);
    char byte = 0;
    EXPECT_EQ(mmioRead(file, &byte, 1), 1);
    EXPECT_EQ(byte, static_cast<char>(280 % 251));
    EXPECT_EQ(mmioSeek(file, 1000, SEEK_SET), 1000);
    EXPECT_EQ(mmioRead(file, &byte, 1), 0);
    EXPECT_EQ(mmioRead(file, &byte, -1), -1);
    mmioClose(file, 0);
}

TEST_F(MmioTest, OpeningFailsForMissingFilesFoldersAndWriting) {
    std::string missing = folder.path() + "/missing.wav";
    EXPECT_EQ(mmioOpenA(missing.data(), nullptr, MMIO_ALLOCBUF | MMIO_READ), nullptr);
    MMIOINFO info {};
    EXPECT_EQ(mmioOpenA(missing.data(), &info, MMIO_READ), nullptr);
    EXPECT_EQ(info.wErrorRet, static_cast<UINT>(MMIOERR_FILENOTFOUND));

    std::string folderPath = folder.path();
    EXPECT_EQ(mmioOpenA(folderPath.data(), nullptr, MMIO_READ), nullptr);
    std::string existing = folder.write("exists.wav", "RIFF");
    EXPECT_EQ(mmioOpenA(existing.data(), nullptr, MMIO_WRITE), nullptr);
    EXPECT_EQ(mmioOpenA(nullptr, nullptr, MMIO_READ), nullptr);
}

TEST_F(MmioTest, StaleHandlesAreRefused) {
    HMMIO file = open("RIFF");
    ASSERT_EQ(mmioClose(file, 0), MMSYSERR_NOERROR);
    char byte;
    EXPECT_EQ(mmioClose(file, 0), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(mmioRead(file, &byte, 1), -1);
    MMCKINFO chunk {};
    EXPECT_EQ(mmioDescend(file, &chunk, nullptr, 0), MMSYSERR_INVALHANDLE);
}

TEST_F(MmioTest, SetInfoRefusesAReadPointerOutsideTheBuffer) {
    HMMIO file = open(riff::pattern(100));
    MMIOINFO info {};
    ASSERT_EQ(mmioGetInfo(file, &info, 0), MMSYSERR_NOERROR);
    ASSERT_EQ(mmioAdvance(file, &info, MMIO_READ), MMSYSERR_NOERROR);
    ASSERT_EQ(info.pchEndRead - info.pchBuffer, 100);
    MMIOINFO moved = info;
    moved.pchNext = info.pchEndRead + 1;
    EXPECT_EQ(mmioSetInfo(file, &moved, 0), MMSYSERR_INVALPARAM);
    moved.pchNext = info.pchBuffer + 40;
    EXPECT_EQ(mmioSetInfo(file, &moved, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(position(file), 40);
    mmioClose(file, 0);
}

TEST_F(MmioTest, TruncatedAndOversizedChunksNeverReadPastTheFile) {
    // Header cut short.
    HMMIO file = open(std::string("RIFF\x10\0", 6));
    MMCKINFO chunk {};
    EXPECT_EQ(mmioDescend(file, &chunk, nullptr, 0), MMIOERR_CHUNKNOTFOUND);
    mmioClose(file, 0);

    // RIFF without its form type.
    file = open(std::string("RIFF\x04\0\0\0", 8));
    EXPECT_EQ(mmioDescend(file, &chunk, nullptr, 0), MMIOERR_CHUNKNOTFOUND);
    mmioClose(file, 0);

    // A chunk that claims more than the file holds, and one that claims 4 GB.
    std::string bytes = "fmt " + riff::le32(16) + "abcd";
    file = open(bytes);
    ASSERT_EQ(mmioDescend(file, &chunk, nullptr, 0), MMSYSERR_NOERROR);
    char read[16];
    EXPECT_EQ(mmioRead(file, read, 16), 4);
    mmioClose(file, 0);

    bytes = "huge" + riff::le32(0xFFFFFFFFu) + "abcd" + riff::chunk("data", "xy");
    file = open(bytes);
    MMCKINFO huge {};
    ASSERT_EQ(mmioDescend(file, &huge, nullptr, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(mmioAscend(file, &huge, 0), MMIOERR_CANNOTSEEK);
    ASSERT_EQ(mmioSeek(file, 0, SEEK_SET), 0);
    MMCKINFO data {};
    data.ckid = kData;
    EXPECT_EQ(mmioDescend(file, &data, nullptr, MMIO_FINDCHUNK), MMIOERR_CHUNKNOTFOUND);
    mmioClose(file, 0);
}

// Loads a file the way the game's WAV reader does and checks that every byte handed out
// is the file's byte at that offset, whatever the chunk sizes claim.
void parseLikeTheGame(HMMIO file, const std::string& bytes) {
    MMCKINFO riffChunk {};
    if (mmioDescend(file, &riffChunk, nullptr, 0) != MMSYSERR_NOERROR) return;
    MMCKINFO fmt {};
    fmt.ckid = kFmt;
    if (mmioDescend(file, &fmt, &riffChunk, MMIO_FINDCHUNK) == MMSYSERR_NOERROR) {
        char format[16];
        LONG got = mmioRead(file, format, 16);
        ASSERT_GE(got, 0);
        ASSERT_LE(static_cast<std::size_t>(got), 16u);
        if (got > 0) {
            EXPECT_EQ(std::string(format, got), bytes.substr(fmt.dwDataOffset, got));
        }
        mmioAscend(file, &fmt, 0);
    }
    if (mmioSeek(file, riffChunk.dwDataOffset + 4, SEEK_SET) < 0) return;
    MMCKINFO data {};
    data.ckid = kData;
    if (mmioDescend(file, &data, &riffChunk, MMIO_FINDCHUNK) != MMSYSERR_NOERROR) return;
    std::vector<LONG> offsets;
    std::string read = readThroughBuffer(file, std::min<std::size_t>(data.cksize, 1u << 20), offsets);
    ASSERT_LE(data.dwDataOffset + read.size(), bytes.size());
    EXPECT_EQ(read, bytes.substr(data.dwDataOffset, read.size()));
}

TEST_F(MmioTest, GarbageFilesAreParsedWithinTheirBytes) {
    std::mt19937 random(1234);
    for (int round = 0; round < 300; ++round) {
        std::string bytes = riff::wave(1, 8000, 8, riff::pattern(random() % 40));
        // Damage a few bytes of a valid file, or cut it, or replace it with noise.
        switch (round % 3) {
            case 0:
                for (int hit = 0; hit < 3; ++hit) bytes[random() % bytes.size()] = static_cast<char>(random());
                break;
            case 1: bytes.resize(random() % bytes.size()); break;
            default:
                bytes = "RIFF" + riff::le32(random()) + "WAVE";
                for (int i = random() % 64; i > 0; --i) bytes.push_back(static_cast<char>(random()));
                break;
        }
        HMMIO file = open(bytes);
        ASSERT_NE(file, nullptr);
        SCOPED_TRACE(round);
        parseLikeTheGame(file, bytes);
        mmioClose(file, 0);
    }
}

TEST_F(MmioTest, SettledFilesAreServedFromMemory) {
    std::string path = folder.write("cached.wav", riff::wave(1, 8000, 8, "first"));
    // Pretend the file was written long ago, as game data is.
    timespec times[2] = {{1000000, 0}, {1000000, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    HMMIO file = mmioOpenA(path.data(), nullptr, MMIO_READ);
    mmioClose(file, 0);

    // Same size and time: the kept copy is used. Another size: the file is read again.
    folder.write("cached.wav", riff::wave(1, 8000, 8, "other"));
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    std::string tail(5, '\0');
    file = mmioOpenA(path.data(), nullptr, MMIO_READ);
    mmioSeek(file, -6, SEEK_END);
    mmioRead(file, tail.data(), 5);
    EXPECT_EQ(tail, "first");
    mmioClose(file, 0);

    folder.write("cached.wav", riff::wave(1, 8000, 8, "changed"));
    file = mmioOpenA(path.data(), nullptr, MMIO_READ);
    tail.assign(7, '\0');
    mmioSeek(file, -8, SEEK_END);
    mmioRead(file, tail.data(), 7);
    EXPECT_EQ(tail, "changed");
    mmioClose(file, 0);
}

TEST(WaveFormatLayout, MatchesTheFileLayout) {
    EXPECT_EQ(sizeof(WAVEFORMATEX), 18u);
    EXPECT_EQ(offsetof(WAVEFORMATEX, nSamplesPerSec), 4u);
    EXPECT_EQ(offsetof(WAVEFORMATEX, nBlockAlign), 12u);
    EXPECT_EQ(offsetof(WAVEFORMATEX, cbSize), 16u);
    EXPECT_EQ(sizeof(PCMWAVEFORMAT), 16u);
    EXPECT_EQ(mmioFOURCC('R', 'I', 'F', 'F'), 0x46464952u);
}

}  // namespace
