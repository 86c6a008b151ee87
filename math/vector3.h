#pragma once
#include <cmath>

// A 3-component vector. Arrays of Vector3<float> are handed to OpenGL as
// vertex arrays with a stride of 12 bytes.
template <typename T>
struct Vector3 {
    T x = 0, y = 0, z = 0;

    Vector3() = default;
    Vector3(T x_, T y_, T z_) : x(x_), y(y_), z(z_) {}

    void set(T x_, T y_, T z_) { x = x_; y = y_; z = z_; }
    T length() const { return static_cast<T>(std::sqrt(x * x + y * y + z * z)); }

    Vector3 operator+(const Vector3& o) const { return {x + o.x, y + o.y, z + o.z}; }
    Vector3 operator-(const Vector3& o) const { return {x - o.x, y - o.y, z - o.z}; }
    Vector3 operator-() const { return {-x, -y, -z}; }
    Vector3 operator*(T s) const { return {x * s, y * s, z * s}; }
    Vector3 operator/(T s) const { return {x / s, y / s, z / s}; }
    Vector3& operator+=(const Vector3& o) { x += o.x; y += o.y; z += o.z; return *this; }
    Vector3& operator-=(const Vector3& o) { x -= o.x; y -= o.y; z -= o.z; return *this; }
    Vector3& operator*=(T s) { x *= s; y *= s; z *= s; return *this; }
    bool operator==(const Vector3& o) const { return x == o.x && y == o.y && z == o.z; }
    bool operator!=(const Vector3& o) const { return !(*this == o); }
};

using Vector3f = Vector3<float>;

template <typename T>
inline T dot(const Vector3<T>& a, const Vector3<T>& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

template <typename T>
inline Vector3<T> cross(const Vector3<T>& a, const Vector3<T>& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// The vector divided by its length (unchanged when the length is 0).
template <typename T>
inline Vector3<T> normalize(const Vector3<T>& v)
{
    T l = v.length();
    return l != 0 ? v / l : v;
}
