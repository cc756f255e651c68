// Where the seed tool puts its files: one folder per fuzz target under the output folder.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

class SeedWriter {
public:
    SeedWriter(const std::filesystem::path& root, const std::string& target);

    void write(const std::string& name, const Bytes& bytes) const;
    void write(const std::string& name, const std::string& text) const;

private:
    std::filesystem::path folder_;
};

Bytes readFile(const std::filesystem::path& path);
// The files under `folder` whose names end with one of `extensions`, in a stable order.
std::vector<std::filesystem::path> filesUnder(const std::filesystem::path& folder,
                                              const std::vector<std::string>& extensions);

// Little-endian appends, for the binary formats.
void put16(Bytes& out, uint32_t value);
void put32(Bytes& out, uint32_t value);
void putText(Bytes& out, const std::string& text);
