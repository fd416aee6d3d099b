#define GL_GLEXT_PROTOTYPES 1
#include "platform/d3d/Direct3D.h"

#include "platform/d3d/D3DSettings.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <SDL2/SDL.h>

#include <algorithm>
#include <cmath>

namespace platform {

const Guid DeviceGuidTnLHal{0x56e1a1f0u, 0x3b2c, 0x4e10, {0x9a, 0x61, 0x10, 0x7e, 0x44, 0x02, 0xd3, 0x71}};
const Guid DeviceGuidHal{0x56e1a1f1u, 0x3b2c, 0x4e10, {0x9a, 0x61, 0x10, 0x7e, 0x44, 0x02, 0xd3, 0x71}};
const Guid DeviceGuidReference{0x56e1a1f2u, 0x3b2c, 0x4e10, {0x9a, 0x61, 0x10, 0x7e, 0x44, 0x02, 0xd3, 0x71}};
const Guid DeviceGuidSoftware{0x56e1a1f3u, 0x3b2c, 0x4e10, {0x9a, 0x61, 0x10, 0x7e, 0x44, 0x02, 0xd3, 0x71}};

namespace {

constexpr Result ErrSceneInScene = MakeDDResult(750);
constexpr Result ErrSceneNotInScene = MakeDDResult(751);

DeviceDesc MakeDeviceDesc(bool hardware) {
    DeviceDesc d;
    d.devCaps = hardware ? DevCapsHwRasterization : 0;
    d.renderBitDepth = RenderDepth16 | RenderDepth32;
    d.maxTextureWidth = d.maxTextureHeight = 16384;
    d.maxSimultaneousTextures = static_cast<uint16_t>(Device::MaxStages);
    d.maxAnisotropy = 16;
    d.maxActiveLights = Device::MaxLights;
    if (SDL_GL_GetCurrentContext() != nullptr) {
        GLint value = 0;
        glGetIntegerv(GL_MAX_TEXTURE_SIZE, &value);
        if (value > 0)
            d.maxTextureWidth = d.maxTextureHeight = static_cast<uint32_t>(value);
        value = 0;
        glGetIntegerv(GL_MAX_TEXTURE_UNITS, &value);
        if (value > 0)
            d.maxSimultaneousTextures = static_cast<uint16_t>(std::min<GLint>(value, Device::MaxStages));
        GLfloat anisotropy = 0;
        glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &anisotropy);
        glGetError(); // a context without the extension reports an invalid enum
        if (anisotropy >= 1)
            d.maxAnisotropy = static_cast<uint32_t>(anisotropy);
    }
    const D3DSettings& s = Settings();
    if (s.stageCount != 0)
        d.maxSimultaneousTextures = s.stageCount;
    if (!hardware && s.softwareStageCount != 0)
        d.maxSimultaneousTextures = s.softwareStageCount;
    if (s.maxAnisotropy != 0)
        d.maxAnisotropy = s.maxAnisotropy;
    if (s.maxTextureSize != 0)
        d.maxTextureWidth = d.maxTextureHeight = s.maxTextureSize;
    d.deviceGuid = hardware ? DeviceGuidTnLHal : DeviceGuidSoftware;
    return d;
}

PixelFormat RgbFormat(uint32_t flags, uint32_t bits, uint32_t r, uint32_t g, uint32_t b, uint32_t a) {
    PixelFormat f;
    f.flags = flags;
    f.bitCount = bits;
    f.redMask = r;
    f.greenMask = g;
    f.blueMask = b;
    f.alphaMask = a;
    return f;
}

GLenum BlendFactor(uint32_t v) {
    switch (v) {
    case BlendOne:
        return GL_ONE;
    case BlendSrcColor:
        return GL_SRC_COLOR;
    case BlendInvSrcColor:
        return GL_ONE_MINUS_SRC_COLOR;
    case BlendSrcAlpha:
        return GL_SRC_ALPHA;
    case BlendInvSrcAlpha:
        return GL_ONE_MINUS_SRC_ALPHA;
    case BlendDestAlpha:
        return GL_DST_ALPHA;
    case BlendInvDestAlpha:
        return GL_ONE_MINUS_DST_ALPHA;
    case BlendDestColor:
        return GL_DST_COLOR;
    case BlendInvDestColor:
        return GL_ONE_MINUS_DST_COLOR;
    case BlendSrcAlphaSat:
        return GL_SRC_ALPHA_SATURATE;
    default:
        return GL_ZERO;
    }
}

GLenum CompareFunction(uint32_t v) {
    static const GLenum functions[] = {GL_NEVER,   GL_NEVER,    GL_LESS,   GL_EQUAL, GL_LEQUAL,
                                       GL_GREATER, GL_NOTEQUAL, GL_GEQUAL, GL_ALWAYS};
    return v < 9 ? functions[v] : GL_ALWAYS;
}

GLenum StencilOperation(uint32_t v) {
    static const GLenum operations[] = {GL_KEEP, GL_KEEP,   GL_ZERO,      GL_REPLACE,  GL_INCR,
                                        GL_DECR, GL_INVERT, GL_INCR_WRAP, GL_DECR_WRAP};
    return v < 9 ? operations[v] : GL_KEEP;
}

GLenum CombineSource(uint32_t arg) {
    switch (arg & 0xF) {
    case TaDiffuse:
        return GL_PRIMARY_COLOR;
    case TaTexture:
        return GL_TEXTURE;
    default:
        return GL_PREVIOUS;
    }
}

ColorValue Unpack(uint32_t c) {
    return ColorValue{static_cast<float>((c >> 16) & 0xFF) / 255.0f,
                      static_cast<float>((c >> 8) & 0xFF) / 255.0f, static_cast<float>(c & 0xFF) / 255.0f,
                      static_cast<float>(c >> 24) / 255.0f};
}

} // namespace

