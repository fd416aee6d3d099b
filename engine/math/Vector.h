// The small vector value types passed everywhere: positions, directions, sizes, texture coordinates and
// colours (a Vec4 colour reads r, g, b, a in 0..1). One template over the component type and count; plain
// values, no state beyond the components. Arithmetic is component by component in index order.
#pragma once

#include <cmath>
#include <type_traits>

namespace OrvexEngine {

// True when |a - b| < 0.0001, the difference taken in single precision.
inline bool FloatEquals(float a, float b) {
    return std::fabs(a - b) < 0.0001f;
}

template <class T, int N> struct VecComponents;
template <class T> struct VecComponents<T, 2> { T x = 0, y = 0; };
template <class T> struct VecComponents<T, 3> { T x = 0, y = 0, z = 0; };
template <class T> struct VecComponents<T, 4> { T x = 0, y = 0, z = 0, w = 0; };

template <class T, int N> class Vec : public VecComponents<T, N> {
public:
    static constexpr int count = N;

    Vec() = default;
    explicit Vec(T fill) {
        for (int i = 0; i < N; ++i)
            (*this)[i] = fill;
    }
    Vec(T x, T y) requires(N == 2) {
        this->x = x;
        this->y = y;
    }
    Vec(T x, T y, T z) requires(N == 3) {
        this->x = x;
        this->y = y;
        this->z = z;
    }
    Vec(T x, T y, T z, T w) requires(N == 4) { Set(x, y, z, w); }
    // From another size: the first min(N, M) components, the rest 0.
    template <int M>
    requires(M != N) explicit Vec(const Vec<T, M>& other) {
        for (int i = 0; i < N; ++i)
            (*this)[i] = i < M ? other[i] : T(0);
    }

    void Set(T x, T y, T z, T w) requires(N == 4) {
        this->x = x;
        this->y = y;
        this->z = z;
        this->w = w;
    }

    // The components lie side by side like an array; the engine hands them to the device that way.
    T& operator[](int i) { return (&this->x)[i]; }
    const T& operator[](int i) const { return (&this->x)[i]; }
    T* Data() { return &this->x; }
    const T* Data() const { return &this->x; }
    void CopyTo(T* out) const {
        for (int i = 0; i < N; ++i)
            out[i] = (*this)[i];
    }

    Vec operator+(const Vec& b) const {
        return Combine(b, [](T p, T q) { return p + q; });
    }
    Vec operator-(const Vec& b) const {
        return Combine(b, [](T p, T q) { return p - q; });
    }
    Vec operator*(const Vec& b) const {
        return Combine(b, [](T p, T q) { return p * q; });
    }
    Vec operator/(const Vec& b) const {
        return Combine(b, [](T p, T q) { return p / q; });
    }
    Vec operator*(T s) const {
        return Combine(Vec(s), [](T p, T q) { return p * q; });
    }
    // No zero test: callers pass non-zero divisors.
    Vec operator/(T s) const {
        return Combine(Vec(s), [](T p, T q) { return p / q; });
    }
    Vec operator/(int s) const requires(!std::is_same_v<T, int>) { return *this / static_cast<T>(s); }
    Vec operator-() const {
        return Combine(Vec(), [](T p, T) { return -p; });
    }
    Vec& operator+=(const Vec& b) { return *this = *this + b; }
    Vec& operator-=(const Vec& b) { return *this = *this - b; }
    Vec& operator*=(const Vec& b) { return *this = *this * b; }
    Vec& operator/=(const Vec& b) { return *this = *this / b; }
    Vec& operator*=(T s) { return *this = *this * s; }
    Vec& operator/=(T s) { return *this = *this / s; }

    T Dot(const Vec& b) const {
        T sum = 0;
        for (int i = 0; i < N; ++i)
            sum += (*this)[i] * b[i];
        return sum;
    }
    T LengthSquared() const { return Dot(*this); }
    T Length() const { return std::sqrt(LengthSquared()); }

    Vec Cross(const Vec& b) const requires(N == 3) {
        return Vec(this->y * b.z - this->z * b.y, this->z * b.x - this->x * b.z,
                   this->x * b.y - this->y * b.x);
    }

    // Scales to the target length; a vector shorter than 0.0001 times the target is left as it is, so a
    // zero vector never divides by zero.
    void Normalize(T length = 1) {
        T r = std::sqrt(LengthSquared()) / length;
        if (std::fabs(r) < T(0.0001))
            return;
        for (int i = 0; i < N; ++i)
            (*this)[i] /= r;
    }
    Vec Normalized() const {
        Vec copy = *this;
        copy.Normalize(1);
        return copy;
    }

    // a * (1 - t) + b * t, t not clamped.
    Vec Lerp(const Vec& b, T t) const {
        Vec far = b * t;
        Vec near = *this * (T(1) - t);
        return near + far;
    }

    // Every component strictly greater; no tolerance.
    bool GreaterThan(const Vec& b) const {
        for (int i = 0; i < N; ++i)
            if (!((*this)[i] > b[i]))
                return false;
        return true;
    }
    // Some component pair differs by 0.0001 or more.
    bool NotEquals(const Vec& b) const {
        for (int i = 0; i < N; ++i)
            if (!FloatEquals(static_cast<float>((*this)[i]), static_cast<float>(b[i])))
                return true;
        return false;
    }
    // Floats compare within 0.0001 per component, integers exactly.
    bool operator==(const Vec& b) const {
        if constexpr (std::is_integral_v<T>) {
            for (int i = 0; i < N; ++i)
                if ((*this)[i] != b[i])
                    return false;
            return true;
        } else {
            return !NotEquals(b);
        }
    }

private:
    template <class F> Vec Combine(const Vec& b, F op) const {
        Vec r;
        for (int i = 0; i < N; ++i)
            r[i] = op((*this)[i], b[i]);
        return r;
    }
};

template <class T, int N> Vec<T, N> operator*(T s, const Vec<T, N>& v) {
    return v * s;
}

using Vec2 = Vec<float, 2>;
using Vec3 = Vec<float, 3>;
using Vec4 = Vec<float, 4>;
using Vec2i = Vec<int, 2>;

} // namespace OrvexEngine
