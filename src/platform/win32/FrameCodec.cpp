#include "FrameCodec.h"

#include <cstdint>

namespace velmora::win32 {

namespace {

// The first byte of a frame holds its four counts, two bits each; 3 means "3 or more",
// the rest following as a number of its own.
constexpr unsigned kShortCount = 3;

// 64 bits whatever the size of long (32 bits on Windows), so that a number above 32 bits
// is seen as damage.
void writeNumber(std::uint64_t value, std::vector<unsigned char>& out) {
    while (value >= 0x80) {
        out.push_back(static_cast<unsigned char>(value | 0x80));
        value >>= 7;
    }
    out.push_back(static_cast<unsigned char>(value));
}

bool readNumber(const unsigned char*& at, const unsigned char* end, std::uint64_t& value) {
    value = 0;
    for (int shift = 0; shift < 35; shift += 7) {
        if (at == end) return false;
        unsigned char byte = *at++;
        value |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
        if (!(byte & 0x80)) return value <= 0xFFFFFFFFu;
    }
    return false;
}

// Small steps either way take one byte.
void writeStep(std::int64_t step, std::vector<unsigned char>& out) {
    writeNumber(step < 0 ? (static_cast<std::uint64_t>(-(step + 1)) << 1) | 1 : static_cast<std::uint64_t>(step) << 1,
                out);
}

bool readStep(const unsigned char*& at, const unsigned char* end, std::int64_t& step) {
    std::uint64_t number = 0;
    if (!readNumber(at, end, number)) return false;
    step = (number & 1) ? -static_cast<std::int64_t>(number >> 1) - 1 : static_cast<std::int64_t>(number >> 1);
    return true;
}

void writeCountRest(size_t count, std::vector<unsigned char>& out) {
    if (count >= kShortCount) writeNumber(count - kShortCount, out);
}

bool readCount(unsigned shortCount, const unsigned char*& at, const unsigned char* end, size_t& count) {
    count = shortCount;
    if (shortCount < kShortCount) return true;
    std::uint64_t rest = 0;
    if (!readNumber(at, end, rest)) return false;
    count = kShortCount + rest;
    // Every entry takes at least a byte: a larger count is damage, not a long frame.
    return count <= static_cast<size_t>(end - at);
}

unsigned shortCount(size_t count) { return count < kShortCount ? static_cast<unsigned>(count) : kShortCount; }

}  // namespace

void FrameCodec::write(const FrameInput& frame, std::vector<unsigned char>& out) {
    std::bitset<FrameInput::kVirtualKeys> toggled = frame.keysDown ^ keys_;
    size_t toggles = toggled.count();
    out.push_back(static_cast<unsigned char>(shortCount(toggles) | shortCount(frame.times.size()) << 2 |
                                             shortCount(frame.cursors.size()) << 4 |
                                             shortCount(frame.answers.size()) << 6));
    writeCountRest(toggles, out);
    writeCountRest(frame.times.size(), out);
    writeCountRest(frame.cursors.size(), out);
    writeCountRest(frame.answers.size(), out);
    if (toggles)
        for (int key = 1; key < FrameInput::kVirtualKeys; ++key)
            if (toggled.test(static_cast<size_t>(key))) out.push_back(static_cast<unsigned char>(key));
    for (DWORD time : frame.times) {
        // The clock wraps: the step is the signed distance.
        writeStep(static_cast<int>(time - time_), out);
        time_ = time;
    }
    for (const POINT& cursor : frame.cursors) {
        writeStep(static_cast<std::int64_t>(cursor.x) - cursor_.x, out);
        writeStep(static_cast<std::int64_t>(cursor.y) - cursor_.y, out);
        cursor_ = cursor;
    }
    for (int answer : frame.answers) writeNumber(static_cast<unsigned>(answer), out);
    keys_ = frame.keysDown;
}

bool FrameCodec::read(const unsigned char*& at, const unsigned char* end, FrameInput& frame) {
    frame.clear();
    if (at == end) return false;
    unsigned counts = *at++;
    size_t toggles = 0, times = 0, cursors = 0, answers = 0;
    if (!readCount(counts & 3, at, end, toggles) || !readCount(counts >> 2 & 3, at, end, times) ||
        !readCount(counts >> 4 & 3, at, end, cursors) || !readCount(counts >> 6 & 3, at, end, answers))
        return false;
    if (toggles > static_cast<size_t>(end - at)) return false;
    for (size_t i = 0; i < toggles; ++i) {
        unsigned key = *at++;
        if (key == 0) return false;
        keys_.flip(key);
    }
    frame.keysDown = keys_;
    for (size_t i = 0; i < times; ++i) {
        std::int64_t step = 0;
        if (!readStep(at, end, step)) return false;
        time_ += static_cast<DWORD>(step);
        frame.times.push_back(time_);
    }
    for (size_t i = 0; i < cursors; ++i) {
        std::int64_t dx = 0, dy = 0;
        if (!readStep(at, end, dx) || !readStep(at, end, dy)) return false;
        cursor_.x += dx;
        cursor_.y += dy;
        frame.cursors.push_back(cursor_);
    }
    for (size_t i = 0; i < answers; ++i) {
        std::uint64_t answer = 0;
        if (!readNumber(at, end, answer)) return false;
        frame.answers.push_back(static_cast<int>(answer));
    }
    return true;
}

}  // namespace velmora::win32
