#include "import/lwob_reader.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "import/importer_context.h"
#include "import/polygon_tessellator.h"

namespace LW {

namespace {

class LwobReader {
public:
    LwobReader(InputStream& in, Scene& scene, Lwo2Object& object) : in_(in), scene_(scene), object_(object) {}

    void readForm(uint32_t formLength)
    {
        const size_t end = size_t(formLength) + 8;
        while (in_.tell() + 8 <= end) {
            const uint32_t id = in_.readID4();
            const uint32_t size = in_.readU4();
            const size_t chunkEnd = in_.tell() + size;
            {
                InputStream::Scope scope(in_, chunkEnd, id);
                if (id == makeId("PNTS"))
                    readPoints(chunkEnd);
                else if (id == makeId("SRFS"))
                    readSurfaceNames(chunkEnd);
                else if (id == makeId("POLS"))
                    readPolygons(chunkEnd);
                else if (id == makeId("SURF"))
                    readSurface(chunkEnd);
                else
                    trace("\n%sUnknown hunk: %s", indent(), IdText(id).c_str());
            }
            // IFF chunks of odd size carry a pad byte.
            in_.seek(std::min(end, chunkEnd + (size & 1)));
        }
    }

private:
    void readPoints(size_t end)
    {
        while (in_.tell() + 12 <= end) {
            const float x = in_.readF4(), y = in_.readF4(), z = in_.readF4();
            object_.points.push_back({x, y, z});
        }
        trace("\n%s%d points.", indent(), int(object_.points.size()));
    }

    // The surface names become the object's tags, each tied to a surface of
    // the scene record as LWO2 tags are.
    void readSurfaceNames(size_t end)
    {
        while (in_.tell() < end) {
            const std::string name = in_.readS0();
            object_.tags.push_back(name);
            object_.tagSurface.push_back(objectSurface(scene_, object_, name));
        }
    }

    void readPolygons(size_t end)
    {
        while (in_.tell() < end)
            readPolygon(end, false);
    }

    // Vertex count, point indices, then the surface number counted from 1;
    // a negative one announces detail polygons that follow.
    void readPolygon(size_t end, bool detail)
    {
        const uint32_t count = in_.readU2();
        std::vector<uint32_t> indices(count);
        for (uint32_t& index : indices) {
            index = in_.readU2();
            if (index >= object_.points.size())
                loadFailuref("A polygon names point %u of %zu.", index, object_.points.size());
        }
        int surface = int16_t(in_.readU2());
        const uint32_t polygon = polygonCount_++;
        object_.polygonTriangles.push_back({uint32_t(object_.triangles.size()), 0});
        if (surface < 0) {
            if (detail)
                loadFailure("Detail polygons inside detail polygons.");
            surface = -surface;
            const uint32_t details = in_.readU2();
            for (uint32_t d = 0; d < details && in_.tell() < end; ++d)
                readPolygon(end, true);
        }
        if (surface < 1 || size_t(surface) > object_.tags.size() || count < 3)
            return;
        addTriangles(polygon, indices, uint32_t(surface - 1));
    }

    void addTriangles(uint32_t polygon, const std::vector<uint32_t>& indices, uint32_t tag)
    {
        std::vector<uint32_t> triangles;
        if (indices.size() == 3) {
            triangles = indices;
        } else {
            if (!tessellator_)
                tessellator_ = std::make_unique<PolygonTessellator>();
            const size_t added = object_.addedPoints.size();
            if (!tessellator_->tessellate(indices, object_.points, triangles, object_.addedPoints))
                return;
            for (size_t k = added; k < object_.addedPoints.size(); ++k)
                object_.addedPoints[k].polygon = polygon;
        }
        TriangleRange& range = object_.polygonTriangles[polygon];
        range = {uint32_t(object_.triangles.size()), 0};
        for (size_t i = 0; i + 2 < triangles.size(); i += 3) {
            const uint32_t a = triangles[i], b = triangles[i + 1], c = triangles[i + 2];
            if (a == b || b == c || a == c)
                continue;
            object_.triangles.push_back({a, b, c, tag});
            object_.triangleSource.push_back(polygon);
            ++range.count;
        }
    }

    void readSurface(size_t end)
    {
        const std::string name = in_.readS0();
        auto known = object_.surfaceNames.find(name);
        if (known == object_.surfaceNames.end()) {
            trace("\n%sSurface : %s  UNTAGGED !! skipping...", indent(), name.c_str());
            return;
        }
        LWSurface& surface = *scene_.surfaces[known->second];
        surface.described = true;
        smoothing_ = false;
        smoothingAngle_ = 0;
        IndentLevel level;
        while (in_.tell() + 6 <= end) {
            const uint32_t id = in_.readID4();
            const uint16_t size = in_.readU2();
            const size_t subEnd = in_.tell() + size;
            InputStream::Scope scope(in_, subEnd, id);
            readSurfaceChunk(surface, id);
            in_.seek(subEnd);
        }
        finishBlock(surface);
        // Without the smoothing flag every polygon is flat, whatever SMAN says.
        surface.smoothingAngle = smoothing_ ? smoothingAngle_ : 0.0f;
    }

