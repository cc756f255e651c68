#include "PlayDigests.h"

#include <windows.h>

#include <velmora/HeadlessInput.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "StateDigest.h"

namespace {

const char kMagic[4] = {'V', 'P', 'D', 'G'};
constexpr unsigned long long kLowBits = 0xFFFFFFFFull;
constexpr uintmax_t kHeaderBytes = sizeof kMagic + 4 + 8;  // the count, the final digest

void put(std::FILE* out, unsigned long long value, int bytes) {
    for (int i = 0; i < bytes; ++i) std::fputc(static_cast<int>(value >> (8 * i) & 0xFF), out);
}

bool get(std::FILE* in, unsigned long long& value, int bytes) {
    value = 0;
    for (int i = 0; i < bytes; ++i) {
        int byte = std::fgetc(in);
        if (byte == EOF) return false;
        value |= static_cast<unsigned long long>(byte) << (8 * i);
    }
    return true;
}

}  // namespace

PlayDigests PlayDigests::ofWinMain(const std::function<void(int frame, unsigned long long running)>& script) {
    PlayDigests digests;
    StateDigest digest;
    velmora::headless::onFrame([&](int frame) {
        digest.addFrame();
        digests.running_.push_back(digest.value());
        if (script) script(frame, digest.value());
    });
    static char module;
    char commandLine[] = "";
    WinMain(reinterpret_cast<HINSTANCE>(&module), nullptr, commandLine, SW_SHOWDEFAULT);
    velmora::headless::onFrame(nullptr);
    digests.final_ = digest.value();
    return digests;
}

int PlayDigests::firstDifference(const PlayDigests& expected) const {
    const size_t common = running_.size() < expected.running_.size() ? running_.size() : expected.running_.size();
    for (size_t frame = 0; frame < common; ++frame)
        if ((running_[frame] & kLowBits) != (expected.running_[frame] & kLowBits)) return static_cast<int>(frame);
    if (running_.size() != expected.running_.size()) return static_cast<int>(common);
    return final_ == expected.final_ ? -1 : static_cast<int>(common) - 1;
}

bool PlayDigests::save(const std::string& path) const {
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    std::fwrite(kMagic, 1, sizeof kMagic, out);
    put(out, running_.size(), 4);
    put(out, final_, 8);
    for (unsigned long long value : running_) put(out, value & kLowBits, 4);
    return std::fclose(out) == 0;
}

bool PlayDigests::load(const std::string& path, PlayDigests& digests) {
    // The count is checked against what the file holds before anything is allocated for it.
    std::error_code error;
    const uintmax_t size = std::filesystem::file_size(path, error);
    std::FILE* in = error ? nullptr : std::fopen(path.c_str(), "rb");
    if (!in) return false;
    char magic[sizeof kMagic];
    unsigned long long count = 0;
    bool good = std::fread(magic, 1, sizeof magic, in) == sizeof magic &&
                std::memcmp(magic, kMagic, sizeof magic) == 0 && get(in, count, 4) && get(in, digests.final_, 8) &&
                size == kHeaderBytes + count * 4;
    digests.running_.assign(good ? count : 0, 0);
    for (unsigned long long& value : digests.running_) good = good && get(in, value, 4);
    good = good && std::fgetc(in) == EOF;
    std::fclose(in);
    return good;
}