// ---------------------------------------------------------------------------------------------------------

Direct3D::Direct3D(DisplayDriver* owner) : driver(owner) {
    Settings().liveObjects++;
    driver->AddRef();
}

Direct3D::~Direct3D() {
    Settings().liveObjects--;
    driver->Release();
}

Result Direct3D::EnumDevices(const DeviceCallback& callback) const {
    if (Settings().hardwareDevice) {
        DeviceDesc hal = MakeDeviceDesc(true);
        if (!callback("Hardware device with transform and lighting", "T&L HAL", hal))
            return ResultOk;
    }
    DeviceDesc software = MakeDeviceDesc(false);
    callback("Software rasterizer", "Software", software);
    return ResultOk;
}

Result Direct3D::EnumZBufferFormats(const Guid& /*device*/, const FormatCallback& callback) const {
    std::vector<PixelFormat> formats;
    PixelFormat f;
    f.flags = PixelZBuffer;
    f.bitCount = 16;
    formats.push_back(f);
    f.bitCount = 32; // 24 bits of depth, 8 unused
    formats.push_back(f);
    if (Settings().stencilFormats) {
        f.flags = PixelZBuffer | PixelStencilBuffer;
        f.stencilBits = 8;
        formats.push_back(f);
    }
    for (const PixelFormat& format : formats)
        if (!callback(format))
            break;
    return ResultOk;
}

Result Direct3D::CreateDevice(const Guid& device, Surface* renderTarget, Device** out) {
    *out = nullptr;
    Result r = ErrGeneric;
    if (D3DShouldFail(D3DStep::CreateDevice, &r))
        return r;
    bool hardware = device == DeviceGuidTnLHal;
    if (!hardware && !(device == DeviceGuidSoftware))
        return ErrInvalidParams;
    if (hardware && !Settings().hardwareDevice)
        return ErrInvalidParams;
    if (renderTarget == nullptr || renderTarget->GetKind() != Surface::Kind::RenderTarget)
        return MakeDDResult(592); // invalid surface type
    driver->MakeCurrent();
    *out = new Device(this, renderTarget, MakeDeviceDesc(hardware));
    return ResultOk;
}

// ---------------------------------------------------------------------------------------------------------

Device::Device(Direct3D* owner, Surface* renderTarget, const DeviceDesc& desc)
    : direct3D(owner), target(renderTarget), caps(desc) {
    Settings().liveObjects++;
    direct3D->AddRef();
    target->AddRef();
    glClipControl(GL_LOWER_LEFT, GL_ZERO_TO_ONE);
    glBindFramebuffer(GL_FRAMEBUFFER, target->GetFramebuffer());
    glGenSamplers(static_cast<GLsizei>(MaxStages), samplers.data());
    for (uint32_t i = 0; i < MaxStages; ++i)
        glBindSampler(i, samplers[i]);
    SurfaceDesc d;
    target->GetSurfaceDesc(d);
    ApplyViewport(Viewport{0, 0, d.width, d.height, 0, 1});
    ApplyDefaults();
}

Device::~Device() {
    Settings().liveObjects--;
    direct3D->GetDriver()->MakeCurrent();
    for (uint32_t i = 0; i < MaxStages; ++i)
        glBindSampler(i, 0);
    glDeleteSamplers(static_cast<GLsizei>(MaxStages), samplers.data());
    target->Release();
    direct3D->Release();
}