    void readSurfaceChunk(LWSurface& surface, uint32_t id)
    {
        // Levels before LightWave 6 are 0 to 256 in U2; the V... forms are
        // the same as floats.
        auto level = [&] { return float(in_.readU2()) / 256.0f; };
        if (id == makeId("COLR")) {
            const uint32_t rgb = in_.readU4();  // red, green, blue, pad
            for (int i = 0; i < 3; ++i)
                surface.colour[i] = float((rgb >> (24 - 8 * i)) & 0xFF) / 255.0f;
        } else if (id == makeId("FLAG")) {
            const uint16_t flags = in_.readU2();
            surface.doubleSided = (flags & kDoubleSided) != 0;
            smoothing_ = (flags & kSmoothing) != 0;
        } else if (id == makeId("DIFF")) {
            surface.diffuse = level();
        } else if (id == makeId("VDIF")) {
            surface.diffuse = in_.readF4();
        } else if (id == makeId("LUMI")) {
            surface.luminosity = level();
        } else if (id == makeId("VLUM")) {
            surface.luminosity = in_.readF4();
        } else if (id == makeId(kSpecularLevelId)) {
            surface.specular = level();
        } else if (id == makeId("VSPC")) {
            surface.specular = in_.readF4();
        } else if (id == makeId("TRAN")) {
            surface.transparency = level();
        } else if (id == makeId("VTRN")) {
            surface.transparency = in_.readF4();
        } else if (id == makeId("GLOS")) {
            // 16, 64, 256 and 1024 are LightWave's low, medium, high and
            // maximum glossiness, 20 % to 80 %.
            surface.glossiness = std::clamp((std::log2(std::max<float>(in_.readU2(), 1)) - 2) / 10, 0.0f, 1.0f);
        } else if (id == makeId("SMAN")) {
            smoothingAngle_ = in_.readF4();
        } else if (id == makeId("CTEX") || id == makeId("DTEX")) {
            startBlock(surface, id, in_.readS0());
        } else if (id == makeId("BTEX") || id == makeId("STEX") || id == makeId("RTEX") || id == makeId("TTEX") ||
                   id == makeId("LTEX")) {
            finishBlock(surface);
            trace("\n%sUnsupported texture type : %s", indent(), IdText(id).c_str());
            surface.noteUndrawn(std::string("texture on ") + IdText(id).c_str());
        } else if (block_) {
            readBlockChunk(id);
        }
    }

    void startBlock(LWSurface& surface, uint32_t id, const std::string& kind)
    {
        finishBlock(surface);
        static const char* const kinds[] = {"Planar Image Map", "Cylindrical Image Map", "Spherical Image Map",
                                            "Cubic Image Map"};
        for (int projection = 0; projection < 4; ++projection) {
            if (kind == kinds[projection]) {
                block_ = std::make_unique<LWTextureBlock>();
                block_->projection = projection;
                block_->channel = id == makeId("CTEX") ? makeId("COLR") : makeId("DIFF");
                return;
            }
        }
        trace("\n%sUnsupported texture type : %s", indent(), kind.c_str());
        surface.noteUndrawn("procedural texture '" + kind + "' on " + (id == makeId("CTEX") ? "COLR" : "DIFF"));
    }

    void readBlockChunk(uint32_t id)
    {
        if (id == makeId("TIMG")) {
            block_->imageName = in_.readS0();
        } else if (id == makeId("TFLG")) {
            const uint16_t flags = in_.readU2();
            block_->axis = flags & 1 ? 1 : flags & 2 ? 2 : flags & 4 ? 3 : 0;
            block_->worldCoordinates = (flags & 8) != 0;
            block_->negative = (flags & 16) != 0;
        } else if (id == makeId("TWRP")) {
            auto mode = [](uint16_t value) { return value <= 3 ? static_cast<WrapMode>(value) : WrapMode::Repeat; };
            block_->widthWrapMode = mode(in_.readU2());
            block_->heightWrapMode = mode(in_.readU2());
        } else if (id == makeId("TSIZ")) {
            block_->size = readVector();
        } else if (id == makeId("TCTR")) {
            block_->centre = readVector();
        }
    }

    // A block without a picture is left out.
    void finishBlock(LWSurface& surface)
    {
        if (!block_)
            return;
        if (!block_->imageName.empty() && block_->imageName != "(none)") {
            auto& list = block_->channel == makeId("COLR") ? surface.colourBlocks : surface.diffuseBlocks;
            list.push_back(std::move(*block_));
        }
        block_.reset();
    }

    Vector3f readVector()
    {
        const float x = in_.readF4(), y = in_.readF4(), z = in_.readF4();
        return {x, y, z};
    }

    InputStream& in_;
    Scene& scene_;
    Lwo2Object& object_;
    static constexpr uint16_t kSmoothing = 4, kDoubleSided = 256;  // FLAG bits

    std::unique_ptr<LWTextureBlock> block_;
    bool smoothing_ = false;  // of the surface being read
    float smoothingAngle_ = 0;
    std::unique_ptr<PolygonTessellator> tessellator_;
    uint32_t polygonCount_ = 0;
};

} // namespace

void readLwobForm(InputStream& in, uint32_t formLength, Scene& scene, Lwo2Object& object)
{
    LwobReader(in, scene, object).readForm(formLength);
    placeAddedPoints(object);
}

} // namespace LW
