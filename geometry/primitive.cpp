#include "geometry/primitive.h"

#include "persist/encoding.h"

namespace {
const size_t kStoredBoxBytes = 25;
}

void Primitive::serialize(pstream& s, bool write)
{
    if (write) {
        s.write(static_cast<unsigned int>(parts.size()));
        for (Part& part : parts)
            io(s, true, part.box);
        io_index_list(s, true, surface_indices);
        io(s, true, box);
        s.write(static_cast<unsigned int>(surface_names.size()));
        for (std::string& name : surface_names)
            io(s, true, name);
        return;
    }

    std::vector<Part> readParts(read_count(s, kStoredBoxBytes));
    for (Part& part : readParts)
        io(s, false, part.box);
    io_index_list(s, false, surface_indices);
    io(s, false, box);
    std::vector<std::string> names(read_count(s, 1));
    for (std::string& name : names)
        io(s, false, name);
    // Every part is matched to its surface by name.
    if (names.size() < readParts.size())
        throw persistent::bad_data;
    parts = std::move(readParts);
    surface_names = std::move(names);
}

void Primitive::add_part(const std::string& surfaceName)
{
    surface_names.push_back(surfaceName);
    parts.push_back(Part());
}
