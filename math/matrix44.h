#pragma once
#include "math/vector3.h"

// A 4x4 float matrix in OpenGL's column-major layout: the element in row r
// and column c is m[4 * c + r]. Points are column vectors (p' = M p), so
// A * B applies B first. Ready for glLoadMatrixf as it is.
class Matrix44 {
public:
    float m[16];

    Matrix44();  // identity
    explicit Matrix44(const float columnMajor[16]);

    static Matrix44 fromRows(const float rowMajor[16]);  // the transposing copy
    static Matrix44 rotationX(float degrees);
    static Matrix44 rotationY(float degrees);
    static Matrix44 rotationZ(float degrees);
    static Matrix44 rotationAxis(float degrees, const Vector3f& axis);
    static Matrix44 translation(float x, float y, float z);
    static Matrix44 translation(const Vector3f& t) { return translation(t.x, t.y, t.z); }
    static Matrix44 scale(float x, float y, float z);
    static Matrix44 scale(const Vector3f& s) { return scale(s.x, s.y, s.z); }

    void set(const float columnMajor[16]);
    void setRows(const float rowMajor[16]);

    float& at(int row, int column) { return m[4 * column + row]; }
    float at(int row, int column) const { return m[4 * column + row]; }
    const float* data() const { return m; }

    Matrix44 operator*(const Matrix44& b) const;
    Matrix44& operator*=(const Matrix44& b);

    // M p with p = (x, y, z, 1), and the 3x3 part alone (directions).
    Vector3f transformPoint(const Vector3f& p) const;
    Vector3f transformVector(const Vector3f& v) const;
};

// Degrees to radians as the show computes them.
inline constexpr float kDegreesToRadians = 0.017453292f;