void Device::ApplyDefaults() {
    // Direct3D's initial states.
    renderStates[RsZEnable] = target->GetDepthBuffer() != nullptr ? 1 : 0;
    renderStates[RsZWriteEnable] = 1;
    renderStates[RsZFunc] = CmpLessEqual;
    renderStates[RsSrcBlend] = BlendOne;
    renderStates[RsDestBlend] = BlendZero;
    renderStates[RsCullMode] = CullCounterClockwise;
    renderStates[RsLighting] = 1;
    renderStates[RsColorVertex] = 1;
    renderStates[RsDiffuseMaterialSource] = MaterialSourceColor1;
    renderStates[RsAmbientMaterialSource] = MaterialSourceMaterial;
    renderStates[RsStencilFunc] = CmpAlways;
    renderStates[RsStencilFail] = StencilKeep;
    renderStates[RsStencilZFail] = StencilKeep;
    renderStates[RsStencilPass] = StencilKeep;
    renderStates[RsStencilMask] = 0xFFFFFFFFu;
    renderStates[RsStencilWriteMask] = 0xFFFFFFFFu;
    for (uint32_t state :
         {RsZEnable, RsZWriteEnable, RsZFunc, RsSrcBlend, RsAlphaBlendEnable, RsCullMode, RsLighting,
          RsAmbient, RsNormalizeNormals, RsStencilEnable, RsStencilFunc, RsStencilPass, RsStencilWriteMask})
        ApplyRenderState(state);
    glFrontFace(GL_CCW);
    glShadeModel(GL_SMOOTH);
    ApplyRenderState(RsSpecularEnable);
    for (uint32_t stage = 0; stage < MaxStages; ++stage) {
        auto& s = stageStates[stage];
        s[TssColorOp] = stage == 0 ? TopModulate : TopDisable;
        s[TssColorArg1] = TaTexture;
        s[TssColorArg2] = TaCurrent;
        s[TssAlphaOp] = stage == 0 ? TopSelectArg1 : TopDisable;
        s[TssAlphaArg1] = TaTexture;
        s[TssAlphaArg2] = TaCurrent;
        s[TssTexCoordIndex] = stage;
        s[TssAddressU] = s[TssAddressV] = AddressWrap;
        s[TssMagFilter] = MagPoint;
        s[TssMinFilter] = MinPoint;
        s[TssMipFilter] = MipNone;
        s[TssMaxAnisotropy] = 1;
        for (uint32_t state : {TssColorOp, TssAddressU, TssAddressV, TssMagFilter, TssMaxAnisotropy})
            ApplyStageState(stage, state);
        glActiveTexture(GL_TEXTURE0 + stage);
        glDisable(GL_TEXTURE_2D);
    }
    glActiveTexture(GL_TEXTURE0);
    SetMaterial(Material());
    LoadModelView();
    LoadProjection();
}

void Device::LoadProjection() const {
    // Direct3D samples pixels at their integer corners, GL at their centres: the picture moves (almost) half
    // a pixel right and down so that pictures made for the device land on the same pixels. A little less than
    // half keeps edges off the pixel centres, so a pixel on a top or left edge is drawn as Direct3D draws it.
    const float shift = 1.0f - 2.0f / 64.0f; // in half pixels
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glTranslatef(shift / static_cast<float>(viewportWidth), -shift / static_cast<float>(viewportHeight), 0);
    glMultMatrixf(projection.m);
    glMatrixMode(GL_MODELVIEW);
}

Result Device::GetCaps(DeviceDesc& out) const {
    out = caps;
    return ResultOk;
}

Result Device::EnumTextureFormats(const FormatCallback& callback) const {
    const uint32_t rgb = PixelRGB;
    const uint32_t rgba = PixelRGB | PixelAlphaPixels;
    std::vector<PixelFormat> formats = {
        RgbFormat(rgba, 32, 0xFF0000, 0x00FF00, 0x0000FF, 0xFF000000u),
        RgbFormat(rgb, 32, 0xFF0000, 0x00FF00, 0x0000FF, 0),
        RgbFormat(rgb, 16, 0xF800, 0x07E0, 0x001F, 0),
        RgbFormat(rgba, 16, 0x0F00, 0x00F0, 0x000F, 0xF000),
        RgbFormat(rgba, 16, 0x7C00, 0x03E0, 0x001F, 0x8000),
        RgbFormat(rgb, 16, 0x7C00, 0x03E0, 0x001F, 0),
    };
    for (char digit = '1'; digit <= '5'; ++digit) {
        PixelFormat f;
        f.flags = PixelFourCC;
        f.fourCC = MakeFourCC('D', 'X', 'T', digit);
        formats.push_back(f);
    }
    for (const PixelFormat& format : formats)
        if (!callback(format))
            break;
    return ResultOk;
}

