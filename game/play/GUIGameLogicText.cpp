#include "game/play/GUIGameLogicText.h"

#include "engine/core/TimerManager.h"
#include "engine/gui/GUIFont.h"
#include "engine/gui/GUIFontManager.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIWindow.h"

#include <algorithm>

using namespace OrvexEngine;

namespace VelmoraBall {

GUIGameLogicText::GUIGameLogicText(const Vec2& anchor, const std::wstring& text, int textFont,
                                   GUIWindow* target)
    : font(textFont), position(anchor), window(target) {
    if (const GUIManager* gui = GUIManager::Instance())
        fontManager = gui->GetFontManager();
    // Every line feed ends a line, an empty one too; what follows the last one is a line only when there is
    // something.
    std::wstring line;
    for (wchar_t c : text) {
        if (c == L'\n') {
            lines.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty())
        lines.push_back(line);
}

void GUIGameLogicText::Update() {
    age += TimerManager::Instance()->frameTime;

    float t = age;
    const float appeared = std::min(t, AppearTime);
    alpha = appeared / AppearTime;
    size = FullSize * alpha;
    t -= AppearTime;
    rise = t > 0 ? RiseSpeed * t : 0.0f;
    t -= HoldTime;
    if (t > 0)
        alpha = 1 - std::min(t, FadeTime) / FadeTime;
    t -= FadeTime;
    if (t > 0)
        alive = false;

    if (window == nullptr)
        return;
    const GUIFont* measure = fontManager != nullptr ? fontManager->GetFont(font) : nullptr;
    const float n = static_cast<float>(lines.size());
    for (size_t j = 0; j < lines.size(); ++j) {
        const float width = measure != nullptr ? measure->MeasureText(lines[j], 0, size).x : 0.0f;
        // The first line is the highest; the block of lines is centred on the anchor.
        const Vec2 at = position + Vec2(-width / 2, (n - 1 - static_cast<float>(j)) * size - n * size / 2) +
                        Vec2(0, rise);
        window->QueueText(0, font, at, Vec4(1, 1, 1, alpha), lines[j], 0, size);
    }
}

} // namespace VelmoraBall
