#include "import/input_stream.h"

#include <cstring>

#include "import/importer_context.h"

namespace LW {

InputStream::InputStream(std::vector<uint8_t> buffer, size_t size)
    : buffer_(std::move(buffer)), size_(size < buffer_.size() ? size : buffer_.size()), limit_(size_)
{
}

const uint8_t* InputStream::take(size_t count)
{
    if (count > remaining())
        loadFailuref("Unexpected end of data at offset %zu.", position_);
    const uint8_t* at = buffer_.data() + position_;
    position_ += count;
    return at;
}

uint32_t InputStream::readU4()
{
    const uint8_t* b = take(4);
    return uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | b[3];
}

uint16_t InputStream::readU2()
{
    const uint8_t* b = take(2);
    return static_cast<uint16_t>(b[0] << 8 | b[1]);
}

float InputStream::readF4()
{
    const uint32_t bits = readU4();
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

uint32_t InputStream::readVX()
{
    if (remaining() >= 1 && buffer_[position_] == 0xFF)
        return readU4() & 0xFFFFFFu;
    return readU2();
}

std::string InputStream::readS0()
{
    const uint8_t* begin = buffer_.data() + position_;
    const void* zero = std::memchr(begin, 0, remaining());
    if (!zero)
        loadFailuref("Text without terminator at offset %zu.", position_);
    const size_t length = static_cast<size_t>(static_cast<const uint8_t*>(zero) - begin);
    std::string text(reinterpret_cast<const char*>(begin), length);
    // The pad byte of an odd-length text may be missing at the very end of a chunk.
    const size_t stored = length + 1 + ((length + 1) % 2);
    position_ += stored <= remaining() ? stored : length + 1;
    return text;
}

void InputStream::seek(size_t position)
{
    if (position > limit_)
        loadFailuref("Seek past the end of the data (offset %zu).", position);
    position_ = position;
}

InputStream::Scope::Scope(InputStream& stream, size_t end, uint32_t chunkId) : stream_(stream), previous_(stream.limit_)
{
    if (end > stream.limit_ || end < stream.position_)
        loadFailuref("Chunk %s runs past the end of its container (offset %zu).", IdText(chunkId).c_str(),
                     stream.position_);
    stream.limit_ = end;
}

} // namespace LW
