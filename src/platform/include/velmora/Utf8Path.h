// Paths as the platform layer holds them: UTF-8 strings, whatever the system. Every path
// turns into a std::filesystem::path or an open file here: from a plain std::string,
// mingw's library would read one byte per character on Windows ("José" becoming
// "JosÃ©"), and the narrow fopen takes UTF-8 only where the code page is UTF-8.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

namespace velmora {

std::filesystem::path pathFromUtf8(const std::string& utf8);
std::string utf8FromPath(const std::filesystem::path& path);

// std::fopen for a UTF-8 path (the wide _wfopen on Windows).
std::FILE* openFile(const std::string& path, const char* mode);

// A file to read that must be a regular one: a FIFO or a device in its place is refused
// without blocking on it. Null with the reason in `problem` (the system's word, or "not a
// regular file"); errno is ENOENT when there is no file at all.
std::FILE* openRegularFile(const std::string& path, std::string& problem);

}  // namespace velmora
