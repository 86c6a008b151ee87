#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

// A little-endian byte stream. Typed transfers move the value's bytes in
// memory order, except `unsigned int`, which uses the packed encoding
// (7 bits per byte, lowest group first, bit 7 set on the last byte).
// A typed read that comes short throws persistent::truncated.
class pstream {
public:
    virtual ~pstream() = default;

    pstream& read(double& v);
    pstream& read(float& v);
    pstream& read(unsigned int& v);  // packed
    pstream& read(int& v);
    pstream& read(unsigned short& v);
    pstream& read(short& v);
    pstream& read(unsigned char& v);
    pstream& read(char& v);
    pstream& read(bool& v);

    pstream& write(double v);
    pstream& write(float v);
    pstream& write(unsigned int v);  // packed
    pstream& write(int v);
    pstream& write(unsigned short v);
    pstream& write(short v);
    pstream& write(unsigned char v);
    pstream& write(char v);
    pstream& write(bool v);

    // Whole elements transferred.
    virtual size_t raw_write(const void* data, size_t elementSize, size_t count) = 0;
    virtual size_t raw_read(void* data, size_t elementSize, size_t count) = 0;

    // Bytes left to read, so that readers never allocate more than the
    // input could hold.
    virtual size_t remaining() const = 0;

private:
    void read_exactly(void* data, size_t size);
};

// A stream over a C file that the caller opened and closes.
class file_pstream : public pstream {
public:
    explicit file_pstream(FILE* file);
    size_t raw_write(const void* data, size_t elementSize, size_t count) override;
    size_t raw_read(void* data, size_t elementSize, size_t count) override;
    size_t remaining() const override;

private:
    static constexpr size_t kUnknownSize = static_cast<size_t>(-1);
    FILE* file_;
    size_t size_ = kUnknownSize;
};

// A stream over bytes in memory: reads from the given bytes, writes append.
class memory_pstream : public pstream {
public:
    memory_pstream() = default;
    memory_pstream(const uint8_t* data, size_t size) : bytes_(data, data + size) {}
    explicit memory_pstream(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}

    size_t raw_write(const void* data, size_t elementSize, size_t count) override;
    size_t raw_read(void* data, size_t elementSize, size_t count) override;
    size_t remaining() const override { return bytes_.size() - position_; }

    const std::vector<uint8_t>& bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
    size_t position_ = 0;
};
