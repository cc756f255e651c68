// The compressed forms of a .x file ("tzip" and "bzip"): after the 16-byte header, a
// DWORD with the size of the whole uncompressed file (header included), then MSZIP blocks,
// each a WORD of its uncompressed size, a WORD of its compressed size and that many bytes:
// "CK" and raw deflate data. A block expands to at most 32 KiB, and the deflate history
// carries from one block into the next.
#pragma once

#include <cstddef>
#include <string>

namespace velmora::d3dx {

bool isCompressedXFile(const unsigned char* bytes, size_t size);

// The uncompressed twin: the same header with "txt " or "bin " in place of "tzip" or
// "bzip", then the body. False when any block is damaged or the sizes disagree.
bool decompressXFile(const unsigned char* bytes, size_t size, std::string& uncompressed);

}  // namespace velmora::d3dx
