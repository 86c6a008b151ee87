#include "import/texture_projection.h"

#include <algorithm>
#include <cmath>

namespace LW {

namespace {

constexpr double kHalfPi = 1.570796326795;
constexpr double kPi = 3.14159265359;
constexpr double kInverseTwoPi = 0.159154943091884854;
constexpr double kInversePi = 0.318309886183769708;

enum Axis { AxisNone = 0, AxisX = 1, AxisY = 2, AxisZ = 3 };

double fract(double x) { return x - std::floor(x); }

TexCoord planar(int axis, const Vector3f& d, const Vector3f& s)
{
    TexCoord uv;
    if (axis == AxisX) {
        uv.u = static_cast<float>(double(d.z) / s.z + 0.5);
        uv.v = static_cast<float>(0.5 - double(d.y) / s.y);
    } else if (axis == AxisY) {
        uv.u = static_cast<float>(double(d.x) / s.x + 0.5);
        uv.v = static_cast<float>(0.5 - double(d.z) / s.z);
    } else {
        uv.u = static_cast<float>(double(d.x) / s.x + 0.5);
        uv.v = static_cast<float>(0.5 - double(d.y) / s.y);
    }
    return uv;
}

// The point in the frame of the projection axis: a and c span the plane
// around the axis, b runs along it.
void aroundAxis(int axis, const Vector3f& d, double& a, double& b, double& c)
{
    if (axis == AxisX) {
        a = d.z, b = d.x, c = -double(d.y);
    } else if (axis == AxisY) {
        a = -double(d.x), b = d.y, c = d.z;
    } else {
        a = -double(d.x), b = d.z, c = -double(d.y);
    }
}

double heading(double a, double c)
{
    if (a == 0 && c == 0)
        return 0;
    if (c == 0)
        return a < 0 ? kHalfPi : -kHalfPi;
    if (c < 0)
        return kPi - std::atan(a / c);
    return -std::atan(a / c);
}

double alongAxis(int axis, const Vector3f& v)
{
    return axis == AxisX ? v.x : axis == AxisY ? v.y : v.z;
}

int cubicAxis(const Vector3f& n)
{
    const float x = std::fabs(n.x), y = std::fabs(n.y), z = std::fabs(n.z);
    if (z > x)
        return z > y ? AxisZ : AxisY;
    return y < x ? AxisX : AxisY;
}

// Takes a point (or direction) into the texture's frame. LightWave turns
// the frame by bank (about Z), then pitch (about X), then heading (about Y):
// undone in the reverse order, heading first.
Vector3f unrotate(const Vector3f& p, const Vector3f& hpb)
{
    if (hpb.x == 0 && hpb.y == 0 && hpb.z == 0)
        return p;
    const double ch = std::cos(hpb.x), sh = std::sin(hpb.x);
    const double cp = std::cos(hpb.y), sp = std::sin(hpb.y);
    const double cb = std::cos(hpb.z), sb = std::sin(hpb.z);
    double x = p.x, y = p.y, z = p.z;
    // heading
    double nx = ch * x - sh * z, nz = sh * x + ch * z;
    x = nx, z = nz;
    // pitch
    double ny = cp * y + sp * z;
    nz = -sp * y + cp * z;
    y = ny, z = nz;
    // bank
    nx = cb * x + sb * y, ny = -sb * x + cb * y;
    return {float(nx), float(ny), float(z)};
}

} // namespace

TexCoord projectPoint(const LWTextureBlock& block, const Vector3f& p, const Vector3f& faceNormal)
{
    const Vector3f d = unrotate(p - block.centre, block.rotation);
    const Vector3f& s = block.size;
    switch (block.projection) {
    case Planar:
        return planar(block.axis, d, s);
    case Front:
        return planar(AxisZ, d, s);
    case Cubic:
        // The face is seen from the turned frame's axes.
        return planar(cubicAxis(unrotate(faceNormal, block.rotation)), d, s);
    case Cylindrical: {
        double a, b, c;
        aroundAxis(block.axis, d, a, b, c);
        double u = 1 - heading(a, c) * kInverseTwoPi;
        const double v = 0.5 - alongAxis(block.axis, d) / alongAxis(block.axis, s);
        if (block.widthWrap != 1.0f)
            u = fract(u) * block.widthWrap;
        return {static_cast<float>(u), static_cast<float>(v)};
    }
    case Spherical: {
        double a, b, c;
        aroundAxis(block.axis, d, a, b, c);
        double pitch;
        if (a == 0 && c == 0)
            pitch = b > 0 ? kHalfPi : b < 0 ? -kHalfPi : 0;
        else
            pitch = std::atan(b / std::sqrt(a * a + c * c));
        double u = 1 - heading(a, c) * kInverseTwoPi;
        double v = 0.5 - pitch * kInversePi;
        if (block.widthWrap != 1.0f)
            u = fract(u) * block.widthWrap;
        if (block.heightWrap != 1.0f)
            v = fract(v) * block.heightWrap;
        return {static_cast<float>(u), static_cast<float>(v)};
    }
    default:
        return {};
    }
}

TexCoord alongPolygon(const LWTextureBlock& block, const Vector3f& corner, TexCoord uv, TexCoord centre)
{
    if (block.projection != Cylindrical && block.projection != Spherical)
        return uv;
    double a, b, c;
    aroundAxis(block.axis, unrotate(corner - block.centre, block.rotation), a, b, c);
    const double offAxis = std::sqrt(a * a + c * c);
    if (offAxis <= 1e-6 * std::max(1.0, std::fabs(b))) {
        uv.u = centre.u;
        return uv;
    }
    // One turn of the heading spans widthWrap in u.
    const double turn = block.widthWrap != 1.0f && block.widthWrap > 0 ? block.widthWrap : 1.0;
    uv.u = static_cast<float>(uv.u - turn * std::round((double(uv.u) - centre.u) / turn));
    return uv;
}

} // namespace LW
