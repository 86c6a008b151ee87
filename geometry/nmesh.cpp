#include "geometry/nmesh.h"

#include <algorithm>
#include <memory>

#include "geometry/render_queue.h"
#include "geometry/uni_surface_mesh.h"
#include "persist/encoding.h"

namespace {

// The smallest nested frame: a one-letter class name, its zero and the version.
const size_t kSmallestFrameBytes = 4;

void delete_all(std::vector<UniSurfaceMesh*>& elements)
{
    for (UniSurfaceMesh* element : elements)
        delete element;
    elements.clear();
}

} // namespace

NMesh::~NMesh() { delete_all(elements); }

void NMesh::serialize(pstream& s, bool write)
{
    Primitive::serialize(s, write);
    if (write) {
        s.write(static_cast<unsigned int>(elements.size()));
        for (UniSurfaceMesh* element : elements)
            write_object(s, *element);
        return;
    }

    unsigned int count = read_count(s, kSmallestFrameBytes);
    // An element without a part record could never be culled.
    if (count > parts.size())
        throw persistent::bad_data;
    std::vector<UniSurfaceMesh*> read;
    read.reserve(count);
    try {
        for (unsigned int i = 0; i < count; ++i) {
            UniSurfaceMesh* element = nullptr;
            io_object(s, false, element);
            read.push_back(element);
            if (element->part_index >= parts.size())
                throw persistent::bad_data;
        }
    } catch (...) {
        delete_all(read);
        throw;
    }
    delete_all(elements);
    elements = std::move(read);
}

void NMesh::queue_parts(const Matrix44& world, RenderQueue& queue) const
{
    const size_t count = std::min({elements.size(), parts.size(), surface_indices.size()});
    for (size_t i = 0; i < count; ++i)
        if (parts[i].visible)
            queue.add(surface_indices[i], elements[i], world);
}

void NMesh::add_element(UniSurfaceMesh* element)
{
    std::unique_ptr<UniSurfaceMesh> owned(element);
    if (element->part_index >= parts.size())
        throw persistent::bad_data;
    elements.push_back(owned.release());
    box.merge(element->box);
    parts[element->part_index].box = element->box;
}
