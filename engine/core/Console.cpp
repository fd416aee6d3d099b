#include "engine/core/Console.h"

#include "engine/core/Config.h"
#include "engine/core/Controls.h"
#include "engine/core/MessageManager.h"
#include "engine/core/StringUtils.h"
#include "engine/core/TimerManager.h"
#include "engine/graphics/ShaderManager.h"
#include "engine/gui/GUIEditBox.h"
#include "engine/gui/GUIFont.h"
#include "engine/gui/GUIFontManager.h"
#include "engine/gui/GUIManager.h"

#include <algorithm>

namespace OrvexEngine {

namespace {

const Vec4 white(1, 1, 1, 1);
const Vec4 blue(0, 0, 1, 1);
const Vec4 green(0, 1, 0, 1);
const Vec4 red(1, 0, 0, 1);
const Vec4 grey(0.5f, 0.5f, 0.5f, 1);

constexpr size_t maxRowCharacters = 255;

const char* const variableNames[] = {"ui_console_alpha", "ui_console_size", "ui_console_speed",
                                     "ui_console_key", "say"};

Vec4 ColorOf(MessageType type) {
    switch (type) {
    case MessageTypeMessage:
        return white;
    case MessageTypeImportant:
        return green;
    case MessageTypeWarning:
        return grey;
    default: // errors, and fatal messages, which end the run anyway
        return red;
    }
}

std::wstring Quoted(const std::wstring& text) {
    return L"\"" + text + L"\"";
}

} // namespace

Console::Console(const std::string& title, const ShaderDescriptor& backgroundDescription, int font,
                 wchar_t cursorCharacter, wchar_t promptCharacter, wchar_t scrollBackCharacter,
                 const std::string& toggleKeyName, float alphaValue, float sizeValue, float speedValue)
    : fontId(font) {
    Config* config = Config::Instance();
    config->RegisterVariable("ui_console_alpha", ConfigVariableFloat, false, true, &alpha,
                             FloatToText(alphaValue, 4), false);
    config->RegisterVariable("ui_console_size", ConfigVariableFloat, false, true, &size,
                             FloatToText(sizeValue, 4), false);
    config->RegisterVariable("ui_console_speed", ConfigVariableFloat, false, true, &speed,
                             FloatToText(speedValue, 4), false);
    config->RegisterVariable("ui_console_key", ConfigVariableString, false, true, &toggleKey, toggleKeyName,
                             false);
    config->RegisterVariable("say", ConfigVariableString, false, false, &sayText, "", false);

    GUIManager* gui = GUIManager::Instance();
    this->font = gui->GetFontManager()->GetFont(fontId);
    if (this->font == nullptr)
        Log()->Error("(Console::Console): font with \"" + std::to_string(fontId) + "\" id is not loaded");
    const float fontSize = this->font != nullptr ? this->font->size : 0;
    lineGap = fontSize * 0.2f;
    lineStep = fontSize * 1.2f;
    prompt.assign(1, promptCharacter);

    background = ShaderManager::Instance()->CreateShaderUser(backgroundDescription, true);
    const float w = gui->GetScreenWidth();
    const float h = gui->GetScreenHeight();
    window = gui->CreateWindow(0x12, Vec2(0, h), Vec2(w, h), nullptr, &backgroundDescription, nullptr);
    const float promptWidth = Measure(prompt);
    editBox =
        gui->CreateEditBox(0x1, Vec2(promptWidth, lineGap + lineStep), Vec2(0, 0), nullptr, nullptr, fontId,
                           blue, Vec2(0, 0), 255, w * 4, w - promptWidth, cursorCharacter, window);
    editBox->active = false; // typing starts once the console is open

    titleRow = ToWide(title);
    PadInFront(titleRow, L' ', maxRowCharacters - std::min(titleRow.size(), maxRowCharacters));
    PadInFront(scrollBackRow, scrollBackCharacter, maxRowCharacters);
}

Console::~Console() {
    if (GUIManager* gui = GUIManager::Instance()) {
        gui->DeleteEditBox(editBox);
        gui->DeleteWindow(window);
    }
    ShaderManager::Instance()->ReleaseShaderUser(background);
    // The variables keep their values as text; their storage dies with the console.
    if (Config* config = Config::Instance())
        for (const char* name : variableNames)
            config->Unbind(name);
}

float Console::Measure(const std::wstring& text) const {
    return font != nullptr ? font->MeasureText(text, 0, -1).x : 0;
}

void Console::PadInFront(std::wstring& row, wchar_t fill, size_t limit) const {
    const float w = GUIManager::Instance()->GetScreenWidth();
    for (size_t i = 0; i < limit; ++i) {
        row.insert(row.begin(), fill);
        if (Measure(row) > w) {
            row.erase(row.begin());
            return;
        }
    }
}

void Console::SetEnabled(bool value) {
    if (value == enabled)
        return;
    enabled = value;
    if (!enabled)
        Close();
}

void Console::Open() {
    if (state != ConsoleClosing && state != ConsoleClosed)
        return;
    state = ConsoleOpening;
    window->SetFlags(0x1);
    editBox->SetText(L"");
}

void Console::Close() {
    if (state != ConsoleOpening && state != ConsoleOpen)
        return;
    state = ConsoleClosing;
    editBox->active = false;
}

void Console::AddText(const Vec4& color, const std::wstring& text) {
    const float w = GUIManager::Instance()->GetScreenWidth();
    piece.clear();
    for (size_t i = 0; i < text.size();) {
        const wchar_t ch = text[i];
        piece.push_back(ch);
        // A piece always keeps its first character, however wide: otherwise a character wider than the
        // screen would be pushed to the next piece forever.
        if (piece.size() > 1 && ch != L'\n' && Measure(piece) > w)
            piece.back() = L'\n'; // the character starts the next piece
        else
            ++i;
        if (piece.back() == L'\n' || i == text.size()) {
            const bool lineEnd = piece.back() == L'\n';
            lines.push_back(ConsoleLine{color, piece, lineEnd, Measure(piece)});
            piece.clear();
        }
    }
}

void Console::Update() {
    MessageManager* log = Log();
    for (uint32_t i = 0; i < log->GetEntryCount(); ++i) {
        const LogEntry* entry = log->GetEntry(i);
        AddText(ColorOf(entry->type), ToWide(entry->text));
    }
    Controls* controls = Controls::Instance();
    if (enabled && controls->WasPressed(toggleKey)) {
        if (state == ConsoleClosing || state == ConsoleClosed)
            Open();
        else
            Close();
    }
    const float h = GUIManager::Instance()->GetScreenHeight();
    Slide(h);
    if (state == ConsoleClosed)
        return;
    if (state == ConsoleOpen)
        window->position.y = h - size; // a changed "ui_console_size" shows at once
    window->SetColor(Vec4(1, 1, 1, alpha));
    QueueRows(h);

    uint16_t code = 0;
    bool isCharacter = false;
    // Characters are the edit box's business.
    if (controls->GetTypedChar(code, isCharacter) && !isCharacter)
        HandleKey(code);
}

void Console::Slide(float h) {
    const float dt = TimerManager::Instance()->frameTime;
    float y = window->position.y;
    if (state == ConsoleOpening) {
        y -= speed * dt;
        if (h - y > size) {
            state = ConsoleOpen;
            y = h - size;
            editBox->active = true;
        }
    } else if (state == ConsoleClosing) {
        y += speed * dt;
        if (y > h) {
            state = ConsoleClosed;
            y = h;
            window->ClearFlags(0x1);
            scrollOffset = 0;
        }
    }
    window->position = Vec2(0, y);
}

void Console::QueueRows(float h) {
    window->QueueText(0, fontId, Vec2(0, lineGap), white, titleRow, 0, -1);
    window->QueueText(0, fontId, Vec2(0, lineGap + lineStep), white, prompt, 0, -1);
    float y = lineGap + 2 * lineStep;
    if (scrollOffset > 0) {
        window->QueueText(0, fontId, Vec2(0, y), white, scrollBackRow, 0, -1);
        y += lineStep;
    }
    // From the newest row up to the first one that reaches the top, past the rows scrolled back.
    uint32_t skip = scrollOffset;
    size_t first = 0;
    for (size_t i = lines.size(); i-- > 0;) {
        if (!lines[i].lineEnd)
            continue;
        if (skip > 0) {
            --skip;
        } else if (y > h - size) {
            first = i;
            break;
        } else {
            y += lineStep;
        }
    }
    scrollOffset -= skip; // it cannot pass the rows there are
    float x = 0;
    for (size_t i = first; i < lines.size(); ++i) {
        const ConsoleLine& line = lines[i];
        window->QueueText(0, fontId, Vec2(x, y), line.color, line.text, 0, -1);
        if (!line.lineEnd) {
            x += line.width;
            continue;
        }
        x = 0;
        y -= lineStep;
        // Scrolled-back rows never cover the fixed rows.
        if (scrollOffset > 0 && 2 * lineStep + lineGap > y - 0.5f * lineStep)
            break;
    }
}

void Console::HandleKey(uint16_t code) {
    switch (code) {
    case keyEnter:
        ExecuteLine();
        break;
    case keyEscape:
        editBox->SetText(L"");
        break;
    case keyTab:
        Complete();
        break;
    case keyUp:
        if (historyIndex > 0) {
            --historyIndex;
            editBox->SetText(history[historyIndex]);
        }
        break;
    case keyDown:
        if (historyIndex < history.size()) {
            ++historyIndex;
            editBox->SetText(historyIndex == history.size() ? std::wstring() : history[historyIndex]);
        }
        break;
    case keyPageUp:
        ++scrollOffset;
        break;
    case keyPageDown:
        if (scrollOffset > 0)
            --scrollOffset;
        break;
    default:
        break;
    }
}

void Console::ExecuteLine() {
    std::wstring text = editBox->text;
    if (text.empty() || text == L"\\")
        return;
    editBox->SetText(L"");
    Config* config = Config::Instance();
    std::string name;
    const ConfigExecuteResult result = config->Execute(ToMultiByte(text), &name);
    if (result == ConfigExecuteEmpty)
        return;
    if (text[0] != L'\\')
        text.insert(text.begin(), L'\\');
    history.push_back(text);
    historyIndex = history.size();
    AddText(blue, prompt + text + L"\n");
    const std::wstring wideName = ToWide(name);
    const bool say = name == "say";
    if (result == ConfigExecuteDone && say) {
        AddText(white, speaker + L": \"");
        AddText(green, ToWide(config->GetValueText("say")));
        AddText(white, L"\"\n");
    } else if (result == ConfigExecuteQuery && !say) {
        AddText(white, Quoted(wideName) + L" is " + Quoted(ToWide(config->GetValueText(name))) +
                           L", default is " + Quoted(ToWide(config->GetDefaultText(name))) + L"\n");
    } else if (result == ConfigExecuteReadOnly) {
        AddText(white, Quoted(wideName) + L" is read only\n");
    } else if (result == ConfigExecuteUnknown) {
        AddText(white, L"Unknown command " + Quoted(wideName) + L"\n");
    }
}

void Console::Complete() {
    std::wstring text = editBox->text;
    if (text.empty())
        return;
    ToLowerW(text);
    if (text[0] != L'\\')
        text.insert(text.begin(), L'\\');
    std::vector<std::string> names;
    Config::Instance()->ListNames(names);
    std::vector<std::wstring> matches;
    for (const std::string& name : names) {
        std::wstring candidate = L"\\" + ToWide(name);
        if (candidate.compare(0, text.size(), text) == 0)
            matches.push_back(std::move(candidate));
    }
    if (matches.size() == 1) {
        text = matches[0] + L" ";
    } else if (matches.size() > 1) {
        AddText(blue, text + L"\n");
        size_t common = matches[0].size();
        for (const std::wstring& match : matches) {
            AddText(white, L"    " + match + L"\n");
            size_t n = 0;
            while (n < common && n < match.size() && match[n] == matches[0][n])
                ++n;
            common = n;
        }
        text = matches[0].substr(0, common);
    }
    editBox->SetText(text);
}

} // namespace OrvexEngine