Result Device::SetViewport(const Viewport& viewport) {
    Result r = ErrGeneric;
    if (D3DShouldFail(D3DStep::SetViewport, &r))
        return r;
    return ApplyViewport(viewport);
}

Result Device::ApplyViewport(const Viewport& viewport) {
    SurfaceDesc d;
    target->GetSurfaceDesc(d);
    if (viewport.width == 0 || viewport.height == 0 || viewport.x + viewport.width > d.width ||
        viewport.y + viewport.height > d.height)
        return ErrInvalidParams;
    direct3D->GetDriver()->MakeCurrent();
    // Direct3D counts rows from the top, GL from the bottom.
    GLint y = static_cast<GLint>(d.height - viewport.y - viewport.height);
    glViewport(static_cast<GLint>(viewport.x), y, static_cast<GLsizei>(viewport.width),
               static_cast<GLsizei>(viewport.height));
    glScissor(static_cast<GLint>(viewport.x), y, static_cast<GLsizei>(viewport.width),
              static_cast<GLsizei>(viewport.height));
    glDepthRange(viewport.minZ, viewport.maxZ);
    viewportX = viewport.x;
    viewportY = viewport.y;
    viewportWidth = viewport.width;
    viewportHeight = viewport.height;
    LoadProjection();
    return ResultOk;
}

Result Device::SetRenderTarget(Surface* newTarget, uint32_t /*flags*/) {
    Result r = ErrGeneric;
    if (D3DShouldFail(D3DStep::SetRenderTarget, &r))
        return r;
    if (newTarget == nullptr || newTarget->GetKind() != Surface::Kind::RenderTarget)
        return MakeDDResult(592);
    newTarget->AddRef();
    target->Release();
    target = newTarget;
    direct3D->GetDriver()->MakeCurrent();
    glBindFramebuffer(GL_FRAMEBUFFER, target->GetFramebuffer());
    return ResultOk;
}

Result Device::Clear(uint32_t /*rectCount*/, const Rect* /*rects*/, uint32_t flags, uint32_t color, float z,
                     uint32_t stencil) {
    if (target->IsLost() != ResultOk)
        return ErrSurfaceLost;
    direct3D->GetDriver()->MakeCurrent();
    BindTarget();
    GLbitfield mask = 0;
    if ((flags & ClearTarget) != 0) {
        ColorValue c = Unpack(color);
        glClearColor(c.r, c.g, c.b, c.a);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if ((flags & ClearZBuffer) != 0) {
        glClearDepth(z);
        mask |= GL_DEPTH_BUFFER_BIT;
    }
    if ((flags & ClearStencil) != 0) {
        glClearStencil(static_cast<GLint>(stencil));
        mask |= GL_STENCIL_BUFFER_BIT;
    }
    // Direct3D's clear ignores the write masks; GL's honours them.
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_TRUE);
    glStencilMask(0xFFFFFFFFu);
    // The clear covers the viewport. A scissored clear costs the rasteriser a drawn rectangle where a whole
    // target is cleared at once, so the scissor is only used when the viewport is smaller than the target.
    SurfaceDesc d;
    target->GetSurfaceDesc(d);
    bool partial = viewportX != 0 || viewportY != 0 || viewportWidth != d.width || viewportHeight != d.height;
    if (partial)
        glEnable(GL_SCISSOR_TEST);
    glClear(mask);
    if (partial)
        glDisable(GL_SCISSOR_TEST);
    ApplyRenderState(RsZWriteEnable);
    ApplyRenderState(RsStencilWriteMask);
    return ResultOk;
}

Result Device::BeginScene() {
    if (target->IsLost() != ResultOk)
        return ErrSurfaceLost;
    if (inScene)
        return ErrSceneInScene;
    inScene = true;
    direct3D->GetDriver()->MakeCurrent();
    BindTarget();
    return ResultOk;
}

Result Device::EndScene() {
    if (!inScene)
        return ErrSceneNotInScene;
    inScene = false;
    if (target->IsLost() != ResultOk)
        return ErrSurfaceLost;
    direct3D->GetDriver()->MakeCurrent();
    glFlush();
    return ResultOk;
}

