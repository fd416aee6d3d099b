#include "engine/gui/GUIFontManager.h"

#include "engine/gui/GUIFont.h"
#include "engine/gui/GUIWindow.h"

#include <algorithm>
#include <cmath>

namespace OrvexEngine {

namespace {

// Half the depth step between sibling windows: texts lie over their window and under its next sibling.
constexpr float textDepthOffset = 0.005f;
constexpr float depthTolerance = 0.0001f;

} // namespace

GUIFontManager::GUIFontManager(Camera* guiCamera) : camera(guiCamera) {}

GUIFontManager::~GUIFontManager() {
    for (auto& [id, font] : fonts)
        delete font;
    fonts.clear();
    for (GUIFont* batch : batches)
        delete batch;
    batches.clear();
}

GUIFont* GUIFontManager::CreateFont(int id, ShaderUser* shaderUser, const std::string& path) {
    RemoveFont(id);
    auto* font = new GUIFont(camera, shaderUser, path);
    fonts[id] = font;
    return font;
}

void GUIFontManager::RemoveFont(int id) {
    auto found = fonts.find(id);
    if (found == fonts.end())
        return;
    GUIFont* font = found->second;
    // Batches share the font's glyph table: they go with it.
    auto drawsWithFont = [font](GUIFont* batch) {
        if (batch->GetSource() != font)
            return false;
        delete batch;
        return true;
    };
    batches.erase(std::remove_if(batches.begin(), batches.end(), drawsWithFont), batches.end());
    delete font;
    fonts.erase(found);
}

GUIFont* GUIFontManager::GetFont(int id) const {
    auto found = fonts.find(id);
    return found != fonts.end() ? found->second : nullptr;
}

GUIFont* GUIFontManager::GetBatch(int id, const GUIWindow* window) {
    GUIFont* font = GetFont(id);
    if (font == nullptr)
        return nullptr;
    const float windowDepth = window->GetDepth();
    for (GUIFont* batch : batches)
        if (batch->GetSource() == font &&
            std::fabs(batch->GetDepth() + textDepthOffset - windowDepth) < depthTolerance)
            return batch;
    auto* batch = new GUIFont(font);
    batch->SetDepth(windowDepth - textDepthOffset);
    batches.push_back(batch);
    return batch;
}

Vec2 GUIFontManager::GetTextPosition(int32_t mode, int id, const GUIWindow* window, const Vec2& offset,
                                     float angle, const std::wstring& text) const {
    const GUIFont* font = GetFont(id);
    if (font == nullptr)
        return Vec2(0, 0);
    Vec2 origin = window->GetParentOrigin() + window->position;
    Vec2 area = window->size;
    if (window->textArea) {
        origin += window->textAreaPosition;
        area = window->textAreaSize;
    }
    if (mode == 0 && std::fabs(angle) < 0.0001f)
        return origin + offset; // placed by offset: nothing to measure

    const Vec2 measured = font->MeasureText(text, angle, -1);
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    Vec2 start = origin + offset;
    // A text running leftwards (downwards) starts a measured width (height) further on.
    const float backX = c < 0 ? measured.x : 0;
    const float backY = s < 0 ? measured.y : 0;
    if (mode & AlignCentreHorizontal)
        start.x = origin.x + (area.x - measured.x) * 0.5f + backX;
    else if (mode & AlignLeft)
        start.x = origin.x + backX;
    else if (mode & AlignRight)
        start.x = origin.x + area.x - measured.x + backX;
    if (mode & AlignCentreVertical)
        start.y = origin.y + (area.y - measured.y) * 0.5f + backY;
    else if (mode & AlignTop)
        start.y = origin.y + area.y - measured.y + backY;
    else if (mode & AlignBottom)
        start.y = origin.y + backY;
    return start;
}

void GUIFontManager::DrawText(int32_t mode, int id, float angle, const GUIWindow* window, const Vec2& offset,
                              const Vec4& color, const std::wstring& text) {
    if (!window->visible)
        return;
    GUIFont* batch = GetBatch(id, window);
    if (batch == nullptr)
        return;
    batch->DrawText(GetTextPosition(mode, id, window, offset, angle, text), angle, color, text);
}

void GUIFontManager::Flush() {
    auto empty = [](GUIFont* batch) {
        if (batch->GetQuadCount() != 0)
            return false;
        delete batch;
        return true;
    };
    batches.erase(std::remove_if(batches.begin(), batches.end(), empty), batches.end());
    for (auto& [id, font] : fonts)
        font->Flush();
    for (GUIFont* batch : batches)
        batch->Flush();
}

} // namespace OrvexEngine
