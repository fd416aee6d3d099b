#include "engine/gui/GUIEditBox.h"

#include "engine/core/Controls.h"
#include "engine/core/Timer.h"
#include "engine/core/TimerManager.h"
#include "engine/gui/GUIFont.h"
#include "engine/gui/GUIFontManager.h"
#include "engine/gui/GUISoundManager.h"

#include <algorithm>
#include <cstdint>

namespace OrvexEngine {

namespace {

// The character limit counts UTF-16 units, as the text is stored in files.
size_t Utf16Units(wchar_t ch) {
    return static_cast<uint32_t>(ch) > 0xFFFF ? 2 : 1;
}

size_t Utf16Length(const std::wstring& s) {
    size_t units = 0;
    for (wchar_t ch : s)
        units += Utf16Units(ch);
    return units;
}

} // namespace

GUIEditBox::GUIEditBox(GUIFontManager* fontManager, GUISoundManager* soundManagerIn, Camera* camera,
                       uint32_t flags, const Vec2& position, const Vec2& size, const Model* sourceModel,
                       const ShaderDescriptor* material, int fontIdIn, const Vec4& fontColorIn,
                       const Vec2& textOffsetIn, int maxCharacterCountIn, float maxTextLengthIn,
                       float visibleTextWidthIn, wchar_t cursorCharacterIn, GUIWindow* parent)
    : GUIWindow(fontManager, camera, flags, position, size, sourceModel, material, parent),
      fontColor(fontColorIn), maxCharacterCount(maxCharacterCountIn), maxTextLength(maxTextLengthIn),
      visibleTextWidth(visibleTextWidthIn), soundManager(soundManagerIn), textOffset(textOffsetIn) {
    SetFont(fontIdIn);
    SetCursorCharacter(cursorCharacterIn);
}

bool GUIEditBox::Update(const Vec2& cursor, bool held, bool pressed) {
    if (!GUIWindow::Update(cursor, held, pressed) || font == nullptr)
        return false;
    // The owner may have replaced the text directly: keep the caret and the view inside it.
    caret = std::clamp(caret, 0, static_cast<int>(text.size()));
    firstVisible = std::clamp(firstVisible, 0, caret);

    Vec4 drawColor = fontColor;
    drawColor.w *= GetColor().w; // fading the box fades its text

    bool changed = false;
    uint16_t code = 0;
    bool isCharacter = false;
    const Controls* controls = Controls::Instance();
    if (active && controls != nullptr && controls->GetTypedChar(code, isCharacter))
        changed = HandleKey(code, isCharacter);

    // The longest run from firstVisible that fits the visible width.
    visibleText.assign(text, static_cast<size_t>(firstVisible));
    if (Measure(visibleText) > visibleTextWidth) {
        size_t count = 1;
        for (; count <= visibleText.size(); ++count) {
            scratch.assign(visibleText, 0, count);
            if (Measure(scratch) > visibleTextWidth)
                break;
        }
        visibleText.resize(count - 1);
    }
    QueueText(0, fontId, textOffset, drawColor, visibleText, 0, -1);

    if (active) {
        const Timer* clock =
            TimerManager::Instance() != nullptr ? TimerManager::Instance()->GetFrameTimer() : nullptr;
        const float t = clock != nullptr ? clock->GetTime() : 0.0f;
        if (static_cast<int64_t>(t / caretBlinkStep) % 2 == 0) {
            const size_t shown = static_cast<size_t>(
                std::clamp(caret - firstVisible, 0, static_cast<int>(visibleText.size())));
            scratch.assign(visibleText, 0, shown);
            const float cx = Measure(scratch);
            QueueText(0, fontId, textOffset + Vec2(cx, 0), drawColor, cursorText, 0, -1);
        }
    }

    if (changed && soundManager != nullptr)
        soundManager->Play(printSound);
    return true;
}

bool GUIEditBox::Render() {
    return GUIWindow::Render();
}

void GUIEditBox::SetFont(int id) {
    fontId = id;
    font = id != -1 && fontManager != nullptr ? fontManager->GetFont(id) : nullptr;
}

void GUIEditBox::SetText(const std::wstring& newText) {
    text = newText;
    caret = std::min(static_cast<int>(text.size()), LastCaret());
    firstVisible = 0;
    UpdateVisibleText();
}

void GUIEditBox::SetCursorCharacter(wchar_t character) {
    cursorCharacter = character;
    cursorText.assign(1, character);
}

bool GUIEditBox::CanInsert(wchar_t ch) const {
    if (maxCharacterCount < 0 || Utf16Length(text) + Utf16Units(ch) > static_cast<size_t>(maxCharacterCount))
        return false;
    return Measure(text + ch) <= maxTextLength;
}

void GUIEditBox::UpdateVisibleText() {
    if (font == nullptr)
        return;
    // Even a caret wider than the view stops at the caret: the view never starts after it.
    firstVisible = std::clamp(firstVisible, 0, caret);
    while (firstVisible < caret &&
           Measure(text.substr(static_cast<size_t>(firstVisible), static_cast<size_t>(caret - firstVisible)) +
                   cursorText) > visibleTextWidth)
        ++firstVisible;
}

bool GUIEditBox::HandleKey(uint16_t code, bool isCharacter) {
    bool changed = false;
    const int length = static_cast<int>(text.size());
    if (isCharacter) {
        InsertCharacter(static_cast<wchar_t>(code), changed);
        return changed;
    }
    switch (code) {
    case keyInsert:
        overwrite = !overwrite;
        break;
    case keyDelete:
        if (caret < length) {
            text.erase(static_cast<size_t>(caret), 1);
            changed = true;
        }
        break;
    case keyBackspace:
        if (caret > 0) {
            changed = true;
            // In a full box the caret stands before the last character, which is the one removed.
            if (caret + 1 == length) {
                text.erase(static_cast<size_t>(caret), 1);
            } else {
                text.erase(static_cast<size_t>(caret - 1), 1);
                --caret;
                if (caret <= firstVisible)
                    StepBackView();
            }
        }
        break;
    case keyLeft:
        if (caret > 0) {
            --caret;
            if (caret <= firstVisible)
                StepBackView();
        }
        break;
    case keyRight:
        if (caret < length)
            AdvanceCaret();
        break;
    case keyHome:
        caret = 0;
        firstVisible = 0;
        break;
    case keyEnd:
        caret = std::min(length, LastCaret());
        UpdateVisibleText();
        break;
    default:
        break;
    }
    return changed;
}

float GUIEditBox::Measure(const std::wstring& s) const {
    return font != nullptr ? font->MeasureText(s, 0, -1).x : 0.0f;
}

int GUIEditBox::LastCaret() const {
    return std::max(maxCharacterCount - 1, 0);
}

void GUIEditBox::InsertCharacter(wchar_t ch, bool& changed) {
    if (ch != L' ' && !font->HasGlyph(ch))
        ch = L'a';
    const size_t at = static_cast<size_t>(caret);
    if (overwrite && at < text.size()) {
        text[at] = ch;
        changed = true;
    } else if (CanInsert(ch)) {
        text.insert(at, 1, ch);
        changed = true;
    }
    if (changed)
        AdvanceCaret();
}

void GUIEditBox::AdvanceCaret() {
    const int oldCaret = caret;
    const int oldFirst = firstVisible;
    const int length = static_cast<int>(text.size());
    // The first index from which the text up to the last caret position fits.
    caret = std::min(length, LastCaret());
    firstVisible = 0;
    UpdateVisibleText();
    const int fitsEnd = firstVisible;

    caret = std::min(oldCaret + 1, LastCaret());
    const size_t from = static_cast<size_t>(std::min(oldFirst, length));
    const size_t to = std::clamp(static_cast<size_t>(caret + 1), from, text.size());
    const float width = Measure(text.substr(from, to - from) + cursorText);
    firstVisible = width > visibleTextWidth ? std::min(fitsEnd, oldFirst + 5) : oldFirst;
    // In a box narrower than five characters the jump could pass the caret.
    firstVisible = std::clamp(firstVisible, 0, caret);
}

void GUIEditBox::StepBackView() {
    firstVisible -= std::min(firstVisible, 5);
    UpdateVisibleText();
}

} // namespace OrvexEngine
