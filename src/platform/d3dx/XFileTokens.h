// The tokens of a DirectX .x file, text or binary, in one form: names, strings, numbers
// (text as written, binary as read), braces and GUIDs. Separators, template keywords and
// other punctuation are of no interest to a reader of data objects and are left out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace velmora::d3dx {

struct XToken {
    enum class Kind { Name, String, NumberText, Integer, Float, OpenBrace, CloseBrace, Guid };
    Kind kind;
    std::string text;      // Name, String, NumberText
    uint32_t integer = 0;  // Integer
    float real = 0.0f;     // Float
};

// False for anything that is not a whole .x file ("txt ", "bin " or their compressed forms
// "tzip" and "bzip") whose tokens all make sense.
bool tokenizeXFile(const unsigned char* bytes, size_t size, std::vector<XToken>& tokens);

}  // namespace velmora::d3dx
