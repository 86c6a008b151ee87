#include "tools/writers/lwo2_writer.h"

#include <algorithm>
#include <cstring>

#include "tools/writers/xm_writer.h"  // writeFileBytes

namespace writers {

Lwo2Bytes& Lwo2Bytes::id4(const std::string& id)
{
    for (size_t i = 0; i < 4; ++i)
        data_.push_back(static_cast<uint8_t>(i < id.size() ? id[i] : ' '));
    return *this;
}

Lwo2Bytes& Lwo2Bytes::u4(uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        data_.push_back(static_cast<uint8_t>(v >> shift));
    return *this;
}

Lwo2Bytes& Lwo2Bytes::u2(uint16_t v)
{
    data_.push_back(static_cast<uint8_t>(v >> 8));
    data_.push_back(static_cast<uint8_t>(v));
    return *this;
}

Lwo2Bytes& Lwo2Bytes::f4(float v)
{
    uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return u4(bits);
}

Lwo2Bytes& Lwo2Bytes::vx(uint32_t index)
{
    if (index < 0xFF00)
        return u2(static_cast<uint16_t>(index));
    return u4(0xFF000000u | (index & 0xFFFFFFu));
}

Lwo2Bytes& Lwo2Bytes::s0(const std::string& text)
{
    data_.insert(data_.end(), text.begin(), text.end());
    data_.push_back(0);
    if ((text.size() + 1) % 2)
        data_.push_back(0);
    return *this;
}

Lwo2Bytes& Lwo2Bytes::bytes(const std::vector<uint8_t>& more)
{
    data_.insert(data_.end(), more.begin(), more.end());
    return *this;
}

Lwo2Bytes& Lwo2Bytes::subChunk(const std::string& id, const Lwo2Bytes& body)
{
    return id4(id).u2(static_cast<uint16_t>(body.data().size())).bytes(body.data());
}

Lwo2Bytes& Lwo2Bytes::chunk(const std::string& id, const Lwo2Bytes& body)
{
    id4(id).u4(static_cast<uint32_t>(body.data().size())).bytes(body.data());
    if (body.data().size() % 2)
        data_.push_back(0);
    return *this;
}

Lwo2Bytes& Lwo2Bytes::form(const std::string& type, const Lwo2Bytes& body)
{
    return chunk("FORM", Lwo2Bytes().id4(type).bytes(body.data()));
}

Lwo2Writer& Lwo2Writer::chunk(const std::string& id, const std::vector<uint8_t>& body)
{
    Lwo2Bytes header;
    header.id4(id).u4(static_cast<uint32_t>(body.size()));
    chunks_.insert(chunks_.end(), header.data().begin(), header.data().end());
    chunks_.insert(chunks_.end(), body.begin(), body.end());
    if (body.size() & 1)
        chunks_.push_back(0);  // IFF's pad byte, not counted in the size
    return *this;
}

Lwo2Writer& Lwo2Writer::layer(uint16_t number, const std::string& name, const Vector3f& pivot, int parent)
{
    Lwo2Bytes body;
    body.u2(number).u2(0).f4(pivot.x).f4(pivot.y).f4(pivot.z).s0(name);
    if (parent >= 0)
        body.u2(static_cast<uint16_t>(parent));
    return chunk("LAYR", body.data());
}

Lwo2Writer& Lwo2Writer::boundingBox(const std::vector<Vector3f>& points)
{
    Vector3f low{0, 0, 0}, high{0, 0, 0};
    for (size_t i = 0; i < points.size(); ++i) {
        const Vector3f& p = points[i];
        low = i == 0 ? p : Vector3f{std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
        high = i == 0 ? p : Vector3f{std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    }
    Lwo2Bytes body;
    body.f4(low.x).f4(low.y).f4(low.z).f4(high.x).f4(high.y).f4(high.z);
    return chunk("BBOX", body.data());
}

Lwo2Writer& Lwo2Writer::points(const std::vector<Vector3f>& points)
{
    Lwo2Bytes body;
    for (const Vector3f& p : points)
        body.f4(p.x).f4(p.y).f4(p.z);
    return chunk("PNTS", body.data());
}

Lwo2Writer& Lwo2Writer::polygons(const std::vector<std::vector<uint32_t>>& polygons, const std::string& type)
{
    Lwo2Bytes body;
    body.id4(type);
    for (const std::vector<uint32_t>& polygon : polygons) {
        body.u2(static_cast<uint16_t>(polygon.size() & 0x3FF));
        for (uint32_t index : polygon)
            body.vx(index);
    }
    return chunk("POLS", body.data());
}

Lwo2Writer& Lwo2Writer::tags(const std::vector<std::string>& tags)
{
    Lwo2Bytes body;
    for (const std::string& tag : tags)
        body.s0(tag);
    return chunk("TAGS", body.data());
}

Lwo2Writer& Lwo2Writer::surfaceTags(const std::vector<std::pair<uint32_t, uint16_t>>& polygonTags)
{
    Lwo2Bytes body;
    body.id4("SURF");
    for (const auto& entry : polygonTags)
        body.vx(entry.first).u2(entry.second);
    return chunk("PTAG", body.data());
}

namespace {

Lwo2Bytes vector3(const Vector3f& v)
{
    Lwo2Bytes bytes;
    bytes.f4(v.x).f4(v.y).f4(v.z).vx(0);
    return bytes;
}

Lwo2Bytes imageBlock(const Lwo2ImageBlock& block)
{
    Lwo2Bytes header;
    header.s0(block.ordinal).subChunk("CHAN", Lwo2Bytes().id4(block.channel));
    if (block.opacity != 1)
        header.subChunk("OPAC", Lwo2Bytes().u2(0).f4(block.opacity).vx(0));
    if (!block.enabled)
        header.subChunk("ENAB", Lwo2Bytes().u2(0));
    if (block.negative)
        header.subChunk("NEGA", Lwo2Bytes().u2(1));
    Lwo2Bytes mapping;
    mapping.subChunk("CNTR", vector3(block.centre)).subChunk("SIZE", vector3(block.size));
    if (block.rotation.x != 0 || block.rotation.y != 0 || block.rotation.z != 0)
        mapping.subChunk("ROTA", vector3(block.rotation));
    Lwo2Bytes body;
    body.subChunk(block.header, header)
        .subChunk("TMAP", mapping)
        .subChunk("PROJ", Lwo2Bytes().u2(block.projection))
        .subChunk("AXIS", Lwo2Bytes().u2(block.axis));
    if (block.clip)
        body.subChunk("IMAG", Lwo2Bytes().vx(block.clip));
    if (block.widthWrap != 1 || block.heightWrap != 1)
        body.subChunk("WRAP", Lwo2Bytes().u2(block.widthWrap).u2(block.heightWrap));
    if (!block.uvMap.empty())
        body.subChunk("VMAP", Lwo2Bytes().s0(block.uvMap));
    return body;
}

// The settings after COLR and DIFF that differ from LightWave's defaults,
// as sub-chunks (LWO2) or chunks (LWO3).
template <typename Write>
void writeSettings(const Lwo2Surface& surface, Write write)
{
    static const char specularLevel[] = {'S', 'P', 'E', 'C', '\0'};
    const std::pair<const char*, float> levels[] = {{"LUMI", surface.luminosity},
                                                    {specularLevel, surface.specular},
                                                    {"GLOS", surface.glossiness},
                                                    {"TRAN", surface.transparency}};
    const float defaults[] = {0, 0, 0.4f, 0};
    for (int i = 0; i < 4; ++i)
        if (levels[i].second != defaults[i])
            write(levels[i].first, Lwo2Bytes().f4(levels[i].second).vx(0));
    if (surface.smoothingAngle > 0)
        write("SMAN", Lwo2Bytes().f4(surface.smoothingAngle));
    if (surface.sides != 1)
        write("SIDE", Lwo2Bytes().u2(surface.sides));
    if (!surface.vertexColourMap.empty())
        write("VCOL", Lwo2Bytes().f4(1).vx(0).id4(surface.vertexColourType).s0(surface.vertexColourMap));
}

} // namespace

Lwo2Writer& Lwo2Writer::surface(const Lwo2Surface& surface)
{
    if (format_ == ObjectFormat::Lwo3)
        return lwo3Surface(surface);
    Lwo2Bytes body;
    body.s0(surface.name).s0(surface.source);
    body.subChunk("COLR", Lwo2Bytes().f4(surface.colour[0]).f4(surface.colour[1]).f4(surface.colour[2]).vx(0));
    body.subChunk("DIFF", Lwo2Bytes().f4(surface.diffuse).vx(0));
    writeSettings(surface, [&](const char* id, const Lwo2Bytes& value) { body.subChunk(id, value); });
    for (const Lwo2ImageBlock& block : surface.blocks)
        body.subChunk("BLOK", imageBlock(block));
    return chunk("SURF", body.data());
}

namespace {

Lwo2Bytes lwo3ImageBlock(const Lwo2ImageBlock& block)
{
    Lwo2Bytes header;
    header.chunk("    ", Lwo2Bytes().s0(block.ordinal))
        .chunk("CHAN", Lwo2Bytes().id4(block.channel))
        .chunk("ENAB", Lwo2Bytes().u2(1))
        .form("OPAC", Lwo2Bytes().chunk("    ", Lwo2Bytes().u2(0).f4(1).vx(0)));
    Lwo2Bytes mapping;
    mapping.form("CNTR", Lwo2Bytes().chunk("    ", vector3(block.centre)))
        .form("SIZE", Lwo2Bytes().chunk("    ", vector3(block.size)))
        .form("ROTA", Lwo2Bytes().chunk("    ", vector3({0, 0, 0})))
        .chunk("CSYS", Lwo2Bytes().u2(0));
    Lwo2Bytes body;
    body.form("IMAP", header)
        .form("TMAP", mapping)
        .chunk("PROJ", Lwo2Bytes().u2(block.projection))
        .chunk("AXIS", Lwo2Bytes().u2(block.axis));
    if (block.clip)
        body.chunk("IMAG", Lwo2Bytes().vx(block.clip));
    body.chunk("WRAP", Lwo2Bytes().u2(1).u2(1));
    if (!block.uvMap.empty())
        body.chunk("VMAP", Lwo2Bytes().s0(block.uvMap));
    return body;
}

} // namespace

// Besides the surface's standard settings LightWave saves its node graph
// (the Surface node and its position in the node editor), which readers of
// the settings skip.
Lwo2Writer& Lwo2Writer::lwo3Surface(const Lwo2Surface& surface)
{
    Lwo2Bytes body;
    body.chunk("    ", Lwo2Bytes().s0(surface.name).s0(surface.source));
    body.chunk("VERS", Lwo2Bytes().u4(0x0300));
    body.chunk("COLR", Lwo2Bytes().f4(surface.colour[0]).f4(surface.colour[1]).f4(surface.colour[2]).vx(0));
    body.chunk("DIFF", Lwo2Bytes().f4(surface.diffuse).vx(0));
    writeSettings(surface, [&](const char* id, const Lwo2Bytes& value) { body.chunk(id, value); });
    if (surface.smoothingAngle <= 0)
        body.chunk("SMAN", Lwo2Bytes().f4(1.5625f));
    for (const Lwo2ImageBlock& block : surface.blocks)
        body.form("BLOK", lwo3ImageBlock(block));
    Lwo2Bytes root;
    root.chunk("NLOC", Lwo2Bytes().u4(0).u4(0)).chunk("NZOM", Lwo2Bytes().f4(1)).chunk("NSTA", Lwo2Bytes().u2(0));
    Lwo2Bytes nodes;
    nodes.form("NROT", root).chunk("NVER", Lwo2Bytes().u4(1));
    body.form("NODS", nodes);
    Lwo2Bytes form;
    form.form("SURF", body);
    chunks_.insert(chunks_.end(), form.data().begin(), form.data().end());
    return *this;
}

Lwo2Writer& Lwo2Writer::clip(uint32_t index, const std::string& stillImage)
{
    if (format_ == ObjectFormat::Lwo3) {
        Lwo2Bytes body;
        body.chunk("    ", Lwo2Bytes().u4(index)).form("STIL", Lwo2Bytes().chunk("    ", Lwo2Bytes().s0(stillImage)));
        Lwo2Bytes form;
        form.form("CLIP", body);
        chunks_.insert(chunks_.end(), form.data().begin(), form.data().end());
        return *this;
    }
    Lwo2Bytes body;
    body.u4(index).subChunk("STIL", Lwo2Bytes().s0(stillImage));
    return chunk("CLIP", body.data());
}

Lwo2Writer& Lwo2Writer::mapChunk(const std::string& id, const std::string& type, uint16_t dimension,
                                  const std::string& name, const std::vector<Lwo2MapEntry>& entries)
{
    const bool perPolygon = id == "VMAD";
    Lwo2Bytes body;
    body.id4(type).u2(dimension).s0(name);
    for (const Lwo2MapEntry& entry : entries) {
        body.vx(entry.point);
        if (perPolygon)
            body.vx(entry.polygon);
        for (float value : entry.values)
            body.f4(value);
    }
    return chunk(id, body.data());
}

Lwo2Writer& Lwo2Writer::vertexMap(const std::string& type, uint16_t dimension, const std::string& name,
                                  const std::vector<Lwo2MapEntry>& entries)
{
    return mapChunk("VMAP", type, dimension, name, entries);
}

Lwo2Writer& Lwo2Writer::polygonVertexMap(const std::string& type, uint16_t dimension, const std::string& name,
                                         const std::vector<Lwo2MapEntry>& entries)
{
    return mapChunk("VMAD", type, dimension, name, entries);
}

std::vector<uint8_t> Lwo2Writer::bytes(const std::string& formType) const
{
    const std::string type = !formType.empty() ? formType : format_ == ObjectFormat::Lwo3 ? "LWO3" : "LWO2";
    Lwo2Bytes file;
    file.id4("FORM").u4(static_cast<uint32_t>(chunks_.size() + 4)).id4(type).bytes(chunks_);
    return file.data();
}

bool Lwo2Writer::save(const std::string& path, const std::string& formType) const
{
    return writeFileBytes(path, bytes(formType));
}

} // namespace writers
