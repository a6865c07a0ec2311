// Byte-stream files for the texture loaders.
#include "texture/byte_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/runtime.h"

namespace ziru::texture {

namespace {

// Large enough that a decoder's refills cost little against the bytes
// moved, small enough to stay in the second-level cache. Small files get a
// buffer of their own size, but never less than two of the largest packets a
// decoder peeks at.
constexpr std::size_t kBufferSize = 256 * 1024;
constexpr std::size_t kSmallestBuffer = 4096;

[[noreturn]] void IoError(const char* what) {
    std::string text = what;
    text += " (";
    text += std::strerror(errno);
    text += ")";
    runtime::RunError(text);
}

// One read() that retries interruptions; 0 at the end of the file.
std::size_t ReadSome(int handle, void* dest, std::size_t count) {
    for (;;) {
        ssize_t got = ::read(handle, dest, count);
        if (got >= 0) return static_cast<std::size_t>(got);
        if (errno != EINTR) IoError("disk read error");
    }
}

// Reads until COUNT bytes arrived or the file ended.
std::size_t ReadFully(ByteFile& file, std::uint8_t* dest, std::size_t count) {
    std::size_t done = 0;
    while (done < count && !file.ATEOF) {
        std::size_t got = ReadSome(file.HANDLE, dest + done, count - done);
        if (got == 0) file.ATEOF = true;
        done += got;
    }
    return done;
}

}  // namespace

bool FileExists(const char* name) {
    struct stat info;
    return ::stat(name, &info) == 0 && !S_ISDIR(info.st_mode);
}

bool OpenByteFile(ByteFile& file, const char* name) {
    int handle;
    do {
        handle = ::open(name, O_RDONLY | O_CLOEXEC);
    } while (handle < 0 && errno == EINTR);
    if (handle < 0) return false;
    struct stat info;
    if (::fstat(handle, &info) != 0 || S_ISDIR(info.st_mode)) {
        ::close(handle);
        return false;
    }
    std::size_t capacity = kBufferSize;
    if (S_ISREG(info.st_mode) && static_cast<std::uint64_t>(info.st_size) < kBufferSize)
        capacity = std::max(kSmallestBuffer, static_cast<std::size_t>(info.st_size) + 1);
    auto* buffer = static_cast<std::uint8_t*>(std::malloc(capacity));
    if (buffer == nullptr) {
        ::close(handle);
        return false;
    }
    file = ByteFile{};
    file.HANDLE = handle;
    file.SIZE = S_ISREG(info.st_mode) ? static_cast<std::int64_t>(info.st_size) : -1;
    file.BUFFER = buffer;
    file.BUFFERCAPACITY = capacity;
    return true;
}

std::size_t Peek(ByteFile& file, std::size_t count) {
    std::size_t have = file.BUFFEREND - file.BUFFERSTART;
    if (have >= count || file.ATEOF) return have < count ? have : count;
    // Move what is left to the front, then top the buffer up.
    std::memmove(file.BUFFER, file.BUFFER + file.BUFFERSTART, have);
    file.BUFFERSTART = 0;
    file.BUFFEREND = have;
    while (file.BUFFEREND < count && !file.ATEOF) {
        std::size_t got = ReadSome(file.HANDLE, file.BUFFER + file.BUFFEREND,
                                   file.BUFFERCAPACITY - file.BUFFEREND);
        if (got == 0) file.ATEOF = true;
        file.BUFFEREND += got;
    }
    have = file.BUFFEREND;
    return have < count ? have : count;
}

std::size_t ReadBytes(ByteFile& file, void* dest, std::size_t count) {
    auto* out = static_cast<std::uint8_t*>(dest);
    std::size_t have = file.BUFFEREND - file.BUFFERSTART;
    std::size_t done = have < count ? have : count;
    std::memcpy(out, file.BUFFER + file.BUFFERSTART, done);
    Consume(file, done);
    if (done == count) return done;
    std::size_t rest = count - done;
    if (rest >= file.BUFFERCAPACITY / 2) {
        // A large read goes straight to its destination, one copy less.
        std::size_t got = ReadFully(file, out + done, rest);
        file.POSITION += static_cast<std::int64_t>(got);
        return done + got;
    }
    std::size_t got = Peek(file, rest);
    std::memcpy(out + done, BufferedData(file), got);
    Consume(file, got);
    return done + got;
}

std::int64_t RemainingBytes(const ByteFile& file) {
    if (file.SIZE < 0) return -1;
    return file.SIZE > file.POSITION ? file.SIZE - file.POSITION : 0;
}

void CloseByteFile(ByteFile& file) {
    int handle = file.HANDLE;
    std::free(file.BUFFER);
    file = ByteFile{};
    if (handle >= 0 && ::close(handle) != 0 && errno != EINTR) IoError("file close error");
}

}  // namespace ziru::texture
