#include "persist/encoding.h"

void io(pstream& s, bool write, std::string& value)
{
    if (write) {
        s.raw_write(value.c_str(), 1, value.size() + 1);
        return;
    }
    std::string text;
    for (char c; s.read(c), c != '\0';)
        text += c;
    value = std::move(text);
}

void io(pstream& s, bool write, Vector3f& value)
{
    io(s, write, value.x);
    io(s, write, value.y);
    io(s, write, value.z);
}

void io(pstream& s, bool write, BoundingBox& value)
{
    bool empty = value.empty;
    Vector3f min = value.min, max = value.max;
    io(s, write, empty);
    io(s, write, min);
    io(s, write, max);
    if (!write) {
        value = BoundingBox();
        if (!empty) {
            value.extend(min);
            value.extend(max);
        }
    }
}

void io_colour(pstream& s, bool write, float colour[4])
{
    for (int i = 0; i < 4; ++i)
        io(s, write, colour[i]);
}

unsigned int read_count(pstream& s, size_t minimumBytesEach)
{
    unsigned int count;
    s.read(count);
    if (minimumBytesEach && count > s.remaining() / minimumBytesEach)
        throw persistent::bad_data;
    return count;
}

void io_index_list(pstream& s, bool write, std::vector<unsigned int>& values)
{
    if (write) {
        s.write(static_cast<unsigned int>(values.size()));
        for (size_t i = 0; i < values.size(); ++i) {
            if (i == 0)
                s.write(values[0]);
            else
                s.write(static_cast<int>(values[i] - values[i - 1]));
        }
        return;
    }
    unsigned int count = read_count(s, 1);
    std::vector<unsigned int> read(count);
    for (unsigned int i = 0; i < count; ++i) {
        if (i == 0) {
            s.read(read[0]);
        } else {
            int delta;
            s.read(delta);
            read[i] = read[i - 1] + static_cast<unsigned int>(delta);
        }
    }
    values = std::move(read);
}

void io_short_index_list(pstream& s, bool write, std::vector<unsigned short>& values)
{
    if (write) {
        s.write(static_cast<unsigned int>(values.size()));
        for (size_t i = 0; i < values.size(); ++i) {
            if (i == 0)
                s.write(values[0]);
            else
                s.write(static_cast<short>(values[i] - values[i - 1]));
        }
        return;
    }
    unsigned int count = read_count(s, 2);
    std::vector<unsigned short> read(count);
    for (unsigned int i = 0; i < count; ++i) {
        if (i == 0) {
            s.read(read[0]);
        } else {
            short delta;
            s.read(delta);
            read[i] = static_cast<unsigned short>(read[i - 1] + delta);
        }
    }
    values = std::move(read);
}
