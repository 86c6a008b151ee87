#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace LW {

// A cursor over a whole file in memory, reading the big-endian values of IFF
// files. Every read stays below the current limit (the end of the chunk being
// read, or of the data); one that would cross it fails the load instead.
class InputStream {
public:
    // `size` bytes of `buffer` are data; the buffer may hold a terminator after them.
    InputStream(std::vector<uint8_t> buffer, size_t size);
    virtual ~InputStream() = default;

    uint32_t readID4() { return readU4(); }
    uint32_t readU4();
    uint16_t readU2();
    float readF4();
    // 2 bytes, or 4 when the first is 0xFF (then the 24 bits after it).
    uint32_t readVX();
    // Up to and including a zero byte, plus a pad byte to an even length.
    std::string readS0();

    size_t tell() const { return position_; }
    void seek(size_t position);
    size_t size() const { return size_; }
    size_t limit() const { return limit_; }
    size_t remaining() const { return limit_ - position_; }
    const uint8_t* data() const { return buffer_.data(); }

    // Reads are confined to [cursor, end) for the scope's lifetime; an end
    // beyond the current limit fails the load.
    class Scope {
    public:
        Scope(InputStream& stream, size_t end, uint32_t chunkId);
        ~Scope() { stream_.limit_ = previous_; }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        InputStream& stream_;
        size_t previous_;
    };

private:
    const uint8_t* take(size_t count);

    std::vector<uint8_t> buffer_;
    size_t size_;
    size_t position_ = 0;
    size_t limit_;
};

} // namespace LW
