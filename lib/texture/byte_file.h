// Byte-stream files for the texture loaders: an existence test, a read-only
// open, buffered reads that report short counts, and a close that happens
// exactly once. Depends on POSIX file calls and the run-time errors.
//
// Files are always opened read-only: a texture is never written, and a
// read-only file (or medium) must load whatever was opened before it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ziru::texture {

// True when NAME names an existing file that is not a directory.
bool FileExists(const char* name);

// An open file with a read-ahead buffer. HANDLE is -1 while closed.
struct ByteFile {
    int HANDLE = -1;
    // Size in bytes when the file is a regular file, -1 when unknown (pipes,
    // devices): the size lets a decoder refuse an image the file cannot fill
    // before it allocates it.
    std::int64_t SIZE = -1;
    // Bytes consumed so far (the file position as the reader sees it).
    std::int64_t POSITION = 0;
    std::uint8_t* BUFFER = nullptr;
    std::size_t BUFFERCAPACITY = 0;
    std::size_t BUFFERSTART = 0;
    std::size_t BUFFEREND = 0;
    bool ATEOF = false;
};

// Opens NAME read-only. False when it cannot be opened or is a directory.
bool OpenByteFile(ByteFile& file, const char* name);

// Reads up to COUNT bytes into DEST; returns how many arrived (fewer only at
// the end of the file). An error of the operating system is a run-time error.
std::size_t ReadBytes(ByteFile& file, void* dest, std::size_t count);

// Makes up to COUNT bytes readable in one piece at BufferedData() without
// consuming them; returns how many are there (fewer only at the end of the
// file). COUNT must not exceed 4096, the smallest buffer capacity.
std::size_t Peek(ByteFile& file, std::size_t count);
inline const std::uint8_t* BufferedData(const ByteFile& file) {
    return file.BUFFER + file.BUFFERSTART;
}
inline void Consume(ByteFile& file, std::size_t count) {
    file.BUFFERSTART += count;
    file.POSITION += static_cast<std::int64_t>(count);
}

// Bytes between the read position and the end of the file, -1 when unknown.
std::int64_t RemainingBytes(const ByteFile& file);

// Closes the file and frees its buffer. A close the operating system fails
// is a run-time error.
void CloseByteFile(ByteFile& file);

}  // namespace ziru::texture