void Device::BindTarget() const {
    // Other surfaces bind framebuffers of their own, and a target may have moved into or out of the window.
    glBindFramebuffer(GL_FRAMEBUFFER, target->GetFramebuffer());
}

void Device::LoadModelView() const {
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(view.m);
    glMultMatrixf(world.m);
}

void Device::SendLight(uint32_t index) const {
    const LightDesc& l = lights[index];
    GLenum id = GL_LIGHT0 + index;
    // Direct3D keeps lights in world space: positions go through the view alone.
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadMatrixf(view.m);
    auto colour = [](const ColorValue& c) { return std::array<GLfloat, 4>{c.r, c.g, c.b, c.a}; };
    glLightfv(id, GL_DIFFUSE, colour(l.diffuse).data());
    glLightfv(id, GL_SPECULAR, colour(l.specular).data());
    glLightfv(id, GL_AMBIENT, colour(l.ambient).data());
    if (l.type == LightDirectional) {
        GLfloat direction[4] = {-l.direction.x, -l.direction.y, -l.direction.z, 0};
        glLightfv(id, GL_POSITION, direction);
        glLightf(id, GL_SPOT_CUTOFF, 180);
        glLightf(id, GL_CONSTANT_ATTENUATION, 1);
        glLightf(id, GL_LINEAR_ATTENUATION, 0);
        glLightf(id, GL_QUADRATIC_ATTENUATION, 0);
    } else {
        GLfloat position[4] = {l.position.x, l.position.y, l.position.z, 1};
        glLightfv(id, GL_POSITION, position);
        glLightf(id, GL_CONSTANT_ATTENUATION, l.attenuation0);
        glLightf(id, GL_LINEAR_ATTENUATION, l.attenuation1);
        glLightf(id, GL_QUADRATIC_ATTENUATION, l.attenuation2);
        if (l.type == LightSpot) {
            GLfloat direction[3] = {l.direction.x, l.direction.y, l.direction.z};
            glLightfv(id, GL_SPOT_DIRECTION, direction);
            float cutoff = std::clamp(l.phi * 0.5f * 57.29578f, 0.0f, 90.0f);
            glLightf(id, GL_SPOT_CUTOFF, cutoff);
            glLightf(id, GL_SPOT_EXPONENT, std::clamp(l.falloff, 0.0f, 128.0f));
        } else {
            glLightf(id, GL_SPOT_CUTOFF, 180);
        }
    }
    glPopMatrix();
}

Result Device::SetTransform(uint32_t type, const Matrix& matrix) {
    direct3D->GetDriver()->MakeCurrent();
    if (type == TransformWorld || type == TransformView) {
        (type == TransformWorld ? world : view) = matrix;
        if (type == TransformView)
            for (uint32_t i = 0; i < MaxLights; ++i)
                if (lightSet[i])
                    SendLight(i);
        LoadModelView();
        return ResultOk;
    }
    if (type == TransformProjection) {
        projection = matrix;
        LoadProjection();
        return ResultOk;
    }
    if (type >= TransformTexture0 && type < TransformTexture0 + MaxStages) {
        textureMatrices[type - TransformTexture0] = matrix;
        ApplyStageState(type - TransformTexture0, TssTextureTransformFlags);
        return ResultOk;
    }
    return ErrInvalidParams;
}

Result Device::SetRenderState(uint32_t state, uint32_t value) {
    if (state >= renderStates.size())
        return ErrInvalidParams;
    renderStates[state] = value;
    direct3D->GetDriver()->MakeCurrent();
    ApplyRenderState(state);
    return ResultOk;
}

Result Device::GetRenderState(uint32_t state, uint32_t* value) const {
    if (state >= renderStates.size())
        return ErrInvalidParams;
    *value = renderStates[state];
    return ResultOk;
}

