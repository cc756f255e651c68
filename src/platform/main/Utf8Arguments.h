// The program's arguments in UTF-8. Linux passes the bytes the player typed; Windows
// passes main() the arguments in the ANSI code page, which cannot hold every name
// ("ゲーム" on a Western system), so there they are read again as UTF-16 and converted.
#pragma once

#include <string>
#include <vector>

namespace velmora {

class Utf8Arguments {
public:
    Utf8Arguments(int argc, char** argv);

    int count() const { return static_cast<int>(pointers_.size()); }
    const char* const* values() const { return pointers_.data(); }

private:
    std::vector<std::string> arguments_;
    std::vector<const char*> pointers_;
};

}  // namespace velmora
