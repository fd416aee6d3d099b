// ctest-label: graphics
#include "engine/graphics/DirectXResultTexts.h"
#include "engine/graphics/IndexBuffer_D3D7.h"
#include "engine/graphics/VertexBuffer_D3D7.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace OrvexEngine;

TEST(IndexBufferTest, WidthFollowsTheCountAndNarrowBuffersKeepTheLow16Bits) {
    IndexBuffer_D3D7 narrow(0, 65535);
    IndexBuffer_D3D7 wide(0, 65536);
    EXPECT_FALSE(narrow.Is32Bit());
    EXPECT_EQ(narrow.GetIndexSize(), 2u);
    EXPECT_TRUE(wide.Is32Bit());
    EXPECT_EQ(wide.GetIndexSize(), 4u);

    uint32_t values[] = {70000};
    narrow.SetIndices(10, 1, values);
    wide.SetIndices(10, 1, values);
    EXPECT_EQ(narrow.GetIndex(10), 4464u);
    EXPECT_EQ(wide.GetIndex(10), 70000u);

    // A write reaching past the capacity keeps what fits and stops at the end, in either width.
    const uint32_t many[] = {1, 2, 3, 4, 5};
    narrow.SetIndices(65533, 5, many);
    wide.SetIndices(65534, 5, many);
    EXPECT_EQ(narrow.GetIndex(65534), 2u);
    EXPECT_EQ(wide.GetIndex(65535), 2u);
}

TEST(IndexBufferTest, RangeCoversTheIndicesInUseAndIsRecomputedAfterChanges) {
    IndexBuffer_D3D7 buffer(0, 5);
    uint32_t values[] = {7, 3, 9, 100, 1};
    buffer.SetIndices(0, 5, values);
    buffer.SetIndexCount(3);
    EXPECT_EQ(buffer.GetMinIndex(), 3u);
    EXPECT_EQ(buffer.GetIndexSpan(), 7u);

    buffer.SetIndexCount(0);
    EXPECT_EQ(buffer.GetMinIndex(), 0u);
    EXPECT_EQ(buffer.GetIndexSpan(), 0u);

    // A count beyond the capacity is held at the capacity, so the range never reads past the indices.
    buffer.SetIndexCount(1000);
    EXPECT_EQ(buffer.GetIndexCount(), 5u);
    EXPECT_EQ(buffer.GetMinIndex(), 1u);
    EXPECT_EQ(buffer.GetIndexSpan(), 100u);

    // A write through a lock marks the range stale.
    auto* raw = static_cast<uint16_t*>(buffer.Lock(3, 1));
    raw[0] = 2;
    buffer.Unlock();
    EXPECT_EQ(buffer.GetIndexSpan(), 9u);

    IndexBuffer_D3D7 copy(buffer);
    EXPECT_EQ(copy.GetIndex(3), 2u);
    EXPECT_EQ(copy.GetIndexSpan(), 9u);
}

TEST(VertexBufferTest, ColourPackingClampsAndRounds) {
    VertexBuffer_D3D7 buffer(0, true, 1);
    struct Case {
        Vec4 colour;
        uint32_t packed;
    } cases[] = {{Vec4(1.2f, 0.5f, -0.1f, 1), 0xFFFF8000u},
                 {Vec4(0, 0, 0, 0), 0x00000000u},
                 {Vec4(1, 1, 1, 1), 0xFFFFFFFFu},
                 {Vec4(0.2f, 0.4f, 0.6f, 0.8f), 0xCC336699u}};
    for (const Case& c : cases)
        EXPECT_EQ(buffer.PackColor(c.colour), c.packed);
    EXPECT_EQ(buffer.SetColorAlpha(0x12345678u, 0.0f), 0x00345678u);
    EXPECT_EQ(buffer.SetColorAlpha(0x12345678u, 2.0f), 0xFF345678u);
    EXPECT_EQ(buffer.SetColorAlpha(0x12345678u, 0.5f), 0x80345678u);
    Vec4 unpacked;
    buffer.UnpackColor(unpacked, 0x80FF0033u);
    EXPECT_NEAR(unpacked.x, 1.0f, 1e-6);
    EXPECT_NEAR(unpacked.z, 0.2f, 1e-6);
    EXPECT_NEAR(unpacked.w, 128 / 255.0f, 1e-6);
}

