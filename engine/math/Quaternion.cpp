#include "engine/math/Quaternion.h"

namespace OrvexEngine {

float Quaternion::NormSquared() const {
    return x * x + y * y + z * z + w * w;
}

Matrix4 Quaternion::ToMatrix() const {
    float norm = NormSquared();
    Matrix4 r;
    // A zero quaternion (a corrupt key frame, say) has no rotation to give; the identity keeps non-finite
    // values out of the bones and boxes built from it.
    if (!(norm > 0.0f))
        return r;
    float s = 2.0f / norm;
    r.m[0] = 1.0f - s * (y * y + z * z);
    r.m[1] = s * (x * y - z * w);
    r.m[2] = s * (x * z + y * w);
    r.m[4] = s * (x * y + z * w);
    r.m[5] = 1.0f - s * (x * x + z * z);
    r.m[6] = s * (y * z - x * w);
    r.m[8] = s * (x * z - y * w);
    r.m[9] = s * (y * z + x * w);
    r.m[10] = 1.0f - s * (x * x + y * y);
    return r;
}

// The product with eight multiplications; the order of operations is kept fixed so that skeleton poses come
// out the same on every machine.
Quaternion Quaternion::Multiply(const Quaternion& other) const {
    const Quaternion& a = other;
    const Quaternion& b = *this;
    float pA = (a.w + a.x) * (b.w + b.x);
    float pB = (a.z - a.y) * (b.y - b.z);
    float pC = (a.w - a.x) * (b.y + b.z);
    float pD = (a.y + a.z) * (b.w - b.x);
    float pE = (a.x + a.z) * (b.x + b.y);
    float pF = (a.x - a.z) * (b.x - b.y);
    float pG = (a.w + a.y) * (b.w - b.z);
    float pH = (a.w - a.y) * (b.w + b.z);
    Quaternion r;
    r.x = pA - (pE + pF + pG + pH) / 2;
    r.y = pC + (pE - pF + pG - pH) / 2;
    r.z = pD + (pE - pF - pG + pH) / 2;
    r.w = pB + (pG + pH - pE - pF) / 2;
    return r;
}

Quaternion Quaternion::Lerp(const Quaternion& a, const Quaternion& b, float t) {
    float d = a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w;
    Quaternion end = b;
    if (d < 0) {
        // q and -q are the same rotation: blending towards the nearer sign takes the shorter way round.
        end = Quaternion(-b.x, -b.y, -b.z, -b.w);
    }
    float u = 1.0f - t;
    return Quaternion(end.x * t + a.x * u, end.y * t + a.y * u, end.z * t + a.z * u, end.w * t + a.w * u);
}

} // namespace OrvexEngine
