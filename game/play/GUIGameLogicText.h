// One floating text of the level: it grows to full size as it fades in, rises, fades out and dies after
// 1.95 s, centred line by line on its anchor and queued on its manager's window every frame (so it costs no
// GUI element). Made, updated and deleted by the GUIGameLogicTextManager.
#pragma once

#include "engine/math/Vector.h"

#include <string>
#include <vector>

namespace OrvexEngine {
class GUIFontManager;
class GUIWindow;
} // namespace OrvexEngine

namespace VelmoraBall {

class GUIGameLogicText {
public:
    static constexpr float FullSize = 22;     // GUI units
    static constexpr float AppearTime = 0.2f; // growing and fading in
    static constexpr float HoldTime = 1;      // at full alpha after that
    static constexpr float FadeTime = 0.75f;
    static constexpr float RiseSpeed = 35; // GUI units per second after the appearance

    // The text is split at its line feeds; the window is not owned.
    GUIGameLogicText(const OrvexEngine::Vec2& position, const std::wstring& text, int font,
                     OrvexEngine::GUIWindow* window);
    GUIGameLogicText(const GUIGameLogicText&) = delete;
    GUIGameLogicText& operator=(const GUIGameLogicText&) = delete;
    virtual ~GUIGameLogicText() = default;

    // Ages by the frame time and queues every line; the text is still drawn in the frame it dies in.
    void Update();

    bool IsAlive() const { return alive; }
    float GetAge() const { return age; }
    float GetAlpha() const { return alpha; }
    float GetSize() const { return size; }
    float GetRise() const { return rise; }
    const std::vector<std::wstring>& GetLines() const { return lines; }

private:
    OrvexEngine::GUIFontManager* fontManager = nullptr; // not owned
    int font = -1;
    OrvexEngine::Vec2 position;
    std::vector<std::wstring> lines;
    OrvexEngine::GUIWindow* window = nullptr; // not owned
    float age = 0;
    bool alive = true;
    float alpha = 0;
    float size = 0;
    float rise = 0;
};

} // namespace VelmoraBall