void Device::ApplyRenderState(uint32_t state) {
    uint32_t v = renderStates[state];
    auto enable = [](GLenum cap, bool on) { on ? glEnable(cap) : glDisable(cap); };
    switch (state) {
    case RsZEnable:
        enable(GL_DEPTH_TEST, v != 0);
        break;
    case RsZWriteEnable:
        glDepthMask(v != 0 ? GL_TRUE : GL_FALSE);
        break;
    case RsZFunc:
        glDepthFunc(CompareFunction(v));
        break;
    case RsAlphaBlendEnable:
        enable(GL_BLEND, v != 0);
        break;
    case RsSrcBlend:
    case RsDestBlend:
        glBlendFunc(BlendFactor(renderStates[RsSrcBlend]), BlendFactor(renderStates[RsDestBlend]));
        break;
    case RsCullMode:
        // On screen, clockwise triangles are GL's back faces (front faces are counter-clockwise).
        enable(GL_CULL_FACE, v == CullClockwise || v == CullCounterClockwise);
        glCullFace(v == CullCounterClockwise ? GL_FRONT : GL_BACK);
        break;
    case RsLighting:
        enable(GL_LIGHTING, v != 0);
        break;
    case RsAmbient: {
        ColorValue c = Unpack(v);
        GLfloat ambient[4] = {c.r, c.g, c.b, c.a};
        glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
        break;
    }
    case RsNormalizeNormals:
        enable(GL_NORMALIZE, v != 0);
        break;
    case RsSpecularEnable:
        // The viewer's place and a separate specular colour only matter to specular light; without it they
        // would only cost every vertex and pixel more work.
        glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, v != 0 ? GL_TRUE : GL_FALSE);
        glLightModeli(GL_LIGHT_MODEL_COLOR_CONTROL, v != 0 ? GL_SEPARATE_SPECULAR_COLOR : GL_SINGLE_COLOR);
        SetMaterial(material);
        break;
    case RsStencilEnable:
        enable(GL_STENCIL_TEST, v != 0);
        break;
    case RsStencilFunc:
    case RsStencilRef:
    case RsStencilMask:
        glStencilFunc(CompareFunction(renderStates[RsStencilFunc]),
                      static_cast<GLint>(renderStates[RsStencilRef]), renderStates[RsStencilMask]);
        break;
    case RsStencilFail:
    case RsStencilZFail:
    case RsStencilPass:
        glStencilOp(StencilOperation(renderStates[RsStencilFail]),
                    StencilOperation(renderStates[RsStencilZFail]),
                    StencilOperation(renderStates[RsStencilPass]));
        break;
    case RsStencilWriteMask:
        glStencilMask(renderStates[RsStencilWriteMask]);
        break;
    default:
        break; // kept for GetRenderState and read at draw time
    }
}

Result Device::SetTextureStageState(uint32_t stage, uint32_t state, uint32_t value) {
    if (stage >= caps.maxSimultaneousTextures || stage >= MaxStages || state >= stageStates[0].size())
        return ErrInvalidParams;
    stageStates[stage][state] = value;
    direct3D->GetDriver()->MakeCurrent();
    ApplyStageState(stage, state);
    return ResultOk;
}

Result Device::GetTextureStageState(uint32_t stage, uint32_t state, uint32_t* value) const {
    if (stage >= MaxStages || state >= stageStates[0].size())
        return ErrInvalidParams;
    *value = stageStates[stage][state];
    return ResultOk;
}

