#include "math/matrix44.h"

#include <cmath>
#include <cstring>

namespace {
const float kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
}

Matrix44::Matrix44() { std::memcpy(m, kIdentity, sizeof m); }
Matrix44::Matrix44(const float columnMajor[16]) { set(columnMajor); }

void Matrix44::set(const float columnMajor[16])
{
    if (columnMajor != m)
        std::memmove(m, columnMajor, sizeof m);
}

void Matrix44::setRows(const float rowMajor[16])
{
    float t[16];
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            t[4 * c + r] = rowMajor[4 * r + c];
    std::memcpy(m, t, sizeof m);
}

Matrix44 Matrix44::fromRows(const float rowMajor[16])
{
    Matrix44 result;
    result.setRows(rowMajor);
    return result;
}

Matrix44 Matrix44::operator*(const Matrix44& b) const
{
    Matrix44 result;
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r) {
            double sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += static_cast<double>(at(r, k)) * b.at(k, c);
            result.at(r, c) = static_cast<float>(sum);
        }
    return result;
}

Matrix44& Matrix44::operator*=(const Matrix44& b)
{
    *this = *this * b;
    return *this;
}

Vector3f Matrix44::transformPoint(const Vector3f& p) const
{
    return {m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12],
            m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13],
            m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14]};
}

Vector3f Matrix44::transformVector(const Vector3f& v) const
{
    return {m[0] * v.x + m[4] * v.y + m[8] * v.z,
            m[1] * v.x + m[5] * v.y + m[9] * v.z,
            m[2] * v.x + m[6] * v.y + m[10] * v.z};
}

// The rotations below are given row by row. X and the axis rotation turn in
// the right-handed sense; Y and Z turn the other way, and callers rely on it.
Matrix44 Matrix44::rotationX(float degrees)
{
    float a = degrees * kDegreesToRadians, c = std::cos(a), s = std::sin(a);
    const float rows[16] = {1, 0, 0, 0, 0, c, -s, 0, 0, s, c, 0, 0, 0, 0, 1};
    return fromRows(rows);
}

Matrix44 Matrix44::rotationY(float degrees)
{
    float a = degrees * kDegreesToRadians, c = std::cos(a), s = std::sin(a);
    const float rows[16] = {c, 0, -s, 0, 0, 1, 0, 0, s, 0, c, 0, 0, 0, 0, 1};
    return fromRows(rows);
}

Matrix44 Matrix44::rotationZ(float degrees)
{
    float a = degrees * kDegreesToRadians, c = std::cos(a), s = std::sin(a);
    const float rows[16] = {c, s, 0, 0, -s, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    return fromRows(rows);
}

Matrix44 Matrix44::rotationAxis(float degrees, const Vector3f& axis)
{
    Vector3f n = normalize(axis);
    float a = degrees * kDegreesToRadians, c = std::cos(a), s = std::sin(a), t = 1 - c;
    float x = n.x, y = n.y, z = n.z;
    const float rows[16] = {
        x * x + (1 - x * x) * c, x * y * t - z * s,       x * z * t + y * s,       0,
        x * y * t + z * s,       y * y + (1 - y * y) * c, y * z * t - x * s,       0,
        x * z * t - y * s,       y * z * t + x * s,       z * z + (1 - z * z) * c, 0,
        0,                       0,                       0,                       1};
    return fromRows(rows);
}

Matrix44 Matrix44::translation(float x, float y, float z)
{
    Matrix44 result;
    result.m[12] = x;
    result.m[13] = y;
    result.m[14] = z;
    return result;
}

Matrix44 Matrix44::scale(float x, float y, float z)
{
    Matrix44 result;
    result.m[0] = x;
    result.m[5] = y;
    result.m[10] = z;
    return result;
}
