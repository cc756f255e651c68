#include "ReplayFile.h"

#include "FrameCodec.h"
#include "velmora/Printable.h"

#include "velmora/Utf8Path.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace velmora::win32 {

namespace {

const char kMagic[8] = {'V', 'E', 'L', 'M', 'R', 'P', 'L', 'Y'};
constexpr unsigned kFirstFormat = 1;
constexpr size_t kMaxVersionLength = 255;
constexpr size_t kChecksumBytes = 8;
// The magic, the format and the version's length; after the version, the clock's start
// and (format 1) the frame count and the body's size.
constexpr size_t kFixedHeaderBytes = sizeof kMagic + 3;
constexpr size_t kClockBytes = 4;
constexpr size_t kCountBytes = 12;
constexpr size_t kLongestHeader = kFixedHeaderBytes + kMaxVersionLength + kCountBytes;
// The end after the zero length: the frame count and the checksum.
constexpr size_t kEndBytes = 4 + kChecksumBytes;
// Weeks of play; a larger file is not a recording, and is not read into memory.
constexpr unsigned long long kMaxFileBytes = 256ull << 20;

void putNumber(unsigned long long value, int bytes, std::vector<unsigned char>& out) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

unsigned long long getNumber(const unsigned char* at, int bytes) {
    unsigned long long value = 0;
    for (int i = 0; i < bytes; ++i) value |= static_cast<unsigned long long>(at[i]) << (8 * i);
    return value;
}

// A frame's length: seven bits a byte, the shortest way only, so that a file read comes
// back byte for byte when written again. False when the file ends inside it.
bool readLength(const unsigned char*& at, const unsigned char* end, size_t& length, bool& wellFormed) {
    length = 0;
    wellFormed = true;
    for (int shift = 0; shift < 35; shift += 7) {
        if (at == end) return false;
        const unsigned char byte = *at++;
        length |= static_cast<size_t>(byte & 0x7F) << shift;
        if (!(byte & 0x80)) {
            wellFormed = shift == 0 || byte != 0;
            return true;
        }
    }
    wellFormed = false;
    return true;
}

bool sizeMatches(unsigned long long size, unsigned long long expected, std::string& problem) {
    if (size < expected) problem = "truncated: " + std::to_string(size) + " of " + std::to_string(expected) + " bytes";
    if (size > expected) problem = "damaged: " + std::to_string(size - expected) + " bytes after the end";
    return size == expected;
}

// The format of a file starting with these bytes, 0 with the reason when it is not one
// this game reads.
unsigned formatOf(const unsigned char* data, size_t size, std::string& problem) {
    if (size < sizeof kMagic || std::memcmp(data, kMagic, sizeof kMagic) != 0) {
        problem = "not a Velmora replay";
        return 0;
    }
    if (size < kFixedHeaderBytes) {
        problem = "truncated: the header is cut short";
        return 0;
    }
    const unsigned long long format = getNumber(data + sizeof kMagic, 2);
    if (format < kFirstFormat || format > ReplayFile::kFormatVersion) {
        problem = "replay format " + std::to_string(format) + ", this game reads formats " + std::to_string(kFirstFormat) +
                  " to " + std::to_string(ReplayFile::kFormatVersion);
        return 0;
    }
    return static_cast<unsigned>(format);
}

// Format 1: the whole file's size that its header implies; 0 with the reason.
unsigned long long firstFormatSize(const unsigned char* data, size_t size, std::string& problem) {
    const size_t headerEnd = kFixedHeaderBytes + data[sizeof kMagic + 2] + kCountBytes;
    if (size < headerEnd) {
        problem = "truncated: the header is cut short";
        return 0;
    }
    return headerEnd + getNumber(data + headerEnd - 4, 4) + kChecksumBytes;
}

bool versionMatches(const std::string& version, std::string& problem) {
    if (version == ReplayFile::currentGameVersion()) return true;
    // Someone else's file: its version could hold terminal controls.
    problem = "recorded by velmora " + printable(version) + ", this is velmora " + ReplayFile::currentGameVersion();
    return false;
}

bool fromFirstFormat(const std::vector<unsigned char>& bytes, ReplayFile& file, std::string& problem) {
    const unsigned char* data = bytes.data();
    const size_t size = bytes.size();
    const unsigned long long expected = firstFormatSize(data, size, problem);
    if (expected == 0 || !sizeMatches(size, expected, problem)) return false;
    const size_t versionLength = data[sizeof kMagic + 2];
    size_t at = kFixedHeaderBytes;
    std::string version(reinterpret_cast<const char*>(data + at), versionLength);
    at += versionLength;
    DWORD clockStart = static_cast<DWORD>(getNumber(data + at, 4));
    unsigned long frames = static_cast<unsigned long>(getNumber(data + at + 4, 4));
    size_t bodySize = static_cast<size_t>(getNumber(data + at + 8, 4));
    at += kCountBytes;
    if (ReplayFile::checksum(data, at + bodySize) != getNumber(data + at + bodySize, kChecksumBytes)) {
        problem = "damaged: the checksum does not match";
        return false;
    }
    if (!versionMatches(version, problem)) return false;

    // Decode every frame now, so that a bad one is found before the first is played.
    FrameCodec codec(clockStart);
    FrameInput frame;
    const unsigned char* cursor = data + at;
    const unsigned char* end = cursor + bodySize;
    for (unsigned long i = 0; i < frames; ++i) {
        if (!codec.read(cursor, end, frame)) {
            problem = "damaged: frame " + std::to_string(i) + " of " + std::to_string(frames) + " cannot be read";
            return false;
        }
    }
    if (cursor != end) {
        problem = "damaged: data after the last frame";
        return false;
    }
    file.gameVersion = version;
    file.clockStart = clockStart;
    file.frames = frames;
    file.body.assign(data + at, end);
    file.cut = false;
    return true;
}

bool fromStreamedFormat(const std::vector<unsigned char>& bytes, ReplayFile& file, std::string& problem) {
    const unsigned char* data = bytes.data();
    const unsigned char* end = data + bytes.size();
    const size_t versionLength = data[sizeof kMagic + 2];
    if (bytes.size() < kFixedHeaderBytes + versionLength + kClockBytes) {
        problem = "truncated: the header is cut short";
        return false;
    }
    const std::string version(reinterpret_cast<const char*>(data + kFixedHeaderBytes), versionLength);
    if (!versionMatches(version, problem)) return false;
    const DWORD clockStart = static_cast<DWORD>(getNumber(data + kFixedHeaderBytes + versionLength, 4));

    // Decode every frame now, so that a bad one is found before the first is played.
    FrameCodec codec(clockStart);
    FrameInput frame;
    std::vector<unsigned char> body;
    unsigned long frames = 0;
    const unsigned char* at = data + kFixedHeaderBytes + versionLength + kClockBytes;
    bool cut = true;
    for (;;) {
        const unsigned char* start = at;
        size_t length = 0;
        bool wellFormed = true;
        if (!readLength(at, end, length, wellFormed)) break;
        if (!wellFormed) {
            problem = "damaged: frame " + std::to_string(frames) + " has a bad length";
            return false;
        }
        if (length == 0) {
            if (static_cast<size_t>(end - at) < kEndBytes) break;
            if (ReplayFile::checksum(data, static_cast<size_t>(at + 4 - data)) != getNumber(at + 4, kChecksumBytes)) {
                problem = "damaged: the checksum does not match";
                return false;
            }
            if (getNumber(at, 4) != frames) {
                problem = "damaged: its end counts " + std::to_string(getNumber(at, 4)) + " frames, it holds " +
                          std::to_string(frames);
                return false;
            }
            at += kEndBytes;
            if (at != end) {
                problem = "damaged: " + std::to_string(end - at) + " bytes after the end";
                return false;
            }
            cut = false;
            break;
        }
        if (length > static_cast<size_t>(end - at)) {
            at = start;
            break;
        }
        const unsigned char* frameEnd = at + length;
        const unsigned char* read = at;
        if (!codec.read(read, frameEnd, frame) || read != frameEnd) {
            problem = "damaged: frame " + std::to_string(frames) + " cannot be read";
            return false;
        }
        body.insert(body.end(), at, frameEnd);
        at = frameEnd;
        ++frames;
    }
    file.gameVersion = version;
    file.clockStart = clockStart;
    file.frames = frames;
    file.body = std::move(body);
    file.cut = cut;
    return true;
}

}  // namespace

