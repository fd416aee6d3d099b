// The engine's one-line text entry: a GUI element that takes the frame's typed character or editing key,
// keeps a wide text with a caret, scrolls the visible part so the caret stays in view, queues the text and
// a blinking caret on its own window and plays a print sound when the text changes. Created and deleted by
// the GUI manager (or by a test's stand-in); many may exist, and every visible active one takes each key.
#pragma once

#include "engine/gui/GUIWindow.h"

#include <string>

namespace OrvexEngine {

class GUIFont;
class GUISoundManager;

class GUIEditBox : public GUIWindow {
public:
    // Editing keys as the typed-key event reports them (virtual-key codes).
    static constexpr uint16_t keyBackspace = 8;
    static constexpr uint16_t keyEnd = 35;
    static constexpr uint16_t keyHome = 36;
    static constexpr uint16_t keyLeft = 37;
    static constexpr uint16_t keyRight = 39;
    static constexpr uint16_t keyInsert = 45;
    static constexpr uint16_t keyDelete = 46;
    // Seconds the caret is shown, then hidden, on the frame clock.
    static constexpr float caretBlinkStep = 0.4f;

    GUIEditBox(GUIFontManager* fontManager, GUISoundManager* soundManager, Camera* camera, uint32_t flags,
               const Vec2& position, const Vec2& size, const Model* sourceModel,
               const ShaderDescriptor* material, int fontId, const Vec4& fontColor, const Vec2& textOffset,
               int maxCharacterCount, float maxTextLength, float visibleTextWidth, wchar_t cursorCharacter,
               GUIWindow* parent);
    ~GUIEditBox() override = default;

    // Takes the frame's key when active and queues the visible text and the caret. False when hidden or
    // without a font.
    bool Update(const Vec2& cursor, bool held, bool pressed) override;
    bool Render() override;

    // -1 (or an id without a font) leaves the box without a font: it neither takes keys nor draws.
    void SetFont(int id);
    void SetTextOffset(const Vec2& offset) { textOffset = offset; }
    // Stores the whole text, limits untested; the caret goes to the end (at most before the last allowed
    // character).
    void SetText(const std::wstring& newText);
    // Sets the caret character and the one-character caret text together.
    void SetCursorCharacter(wchar_t character);
    // Whether ch appended to the text keeps both limits.
    bool CanInsert(wchar_t ch) const;
    // Moves firstVisible up until the text from it to the caret, plus the caret, fits the visible width.
    void UpdateVisibleText();

    int GetFontId() const { return fontId; }
    GUIFont* GetFont() const { return font; }
    const Vec2& GetTextOffset() const { return textOffset; }
    bool IsOverwrite() const { return overwrite; }
    int GetCaret() const { return caret; }
    int GetFirstVisible() const { return firstVisible; }

    // Fields the owner and the edit box control read and set directly.
    Vec4 fontColor;
    wchar_t cursorCharacter = L'|';
    std::wstring cursorText;
    int maxCharacterCount = 1;
    float maxTextLength = 0;
    float visibleTextWidth = 0;
    std::wstring text;
    bool active = true;
    std::string printSound = "gui_default_edit_box_print";

private:
    // Handles one typed character or editing key; true when the text changed.
    bool HandleKey(uint16_t code, bool isCharacter);
    // Width of a text at angle 0 in the font's own size.
    float Measure(const std::wstring& s) const;
    // The highest caret index: before the last allowed character, never below 0.
    int LastCaret() const;
    void InsertCharacter(wchar_t ch, bool& changed);
    void AdvanceCaret();
    void StepBackView();

    GUISoundManager* soundManager = nullptr; // not owned
    int fontId = -1;
    GUIFont* font = nullptr; // not owned: the font manager's
    Vec2 textOffset;
    bool overwrite = false;
    int caret = 0;
    int firstVisible = 0;
    std::wstring visibleText; // reused from frame to frame
    std::wstring scratch;     // runs being measured; reused from frame to frame
};

} // namespace OrvexEngine
