// Text from a file someone else made, fit for the player's terminal: a control byte in
// it could retitle the terminal or hide the rest of the line.
#pragma once

#include <string>

namespace velmora {

// `text` with every byte outside printable ASCII written as \xNN.
std::string printable(const std::string& text);

}  // namespace velmora
