#include "RunDirCopy.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace fs = std::filesystem;

namespace robustness {

namespace {

std::vector<char> readAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFresh(const fs::path& file, const std::vector<char>& bytes) {
    fs::remove(file);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + file.string());
}

// Bytes that depend only on the file's name and length, so every run damages alike.
std::vector<char> garbageFor(const std::string& name, std::size_t size) {
    uint32_t state = 2166136261u;
    for (char c : name) state = (state ^ static_cast<unsigned char>(c)) * 16777619u;
    std::vector<char> bytes(size);
    for (char& byte : bytes) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<char>(state >> 24);
    }
    return bytes;
}

}  // namespace

const char* damageName(Damage damage) {
    switch (damage) {
        case Damage::Removed: return "Removed";
        case Damage::TruncatedToHalf: return "TruncatedToHalf";
        case Damage::FilledWithGarbage: return "FilledWithGarbage";
    }
    return "";
}

RunDirCopy::RunDirCopy(const std::string& runDir) : source_(runDir) {
    std::string pattern = (fs::temp_directory_path() / "velmora-robust-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
    path_ = pattern;
    for (const char* folder : {"data", "Shader"})
        fs::copy(fs::path(runDir) / folder, fs::path(path_) / folder, fs::copy_options::recursive);
}

RunDirCopy::~RunDirCopy() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

void RunDirCopy::damage(const std::string& relative, Damage damage) const {
    const fs::path target = fs::path(path_) / relative;
    std::vector<char> bytes = readAll(fs::path(source_) / relative);
    switch (damage) {
        case Damage::Removed: fs::remove(target); return;
        case Damage::TruncatedToHalf: bytes.resize(bytes.size() / 2); break;
        case Damage::FilledWithGarbage: bytes = garbageFor(relative, bytes.size()); break;
    }
    writeFresh(target, bytes);
}

void RunDirCopy::restore(const std::string& relative) const {
    writeFresh(fs::path(path_) / relative, readAll(fs::path(source_) / relative));
}

std::vector<std::string> gameFiles(const std::string& runDir) {
    std::vector<std::string> files;
    const fs::path root(runDir);
    if (fs::is_directory(root / "data")) {
        for (const auto& entry : fs::recursive_directory_iterator(root / "data"))
            if (entry.is_regular_file()) files.push_back(fs::relative(entry.path(), root).generic_string());
    }
    if (fs::is_regular_file(root / "Shader/Sample.fx")) files.push_back("Shader/Sample.fx");
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace robustness
