// Per-point colour and texture-coordinate maps (VMAP) and their per-polygon
// overrides (VMAD).
#include "import/importer_context.h"
#include "import/lwo2_reader.h"

namespace LW {

namespace {

template <size_t N>
void readValues(InputStream& in, std::array<float, N>& value)
{
    for (float& f : value)
        f = in.readF4();
}

// An RGB map's colours are opaque.
void readColour(InputStream& in, bool alpha, ColourMap::Value& colour)
{
    for (int i = 0; i < 3; ++i)
        colour[i] = in.readF4();
    colour[3] = alpha ? in.readF4() : 1.0f;
}

bool isColourType(uint32_t type) { return type == makeId("RGBA") || type == makeId("RGB "); }

} // namespace

void Lwo2Reader::readVertexMap(size_t end)
{
    const uint32_t type = in_.readID4();
    const uint16_t dimension = in_.readU2();
    const std::string name = in_.readS0();
    const std::string what = "Vertex map '" + name + "'";
    auto readEntries = [&](auto& map) {
        map.values.resize(object_.points.size());
        while (in_.tell() < end) {
            const uint32_t point = readPointIndex(what.c_str());
            readValues(in_, map.values[point]);
        }
    };
    if (isColourType(type)) {
        const bool alpha = type == makeId("RGBA");
        if (dimension != (alpha ? 4 : 3)) {
            trace("\n%sToo much (%d) dimensions in %s.", indent(), dimension, alpha ? "RGBA" : "RGB");
            return;
        }
        trace("\n%s%s VMap : %s", indent(), alpha ? "RGBA" : "RGB", name.c_str());
        ColourMap& map = object_.colorMaps[name];
        map.values.resize(object_.points.size());
        while (in_.tell() < end) {
            const uint32_t point = readPointIndex(what.c_str());
            readColour(in_, alpha, map.values[point]);
        }
    } else if (type == makeId("TXUV")) {
        if (dimension != 2) {
            trace("\n%sToo much (%d) dimensions in TXUV.", indent(), dimension);
            return;
        }
        trace("\n%sTexture UV VMap : %s", indent(), name.c_str());
        readEntries(object_.uvMaps[name]);
    } else {
        trace("\n%sUnknown VMAP type : %s", indent(), IdText(type).c_str());
    }
}

void Lwo2Reader::readPolygonVertexMap(size_t end)
{
    const uint32_t type = in_.readID4();
    const uint16_t dimension = in_.readU2();
    const std::string name = in_.readS0();
    const bool colours = isColourType(type);
    const bool alpha = type == makeId("RGBA");
    if (!colours && type != makeId("TXUV")) {
        trace("\n%sUnknown VMAD type : %s", indent(), IdText(type).c_str());
        return;
    }
    if (colours && dimension != (alpha ? 4 : 3)) {
        trace("\n%sWrong (%d) dimensions in %s.", indent(), dimension, alpha ? "RGBA" : "RGB");
        return;
    }
    if (!colours && dimension != 2) {
        trace("\n%sToo much (%d) dimensions in TXUV.", indent(), dimension);
        return;
    }
    // A map may hold per-polygon values only (LightWave writes a UV map
    // that is discontinuous everywhere that way): its points have none.
    const bool exists = colours ? object_.colorMaps.count(name) != 0 : object_.uvMaps.count(name) != 0;
    if (!exists && !lightWave_) {
        trace("\n%sVMAD: no VMAP named '%s' !", indent(), name.c_str());
        return;
    }
    trace("\n%sVMAD : %s", indent(), name.c_str());
    while (in_.tell() < end) {
        // Numbers within the current layer and the last polygon list.
        const uint32_t point = static_cast<uint32_t>(pointBase_ + in_.readVX());
        const uint32_t polygon = polygonBase_ + in_.readVX();
        if (colours)
            readColour(in_, alpha, object_.colorMaps[name].overrides[{polygon, point}]);
        else
            readValues(in_, object_.uvMaps[name].overrides[{polygon, point}]);
    }
}

} // namespace LW
