// LightWave's lights as KHR_lights_punctual takes them, at a brightness
// that looks as LightWave shows it.
//
// LightWave's 100 % lights a white surface facing the light to white, at
// any distance: its lights have no falloff. glTF's directional intensity is
// in lux and its point and spot intensities in candela, falling off with
// the square of the distance; readers that follow it (three.js, Babylon.js,
// the Khronos sample viewer) show a white surface lit by E lux at E / pi of
// white. So a distant light of LightWave intensity I is written as pi * I
// lux, and a point or spot light as pi * I * D^2 candela, D being the
// light's distance to the middle of the scene's objects at its first frame:
// there it lights as LightWave does, nearer brighter, further darker.
// Blender 3.4's importer reads a watt as 683 lumens: a sun of E lx gets the
// strength E / 683 W/m^2 and a point or spot light of I cd the power
// 4 pi I / 683 W, and Blender, as physically based as those readers, shows a
// white surface under a sun of strength S at S / pi and at d from P watts at
// P / (4 pi^2 d^2). So for Blender every intensity is 683 times glTF's.
#include <algorithm>
#include <array>
#include <cmath>

#include "export/lightwave_settings.h"

namespace gltf_export {

namespace {

using Matrix = std::array<double, 16>;  // column-major, as glTF's

Matrix localMatrix(const Node& node)
{
    const double x = node.rotation[0], y = node.rotation[1], z = node.rotation[2], w = node.rotation[3];
    const double r[9] = {1 - 2 * (y * y + z * z), 2 * (x * y + z * w), 2 * (x * z - y * w),
                         2 * (x * y - z * w), 1 - 2 * (x * x + z * z), 2 * (y * z + x * w),
                         2 * (x * z + y * w), 2 * (y * z - x * w), 1 - 2 * (x * x + y * y)};
    Matrix m{};
    for (int column = 0; column < 3; ++column)
        for (int row = 0; row < 3; ++row)
            m[size_t(4 * column + row)] = r[3 * column + row] * node.scale[column];
    for (int row = 0; row < 3; ++row)
        m[size_t(12 + row)] = node.translation[row];
    m[15] = 1;
    return m;
}

Matrix product(const Matrix& a, const Matrix& b)
{
    Matrix m{};
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row)
            for (int k = 0; k < 4; ++k)
                m[size_t(4 * column + row)] += a[size_t(4 * k + row)] * b[size_t(4 * column + k)];
    return m;
}

Matrix worldMatrix(const Document& document, int node)
{
    Matrix m = localMatrix(document.nodes[size_t(node)]);
    int steps = 0;
    for (int parent = document.nodes[size_t(node)].parent; parent >= 0 && steps < int(document.nodes.size());
         parent = document.nodes[size_t(parent)].parent, ++steps)
        m = product(localMatrix(document.nodes[size_t(parent)]), m);
    return m;
}

// The middle of the box around every mesh's points, placed as at the first
// frame; false when there is no mesh.
bool sceneMiddle(const Document& document, double (&middle)[3])
{
    double low[3] = {1e300, 1e300, 1e300}, high[3] = {-1e300, -1e300, -1e300};
    bool any = false;
    for (size_t n = 0; n < document.nodes.size(); ++n) {
        const int mesh = document.nodes[n].mesh;
        if (mesh < 0 || size_t(mesh) >= document.meshes.size())
            continue;
        const Matrix m = worldMatrix(document, int(n));
        for (const Primitive& primitive : document.meshes[size_t(mesh)].primitives)
            for (size_t v = 0; v + 2 < primitive.positions.size(); v += 3)
                for (int row = 0; row < 3; ++row) {
                    const double p = m[size_t(row)] * primitive.positions[v] + m[size_t(4 + row)] * primitive.positions[v + 1] +
                                     m[size_t(8 + row)] * primitive.positions[v + 2] + m[size_t(12 + row)];
                    low[row] = std::min(low[row], p);
                    high[row] = std::max(high[row], p);
                    any = true;
                }
    }
    for (int row = 0; row < 3; ++row)
        middle[row] = any ? (low[row] + high[row]) / 2 : 0;
    return any;
}

} // namespace

Light lightOf(const LW::LwsScene::Light& item, std::vector<std::string>& notCarried)
{
    using Type = LW::LwsScene::Light::Type;
    Light light;
    light.name = item.name.empty() ? "Light" : item.name;
    const std::string label = "light '" + light.name + "'";
    switch (item.type) {
    case Type::Distant:
        light.kind = Light::Directional;
        break;
    case Type::Spot:
        light.kind = Light::Spot;
        break;
    case Type::Linear:
    case Type::Area:
        notCarried.push_back(label + ": " + (item.type == Type::Linear ? "linear" : "area") +
                             " light (written as a point light)");
        break;
    default:
        break;
    }
    for (int c = 0; c < 3; ++c)
        light.colour[c] = std::clamp(item.colour[c], 0.0f, 1.0f);
    light.intensity = std::max(item.intensity, 0.0f);
    if (item.intensity < 0)
        notCarried.push_back(label + ": negative intensity (written as 0)");
    const float degree = float(M_PI) / 180.0f;
    light.outerCone = std::clamp(item.coneAngle * degree, 1e-4f, float(M_PI) / 2);
    light.innerCone = std::clamp((item.coneAngle - item.edgeAngle) * degree, 0.0f, light.outerCone * 0.9999f);
    return light;
}

void setLightBrightness(Document& document, LightUnits units)
{
    double middle[3];
    const bool placed = sceneMiddle(document, middle);
    const bool blender = units == LightUnits::Blender;
    for (size_t n = 0; n < document.nodes.size(); ++n) {
        const int index = document.nodes[n].light;
        if (index < 0 || size_t(index) >= document.lights.size())
            continue;
        Light& light = document.lights[size_t(index)];
        double factor = blender ? 683 * M_PI : M_PI;
        if (light.kind != Light::Directional) {
            const Matrix m = worldMatrix(document, int(n));
            double squared = 0;
            for (int row = 0; row < 3; ++row)
                squared += (m[size_t(12 + row)] - middle[row]) * (m[size_t(12 + row)] - middle[row]);
            // A light amid the objects, or a scene without any, lights as
            // at a distance of one unit.
            factor *= placed ? std::max(squared, 1.0) : 1.0;
        }
        light.intensity = float(light.intensity * factor);
    }
}

} // namespace gltf_export
