#include "engine/math/Matrix4.h"

#include <cassert>
#include <cmath>
#include <utility>

namespace OrvexEngine {

Matrix4 Matrix4::Identity() {
    return Matrix4();
}

Matrix4 Matrix4::Translation(const Vec3& t) {
    Matrix4 r;
    r.m[3] = t.x;
    r.m[7] = t.y;
    r.m[11] = t.z;
    return r;
}

Matrix4 Matrix4::Scaling(const Vec3& s) {
    Matrix4 r;
    r.m[0] = s.x;
    r.m[5] = s.y;
    r.m[10] = s.z;
    return r;
}

Matrix4 Matrix4::RotationY(float angle) {
    Matrix4 r;
    float c = std::cos(angle);
    float s = std::sin(angle);
    r.m[0] = c;
    r.m[2] = s;
    r.m[8] = -s;
    r.m[10] = c;
    return r;
}

Matrix4 Matrix4::RotationZ(float angle) {
    Matrix4 r;
    float c = std::cos(angle);
    float s = std::sin(angle);
    r.m[0] = c;
    r.m[1] = -s;
    r.m[4] = s;
    r.m[5] = c;
    return r;
}

Matrix4 Matrix4::RotationAxis(const Vec3& axis, float angle) {
    Vec3 a = axis;
    a.Normalize(1);
    float c = std::cos(angle);
    float s = std::sin(angle);
    float t = 1.0f - c;
    float x = a.x, y = a.y, z = a.z;
    Matrix4 r;
    r.m[0] = t * x * x + c;
    r.m[1] = t * x * y - s * z;
    r.m[2] = t * x * z + s * y;
    r.m[4] = t * x * y + s * z;
    r.m[5] = t * y * y + c;
    r.m[6] = t * y * z - s * x;
    r.m[8] = t * x * z - s * y;
    r.m[9] = t * y * z + s * x;
    r.m[10] = t * z * z + c;
    return r;
}

Matrix4 Matrix4::Multiply(const Matrix4& other) const {
    Matrix4 r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            float sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += m[4 * i + k] * other.m[4 * k + j];
            r.m[4 * i + j] = sum;
        }
    return r;
}

void Matrix4::Translate(const Vec3& t) {
    *this = Multiply(Translation(t));
}

Vec3 Matrix4::MultiplyPoint(const Vec3& p) const {
    return Vec3(m[0] * p.x + m[1] * p.y + m[2] * p.z + m[3], m[4] * p.x + m[5] * p.y + m[6] * p.z + m[7],
                m[8] * p.x + m[9] * p.y + m[10] * p.z + m[11]);
}

void Matrix4::TransformPoint(const Vec3& source, Vec3& destination) const {
    assert(&source != &destination &&
           "TransformPoint writes component by component: use MultiplyPoint in place");
    destination.x = m[0] * source.x + m[1] * source.y + m[2] * source.z + m[3];
    destination.y = m[4] * source.x + m[5] * source.y + m[6] * source.z + m[7];
    destination.z = m[8] * source.x + m[9] * source.y + m[10] * source.z + m[11];
}

Vec4 Matrix4::MultiplyVec4(const Vec4& v) const {
    Vec4 r;
    for (int i = 0; i < 4; ++i)
        r[i] = m[4 * i] * v.x + m[4 * i + 1] * v.y + m[4 * i + 2] * v.z + m[4 * i + 3] * v.w;
    return r;
}

Ray Matrix4::TransformRay(const Ray& ray) const {
    Vec3 origin = MultiplyPoint(ray.origin);
    Vec3 end = MultiplyPoint(ray.origin + ray.direction);
    return Ray(origin, end - origin);
}

void Matrix4::Transpose() {
    SwapElements(0, 1);
    SwapElements(0, 2);
    SwapElements(0, 3);
    SwapElements(1, 2);
    SwapElements(1, 3);
    SwapElements(2, 3);
}

void Matrix4::SwapElements(int row, int column) {
    std::swap(m[4 * row + column], m[4 * column + row]);
}