const char* ReplayFile::currentGameVersion() { return VELMORA_VERSION; }

unsigned long long ReplayFile::checksum(const unsigned char* data, size_t size, unsigned long long sum) {
    for (size_t i = 0; i < size; ++i) sum = (sum ^ data[i]) * 1099511628211ull;
    return sum;
}

std::vector<unsigned char> ReplayFile::header(const std::string& gameVersion, DWORD clockStart) {
    std::vector<unsigned char> out(kMagic, kMagic + sizeof kMagic);
    putNumber(kFormatVersion, 2, out);
    size_t versionLength = gameVersion.size() < kMaxVersionLength ? gameVersion.size() : kMaxVersionLength;
    out.push_back(static_cast<unsigned char>(versionLength));
    out.insert(out.end(), gameVersion.begin(), gameVersion.begin() + static_cast<long>(versionLength));
    putNumber(clockStart, 4, out);
    return out;
}

void ReplayFile::appendFrame(const std::vector<unsigned char>& frame, std::vector<unsigned char>& out) {
    size_t length = frame.size();
    while (length >= 0x80) {
        out.push_back(static_cast<unsigned char>(length | 0x80));
        length >>= 7;
    }
    out.push_back(static_cast<unsigned char>(length));
    out.insert(out.end(), frame.begin(), frame.end());
}