void Device::ApplyStageState(uint32_t stage, uint32_t state) {
    const auto& s = stageStates[stage];
    GLuint sampler = samplers[stage];
    switch (state) {
    case TssColorOp:
    case TssColorArg1:
    case TssColorArg2:
    case TssAlphaOp:
    case TssAlphaArg1:
    case TssAlphaArg2: {
        glActiveTexture(GL_TEXTURE0 + stage);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
        auto combine = [](GLenum modeName, GLenum src0, GLenum src1, uint32_t op, uint32_t arg1,
                          uint32_t arg2) {
            GLenum mode = GL_MODULATE;
            GLenum first = CombineSource(arg1);
            if (op == TopDisable) {
                mode = GL_REPLACE;
                first = GL_PREVIOUS;
            } else if (op == TopSelectArg1) {
                mode = GL_REPLACE;
            } else if (op == TopSelectArg2) {
                mode = GL_REPLACE;
                first = CombineSource(arg2);
            }
            glTexEnvi(GL_TEXTURE_ENV, modeName, static_cast<GLint>(mode));
            glTexEnvi(GL_TEXTURE_ENV, src0, static_cast<GLint>(first));
            glTexEnvi(GL_TEXTURE_ENV, src1, static_cast<GLint>(CombineSource(arg2)));
        };
        combine(GL_COMBINE_RGB, GL_SRC0_RGB, GL_SRC1_RGB, s[TssColorOp], s[TssColorArg1], s[TssColorArg2]);
        combine(GL_COMBINE_ALPHA, GL_SRC0_ALPHA, GL_SRC1_ALPHA, s[TssAlphaOp], s[TssAlphaArg1],
                s[TssAlphaArg2]);
        glActiveTexture(GL_TEXTURE0);
        break;
    }
    case TssAddressU:
    case TssAddressV: {
        auto wrap = [](uint32_t v) {
            return static_cast<GLint>(v == AddressClamp    ? GL_CLAMP_TO_EDGE
                                      : v == AddressMirror ? GL_MIRRORED_REPEAT
                                                           : GL_REPEAT);
        };
        glSamplerParameteri(sampler, GL_TEXTURE_WRAP_S, wrap(s[TssAddressU]));
        glSamplerParameteri(sampler, GL_TEXTURE_WRAP_T, wrap(s[TssAddressV]));
        break;
    }
    case TssMagFilter:
    case TssMinFilter:
    case TssMipFilter:
    case TssMaxAnisotropy: {
        bool linearMag = s[TssMagFilter] == MagLinear || s[TssMagFilter] == MagAnisotropic;
        bool linearMin = s[TssMinFilter] == MinLinear || s[TssMinFilter] == MinAnisotropic;
        GLint min = linearMin ? GL_LINEAR : GL_NEAREST;
        if (s[TssMipFilter] == MipPoint)
            min = linearMin ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
        else if (s[TssMipFilter] == MipLinear)
            min = linearMin ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
        glSamplerParameteri(sampler, GL_TEXTURE_MAG_FILTER, linearMag ? GL_LINEAR : GL_NEAREST);
        glSamplerParameteri(sampler, GL_TEXTURE_MIN_FILTER, min);
        // GL applies anisotropy to any linear filter; Direct3D only to the anisotropic one.
        bool anisotropic = s[TssMinFilter] == MinAnisotropic || s[TssMagFilter] == MagAnisotropic;
        float amount = anisotropic ? static_cast<float>(std::max<uint32_t>(1, s[TssMaxAnisotropy])) : 1.0f;
        glSamplerParameterf(sampler, GL_TEXTURE_MAX_ANISOTROPY_EXT, amount);
        break;
    }
    case TssTextureTransformFlags: {
        glActiveTexture(GL_TEXTURE0 + stage);
        glMatrixMode(GL_TEXTURE);
        Matrix m;
        if (s[TssTextureTransformFlags] == TextureTransformCount2) {
            // Direct3D feeds (u, v, 1) and takes the translation from the third row; GL feeds (s, t, 0, 1).
            m = textureMatrices[stage];
            m.m[12] = m.m[8];
            m.m[13] = m.m[9];
        }
        glLoadMatrixf(m.m);
        glMatrixMode(GL_MODELVIEW);
        glActiveTexture(GL_TEXTURE0);
        break;
    }
    default:
        break;
    }
}

Result Device::SetTexture(uint32_t stage, Surface* texture) {
    if (stage >= MaxStages || stage >= caps.maxSimultaneousTextures)
        return ErrInvalidParams;
    if (texture != nullptr && texture->GetKind() != Surface::Kind::Texture)
        return ErrInvalidParams;
    direct3D->GetDriver()->MakeCurrent();
    glActiveTexture(GL_TEXTURE0 + stage);
    texturedStages &= ~(1u << stage);
    if (texture != nullptr) {
        texturedStages |= 1u << stage;
        glBindTexture(GL_TEXTURE_2D, texture->GetTexture());
        glEnable(GL_TEXTURE_2D);
    } else {
        glDisable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, 0);
    }
    glActiveTexture(GL_TEXTURE0);
    return ResultOk;
}

Result Device::SetMaterial(const Material& m) {
    material = m;
    direct3D->GetDriver()->MakeCurrent();
    auto set = [](GLenum name, const ColorValue& c) {
        GLfloat v[4] = {c.r, c.g, c.b, c.a};
        glMaterialfv(GL_FRONT_AND_BACK, name, v);
    };
    set(GL_DIFFUSE, m.diffuse);
    set(GL_AMBIENT, m.ambient);
    // Direct3D adds no specular light unless it is switched on (it starts off).
    set(GL_SPECULAR, renderStates[RsSpecularEnable] != 0 ? m.specular : ColorValue{0, 0, 0, m.specular.a});
    set(GL_EMISSION, m.emissive);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, std::clamp(m.power, 0.0f, 128.0f));
    return ResultOk;
}

Result Device::SetLight(uint32_t index, const LightDesc& light) {
    if (index >= MaxLights || light.type < LightPoint || light.type > LightDirectional)
        return ErrInvalidParams;
    lights[index] = light;
    lightSet[index] = true;
    direct3D->GetDriver()->MakeCurrent();
    SendLight(index);
    return ResultOk;
}