TEST(VertexBufferTest, PlainLayoutReportsWhiteAndIgnoresColourChanges) {
    VertexBuffer_D3D7 plain(0, false, 2);
    EXPECT_EQ(plain.GetStride(), 32u);
    plain.SetColor(Vec4(1, 0, 0, 1));
    plain.SetAlpha(0.25f);
    Vec4 colour;
    plain.GetVertexColor(colour, 1);
    EXPECT_EQ(colour, Vec4(1, 1, 1, 1));
    EXPECT_EQ(plain.GetVertexAlpha(0), 1.0f);

    VertexBuffer_D3D7 coloured(0, true, 2);
    EXPECT_EQ(coloured.GetStride(), 36u);
    coloured.GetVertexColor(colour, 0);
    EXPECT_EQ(colour, Vec4(1, 1, 1, 1)); // starts white
    coloured.SetAlpha(0.5f);
    EXPECT_NEAR(coloured.GetVertexAlpha(1), 128 / 255.0f, 1e-6);
}

TEST(VertexBufferTest, ConversionBetweenLayoutsKeepsGeometryAndWhitensColours) {
    VertexBuffer_D3D7 coloured(3, true, 2);
    ColoredVertex* v = coloured.LockColoredVertices(0, 2);
    for (int i = 0; i < 2; ++i) {
        v[i].position = Vec3(1.0f + i, 2, 3);
        v[i].normal = Vec3(0, 1, 0);
        v[i].color = 0x11223344u;
        v[i].u = 0.25f * i;
        v[i].v = 0.75f;
    }
    coloured.Unlock();

    VertexBuffer_D3D7 plain(3, false, coloured);
    const PlainVertex* p = reinterpret_cast<const PlainVertex*>(plain.GetData());
    EXPECT_EQ(p[1].position, Vec3(2, 2, 3));
    EXPECT_EQ(p[1].u, 0.25f);
    EXPECT_EQ(p[1].v, 0.75f);

    VertexBuffer_D3D7 back(3, true, plain);
    const ColoredVertex* c = reinterpret_cast<const ColoredVertex*>(back.GetData());
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(c[i].color, 0xFFFFFFFFu);
        EXPECT_EQ(c[i].position, v[i].position);
        EXPECT_EQ(c[i].normal, v[i].normal);
        EXPECT_EQ(c[i].u, v[i].u);
        EXPECT_EQ(c[i].v, v[i].v);
    }
    VertexBuffer_D3D7 clone(coloured);
    EXPECT_EQ(std::memcmp(clone.GetData(), coloured.GetData(), 72), 0);
    EXPECT_EQ(clone.GetKind(), 3);
}

TEST(VertexBufferTest, LockRangesAreCutAtTheEnd) {
    VertexBuffer_D3D7 buffer(0, false, 4);
    const uint8_t* start = buffer.GetData();
    EXPECT_EQ(static_cast<uint8_t*>(buffer.Lock(10, 5)), start + 4 * 32);
    buffer.Unlock();
}

TEST(DirectXResultTextTest, KnownCodesHaveTheirTextsAndOthersNone) {
    EXPECT_STREQ(DirectXResultText(static_cast<int32_t>(0x80004005u)),
                 "There is an undefined error condition.");
    EXPECT_STREQ(DirectXResultText(static_cast<int32_t>(0x8876024Bu)),
                 "This surface cannot be restored because it was created in a different mode.");
    EXPECT_STREQ(DirectXResultText(static_cast<int32_t>(0x88760078u)),
                 "DirectDraw does not support the requested mode.");
    EXPECT_EQ(DirectXResultText(static_cast<int32_t>(0x887602BCu)), nullptr);
}