// Cofactors from pair products of the transposed matrix, twelve for each half; the order of the sums is kept
// fixed so that results are the same on every machine.
void Matrix4::Inverse() {
    float src[16];
    for (int i = 0; i < 4; ++i) {
        src[i] = m[4 * i];
        src[i + 4] = m[4 * i + 1];
        src[i + 8] = m[4 * i + 2];
        src[i + 12] = m[4 * i + 3];
    }

    float tmp[12];
    float dst[16];
    tmp[0] = src[10] * src[15];
    tmp[1] = src[11] * src[14];
    tmp[2] = src[9] * src[15];
    tmp[3] = src[11] * src[13];
    tmp[4] = src[9] * src[14];
    tmp[5] = src[10] * src[13];
    tmp[6] = src[8] * src[15];
    tmp[7] = src[11] * src[12];
    tmp[8] = src[8] * src[14];
    tmp[9] = src[10] * src[12];
    tmp[10] = src[8] * src[13];
    tmp[11] = src[9] * src[12];

    dst[0] = tmp[0] * src[5] + tmp[3] * src[6] + tmp[4] * src[7];
    dst[0] -= tmp[1] * src[5] + tmp[2] * src[6] + tmp[5] * src[7];
    dst[1] = tmp[1] * src[4] + tmp[6] * src[6] + tmp[9] * src[7];
    dst[1] -= tmp[0] * src[4] + tmp[7] * src[6] + tmp[8] * src[7];
    dst[2] = tmp[2] * src[4] + tmp[7] * src[5] + tmp[10] * src[7];
    dst[2] -= tmp[3] * src[4] + tmp[6] * src[5] + tmp[11] * src[7];
    dst[3] = tmp[5] * src[4] + tmp[8] * src[5] + tmp[11] * src[6];
    dst[3] -= tmp[4] * src[4] + tmp[9] * src[5] + tmp[10] * src[6];
    dst[4] = tmp[1] * src[1] + tmp[2] * src[2] + tmp[5] * src[3];
    dst[4] -= tmp[0] * src[1] + tmp[3] * src[2] + tmp[4] * src[3];
    dst[5] = tmp[0] * src[0] + tmp[7] * src[2] + tmp[8] * src[3];
    dst[5] -= tmp[1] * src[0] + tmp[6] * src[2] + tmp[9] * src[3];
    dst[6] = tmp[3] * src[0] + tmp[6] * src[1] + tmp[11] * src[3];
    dst[6] -= tmp[2] * src[0] + tmp[7] * src[1] + tmp[10] * src[3];
    dst[7] = tmp[4] * src[0] + tmp[9] * src[1] + tmp[10] * src[2];
    dst[7] -= tmp[5] * src[0] + tmp[8] * src[1] + tmp[11] * src[2];

    tmp[0] = src[2] * src[7];
    tmp[1] = src[3] * src[6];
    tmp[2] = src[1] * src[7];
    tmp[3] = src[3] * src[5];
    tmp[4] = src[1] * src[6];
    tmp[5] = src[2] * src[5];
    tmp[6] = src[0] * src[7];
    tmp[7] = src[3] * src[4];
    tmp[8] = src[0] * src[6];
    tmp[9] = src[2] * src[4];
    tmp[10] = src[0] * src[5];
    tmp[11] = src[1] * src[4];

    dst[8] = tmp[0] * src[13] + tmp[3] * src[14] + tmp[4] * src[15];
    dst[8] -= tmp[1] * src[13] + tmp[2] * src[14] + tmp[5] * src[15];
    dst[9] = tmp[1] * src[12] + tmp[6] * src[14] + tmp[9] * src[15];
    dst[9] -= tmp[0] * src[12] + tmp[7] * src[14] + tmp[8] * src[15];
    dst[10] = tmp[2] * src[12] + tmp[7] * src[13] + tmp[10] * src[15];
    dst[10] -= tmp[3] * src[12] + tmp[6] * src[13] + tmp[11] * src[15];
    dst[11] = tmp[5] * src[12] + tmp[8] * src[13] + tmp[11] * src[14];
    dst[11] -= tmp[4] * src[12] + tmp[9] * src[13] + tmp[10] * src[14];
    dst[12] = tmp[2] * src[10] + tmp[5] * src[11] + tmp[1] * src[9];
    dst[12] -= tmp[4] * src[11] + tmp[0] * src[9] + tmp[3] * src[10];
    dst[13] = tmp[8] * src[11] + tmp[0] * src[8] + tmp[7] * src[10];
    dst[13] -= tmp[6] * src[10] + tmp[9] * src[11] + tmp[1] * src[8];
    dst[14] = tmp[6] * src[9] + tmp[11] * src[11] + tmp[3] * src[8];
    dst[14] -= tmp[10] * src[11] + tmp[2] * src[8] + tmp[7] * src[9];
    dst[15] = tmp[10] * src[10] + tmp[4] * src[8] + tmp[9] * src[9];
    dst[15] -= tmp[8] * src[9] + tmp[11] * src[10] + tmp[5] * src[8];

    float det = src[0] * dst[0] + src[1] * dst[1] + src[2] * dst[2] + src[3] * dst[3];
    float inverseDet = 1.0f / det;
    for (int j = 0; j < 16; ++j)
        m[j] = dst[j] * inverseDet;
}

bool Matrix4::Equals(const Matrix4& other) const {
    for (int i = 0; i < 16; ++i)
        if (!(std::fabs(m[i] - other.m[i]) <= 0.0001f))
            return false;
    return true;
}

} // namespace OrvexEngine
