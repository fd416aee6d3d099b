#include "engine/graphics/Camera.h"

#include "engine/core/Window.h"

#include <cmath>

namespace OrvexEngine {

namespace {

constexpr float FourThirds = 1.3333334f;

} // namespace

Camera::Camera(int32_t kind) : projectionKind(kind), frustum(new Frustum()) {}

Camera::~Camera() {
    delete frustum;
}

void Camera::Update(float /*aspectRatio*/) {
    Window* window = Window::Instance();
    bool fullScreen = window != nullptr && window->fullscreen;
    bool wide = fullScreen && window->wideDesktop;
    bool tall = fullScreen && !wide && window->tallDesktop;
    float desktopAspect = window != nullptr ? window->desktopAspect : FourThirds;
    ViewExtents& e = frustumExtents;
    Matrix4 p;
    for (int i = 0; i < 16; ++i)
        p[i] = 0;
    if (projectionKind == 0) {
        float t = std::tan(FourThirds * fieldOfView * 0.25f);
        e.top = nearPlane * t;
        e.bottom = -e.top;
        e.left = e.bottom * FourThirds;
        e.right = e.top * FourThirds;
        displayExtents = e;
        if (wide) {
            float a = desktopAspect / FourThirds;
            displayExtents.left *= a;
            displayExtents.right *= a;
        } else if (tall) {
            float a = FourThirds / desktopAspect;
            displayExtents.top *= a;
            displayExtents.bottom *= a;
        }
        p[0] = 2 * nearPlane / (e.right - e.left);
        p[5] = 2 * nearPlane / (e.top - e.bottom);
        p[8] = (e.right + e.left) / (e.right - e.left);
        p[9] = (e.top + e.bottom) / (e.top - e.bottom);
        p[10] = -(farPlane + nearPlane) / (farPlane - nearPlane);
        p[11] = -1;
        p[14] = -2 * farPlane * nearPlane / (farPlane - nearPlane);
    } else {
        e.top = orthoHeight;
        e.bottom = 0;
        e.left = 0;
        e.right = orthoWidth;
        displayExtents = e;
        if (wide) {
            float a = desktopAspect / FourThirds;
            float d = (a - 1) * orthoWidth / 2;
            displayExtents.left -= d;
            displayExtents.right += d;
        } else if (tall) {
            float a = desktopAspect / FourThirds;
            float d = (1 - a) * orthoHeight / 2;
            displayExtents.top += d;
            displayExtents.bottom -= d;
        }
        p[0] = 2 / (e.right - e.left);
        p[5] = 2 / (e.top - e.bottom);
        p[10] = -2 / (farPlane - nearPlane);
        p[12] = -(e.right + e.left) / (e.right - e.left);
        p[13] = -(e.top + e.bottom) / (e.top - e.bottom);
        p[14] = -(farPlane + nearPlane) / (farPlane - nearPlane);
        p[15] = 1;
    }
    projectionMatrix = p;

    Matrix4 v = orientation.ToMatrix();
    v.Transpose();
    v.Translate(-position);
    v.Transpose();
    viewMatrix = v;
    rightAxis = Vec3(v[0], v[4], v[8]);
    upAxis = Vec3(v[1], v[5], v[9]);
    backAxis = Vec3(v[2], v[6], v[10]);
    backAxis.Normalize();
    frustum->FromMatrices(projectionMatrix, viewMatrix);
}

} // namespace OrvexEngine