void ReplayFile::appendEnd(unsigned long frames, unsigned long long sum, std::vector<unsigned char>& out) {
    const size_t start = out.size();
    out.push_back(0);
    putNumber(frames, 4, out);
    putNumber(checksum(out.data() + start, out.size() - start, sum), static_cast<int>(kChecksumBytes), out);
}

std::vector<unsigned char> ReplayFile::bytes() const {
    std::vector<unsigned char> out = header(gameVersion, clockStart);
    // The frames' lengths, found as the player finds them.
    FrameCodec codec(clockStart);
    FrameInput frame;
    const unsigned char* at = body.data();
    for (unsigned long i = 0; i < frames; ++i) {
        const unsigned char* start = at;
        codec.read(at, body.data() + body.size(), frame);
        appendFrame(std::vector<unsigned char>(start, at), out);
    }
    appendEnd(frames, checksum(out.data(), out.size()), out);
    return out;
}

bool ReplayFile::fromBytes(const std::vector<unsigned char>& bytes, ReplayFile& file, std::string& problem) {
    const unsigned format = formatOf(bytes.data(), bytes.size(), problem);
    if (format == kFirstFormat) return fromFirstFormat(bytes, file, problem);
    return format != 0 && fromStreamedFormat(bytes, file, problem);
}

bool ReplayFile::save(const std::string& path, std::string& problem) const {
    std::vector<unsigned char> out = bytes();
    std::FILE* stream = openFile(path, "wb");
    if (!stream) {
        problem = printablePath(path) + ": " + std::strerror(errno);
        return false;
    }
    bool written = std::fwrite(out.data(), 1, out.size(), stream) == out.size();
    if (!written) problem = printablePath(path) + ": " + std::strerror(errno);
    if (std::fclose(stream) != 0 && written) {
        problem = printablePath(path) + ": " + std::strerror(errno);
        written = false;
    }
    return written;
}

// Someone else's file may be anything: only a regular file is read, of exactly the size
// a first-format header implies, or not larger than a recording can be.
bool ReplayFile::load(const std::string& path, ReplayFile& file, std::string& problem) {
    std::FILE* stream = openRegularFile(path, problem);
    if (!stream) return false;
    std::error_code error;
    const uintmax_t fileSize = std::filesystem::file_size(pathFromUtf8(path), error);
    std::vector<unsigned char> bytes(kLongestHeader);
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), stream));
    const unsigned format = error ? 0 : formatOf(bytes.data(), bytes.size(), problem);
    if (error) problem = error.message();
    unsigned long long expected = 0;
    if (format == kFirstFormat) {
        expected = firstFormatSize(bytes.data(), bytes.size(), problem);
        if (expected != 0 && !sizeMatches(fileSize, expected, problem)) expected = 0;
    } else if (format != 0) {
        expected = fileSize;
        if (expected > kMaxFileBytes) {
            problem = "larger than " + std::to_string(kMaxFileBytes >> 20) + " MiB, not a recording";
            expected = 0;
        }
    }
    if (expected != 0) {
        // A file of this size exists, so its size fits a size_t.
        const size_t total = static_cast<size_t>(expected), header = std::min(bytes.size(), total);
        bytes.resize(total);
        if (std::fread(bytes.data() + header, 1, total - header, stream) != total - header) {
            problem = std::strerror(errno);
            expected = 0;
        }
    }
    std::fclose(stream);
    return expected != 0 && fromBytes(bytes, file, problem);
}

}  // namespace velmora::win32
