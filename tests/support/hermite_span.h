#pragma once
// A Hermite span written out from its basis, for expected values computed by
// hand from keys and their tangents: from v0 to v1 with the tangents out (at
// the first key) and in (at the second), at w in 0..1.

inline double hermiteSpan(double v0, double v1, double out, double in, double w)
{
    const double h2 = 3 * w * w - 2 * w * w * w, h1 = 1 - h2, h3 = w * w * w - 2 * w * w + w, h4 = w * w * w - w * w;
    return h1 * v0 + h2 * v1 + h3 * out + h4 * in;
}
