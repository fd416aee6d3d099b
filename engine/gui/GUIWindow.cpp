#include "engine/gui/GUIWindow.h"

#include "engine/graphics/IndexBuffer.h"
#include "engine/graphics/Model.h"
#include "engine/graphics/ModelManager.h"
#include "engine/graphics/ShaderDescriptor.h"
#include "engine/graphics/VertexBuffer.h"
#include "engine/gui/GUIFont.h"
#include "engine/gui/GUIFontManager.h"
#include "engine/math/Matrix4.h"

#include <algorithm>

namespace OrvexEngine {

namespace {

constexpr uint32_t layerFlags = GUI_WINDOW_LAYER_BACK | GUI_WINDOW_LAYER_FRONT | GUI_WINDOW_LAYER_TOP;
constexpr float defaultDepth = -15.0f;
constexpr float orderStep = 0.01f;

// The unit square with v growing upwards, as a strip of two triangles.
constexpr float quadCorners[4][2] = {{1, 0}, {1, 1}, {0, 0}, {0, 1}};

template <class Vertex> void WriteUnitQuad(Vertex* vertices) {
    for (int i = 0; i < 4; ++i) {
        vertices[i].position = Vec3(quadCorners[i][0], quadCorners[i][1], 0);
        vertices[i].normal = Vec3(0, 0, 1);
        vertices[i].u = quadCorners[i][0];
        vertices[i].v = quadCorners[i][1];
    }
}

} // namespace

GUIWindow::GUIWindow(GUIFontManager* fonts, Camera* camera, uint32_t newFlags, const Vec2& newPosition,
                     const Vec2& newSize, const Model* sourceModel, const ShaderDescriptor* material,
                     GUIWindow* newParent)
    : fontManager(fonts) {
    const bool vertexColors = (newFlags & GUI_WINDOW_VERTEX_COLORS) != 0;
    ModelManager* models = ModelManager::Instance();
    if (sourceModel != nullptr) {
        model =
            models->CreateModelCopy(*sourceModel, camera, vertexColors ? uint32_t(ModelVertexColors) : 0u);
        model->ClearFlags(ModelVisible | ModelLit | ModelDepthTest);
        model->SetFlags(ModelSecondList | ModelFixedSortDepth);
        if (material != nullptr)
            model->SetShader(*material);
    } else if (material != nullptr) {
        model = models->CreateModelFromArrays(vertexColors ? 0xC31 : 0xC11, 4, 4, 1, material, camera, 0);
        const uint32_t indices[4] = {0, 1, 2, 3};
        model->indexBuffer->SetIndices(0, 4, indices);
        if (vertexColors)
            WriteUnitQuad(model->vertexBuffer->LockColoredVertices(0, 4));
        else
            WriteUnitQuad(model->vertexBuffer->LockPlainVertices(0, 4));
        model->vertexBuffer->Unlock();
        model->ComputeBoundingBox(model->box);
        model->box.SetTransform(model->transform);
    }
    SetFlags(newFlags);
    order = 1;
    SetParent(newParent);
    position = newPosition;
    size = newSize;
}

GUIWindow::~GUIWindow() {
    if (parent != nullptr)
        parent->RemoveChild(this);
    for (GUIWindow* child : children) {
        child->parent = nullptr;
        child->SetParent(nullptr);
    }
    children.clear();
    if (ModelManager* models = ModelManager::Instance())
        models->DeleteModel(model);
    for (GUIQueuedText* text : texts)
        delete text;
}

void GUIWindow::Show(bool show) {
    if (show)
        SetFlags(GUI_WINDOW_VISIBLE);
    else
        ClearFlags(GUI_WINDOW_VISIBLE);
}

void GUIWindow::SetFlags(uint32_t bits) {
    if ((flags & bits) != 0)
        return;
    flags |= bits;
    if (bits & GUI_WINDOW_VISIBLE)
        UpdateVisibility();
    if (parent == nullptr) {
        if (flags & GUI_WINDOW_LAYER_BACK)
            SetDepth(-10);
        else if (flags & GUI_WINDOW_LAYER_FRONT)
            SetDepth(-20);
        else if (flags & GUI_WINDOW_LAYER_TOP)
            SetDepth(-30);
        else
            SetDepth(defaultDepth);
    }
}

void GUIWindow::ClearFlags(uint32_t bits) {
    if ((flags & bits) == 0)
        return;
    flags &= ~bits;
    if (bits & GUI_WINDOW_VISIBLE)
        UpdateVisibility();
    if (bits & layerFlags)
        SetDepth(defaultDepth);
}

void GUIWindow::SetOrder(int newOrder) {
    order = newOrder;
    if (parent != nullptr)
        SetDepth(parent->depth - float(order) * orderStep);
    for (GUIWindow* child : children)
        child->SetOrder(child->order);
}

void GUIWindow::SetParent(GUIWindow* newParent) {
    if (parent != nullptr)
        parent->RemoveChild(this);
    parent = newParent;
    if (parent != nullptr) {
        parent->AddChild(this);
        ClearFlags(layerFlags);
        SetOrder(order);
    } else if ((flags & layerFlags) == 0) {
        SetDepth(defaultDepth);
    }
    UpdateVisibility();
}

void GUIWindow::AddChild(GUIWindow* child) {
    children.push_back(child);
}

void GUIWindow::RemoveChild(GUIWindow* child) {
    auto found = std::find(children.begin(), children.end(), child);
    if (found != children.end())
        children.erase(found);
}

Vec2 GUIWindow::GetParentOrigin() const {
    Vec2 origin(0, 0);
    for (const GUIWindow* ancestor = parent; ancestor != nullptr; ancestor = ancestor->parent)
        origin += ancestor->position;
    return origin;
}

void GUIWindow::SetColor(const Vec4& color) {
    if (model != nullptr)
        model->vertexBuffer->SetColor(color);
}

void GUIWindow::SetAlpha(float alpha) {
    if (model != nullptr)
        model->vertexBuffer->SetAlpha(alpha);
}

Vec4 GUIWindow::GetColor() const {
    Vec4 color(1, 1, 1, 1);
    if (model != nullptr)
        model->vertexBuffer->GetVertexColor(color, 0);
    return color;
}

float GUIWindow::GetAlpha() const {
    return model != nullptr ? model->vertexBuffer->GetVertexAlpha(0) : 1.0f;
}

void GUIWindow::ScaleUV(const Vec2& scale) {
    if (model != nullptr)
        model->ScaleTextureCoordinates(scale);
}

void GUIWindow::SetShader(const ShaderDescriptor& material) {
    if (model != nullptr)
        model->ChangeShader(material);
}

ShaderUser* GUIWindow::GetShaderUser() const {
    return model != nullptr ? model->material : nullptr;
}

void GUIWindow::UpdateVisibility() {
    const bool wasVisible = visible;
    visible = (parent == nullptr || parent->visible) && (flags & GUI_WINDOW_VISIBLE) != 0;
    if (visible && !wasVisible)
        mouseOver = false;
    if (model != nullptr) {
        if (visible)
            model->SetFlags(ModelVisible);
        else
            model->ClearFlags(ModelVisible);
    }
    for (GUIWindow* child : children)
        child->UpdateVisibility();
}

bool GUIWindow::Update(const Vec2& cursor, bool, bool) {
    mouseOver = false;
    if (!visible)
        return false;
    Vec2 low = GetParentOrigin() + position;
    Vec2 high;
    if (selection) {
        low += selectionPosition;
        high = low + selectionSize;
    } else {
        high = low + size;
    }
    // Strictly inside: the border belongs to no window.
    mouseOver = low.x < cursor.x && cursor.x < high.x && low.y < cursor.y && cursor.y < high.y;
    return true;
}

bool GUIWindow::Render() {
    if (!visible) {
        textCount = 0;
        return false;
    }
    if (autoTransform && model != nullptr) {
        model->transform = model->baseTransform;
        model->box.SetTransform(model->transform);
        const Vec2 origin = GetParentOrigin() + position;
        model->transform = Matrix4::Translation(Vec3(origin.x, origin.y, 0))
                               .Multiply(Matrix4::Scaling(Vec3(size.x, size.y, 1)))
                               .Multiply(model->transform);
        model->box.SetTransform(model->transform);
    }
    if (fontManager != nullptr) {
        for (uint32_t i = 0; i < textCount; ++i) {
            const GUIQueuedText& record = *texts[i];
            GUIFont* font = record.fontSize >= 0 ? fontManager->GetFont(record.fontId) : nullptr;
            const float savedSize = font != nullptr ? font->size : 0;
            if (font != nullptr)
                font->size = record.fontSize;
            fontManager->DrawText(record.mode, record.fontId, record.angle, this, record.position,
                                  record.color, record.text);
            if (font != nullptr)
                font->size = savedSize;
        }
    }
    textCount = 0;
    return true;
}

void GUIWindow::QueueText(int32_t mode, int32_t fontId, const Vec2& offset, const Vec4& color,
                          const std::wstring& text, float angle, float fontSize) {
    if (text.empty())
        return;
    GUIQueuedText* record = NextTextRecord();
    record->mode = mode;
    record->fontId = fontId;
    record->angle = angle;
    record->fontSize = fontSize;
    record->position = offset;
    record->color = color;
    record->text = text;
}

GUIQueuedText* GUIWindow::NextTextRecord() {
    if (textCount == texts.size())
        texts.push_back(new GUIQueuedText);
    return texts[textCount++];
}

void GUIWindow::SetDepth(float newDepth) {
    depth = newDepth;
    if (model != nullptr)
        model->sortDepth = depth;
}

} // namespace OrvexEngine
