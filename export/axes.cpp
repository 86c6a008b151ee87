#include "export/axes.h"

#include <cmath>

namespace gltf_export {

namespace {

// A proper rotation matrix (rows of three) as a quaternion.
void quaternionOfRows(const double (&r)[3][3], float (&q)[4])
{
    double x, y, z, w;
    const double trace = r[0][0] + r[1][1] + r[2][2];
    if (trace > 0) {
        const double s = std::sqrt(trace + 1) * 2;
        w = s / 4;
        x = (r[2][1] - r[1][2]) / s;
        y = (r[0][2] - r[2][0]) / s;
        z = (r[1][0] - r[0][1]) / s;
    } else if (r[0][0] > r[1][1] && r[0][0] > r[2][2]) {
        const double s = std::sqrt(1 + r[0][0] - r[1][1] - r[2][2]) * 2;
        w = (r[2][1] - r[1][2]) / s;
        x = s / 4;
        y = (r[0][1] + r[1][0]) / s;
        z = (r[0][2] + r[2][0]) / s;
    } else if (r[1][1] > r[2][2]) {
        const double s = std::sqrt(1 + r[1][1] - r[0][0] - r[2][2]) * 2;
        w = (r[0][2] - r[2][0]) / s;
        x = (r[0][1] + r[1][0]) / s;
        y = s / 4;
        z = (r[1][2] + r[2][1]) / s;
    } else {
        const double s = std::sqrt(1 + r[2][2] - r[0][0] - r[1][1]) * 2;
        w = (r[1][0] - r[0][1]) / s;
        x = (r[0][2] + r[2][0]) / s;
        y = (r[1][2] + r[2][1]) / s;
        z = s / 4;
    }
    const double length = std::sqrt(x * x + y * y + z * z + w * w);
    if (w < 0)  // one sign for the same turn, so that still nodes compare equal
        x = -x, y = -y, z = -z, w = -w;
    q[0] = float(x / length);
    q[1] = float(y / length);
    q[2] = float(z / length);
    q[3] = float(w / length);
}

} // namespace

void quaternionOf(const Matrix44& m, float (&q)[4])
{
    const double sign[3] = {1, 1, -1};
    double r[3][3];
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            r[row][column] = m.at(row, column) * sign[row] * sign[column];
    quaternionOfRows(r, q);
}

void lookRotation(const Vector3f& forward, const Vector3f& up, float (&q)[4])
{
    // In glTF's axes: the camera's +Z points away from where it looks.
    double z[3] = {-forward.x, -forward.y, forward.z};
    double y[3] = {up.x, up.y, -up.z};
    auto normalise = [](double (&v)[3]) {
        const double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
        if (length > 0)
            for (double& c : v)
                c /= length;
        return length > 0;
    };
    if (!normalise(z)) {
        q[0] = q[1] = q[2] = 0;
        q[3] = 1;
        return;
    }
    const double along = y[0] * z[0] + y[1] * z[1] + y[2] * z[2];
    for (int c = 0; c < 3; ++c)
        y[c] -= along * z[c];
    if (!normalise(y)) {  // up along the view: any up will do
        double other[3] = {std::fabs(z[1]) < 0.9 ? 0.0 : 1.0, std::fabs(z[1]) < 0.9 ? 1.0 : 0.0, 0};
        const double a = other[0] * z[0] + other[1] * z[1];
        for (int c = 0; c < 3; ++c)
            y[c] = other[c] - a * z[c];
        normalise(y);
    }
    const double x[3] = {y[1] * z[2] - y[2] * z[1], y[2] * z[0] - y[0] * z[2], y[0] * z[1] - y[1] * z[0]};
    const double r[3][3] = {{x[0], y[0], z[0]}, {x[1], y[1], z[1]}, {x[2], y[2], z[2]}};
    quaternionOfRows(r, q);
}

} // namespace gltf_export