Result Device::LightEnable(uint32_t index, bool enable) {
    if (index >= MaxLights)
        return ErrInvalidParams;
    if (!lightSet[index] && enable) {
        // Direct3D switches on a default white directional light for an index never set.
        LightDesc fallback;
        fallback.type = LightDirectional;
        fallback.diffuse = ColorValue{1, 1, 1, 0};
        fallback.direction = Vector3{0, 0, 1};
        SetLight(index, fallback);
    }
    lightOn[index] = enable;
    direct3D->GetDriver()->MakeCurrent();
    enable ? glEnable(GL_LIGHT0 + index) : glDisable(GL_LIGHT0 + index);
    return ResultOk;
}

Result Device::DrawIndexedPrimitive(uint32_t type, uint32_t fvf, const void* vertices, uint32_t vertexCount,
                                    const uint16_t* indices, uint32_t indexCount, uint32_t /*flags*/) {
    return Draw(type, fvf, vertices, vertexCount, indices, false, indexCount);
}

Result Device::DrawIndexedPrimitive32(uint32_t type, uint32_t fvf, const void* vertices, uint32_t vertexCount,
                                      const uint32_t* indices, uint32_t indexCount, uint32_t /*flags*/) {
    return Draw(type, fvf, vertices, vertexCount, indices, true, indexCount);
}

Result Device::Draw(uint32_t type, uint32_t fvf, const void* vertices, uint32_t vertexCount,
                    const void* indices, bool wide, uint32_t indexCount) {
    if (!inScene)
        return ErrSceneNotInScene;
    if ((type != PrimitiveTriangleList && type != PrimitiveTriangleStrip) || vertices == nullptr ||
        indices == nullptr || vertexCount == 0)
        return ErrInvalidParams;
    const uint32_t plain = FvfXyz | FvfNormal | FvfTex1;
    if (fvf != plain && fvf != (plain | FvfDiffuse))
        return ErrInvalidParams;
    if (indexCount == 0)
        return ResultOk;
    direct3D->GetDriver()->MakeCurrent();
    bool coloured = (fvf & FvfDiffuse) != 0;
    GLsizei stride = coloured ? 36 : 32;
    const auto* base = static_cast<const uint8_t*>(vertices);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, stride, base);
    glEnableClientState(GL_NORMAL_ARRAY);
    glNormalPointer(GL_FLOAT, stride, base + 12);
    // Coordinates go only to the stages that sample a texture: every array given costs the draw a copy.
    for (uint32_t unit = 0; unit < MaxStages; ++unit) {
        bool used = (texturedStages & (1u << unit)) != 0;
        if (!used && (coordinateArrays & (1u << unit)) == 0)
            continue;
        glClientActiveTexture(GL_TEXTURE0 + unit);
        if (used) {
            glEnableClientState(GL_TEXTURE_COORD_ARRAY);
            glTexCoordPointer(2, GL_FLOAT, stride, base + (coloured ? 28 : 24));
        } else {
            glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        }
    }
    coordinateArrays = texturedStages;
    glClientActiveTexture(GL_TEXTURE0);
    bool lit = renderStates[RsLighting] != 0;
    if (coloured) {
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(GL_BGRA, GL_UNSIGNED_BYTE, stride, base + 24);
        bool diffuse = renderStates[RsDiffuseMaterialSource] == MaterialSourceColor1;
        bool ambient = renderStates[RsAmbientMaterialSource] == MaterialSourceColor1;
        if (lit && renderStates[RsColorVertex] != 0 && (diffuse || ambient)) {
            glColorMaterial(GL_FRONT_AND_BACK, diffuse && ambient ? GL_AMBIENT_AND_DIFFUSE
                                               : diffuse          ? GL_DIFFUSE
                                                                  : GL_AMBIENT);
            glEnable(GL_COLOR_MATERIAL);
        } else {
            glDisable(GL_COLOR_MATERIAL);
        }
    } else {
        // Without vertex colours Direct3D lights with the material and draws unlit vertices white.
        glDisableClientState(GL_COLOR_ARRAY);
        glDisable(GL_COLOR_MATERIAL);
        glColor4f(1, 1, 1, 1);
    }
    GLenum mode = type == PrimitiveTriangleStrip ? GL_TRIANGLE_STRIP : GL_TRIANGLES;
    glDrawRangeElements(mode, 0, vertexCount - 1, static_cast<GLsizei>(indexCount),
                        wide ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT, indices);
    if (coloured) {
        // Restore the material the colours replaced.
        glDisable(GL_COLOR_MATERIAL);
        SetMaterial(material);
    }
    Settings().drawCalls++;
    GLenum error = glGetError();
    if (error == GL_OUT_OF_MEMORY)
        return ErrOutOfMemory;
    return error == GL_NO_ERROR ? ResultOk : ErrInvalidParams;
}

} // namespace platform
