#include "tests/support/WindowDataFixture.h"

#include "engine/core/Error.h"
#include "engine/core/MessageManager.h"
#include "engine/gui/GUIFont.h"
#include "guitools/GUIButtonControl.h"
#include "guitools/GUICheckBoxControl.h"
#include "guitools/GUIEditBoxControl.h"
#include "guitools/GUIFontTool.h"
#include "guitools/GUIScrollControl.h"
#include "guitools/GUITextControl.h"
#include "guitools/GUITextTool.h"
#include "guitools/GUIWindowControl.h"
#include "platform/win/Locale.h"
#include "platform/win/Process.h"

#include <filesystem>

namespace VelmoraTest {

namespace {

// The laid-out data sits in bin/ beside the folder of the test executables.
std::string BinDir() {
    return (std::filesystem::path(platform::GetExecutablePath()).parent_path().parent_path() / "bin")
        .string();
}

bool HasControl(const GUITools::GUIWindowBase& window, const std::string& name, ControlKind kind) {
    switch (kind) {
    case ControlKind::Any:
        return window.GetControl(name) != nullptr;
    case ControlKind::Window:
        return window.GetWindowControl(name) != nullptr;
    case ControlKind::Button:
        return window.GetButtonControl(name) != nullptr;
    case ControlKind::CheckBox:
        return window.GetCheckBoxControl(name) != nullptr;
    case ControlKind::EditBox:
        return window.GetEditBoxControl(name) != nullptr;
    case ControlKind::Scroll:
        return window.GetScrollControl(name) != nullptr;
    case ControlKind::Text:
        return window.GetTextControl(name) != nullptr;
    }
    return false;
}

} // namespace

WindowDataFixture::WindowDataFixture(uint32_t width, uint32_t height)
    : files(BinDir(), true, "data", 16u << 20), scene(width, height, 800, 600) {
    OrvexEngine::FileManager::Instance(&files);
}

std::vector<std::string> WindowDataFixture::GuiResourceLists() {
    return {"data\\ui\\background\\resources_basic.xml", "data\\ui\\resources_basic.xml",
            "data\\ui\\background\\resources_additional.xml", "data\\ui\\resources_additional.xml"};
}

void WindowDataFixture::LoadResourceLists(GameTools::DataKeeper& keeper,
                                          const std::vector<std::string>& lists, bool now) {
    for (const std::string& list : lists) {
        try {
            keeper.LoadResourceList(list, now);
        } catch (const OrvexEngine::FatalError& error) {
            ADD_FAILURE() << list << ": " << error.GetText();
        }
    }
}

void WindowDataFixture::UseTools(const std::string& language) {
    tools.reset();
    // The game's locale for the language, as its language manager sets it: upper-case fonts take their
    // lower-case glyphs by its case mapping.
    platform::SetLanguageLocale(language == "ru" ? "russian" : "english");
    tools = std::make_unique<GUITools::GUIToolManager>(language);
    tools->fontTool->LoadAdditionalFonts();
}

void WindowDataFixture::ExpectLookupsFound(const GUITools::GUIWindowBase& window,
                                           const WindowLookups& lookups) const {
    for (const ControlLookup& control : lookups.controls)
        EXPECT_TRUE(HasControl(window, lookups.name + control.path, control.kind))
            << lookups.name << control.path;
    ExpectTextKeys(lookups.keys);
    ExpectFonts(lookups.fonts);
    for (const std::string& path : lookups.profileNameLabels) {
        ExpectLabelUses(window, lookups.name + path, L"PROFILE_NAME");
        ExpectLabelDraws(window, lookups.name + path, ProfileNameSample);
    }
}

void WindowDataFixture::ExpectTextKeys(const std::vector<std::string>& keys) const {
    for (const std::string& key : keys) {
        const std::wstring text = tools->textTool->GetText(key);
        EXPECT_FALSE(text.empty() || text == L"UNKNOWN") << key;
    }
}

void WindowDataFixture::ExpectFonts(const std::vector<std::string>& fonts) const {
    for (const std::string& font : fonts)
        EXPECT_GE(tools->fontTool->GetFontIndex(font), 0) << font;
}

void WindowDataFixture::ExpectLabelUses(const GUITools::GUIWindowBase& window, const std::string& labelName,
                                        const std::wstring& variable) {
    const GUITools::GUITextControl* label = window.GetTextControl(labelName);
    if (label == nullptr) {
        ADD_FAILURE() << labelName << " is not a label";
        return;
    }
    EXPECT_NE(label->text.find(L"%" + variable + L"%"), std::wstring::npos)
        << labelName << " does not show the variable";
}

void WindowDataFixture::ExpectLabelDraws(const GUITools::GUIWindowBase& window, const std::string& labelName,
                                         const std::wstring& text) {
    const GUITools::GUITextControl* label = window.GetTextControl(labelName);
    if (label == nullptr || label->font == nullptr)
        return; // reported by the lookups and ExpectLabelsResolved
    for (const wchar_t c : text)
        EXPECT_TRUE(c == L' ' || label->font->HasGlyph(c))
            << labelName << " (font " << label->fontName << ") cannot draw U+" << std::hex << int(c);
}

void WindowDataFixture::ExpectLabelsResolved(const GUITools::GUIWindowBase& window) {
    for (const GUITools::GUIControl* control : window.GetControls())
        if (const auto* label = dynamic_cast<const GUITools::GUITextControl*>(control)) {
            EXPECT_EQ(label->text.find(L"UNKNOWN"), std::wstring::npos) << label->GetName();
            EXPECT_NE(label->font, nullptr) << label->GetName() << " has no font " << label->fontName;
        }
}

} // namespace VelmoraTest
