// Reads the format and the PCM data of a RIFF WAVE file through the multimedia I/O
// functions. Lives only while one sound is loaded.
#pragma once

#include <windows.h>
#include <mmsystem.h>

class WaveFile {
public:
    WaveFile();
    ~WaveFile();
    WaveFile(const WaveFile&) = delete;
    WaveFile& operator=(const WaveFile&) = delete;

    // Reads the format and finds the "data" chunk.
    HRESULT open(const char* fileName);
    // Reads up to byteCount bytes of the data chunk, never past its end.
    HRESULT read(DWORD byteCount, BYTE* destination, DWORD* bytesRead);
    void close();

    WAVEFORMATEX* format;  // 18 bytes plus cbSize extra bytes; null when not read
    HMMIO file;
    MMCKINFO dataChunk;    // cksize counts the data bytes not yet read
    MMCKINFO riffChunk;

private:
    HRESULT readFormat();
};
