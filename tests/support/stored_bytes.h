#pragma once
// Stored forms written out by hand, field by field, the way the format
// tables give them: little-endian fixed-width values, packed unsigned
// numbers (seven bits a byte, lowest group first, bit 7 set on the last
// byte), zero-terminated strings and frame headers.
//
//   StoredBytes expected;
//   expected.frame("class Surface").string("stone").f32(1).f32(0.5f).f32(0).f32(2).packed(0);

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

class StoredBytes {
public:
    StoredBytes& byte(uint8_t value)
    {
        bytes_.push_back(value);
        return *this;
    }
    StoredBytes& u16(uint16_t value) { return little(value, 2); }
    StoredBytes& i16(int16_t value) { return little(uint16_t(value), 2); }
    StoredBytes& i32(int32_t value) { return little(uint32_t(value), 4); }
    StoredBytes& f32(float value)
    {
        uint32_t bits;
        std::memcpy(&bits, &value, 4);
        return little(bits, 4);
    }
    StoredBytes& vec3(float x, float y, float z) { return f32(x).f32(y).f32(z); }
    StoredBytes& packed(uint32_t value)
    {
        for (;;) {
            const bool last = value < 128;
            byte(uint8_t((value & 0x7F) | (last ? 0x80 : 0)));
            if (last)
                return *this;
            value >>= 7;
        }
    }
    StoredBytes& string(const std::string& text)
    {
        bytes_.insert(bytes_.end(), text.begin(), text.end());
        return byte(0);
    }
    // A nested object's header: its class name and version 0.
    StoredBytes& frame(const std::string& className) { return string(className).u16(0); }
    // A bounding box: the empty flag, then the minimum and maximum corners.
    StoredBytes& box(bool empty, const float min[3], const float max[3])
    {
        byte(empty ? 1 : 0);
        return vec3(min[0], min[1], min[2]).vec3(max[0], max[1], max[2]);
    }
    StoredBytes& raw(const std::vector<uint8_t>& more)
    {
        bytes_.insert(bytes_.end(), more.begin(), more.end());
        return *this;
    }

    const std::vector<uint8_t>& bytes() const { return bytes_; }

private:
    StoredBytes& little(uint32_t value, int count)
    {
        for (int i = 0; i < count; ++i)
            byte(uint8_t(value >> (8 * i)));
        return *this;
    }

    std::vector<uint8_t> bytes_;
};
