// The vocabulary of the DirectDraw 7 / Direct3D 7 stand-in: result codes (with the values the engine tests
// and turns into texts), capability and flag bits, and the records the engine reads. Only the parts the
// render system uses exist. Plain values; nothing here owns anything.
#pragma once

#include <cstdint>

namespace platform {

using Result = int32_t;

constexpr Result MakeDDResult(uint32_t code) {
    return static_cast<Result>(0x88760000u + code);
}
constexpr Result MakeComResult(uint32_t value) {
    return static_cast<Result>(value);
}

// Success codes: anything >= 0 succeeds.
constexpr Result ResultOk = 0;
constexpr Result ResultFalse = 1;

// Failures the layer itself returns; the engine's table has the texts of all the others.
constexpr Result ErrGeneric = MakeComResult(0x80004005u);
constexpr Result ErrUnsupported = MakeComResult(0x80004001u);
constexpr Result ErrInvalidParams = MakeComResult(0x80070057u);
constexpr Result ErrOutOfMemory = MakeComResult(0x8007000Eu);
constexpr Result ErrNotInitialized = MakeComResult(0x800401F0u);
constexpr Result ErrInvalidMode = MakeDDResult(120);
constexpr Result ErrInvalidObject = MakeDDResult(130);
constexpr Result ErrInvalidPixelFormat = MakeDDResult(145);
constexpr Result ErrNoExclusiveMode = MakeDDResult(225);
constexpr Result ErrNotFound = MakeDDResult(255);
constexpr Result ErrOutOfVideoMemory = MakeDDResult(380);
constexpr Result ErrSurfaceLost = MakeDDResult(450);
constexpr Result ErrSurfaceNotAttached = MakeDDResult(460);
constexpr Result ErrWasStillDrawing = MakeDDResult(540);
constexpr Result ErrNoHwnd = MakeDDResult(569);
constexpr Result ErrNotLocked = MakeDDResult(584);
constexpr Result ErrWrongMode = MakeDDResult(587);
constexpr Result ErrNoCooperativeLevelSet = MakeDDResult(212);

inline bool Succeeded(Result r) {
    return r >= 0;
}
inline bool Failed(Result r) {
    return r < 0;
}

// A 16-byte identifier of a driver or device kind.
struct Guid {
    uint32_t data1 = 0;
    uint16_t data2 = 0;
    uint16_t data3 = 0;
    uint8_t data4[8] = {};
    bool operator==(const Guid&) const = default;
};

// The device kinds the engine tells apart: the transform-and-lighting hardware device, the plain hardware
// device, the reference rasterizer and the ordinary software rasterizer.
extern const Guid DeviceGuidTnLHal;
extern const Guid DeviceGuidHal;
extern const Guid DeviceGuidReference;
extern const Guid DeviceGuidSoftware;

// Cooperative level flags.
constexpr uint32_t CoopFullScreen = 0x1;
constexpr uint32_t CoopAllowReboot = 0x2;
constexpr uint32_t CoopNormal = 0x8;
constexpr uint32_t CoopExclusive = 0x10;
constexpr uint32_t CoopFpuSetup = 0x800;

// Surface description flags (which fields are valid).
constexpr uint32_t DescCaps = 0x1;
constexpr uint32_t DescHeight = 0x2;
constexpr uint32_t DescWidth = 0x4;
constexpr uint32_t DescPitch = 0x8;
constexpr uint32_t DescBackBufferCount = 0x20;
constexpr uint32_t DescPixelFormat = 0x1000;
constexpr uint32_t DescMipMapCount = 0x20000;

// Surface capabilities.
constexpr uint32_t CapsBackBuffer = 0x4;
constexpr uint32_t CapsComplex = 0x8;
constexpr uint32_t CapsFlip = 0x10;
constexpr uint32_t CapsOffscreenPlain = 0x40;
constexpr uint32_t CapsPrimarySurface = 0x200;
constexpr uint32_t CapsSystemMemory = 0x800;
constexpr uint32_t CapsTexture = 0x1000;
constexpr uint32_t Caps3DDevice = 0x2000;
constexpr uint32_t CapsVideoMemory = 0x4000;
constexpr uint32_t CapsZBuffer = 0x20000;
constexpr uint32_t CapsMipMap = 0x400000;

// Pixel format flags.
constexpr uint32_t PixelAlphaPixels = 0x1;
constexpr uint32_t PixelFourCC = 0x4;
constexpr uint32_t PixelRGB = 0x40;
constexpr uint32_t PixelZBuffer = 0x400;
constexpr uint32_t PixelStencilBuffer = 0x4000;
constexpr uint32_t PixelLuminance = 0x20000;

constexpr uint32_t MakeFourCC(char a, char b, char c, char d) {
    return uint32_t(uint8_t(a)) | uint32_t(uint8_t(b)) << 8 | uint32_t(uint8_t(c)) << 16 |
           uint32_t(uint8_t(d)) << 24;
}

struct PixelFormat {
    uint32_t flags = 0;
    uint32_t fourCC = 0;
    uint32_t bitCount = 0; // colour bits, or the depth bits of a depth format (stencil bits included)
    uint32_t redMask = 0;
    uint32_t greenMask = 0;
    uint32_t blueMask = 0;
    uint32_t alphaMask = 0;
    uint32_t stencilBits = 0; // depth formats only
};

struct SurfaceDesc {
    uint32_t flags = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    int32_t pitch = 0;
    uint32_t backBufferCount = 0;
    uint32_t mipMapCount = 0;
    uint32_t refreshRate = 0;
    uint32_t caps = 0;
    uint32_t caps2 = 0;      // Caps2TextureManage for driver-managed textures
    uint32_t linearSize = 0; // compressed texture levels: bytes of the level
    PixelFormat pixelFormat;
};
constexpr uint32_t Caps2TextureManage = 0x10;

// The adapter's capabilities the engine reads.
constexpr uint32_t Caps2CanRenderWindowed = 0x80000;
struct DriverCaps {
    uint32_t caps = 0;
    uint32_t caps2 = 0;
};

// Device capabilities.
constexpr uint32_t DevCapsHwRasterization = 0x80000;
constexpr uint32_t RenderDepth32 = 0x100;
constexpr uint32_t RenderDepth24 = 0x200;
constexpr uint32_t RenderDepth16 = 0x400;
constexpr uint32_t RasterZBufferLessHsr = 0x8000;

struct DeviceDesc {
    uint32_t devCaps = 0;
    uint32_t triRasterCaps = 0;
    uint32_t renderBitDepth = 0;
    uint32_t maxTextureWidth = 0;
    uint32_t maxTextureHeight = 0;
    uint32_t maxAnisotropy = 0;
    uint32_t maxActiveLights = 0;
    uint16_t maxSimultaneousTextures = 0;
    Guid deviceGuid;
};

struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// Flip and blit flags.
constexpr uint32_t FlipWait = 0x1;
constexpr uint32_t FlipNoVSync = 0x8;
constexpr uint32_t BltWait = 0x1000000;
constexpr uint32_t WaitBlankBegin = 0x1;
// Lock flags.
constexpr uint32_t LockWait = 0x1;
constexpr uint32_t LockReadOnly = 0x10;
constexpr uint32_t LockWriteOnly = 0x20;

// Clear flags.
constexpr uint32_t ClearTarget = 0x1;
constexpr uint32_t ClearZBuffer = 0x2;
constexpr uint32_t ClearStencil = 0x4;

struct Viewport {
    uint32_t x = 0;
    uint32_t y = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    float minZ = 0;
    float maxZ = 1;
};

// Transform states.
constexpr uint32_t TransformWorld = 1;
constexpr uint32_t TransformView = 2;
constexpr uint32_t TransformProjection = 3;
constexpr uint32_t TransformTexture0 = 16; // + stage

// A 4x4 matrix in the row-vector layout (translation in elements 12, 13, 14).
struct Matrix {
    float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
};

// Render states.
constexpr uint32_t RsZEnable = 7;
constexpr uint32_t RsZWriteEnable = 14;
constexpr uint32_t RsSrcBlend = 19;
constexpr uint32_t RsDestBlend = 20;
constexpr uint32_t RsCullMode = 22;
constexpr uint32_t RsZFunc = 23;
constexpr uint32_t RsAlphaBlendEnable = 27;
constexpr uint32_t RsStencilEnable = 52;
constexpr uint32_t RsStencilFail = 53;
constexpr uint32_t RsStencilZFail = 54;
constexpr uint32_t RsStencilPass = 55;
constexpr uint32_t RsStencilFunc = 56;
constexpr uint32_t RsStencilRef = 57;
constexpr uint32_t RsStencilMask = 58;
constexpr uint32_t RsStencilWriteMask = 59;
constexpr uint32_t RsLighting = 137;
constexpr uint32_t RsAmbient = 139;
constexpr uint32_t RsColorVertex = 141;
constexpr uint32_t RsNormalizeNormals = 143;
constexpr uint32_t RsDiffuseMaterialSource = 145;
constexpr uint32_t RsAmbientMaterialSource = 147;

// Render-state values.
constexpr uint32_t BlendZero = 1, BlendOne = 2, BlendSrcColor = 3, BlendInvSrcColor = 4, BlendSrcAlpha = 5,
                   BlendInvSrcAlpha = 6, BlendDestAlpha = 7, BlendInvDestAlpha = 8, BlendDestColor = 9,
                   BlendInvDestColor = 10, BlendSrcAlphaSat = 11;
constexpr uint32_t CullNone = 1, CullClockwise = 2, CullCounterClockwise = 3;
constexpr uint32_t CmpNever = 1, CmpLess = 2, CmpEqual = 3, CmpLessEqual = 4, CmpGreater = 5, CmpNotEqual = 6,
                   CmpGreaterEqual = 7, CmpAlways = 8;
constexpr uint32_t StencilKeep = 1, StencilZero = 2, StencilReplace = 3, StencilIncrSat = 4,
                   StencilDecrSat = 5, StencilInvert = 6, StencilIncr = 7, StencilDecr = 8;
constexpr uint32_t MaterialSourceMaterial = 0, MaterialSourceColor1 = 1, MaterialSourceColor2 = 2;

// Texture-stage states and their values.
constexpr uint32_t TssColorOp = 1, TssColorArg1 = 2, TssColorArg2 = 3, TssAlphaOp = 4, TssAlphaArg1 = 5,
                   TssAlphaArg2 = 6, TssTexCoordIndex = 11, TssAddressU = 13, TssAddressV = 14,
                   TssMagFilter = 16, TssMinFilter = 17, TssMipFilter = 18, TssMaxAnisotropy = 21,
                   TssTextureTransformFlags = 24;
constexpr uint32_t TopDisable = 1, TopSelectArg1 = 2, TopSelectArg2 = 3, TopModulate = 4;
constexpr uint32_t TaDiffuse = 0, TaCurrent = 1, TaTexture = 2;
constexpr uint32_t AddressWrap = 1, AddressMirror = 2, AddressClamp = 3;
constexpr uint32_t MagPoint = 1, MagLinear = 2, MagAnisotropic = 5;
constexpr uint32_t MinPoint = 1, MinLinear = 2, MinAnisotropic = 3;
constexpr uint32_t MipNone = 1, MipPoint = 2, MipLinear = 3;
constexpr uint32_t TextureTransformCount2 = 2;

struct ColorValue {
    float r = 0, g = 0, b = 0, a = 0;
};

struct Material {
    ColorValue diffuse;
    ColorValue ambient;
    ColorValue specular;
    ColorValue emissive;
    float power = 0;
};

constexpr uint32_t LightPoint = 1, LightSpot = 2, LightDirectional = 3;
struct Vector3 {
    float x = 0, y = 0, z = 0;
};
struct LightDesc {
    uint32_t type = 0;
    ColorValue diffuse;
    ColorValue specular;
    ColorValue ambient;
    Vector3 position;
    Vector3 direction;
    float range = 0;
    float falloff = 0;
    float attenuation0 = 0;
    float attenuation1 = 0;
    float attenuation2 = 0;
    float theta = 0; // inner cone angle, radians
    float phi = 0;   // outer cone angle, radians
};

// Primitive types and vertex formats.
constexpr uint32_t PrimitiveTriangleList = 4;
constexpr uint32_t PrimitiveTriangleStrip = 5;
constexpr uint32_t FvfXyz = 0x2;
constexpr uint32_t FvfNormal = 0x10;
constexpr uint32_t FvfDiffuse = 0x40;
constexpr uint32_t FvfTex1 = 0x100;

} // namespace platform
