#include "ReplayFile.h"

#include "FrameCodec.h"

#include <cstdio>
#include <cstring>

namespace velmora::win32 {

namespace {

const char kMagic[8] = {'V', 'E', 'L', 'M', 'R', 'P', 'L', 'Y'};
constexpr size_t kMaxVersionLength = 255;
constexpr size_t kChecksumBytes = 8;

unsigned long long checksum(const unsigned char* data, size_t size) {
    unsigned long long hash = 14695981039346656037ull;
    for (size_t i = 0; i < size; ++i) hash = (hash ^ data[i]) * 1099511628211ull;
    return hash;
}

void putNumber(unsigned long long value, int bytes, std::vector<unsigned char>& out) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

unsigned long long getNumber(const unsigned char* at, int bytes) {
    unsigned long long value = 0;
    for (int i = 0; i < bytes; ++i) value |= static_cast<unsigned long long>(at[i]) << (8 * i);
    return value;
}

}  // namespace

const char* ReplayFile::currentGameVersion() { return VELMORA_VERSION; }

std::vector<unsigned char> ReplayFile::bytes() const {
    std::vector<unsigned char> out(kMagic, kMagic + sizeof kMagic);
    putNumber(kFormatVersion, 2, out);
    size_t versionLength = gameVersion.size() < kMaxVersionLength ? gameVersion.size() : kMaxVersionLength;
    out.push_back(static_cast<unsigned char>(versionLength));
    out.insert(out.end(), gameVersion.begin(), gameVersion.begin() + static_cast<long>(versionLength));
    putNumber(clockStart, 4, out);
    putNumber(frames, 4, out);
    putNumber(body.size(), 4, out);
    out.insert(out.end(), body.begin(), body.end());
    putNumber(checksum(out.data(), out.size()), static_cast<int>(kChecksumBytes), out);
    return out;
}

bool ReplayFile::fromBytes(const std::vector<unsigned char>& bytes, ReplayFile& file, std::string& problem) {
    const unsigned char* data = bytes.data();
    const size_t size = bytes.size();
    if (size < sizeof kMagic || std::memcmp(data, kMagic, sizeof kMagic) != 0) {
        problem = "not a Velmora replay";
        return false;
    }
    size_t at = sizeof kMagic;
    if (size < at + 3) {
        problem = "truncated: the header is cut short";
        return false;
    }
    unsigned long long format = getNumber(data + at, 2);
    if (format != kFormatVersion) {
        problem = "replay format " + std::to_string(format) + ", this game reads format " +
                  std::to_string(kFormatVersion);
        return false;
    }
    size_t versionLength = data[at + 2];
    at += 3;
    const size_t headerEnd = at + versionLength + 12;
    if (size < headerEnd) {
        problem = "truncated: the header is cut short";
        return false;
    }
    std::string version(reinterpret_cast<const char*>(data + at), versionLength);
    at += versionLength;
    DWORD clockStart = static_cast<DWORD>(getNumber(data + at, 4));
    unsigned long frames = static_cast<unsigned long>(getNumber(data + at + 4, 4));
    size_t bodySize = static_cast<size_t>(getNumber(data + at + 8, 4));
    at = headerEnd;
    const size_t expected = at + bodySize + kChecksumBytes;
    if (size < expected) {
        problem = "truncated: " + std::to_string(size) + " of " + std::to_string(expected) + " bytes";
        return false;
    }
    if (size > expected) {
        problem = "damaged: " + std::to_string(size - expected) + " bytes after the end";
        return false;
    }
    if (checksum(data, at + bodySize) != getNumber(data + at + bodySize, kChecksumBytes)) {
        problem = "damaged: the checksum does not match";
        return false;
    }
    if (version != currentGameVersion()) {
        problem = "recorded by velmora " + version + ", this is velmora " + currentGameVersion();
        return false;
    }

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
    return true;
}

bool ReplayFile::save(const std::string& path, std::string& problem) const {
    std::vector<unsigned char> out = bytes();
    std::FILE* stream = std::fopen(path.c_str(), "wb");
    if (!stream) {
        problem = "cannot create " + path;
        return false;
    }
    bool written = std::fwrite(out.data(), 1, out.size(), stream) == out.size();
    if (std::fclose(stream) != 0) written = false;
    if (!written) problem = "cannot write " + path;
    return written;
}

bool ReplayFile::load(const std::string& path, ReplayFile& file, std::string& problem) {
    std::FILE* stream = std::fopen(path.c_str(), "rb");
    if (!stream) {
        problem = "cannot open " + path;
        return false;
    }
    std::vector<unsigned char> bytes;
    unsigned char buffer[65536];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, stream)) > 0) bytes.insert(bytes.end(), buffer, buffer + got);
    bool failed = std::ferror(stream) != 0;
    std::fclose(stream);
    if (failed) {
        problem = "cannot read " + path;
        return false;
    }
    return fromBytes(bytes, file, problem);
}

}  // namespace velmora::win32
