// The text label of a window description: one piece of text on a plain GUI window, composed from text keys
// and quoted literals, with %variables% the game sets, inline {rule ...} styles, line breaks, word wrap and
// an automatic font size. Every frame it lays out dirty text, aligns its lines and queues them in runs of
// equal style; in printing mode it types the text letter by letter and erases a text it replaces. Created and
// deleted by the GUIWindowBase that built it; many exist.
#pragma once

#include "guitools/GUIControl.h"

#include <cstdint>
#include <string>
#include <vector>

namespace OrvexEngine {
class GUIFont;
class GUIFontManager;
} // namespace OrvexEngine

namespace GUITools {

class GUIFontTool;
class GUITextTool;

// One inline rule; each value counts only when its flag is set.
struct GUITextStyle {
    bool hasColor = false;
    OrvexEngine::Vec4 color;
    bool hasFont = false;
    int32_t fontId = -1;
    bool hasSize = false;
    float sizeFactor = 1;
    bool hasOffset = false;
    OrvexEngine::Vec2 offset;
};

class GUITextControl : public GUIControl {
public:
    GUITextControl(GameTools::DataKeeper* dataKeeper, GUIFontTool* fontTool, GUITextTool* textTool,
                   OrvexEngine::GUIWindow* parent, const GUIControlDescription& description);
    ~GUITextControl() override;

    // Lays out dirty text, then aligns and queues the lines; advances printing.
    void Update() override;

    // A name the font tool lacks leaves the label without a font: it draws nothing.
    void SetFont(const std::string& name);
    // Text keys and quoted literals joined by "+", each with an optional case prefix ([fu], [wu], [u], [l]).
    void SetTextKey(const std::string& expression);
    void SetText(const std::wstring& newText);
    // Replaces "%" + name + "%" in the text from the next layout on; names are given without the "%".
    void SetVariable(const std::wstring& variableName, const std::wstring& value);
    // Variables, rules, line breaks, word wrap and the automatic font size. Nothing without a font.
    void BuildLines();
    bool IsPrintingFinished() const { return printingFinished; }

    OrvexEngine::GUIFontManager* fontManager = nullptr; // not owned
    GUIFontTool* fontTool = nullptr;                    // not owned
    GUITextTool* textTool = nullptr;                    // not owned
    std::string alignmentH = "left";
    std::string alignmentV = "bottom";
    std::string fontName;
    int32_t fontId = -1;
    OrvexEngine::GUIFont* font = nullptr; // not owned: the font manager's
    std::string textExpression;
    std::wstring text; // composed, before variables and rules
    OrvexEngine::Vec4 color{1, 1, 1, 1};
    float angle = 0;
    float fontSize = -1; // 0 or less: the font's own size
    bool multiline = false;
    float lineSpace = 0;
    bool printingMode = false;
    float printingSpeed = 1;
    float maxPrintingTime = 100000;
    bool autoFontSize = false;

    // The layout; lineStyles holds one entry per character: 0 unstyled, k the k-th entry of styles.
    std::vector<std::wstring> lines;
    uint32_t characterCount = 0;
    std::vector<GUITextStyle*> styles;             // owned
    std::vector<std::vector<int32_t>*> lineStyles; // owned
    float printedCount = 0;
    bool printingFinished = true;
    // The layout being erased in printing mode.
    std::vector<std::wstring> oldLines;
    std::vector<GUITextStyle*> oldStyles;             // owned
    std::vector<std::vector<int32_t>*> oldLineStyles; // owned
    std::vector<std::wstring> variableNames;
    std::vector<std::wstring> variableValues;
    float currentFontSize = -1;
    bool layoutDirty = false;

    // The horizontal flag of an alignment word, and the vertical one (used for fewer than two lines).
    static int32_t HorizontalFlag(const std::string& alignment);
    static int32_t VerticalFlag(const std::string& alignment);

private:
    // The part's text: a quoted literal or the text of a key, with its case prefix applied.
    std::wstring EvaluatePart(std::string part) const;
    // Takes the {rule ...} headers out of the working text and marks their styled text in the table.
    void ExtractRules(std::wstring& working, std::vector<int32_t>& table);
    // One layout pass at currentFontSize; the width and height of the laid-out lines.
    void LayOut(const std::wstring& working, const std::vector<int32_t>& table, float& width, float& height);
    void DropOldLayout();
    void DrawLine(int32_t flags, const OrvexEngine::Vec2& pen, size_t lineIndex, const std::wstring& lineText,
                  const std::vector<GUITextStyle*>& drawnStyles,
                  const std::vector<std::vector<int32_t>*>& drawnLineStyles);

    std::wstring printedText; // reused from frame to frame
    std::wstring runText;     // reused from frame to frame
    std::wstring nextText;    // reused from frame to frame
};

} // namespace GUITools
