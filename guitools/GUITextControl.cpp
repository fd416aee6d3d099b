#include "guitools/GUITextControl.h"

#include "engine/core/ObjectManager.h"
#include "engine/core/StringUtils.h"
#include "engine/core/TimerManager.h"
#include "engine/gui/GUIFont.h"
#include "engine/gui/GUIFontManager.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIWindow.h"
#include "gametools/XMLValue.h"
#include "guitools/GUIFontTool.h"
#include "guitools/GUITextTool.h"

#include <algorithm>
#include <cmath>

using OrvexEngine::GUIManager;
using OrvexEngine::Vec2;
using OrvexEngine::Vec4;

namespace GUITools {

namespace {

constexpr float epsilon = 0.0001f;
// Below this size the automatic font size stops shrinking.
constexpr float smallestAutoSize = 8;

wchar_t Upper(wchar_t c) {
    std::wstring one(1, c);
    OrvexEngine::ToUpperW(one);
    return one[0];
}

void FreeLayout(std::vector<GUITextStyle*>& styles, std::vector<std::vector<int32_t>*>& lineStyles) {
    OrvexEngine::DeletePointerVector(styles);
    OrvexEngine::DeletePointerVector(lineStyles);
}

// The value of a rule parameter: from just after the keyword to the first ")" after it.
std::wstring ParameterValue(const std::wstring& working, size_t keyword, size_t keywordLength) {
    const size_t start = keyword + keywordLength;
    const size_t close = working.find(L')', keyword);
    return working.substr(start,
                          close == std::wstring::npos || close < start ? std::wstring::npos : close - start);
}

// Trims both sides of a line and cuts its style vector in step.
void TrimLine(std::wstring& line, std::vector<int32_t>& lineStyle) {
    const std::wstring left = OrvexEngine::TrimLeftCopyW(line);
    const size_t removed = line.size() - left.size();
    line = left;
    OrvexEngine::TrimRightW(line);
    lineStyle.erase(lineStyle.begin(), lineStyle.begin() + std::ptrdiff_t(removed));
    lineStyle.resize(line.size());
}

} // namespace

GUITextControl::GUITextControl(GameTools::DataKeeper* keeper, GUIFontTool* fonts, GUITextTool* texts,
                               OrvexEngine::GUIWindow* parent, const GUIControlDescription& description)
    : GUIControl(keeper, description), fontTool(fonts), textTool(texts) {
    GUIManager* gui = GUIManager::Instance();
    fontManager = gui->GetFontManager();
    currentFontSize = fontSize;
    OrvexEngine::GUIWindow* window =
        gui->CreateWindow(OrvexEngine::GUI_WINDOW_VERTEX_COLORS, position, size,
                          DescribedModel(description.model), DescribedMaterial(description.shader), parent);
    window->ScaleUV(description.uv);
    InitElement(window, description);
    layoutDirty = false;
}

GUITextControl::~GUITextControl() {
    FreeLayout(styles, lineStyles);
    FreeLayout(oldStyles, oldLineStyles);
    GUIManager::Instance()->DeleteWindow(element);
}

void GUITextControl::SetFont(const std::string& name) {
    fontName = name;
    fontId = fontTool != nullptr ? fontTool->GetFontIndex(name) : -1;
    font = fontTool != nullptr ? fontTool->GetFont(name) : nullptr;
    layoutDirty = true;
}

void GUITextControl::SetTextKey(const std::string& expression) {
    if (printingMode)
        printingFinished = printingFinished && expression == textExpression;
    textExpression = expression;
    text.clear();
    std::string part;
    for (size_t i = 0; i < expression.size(); ++i) {
        const char c = expression[i];
        if (c != '+')
            part += c;
        if (c != '+' && i + 1 < expression.size())
            continue;
        if (!part.empty())
            text += EvaluatePart(part);
        part.clear();
    }
    layoutDirty = true;
}

std::wstring GUITextControl::EvaluatePart(std::string part) const {
    std::string prefix;
    const size_t open = part.rfind('['), close = part.rfind(']');
    if (open != std::string::npos && close != std::string::npos && open < close) {
        prefix = part.substr(open, close - open + 1);
        OrvexEngine::ReplaceAll(part, prefix, "");
        OrvexEngine::ToLower(prefix);
    }
    const auto isQuote = [](char c) { return c == '"' || c == '\''; };
    std::wstring result;
    if (!part.empty() && isQuote(part.front()) && isQuote(part.back()))
        result = OrvexEngine::ToWide(part.size() >= 2 ? part.substr(1, part.size() - 2) : std::string());
    else
        result = textTool != nullptr ? textTool->GetText(part) : std::wstring(L"UNKNOWN");

    if (prefix == "[fu]") {
        if (!result.empty())
            result[0] = Upper(result[0]);
    } else if (prefix == "[wu]") {
        OrvexEngine::ToLowerW(result);
        if (!result.empty())
            result[0] = Upper(result[0]);
        // The search resumes two characters after a blank, so a word after two blanks stays lower case.
        for (size_t p = result.find(L' '); p != std::wstring::npos; p = result.find(L' ', p + 2)) {
            if (p + 1 < result.size())
                result[p + 1] = Upper(result[p + 1]);
        }
    } else if (prefix == "[u]") {
        OrvexEngine::ToUpperW(result);
    } else if (prefix == "[l]") {
        OrvexEngine::ToLowerW(result);
    }
    return result;
}

void GUITextControl::SetText(const std::wstring& newText) {
    if (printingMode)
        printingFinished = printingFinished && newText == text;
    textExpression = "'" + OrvexEngine::ToMultiByte(newText) + "'";
    text = newText;
    layoutDirty = true;
}

void GUITextControl::SetVariable(const std::wstring& variableName, const std::wstring& value) {
    const auto found = std::find(variableNames.begin(), variableNames.end(), variableName);
    if (found != variableNames.end()) {
        variableValues[size_t(found - variableNames.begin())] = value;
    } else {
        variableNames.push_back(variableName);
        variableValues.push_back(value);
    }
    layoutDirty = true;
}

void GUITextControl::DropOldLayout() {
    oldLines.clear();
    FreeLayout(oldStyles, oldLineStyles);
}

void GUITextControl::ExtractRules(std::wstring& working, std::vector<int32_t>& table) {
    // A rule is "{rule" parameters "}" separator styled-text "}". Anything that does not have that shape (a
    // header without its "}", a "}" before the header, a missing or misplaced closing "}") may come from a
    // player-typed variable: the rest of the text then stays plain, and every position stays inside the
    // text. Each accepted rule removes its own "{rule", so the loop ends.
    for (size_t y = working.find(L"{rule"); y != std::wstring::npos; y = working.find(L"{rule")) {
        const size_t a = working.find(L'}');
        if (a == std::wstring::npos || a < y)
            break;
        const size_t b = working.find(L'}', a + 1);
        if (b == std::wstring::npos || b < a + 2)
            break;
        auto* style = new GUITextStyle();
        styles.push_back(style);
        const auto k = int32_t(styles.size());
        const auto parameter = [&](const wchar_t* keyword) -> size_t {
            const size_t at = working.find(keyword);
            return at != std::wstring::npos && at < a ? at : std::wstring::npos;
        };
        if (const size_t at = parameter(L"color("); at != std::wstring::npos) {
            style->hasColor = true;
            style->color = GameTools::XMLValue(ParameterValue(working, at, 6)).GetFloat4();
        }
        if (const size_t at = parameter(L"font("); at != std::wstring::npos) {
            style->hasFont = true;
            const std::string fontNameOfRule = OrvexEngine::ToMultiByte(ParameterValue(working, at, 5));
            style->fontId = fontTool != nullptr ? fontTool->GetFontIndex(fontNameOfRule) : -1;
        }
        if (const size_t at = parameter(L"size("); at != std::wstring::npos) {
            style->hasSize = true;
            style->sizeFactor = GameTools::XMLValue(ParameterValue(working, at, 5)).AsFloat();
        }
        if (const size_t at = parameter(L"offset("); at != std::wstring::npos) {
            style->hasOffset = true;
            style->offset = GameTools::XMLValue(ParameterValue(working, at, 7)).GetFloat2();
        }
        // The table loses the same characters as the text, so it stays aligned with it.
        working.erase(b, 1);
        table.erase(table.begin() + std::ptrdiff_t(b));
        const size_t header = a - y + 2;
        working.erase(y, header);
        table.erase(table.begin() + std::ptrdiff_t(y), table.begin() + std::ptrdiff_t(y + header));
        std::fill_n(table.begin() + std::ptrdiff_t(y), b - a - 2, k);
    }
}

void GUITextControl::LayOut(const std::wstring& working, const std::vector<int32_t>& table, float& width,
                            float& height) {
    OrvexEngine::DeletePointerVector(lineStyles);
    lines.clear();
    characterCount = 0;
    std::wstring line;
    auto* lineStyle = new std::vector<int32_t>();
    lineStyle->reserve(50);
    const float wrapWidth = size.x;
    for (size_t i = 0; i < working.size(); ++i) {
        const wchar_t c = working[i];
        if (c == L'\r')
            continue;
        if (c == L'\n' || c == L'|') {
            lines.push_back(line);
            lineStyles.push_back(lineStyle);
            line.clear();
            lineStyle = new std::vector<int32_t>();
            lineStyle->reserve(50);
            continue;
        }
        line += c;
        lineStyle->push_back(table[i]);
        if (!multiline || font->MeasureText(line, angle, currentFontSize).x <= wrapWidth)
            continue;
        const size_t blank = line.rfind(L' ');
        if (blank == std::wstring::npos || line.size() <= 1)
            continue;
        std::wstring head = line.substr(0, blank);
        auto* headStyle =
            new std::vector<int32_t>(lineStyle->begin(), lineStyle->begin() + std::ptrdiff_t(blank));
        TrimLine(head, *headStyle);
        if (head.empty()) {
            delete headStyle;
        } else {
            lines.push_back(head);
            lineStyles.push_back(headStyle);
        }
        line.erase(0, blank);
        lineStyle->erase(lineStyle->begin(), lineStyle->begin() + std::ptrdiff_t(blank));
    }
    TrimLine(line, *lineStyle);
    if (line.empty()) {
        delete lineStyle;
    } else {
        lines.push_back(line);
        lineStyles.push_back(lineStyle);
    }
    width = height = 0;
    for (const std::wstring& laidOut : lines) {
        characterCount += uint32_t(laidOut.size());
        width = std::max(width, font->MeasureText(laidOut, angle, currentFontSize).x);
    }
    if (!lines.empty())
        height = float(lines.size() - 1) * lineSpace + float(lines.size()) * currentFontSize;
}

void GUITextControl::BuildLines() {
    if (font == nullptr)
        return;
    layoutDirty = false;
    if (printingMode) {
        oldLines = lines;
        FreeLayout(oldStyles, oldLineStyles);
        oldStyles.swap(styles);
        oldLineStyles.swap(lineStyles);
    }
    FreeLayout(styles, lineStyles);
    if (textExpression.empty()) {
        lines.clear();
        characterCount = 0;
        return;
    }
    std::wstring working = text;
    for (size_t i = 0; i < variableNames.size(); ++i)
        OrvexEngine::ReplaceAllW(working, L"%" + variableNames[i] + L"%", variableValues[i]);
    std::vector<int32_t> table(working.size(), 0);
    ExtractRules(working, table);

    currentFontSize = fontSize > 0 && std::isfinite(fontSize) ? fontSize : font->size;
    // Sizes above both the control's height and the smallest automatic size never fit (one line is already
    // that high), so the shrinking jumps over them; a size too large to fall by 1 ends the shrinking.
    const float neverFits = std::max(size.y, smallestAutoSize);
    bool shrink = false;
    for (;;) {
        if (shrink) {
            const float before = currentFontSize;
            currentFontSize = std::max(currentFontSize - 1, 0.0f);
            if (lineSpace >= 0 && currentFontSize > neverFits) {
                // In double precision: a float this large may not even tell size - 1 from size.
                const double skipped = double(currentFontSize);
                currentFontSize = float(skipped - std::ceil(skipped - double(neverFits)));
            }
            if (!(currentFontSize < before))
                break;
        }
        if (autoFontSize)
            shrink = true;
        float width = 0, height = 0;
        LayOut(working, table, width, height);
        if (lines.empty() || !autoFontSize || !(currentFontSize > smallestAutoSize) ||
            !(width > size.x || height > size.y))
            break;
    }
}

int32_t GUITextControl::HorizontalFlag(const std::string& alignment) {
    if (alignment.find("left") != std::string::npos)
        return OrvexEngine::AlignLeft;
    if (alignment.find("right") != std::string::npos)
        return OrvexEngine::AlignRight;
    return OrvexEngine::AlignCentreHorizontal;
}

int32_t GUITextControl::VerticalFlag(const std::string& alignment) {
    if (alignment.find("top") != std::string::npos)
        return OrvexEngine::AlignTop;
    if (alignment.find("bottom") != std::string::npos)
        return OrvexEngine::AlignBottom;
    return OrvexEngine::AlignCentreVertical;
}

void GUITextControl::Update() {
    GUIControl::Update();
    if (!element->visible) {
        if (printingMode) {
            DropOldLayout();
            printedCount = 0;
            printingFinished = false;
        }
        return;
    }
    if (layoutDirty)
        BuildLines();
    if (fontName.empty() || textExpression.empty() || lines.empty() || font == nullptr)
        return;

    const bool drawOld = printingMode && !oldLines.empty();
    const std::vector<std::wstring>& drawnLines = drawOld ? oldLines : lines;
    const std::vector<GUITextStyle*>& drawnStyles = drawOld ? oldStyles : styles;
    const std::vector<std::vector<int32_t>*>& drawnLineStyles = drawOld ? oldLineStyles : lineStyles;

    const size_t n = drawnLines.size();
    const float step = currentFontSize + lineSpace;
    int32_t flags = HorizontalFlag(alignmentH);
    Vec2 pen(0, 0);
    if (n < 2)
        flags |= VerticalFlag(alignmentV);
    else if (alignmentV.find("top") != std::string::npos)
        pen.y = size.y - currentFontSize;
    else if (alignmentV.find("bottom") != std::string::npos)
        pen.y = float(n - 1) * step;
    else
        pen.y = float(n - 1) * step + (size.y - step * float(n)) * 0.5f;

    if (printingMode) {
        OrvexEngine::TimerManager* timers = OrvexEngine::TimerManager::Instance();
        const float dt = timers != nullptr ? timers->frameTime : 0.0f;
        float rate = printingSpeed;
        if (maxPrintingTime < float(characterCount) / printingSpeed)
            rate = float(characterCount) / maxPrintingTime;
        // A speed of 0 or less (or a time limit of 0) would never finish, or only after the longest time,
        // and windows wait for the end: such text prints, and erases, at once.
        const bool valid = printingSpeed > 0 && rate > 0 && std::isfinite(rate);
        const float advance = valid ? rate * dt : INFINITY;
        if (oldLines.empty() && (showRequested || transitionPending)) {
            printedCount += advance;
            if (printedCount > float(characterCount)) {
                printedCount = float(characterCount) + epsilon;
                printingFinished = true;
            } else {
                printingFinished = false;
            }
        } else {
            printedCount -= advance;
            if (!(printedCount >= epsilon)) {
                printedCount = 0;
                DropOldLayout();
                printingFinished = true;
            } else {
                printingFinished = false;
            }
        }
    }

    const float savedSize = font->size;
    float remaining = printedCount;
    for (size_t i = 0; i < drawnLines.size(); ++i) {
        font->size = currentFontSize;
        const std::wstring& line = drawnLines[i];
        if (!printingMode) {
            DrawLine(flags, pen, i, line, drawnStyles, drawnLineStyles);
        } else {
            if (remaining < epsilon)
                break;
            const Vec2 aligned = fontManager->GetTextPosition(flags, fontId, element, pen, angle, line);
            const Vec2 plain = fontManager->GetTextPosition(0, fontId, element, pen, angle, line);
            const auto shown = size_t(std::min(remaining, float(line.size()) + epsilon));
            remaining -= float(shown);
            printedText.assign(line, 0, shown);
            DrawLine(0, pen + (aligned - plain), i, printedText, drawnStyles, drawnLineStyles);
        }
        pen.y -= currentFontSize;
        pen.y -= lineSpace;
    }
    font->size = savedSize;
}

void GUITextControl::DrawLine(int32_t flags, const Vec2& pen, size_t lineIndex, const std::wstring& lineText,
                              const std::vector<GUITextStyle*>& drawnStyles,
                              const std::vector<std::vector<int32_t>*>& drawnLineStyles) {
    const Vec2 aligned = fontManager->GetTextPosition(flags, fontId, element, pen, angle, lineText);
    const Vec2 plain = fontManager->GetTextPosition(0, fontId, element, pen, angle, lineText);
    Vec2 shift = aligned - plain;
    const std::vector<int32_t>& numbers = *drawnLineStyles[lineIndex];
    const size_t length = std::min(lineText.size(), numbers.size());
    if (length < lineText.size()) {
        // Without a style entry per character the line is drawn unstyled.
        element->QueueText(0, fontId, pen + shift, color, lineText, angle, currentFontSize);
        return;
    }
    for (size_t s = 0; s < length;) {
        const int32_t k = numbers[s];
        size_t e = s + 1;
        while (e < length && numbers[e] == k)
            ++e;
        Vec4 runColor = color;
        int32_t runFontId = fontId;
        float runSize = currentFontSize;
        Vec2 offset(0, 0);
        if (k > 0 && size_t(k) <= drawnStyles.size()) {
            const GUITextStyle& style = *drawnStyles[size_t(k) - 1];
            if (style.hasColor)
                runColor = style.color;
            if (style.hasFont)
                runFontId = style.fontId;
            if (style.hasSize)
                runSize *= style.sizeFactor;
            if (style.hasOffset)
                offset = style.offset;
        }
        if (!fader.empty())
            runColor.w *= fadeValue;
        OrvexEngine::GUIFont* runFont = fontManager->GetFont(runFontId);
        // A rule naming a font the tool lacks draws in the label's own font.
        if (runFont == nullptr) {
            runFontId = fontId;
            runFont = font;
        }
        if (e - s == lineText.size()) {
            element->QueueText(0, runFontId, pen + shift + offset, runColor, lineText, angle, runSize);
            return;
        }
        runText.assign(lineText, s, e - s);
        element->QueueText(0, runFontId, pen + shift + offset, runColor, runText, angle, runSize);
        if (e < lineText.size()) {
            runText += lineText[e];
            nextText.assign(1, lineText[e]);
            shift += runFont->MeasureText(runText, angle, runSize) -
                     runFont->MeasureText(nextText, angle, runSize);
        }
        s = e;
    }
}

} // namespace GUITools
