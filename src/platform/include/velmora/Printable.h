// Text from a file someone else made, fit for the player's terminal: a control byte in
// it could retitle the terminal or hide the rest of the line.
#pragma once

#include <string>

namespace velmora {

// `text` with every byte outside printable ASCII written as \xNN.
std::string printable(const std::string& text);

// A file's or folder's name, which may well be in any language: well-formed UTF-8 letters
// stay as they are, control characters (C1 ones too) and stray bytes are written as \xNN.
std::string printablePath(const std::string& path);

}  // namespace velmora
