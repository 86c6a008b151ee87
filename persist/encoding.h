#pragma once
// The encodings that serialize operations share, each for both directions.

#include <string>
#include <vector>

#include "math/bounding_box.h"
#include "math/vector3.h"
#include "persist/factory.h"
#include "persist/persistent.h"
#include "persist/pstream.h"

// Any fixed-width value, or a packed unsigned for `unsigned int`.
template <typename T>
inline void io(pstream& s, bool write, T& value)
{
    if (write)
        s.write(value);
    else
        s.read(value);
}

// Characters then one zero byte.
void io(pstream& s, bool write, std::string& value);
// x, y, z as three floats.
void io(pstream& s, bool write, Vector3f& value);
// bool empty, then the minimum and maximum corners. A reader starts from an
// empty box and extends it by both corners unless the flag is set.
void io(pstream& s, bool write, BoundingBox& value);
// Four floats: red, green, blue, alpha.
void io_colour(pstream& s, bool write, float colour[4]);

// Packed count; then the first value packed and each further one as the int
// difference to the one before.
void io_index_list(pstream& s, bool write, std::vector<unsigned int>& values);
// Packed count; then the first value as unsigned short and each further one
// as the short difference to the one before (modulo 65536).
void io_short_index_list(pstream& s, bool write, std::vector<unsigned short>& values);

// A count read from the stream, refused (bad_data) when fewer than
// count * minimumBytesEach bytes are left to hold it.
unsigned int read_count(pstream& s, size_t minimumBytesEach);

// A nested frame. Reading throws bad_data when the object is not a T;
// `object` keeps its old value until the read succeeds.
template <typename T>
void io_object(pstream& s, bool write, T*& object)
{
    if (write) {
        write_object(s, *object);
        return;
    }
    persistent* read = read_object(s);
    T* typed = dynamic_cast<T*>(read);
    if (!typed) {
        delete read;
        throw persistent::bad_data;
    }
    object = typed;
}
