#include "XFileTokens.h"

#include "XFileDecompressor.h"
#include "XFileRefusal.h"

#include <cstring>

namespace velmora::d3dx {

namespace {

constexpr size_t kHeaderSize = 16;
// The game's largest mesh has 54,000 tokens; a file of nothing but braces would have one
// for each byte.
constexpr size_t kMaxTokens = 1 << 20;

bool tooManyTokens() { return refuseXFile("more than " + std::to_string(kMaxTokens) + " tokens, more than a mesh needs"); }

// The characters that end a text token (besides white space).
bool isDelimiter(unsigned char c) {
    return c == '{' || c == '}' || c == ',' || c == ';' || c == '"' || c == '<';
}

bool isSpace(unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

bool startsNumber(unsigned char c) { return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.'; }

bool tokenizeText(const unsigned char* p, const unsigned char* end, std::vector<XToken>& tokens) {
    // The body starts right after the 16 header bytes, on the same line or not.
    while (p < end) {
        if (tokens.size() == kMaxTokens) return tooManyTokens();
        const unsigned char c = *p;
        if (isSpace(c) || c == ',' || c == ';') {
            ++p;
        } else if (c == '#' || (c == '/' && p + 1 < end && p[1] == '/')) {
            while (p < end && *p != '\n') ++p;
        } else if (c == '{' || c == '}') {
            tokens.push_back({c == '{' ? XToken::Kind::OpenBrace : XToken::Kind::CloseBrace, {}});
            ++p;
        } else if (c == '"') {
            const unsigned char* close = static_cast<const unsigned char*>(std::memchr(p + 1, '"', end - p - 1));
            if (!close) return false;
            tokens.push_back({XToken::Kind::String, std::string(p + 1, close)});
            p = close + 1;
        } else if (c == '<') {
            const unsigned char* close = static_cast<const unsigned char*>(std::memchr(p + 1, '>', end - p - 1));
            if (!close) return false;
            tokens.push_back({XToken::Kind::Guid, {}});
            p = close + 1;
        } else {
            const unsigned char* start = p;
            while (p < end && !isSpace(*p) && !isDelimiter(*p)) ++p;
            tokens.push_back({startsNumber(c) ? XToken::Kind::NumberText : XToken::Kind::Name, std::string(start, p)});
        }
    }
    return true;
}

class BinaryReader {
public:
    BinaryReader(const unsigned char* p, const unsigned char* end) : p_(p), end_(end) {}
    bool atEnd() const { return p_ == end_; }
    size_t left() const { return static_cast<size_t>(end_ - p_); }
    bool word(uint32_t& value) { return take(2, value); }
    bool dword(uint32_t& value) { return take(4, value); }
    bool bytes(size_t count, std::string& out) {
        if (count > left()) return false;
        out.assign(p_, p_ + count);
        p_ += count;
        return true;
    }
    bool skip(size_t count) {
        if (count > left()) return false;
        p_ += count;
        return true;
    }
    bool real(size_t floatSize, float& value) {
        if (floatSize > left()) return false;
        if (floatSize == 8) {
            double wide;
            std::memcpy(&wide, p_, 8);
            value = static_cast<float>(wide);
        } else {
            std::memcpy(&value, p_, 4);
        }
        p_ += floatSize;
        return true;
    }

private:
    bool take(size_t count, uint32_t& value) {
        if (count > left()) return false;
        value = 0;
        for (size_t i = count; i-- > 0;) value = value << 8 | p_[i];
        p_ += count;
        return true;
    }
    const unsigned char* p_;
    const unsigned char* end_;
};

enum BinaryToken : uint32_t {
    kName = 1, kString = 2, kInteger = 3, kGuid = 5, kIntegerList = 6, kFloatList = 7,
    kOpenBrace = 0x0a, kCloseBrace = 0x0b, kFirstPunctuation = 0x0c, kLastPunctuation = 0x14,
    kTemplate = 0x1f, kFirstKeyword = 0x28, kLastKeyword = 0x34,
};

bool tokenizeBinary(BinaryReader in, size_t floatSize, std::vector<XToken>& tokens) {
    while (!in.atEnd()) {
        if (tokens.size() == kMaxTokens) return tooManyTokens();
        uint32_t code, count;
        if (!in.word(code)) return false;
        XToken token{XToken::Kind::Name, {}};
        switch (code) {
        case kName:
        case kString:
            if (!in.dword(count) || !in.bytes(count, token.text)) return false;
            // A string ends with a separator token.
            if (code == kString && !in.skip(2)) return false;
            token.kind = code == kName ? XToken::Kind::Name : XToken::Kind::String;
            tokens.push_back(std::move(token));
            break;
        case kInteger:
            token.kind = XToken::Kind::Integer;
            if (!in.dword(token.integer)) return false;
            tokens.push_back(std::move(token));
            break;
        case kGuid:
            if (!in.skip(16)) return false;
            tokens.push_back({XToken::Kind::Guid, {}});
            break;
        case kIntegerList:
            if (!in.dword(count) || count > in.left() / 4) return false;
            if (count > kMaxTokens - tokens.size()) return tooManyTokens();
            for (uint32_t i = 0; i < count; ++i) {
                XToken value{XToken::Kind::Integer, {}};
                in.dword(value.integer);
                tokens.push_back(std::move(value));
            }
            break;
        case kFloatList:
            if (!in.dword(count) || count > in.left() / floatSize) return false;
            if (count > kMaxTokens - tokens.size()) return tooManyTokens();
            for (uint32_t i = 0; i < count; ++i) {
                XToken value{XToken::Kind::Float, {}};
                in.real(floatSize, value.real);
                tokens.push_back(std::move(value));
            }
            break;
        case kOpenBrace:
        case kCloseBrace:
            tokens.push_back({code == kOpenBrace ? XToken::Kind::OpenBrace : XToken::Kind::CloseBrace, {}});
            break;
        case kTemplate:
            tokens.push_back({XToken::Kind::Name, "template"});
            break;
        default:
            // Other punctuation and the keywords of template declarations.
            if (!(code >= kFirstPunctuation && code <= kLastPunctuation) && !(code >= kFirstKeyword && code <= kLastKeyword))
                return false;
        }
    }
    return true;
}

}  // namespace

bool tokenizeXFile(const unsigned char* bytes, size_t size, std::vector<XToken>& tokens) {
    tokens.clear();
    if (isCompressedXFile(bytes, size)) {
        std::string uncompressed;
        return decompressXFile(bytes, size, uncompressed) &&
               tokenizeXFile(reinterpret_cast<const unsigned char*>(uncompressed.data()), uncompressed.size(), tokens);
    }
    if (size < kHeaderSize || std::memcmp(bytes, "xof ", 4) != 0) return false;
    const unsigned char* body = bytes + kHeaderSize;
    const unsigned char* end = bytes + size;
    const bool text = std::memcmp(bytes + 8, "txt ", 4) == 0;
    if (!text && std::memcmp(bytes + 8, "bin ", 4) != 0) return false;
    size_t floatSize;
    if (std::memcmp(bytes + 12, "0032", 4) == 0) floatSize = 4;
    else if (std::memcmp(bytes + 12, "0064", 4) == 0) floatSize = 8;
    else return false;
    return text ? tokenizeText(body, end, tokens) : tokenizeBinary(BinaryReader(body, end), floatSize, tokens);
}

}  // namespace velmora::d3dx
