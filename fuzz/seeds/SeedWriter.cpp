#include "SeedWriter.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

SeedWriter::SeedWriter(const std::filesystem::path& root, const std::string& target) : folder_(root / target) {
    std::filesystem::create_directories(folder_);
}

void SeedWriter::write(const std::string& name, const Bytes& bytes) const {
    std::ofstream out(folder_ / name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", (folder_ / name).c_str());
        std::exit(1);
    }
}

void SeedWriter::write(const std::string& name, const std::string& text) const {
    write(name, Bytes(text.begin(), text.end()));
}

Bytes readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::filesystem::path> filesUnder(const std::filesystem::path& folder,
                                              const std::vector<std::string>& extensions) {
    std::vector<std::filesystem::path> found;
    if (!std::filesystem::is_directory(folder)) return found;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        const std::string extension = entry.path().extension().string();
        if (std::find(extensions.begin(), extensions.end(), extension) != extensions.end())
            found.push_back(entry.path());
    }
    std::sort(found.begin(), found.end());
    return found;
}

void put16(Bytes& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void put32(Bytes& out, uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

void putText(Bytes& out, const std::string& text) { out.insert(out.end(), text.begin(), text.end()); }
