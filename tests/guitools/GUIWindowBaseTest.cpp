// ctest-label: gui
// Windows built from descriptions: templates and their chains, the language filter, every attribute's
// default and the value syntax, the fatal texts (recursive templates and unknown windows included), the
// pre-order of the control lists, lookups by full name, the per-kind stand-ins for missing elements, the
// show/update/hide life of the window with enabled and disabled controls, and the slider and scroll layout.
#include "guitools/GUIWindowBase.h"
#include "engine/core/Error.h"
#include "gametools/DataKeeper.h"
#include "guitools/GUIButtonControl.h"
#include "guitools/GUICheckBoxControl.h"
#include "guitools/GUIEditBoxControl.h"
#include "guitools/GUIScrollControl.h"
#include "guitools/GUISliderControl.h"
#include "guitools/GUITextControl.h"
#include "guitools/GUIToolManager.h"
#include "guitools/GUIWindowControl.h"
#include "tests/engine/gui/FontFixtures.h"
#include "tests/support/TestGuiManager.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace OrvexEngine;
using namespace GUITools;

namespace {

// A window base that shows its lists to the test.
class ProbeWindow final : public GUIWindowBase {
public:
    using GUIWindowBase::GUIWindowBase;
    std::vector<std::string> Names(const std::vector<GUIControl*>& list) const {
        std::vector<std::string> names;
        for (const GUIControl* control : list)
            names.push_back(control->GetName());
        return names;
    }
    template <class Control> std::vector<GUIControl*> List(const std::vector<Control*>& kind) const {
        return std::vector<GUIControl*>(kind.begin(), kind.end());
    }
    std::vector<std::string> AllNames() const { return Names(controls); }
    std::vector<std::string> WindowNames() const { return Names(List(windowControls)); }
    std::vector<std::string> ButtonNames() const { return Names(List(buttonControls)); }
    std::vector<std::string> CheckBoxNames() const { return Names(List(checkBoxControls)); }
    std::vector<std::string> SliderNames() const { return Names(List(sliderControls)); }
    std::vector<std::string> ScrollNames() const { return Names(List(scrollControls)); }
    std::vector<std::string> TextNames() const { return Names(List(textControls)); }
};

class GUIWindowBaseTest : public testing::Test {
protected:
    GUIWindowBaseTest() {
        Describe("faders.xml",
                 "<faders><fader name=\"fade\" type=\"timed\" show_speed=\"4\" hide_speed=\"2\" "
                 "min=\"0.25\" max=\"0.75\" fade_offset=\"0.5\" show_offset=\"1\" hide_offset=\"2\"/>"
                 "<fader name=\"twice\" show_speed=\"3\"/></faders>");
        Describe("more_faders.xml", "<faders><fader name=\"twice\" show_speed=\"9\"/></faders>");
        gui.timers.frameTime = 0.125f;
    }
    void Describe(const std::string& file, const std::string& xml) {
        gui.data.Save("ui/windows/" + file, std::vector<uint8_t>(xml.begin(), xml.end()));
    }
    std::unique_ptr<ProbeWindow> Build(const std::string& name, const std::string& language = "en") {
        tools = std::make_unique<GUIToolManager>(language);
        return std::make_unique<ProbeWindow>(&keeper, tools.get(), nullptr, name);
    }
    // The text of the FatalError a build throws, or "" when it builds.
    std::string FatalText(const std::string& name) {
        try {
            Build(name);
        } catch (const FatalError& error) {
            return error.GetText();
        }
        return "";
    }
    size_t Errors(const std::string& text) const {
        size_t count = 0;
        for (const std::string& entry : gui.log.Texts())
            count += entry.find(text) != std::string::npos;
        return count;
    }

    VelmoraTest::GuiServices gui;
    VelmoraTest::TestGuiManager manager;
    GameTools::DataKeeper keeper{"en"};
    std::unique_ptr<GUIToolManager> tools;
};

} // namespace

TEST_F(GUIWindowBaseTest, TemplatesAddChildrenAndSupplyMissingAttributesInChainOrder) {
    Describe("tpl_panel.xml", "<window name=\"tpl_panel\" size=\"100 50\" height=\"3\">"
                              "<button name=\"ok\" size=\"20 10\" position=\"5 5\" show_action=\"stay\"/>"
                              "<text_label name=\"caption\" text=\"'T'\"/></window>");
    Describe("tpl_a.xml", "<window name=\"tpl_a\" template=\"tpl_b\" position=\"1 1\"/>");
    Describe("tpl_b.xml", "<window name=\"tpl_b\" template=\"tpl_c\" position=\"2 2\" size=\"3 3\"/>");
    Describe("tpl_c.xml", "<window name=\"tpl_c\" position=\"4 4\" size=\"5 5\" height=\"7\"/>");
    Describe("window_test.xml", "<window name=\"window_test\" size=\"800 600\">"
                                "<window name=\"left\" template=\"tpl_panel\" position=\"10 10\"/>"
                                "<window name=\"right\" template=\"tpl_panel\" position=\"400 10\">"
                                "<check_box name=\"ok\" position=\"6 6\"/></window>"
                                "<window name=\"chained\" template=\"tpl_a\"/></window>");
    std::unique_ptr<ProbeWindow> window = Build("window_test");
    EXPECT_EQ(window->AllNames(), (std::vector<std::string>{
                                      "window_test", "window_test/left", "window_test/left/ok",
                                      "window_test/left/caption", "window_test/right", "window_test/right/ok",
                                      "window_test/right/caption", "window_test/chained"}));
    EXPECT_EQ(window->WindowNames(), (std::vector<std::string>{"window_test", "window_test/left",
                                                               "window_test/right", "window_test/chained"}));
    EXPECT_EQ(window->ButtonNames(), (std::vector<std::string>{"window_test/left/ok"}));
    EXPECT_EQ(window->CheckBoxNames(), (std::vector<std::string>{"window_test/right/ok"}));
    EXPECT_EQ(window->TextNames(),
              (std::vector<std::string>{"window_test/left/caption", "window_test/right/caption"}));
    EXPECT_EQ(window->GetEnabled(), std::vector<bool>(8, true));

    // Each user of the template has its own children, hung under its own element.
    GUIButtonControl* leftOk = window->GetButtonControl("window_test/left/ok");
    GUIWindowControl* left = window->GetWindowControl("window_test/left");
    ASSERT_NE(leftOk, nullptr);
    EXPECT_EQ(leftOk->GetWindow()->GetParent(), left->GetWindow());
    EXPECT_EQ(left->size, Vec2(100, 50));
    EXPECT_EQ(left->height, 3);
    EXPECT_EQ(left->position, Vec2(10, 10));
    // The element's own child decides the type; the template's child fills in what it lacks.
    GUICheckBoxControl* rightOk = window->GetCheckBoxControl("window_test/right/ok");
    ASSERT_NE(rightOk, nullptr);
    EXPECT_EQ(rightOk->position, Vec2(6, 6));
    EXPECT_EQ(rightOk->size, Vec2(20, 10));
    EXPECT_EQ(rightOk->show_action, "stay");
    // Along a chain the first node that has an attribute gives it.
    GUIWindowControl* chained = window->GetWindowControl("window_test/chained");
    EXPECT_EQ(chained->position, Vec2(1, 1));
    EXPECT_EQ(chained->size, Vec2(3, 3));
    EXPECT_EQ(chained->height, 7);
    // No lookup finds a control by its short name.
    EXPECT_EQ(window->GetControl("ok"), nullptr);
}

TEST_F(GUIWindowBaseTest, TheLanguageFilterLeavesSubtreesOutSilently) {
    Describe("tpl_russian.xml", "<button name=\"tpl_russian\" language=\"ru\"/>");
    Describe("window_lang.xml", "<window name=\"window_lang\">"
                                "<window name=\"ru_only\" language=\"ru\"><button name=\"inner\"/></window>"
                                "<button name=\"en_only\" language=\"en\"/>"
                                "<button name=\"by_template\" template=\"tpl_russian\"/>"
                                "<button name=\"own_language\" template=\"tpl_russian\" language=\"en\"/>"
                                "<fader name=\"not_a_control\"/>"
                                "<button name=\"last\"/></window>");
    const struct {
        const char* language;
        std::vector<std::string> names;
    } cases[] = {
        {"en", {"window_lang", "window_lang/en_only", "window_lang/own_language", "window_lang/last"}},
        {"ru",
         {"window_lang", "window_lang/ru_only", "window_lang/ru_only/inner", "window_lang/by_template",
          "window_lang/last"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language);
        std::unique_ptr<ProbeWindow> window = Build("window_lang", c.language);
        EXPECT_EQ(window->AllNames(), c.names);
        window.reset();
        tools.reset();
        EXPECT_EQ(Errors("GUIWindowBase"), 0u);
    }
}

TEST_F(GUIWindowBaseTest, MissingAttributesTakeTheirDefaultsAndValuesReadAsDocumented) {
    Describe(
        "window_plain.xml",
        "<window name=\"window_plain\">"
        "<text_label name=\"label\"/><edit_box name=\"box\"/><slider name=\"slider\"/><scroll "
        "name=\"scroll\"/>"
        "<text_label name=\"typed\" multiline=\"true\" printing_mode=\"1\" color=\"0.5\" "
        "alignment_h=\"centre\"/>"
        "<edit_box name=\"empty_caret\" cursor_character=\"\" max_character_count=\"12.7\"/>"
        "<edit_box name=\"long_caret\" cursor_character=\"ab\" text_offset=\"3;4\" font_color=\"1,0,0\"/>"
        "<window name=\"pair\" position=\"120x45\" size=\" 7 -8e1 \" height=\"abc\" fader=\"\"/>"
        "</window>");
    std::unique_ptr<ProbeWindow> window = Build("window_plain");
    GUIControl* plain = window->GetControl("window_plain");
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->show_action, "show");
    EXPECT_EQ(plain->hide_action, "hide");
    EXPECT_EQ(plain->height, 1);
    EXPECT_EQ(plain->position, Vec2(0, 0));
    EXPECT_EQ(plain->size, Vec2(1, 1));
    EXPECT_FALSE(plain->hasSelection);
    EXPECT_EQ(plain->fader, "");
    EXPECT_EQ(plain->type, "timed");
    EXPECT_EQ(plain->show_speed, 1);
    EXPECT_EQ(plain->hide_speed, 1);
    EXPECT_EQ(plain->min, 0);
    EXPECT_EQ(plain->max, 1);
    EXPECT_EQ(plain->fade_offset + plain->show_offset + plain->hide_offset, 0);

    GUITextControl* label = window->GetTextControl("window_plain/label");
    EXPECT_EQ(label->alignmentH, "left");
    EXPECT_EQ(label->alignmentV, "bottom");
    EXPECT_EQ(label->fontId, -1);
    EXPECT_EQ(label->textExpression, "");
    EXPECT_EQ(label->color, Vec4(1, 1, 1, 1));
    EXPECT_EQ(label->angle, 0);
    EXPECT_EQ(label->fontSize, -1);
    EXPECT_FALSE(label->multiline);
    EXPECT_EQ(label->lineSpace, 0);
    EXPECT_FALSE(label->printingMode);
    EXPECT_EQ(label->printingSpeed, 1);
    EXPECT_EQ(label->maxPrintingTime, 100000);
    EXPECT_FALSE(label->autoFontSize);
    GUITextControl* typed = window->GetTextControl("window_plain/typed");
    EXPECT_FALSE(typed->multiline); // "true" is no number
    EXPECT_TRUE(typed->printingMode);
    EXPECT_EQ(typed->color, Vec4(0.5f, 0, 0, 0));
    EXPECT_EQ(typed->alignmentH, "centre");

    GUIEditBoxControl* box = window->GetEditBoxControl("window_plain/box");
    EXPECT_EQ(box->fontId, -1);
    EXPECT_EQ(box->fontColor, Vec4(1, 1, 1, 1));
    EXPECT_EQ(box->textOffset, Vec2(0, 0));
    EXPECT_EQ(box->cursorCharacter, L'_');
    EXPECT_EQ(box->maxCharacterCount, 255);
    EXPECT_EQ(box->maxTextLength, 800);
    EXPECT_EQ(box->visibleTextWidth, 800);
    EXPECT_EQ(window->GetEditBoxControl("window_plain/empty_caret")->cursorCharacter, L' ');
    EXPECT_EQ(window->GetEditBoxControl("window_plain/empty_caret")->maxCharacterCount, 12);
    GUIEditBoxControl* longCaret = window->GetEditBoxControl("window_plain/long_caret");
    EXPECT_EQ(longCaret->cursorCharacter, L'a');
    EXPECT_EQ(longCaret->textOffset, Vec2(3, 4));
    EXPECT_EQ(longCaret->fontColor, Vec4(1, 0, 0, 0));

    GUIScrollControl* scroll = window->GetScrollControl("window_plain/scroll");
    for (GUISliderControl* slider :
         {static_cast<GUISliderControl*>(scroll),
          static_cast<GUISliderControl*>(window->GetControl("window_plain/slider"))}) {
        EXPECT_EQ(slider->orientation, "horizontal");
        EXPECT_EQ(slider->toddler_size, Vec2(1, 1));
        EXPECT_EQ(slider->toddler_min_position, Vec2(0, 0));
        EXPECT_EQ(slider->toddler_max_position, Vec2(0, 0));
        EXPECT_EQ(slider->toddler_uv, Vec2(1, 1));
        EXPECT_FALSE(slider->hasToddlerSelection);
        EXPECT_NE(slider->slider->GetToddler(), nullptr);
    }
    EXPECT_EQ(scroll->buttons_alignment, "upper");
    EXPECT_EQ(scroll->increaseButton.size, Vec2(1, 1));
    EXPECT_EQ(scroll->decreaseButton.position, Vec2(0, 0));
    EXPECT_FALSE(scroll->increaseButton.hasSelection);

    GUIControl* pair = window->GetControl("window_plain/pair");
    EXPECT_EQ(pair->position, Vec2(120, 0)); // the number ends at the letter, which is no separator
    EXPECT_EQ(pair->size, Vec2(7, -80));
    EXPECT_EQ(pair->height, 0);
    EXPECT_EQ(pair->fader, "");
}

TEST_F(GUIWindowBaseTest, FadersAreCopiedFromTheirFirstDefinitionAlsoThroughTemplates) {
    Describe("tpl_faded.xml", "<button name=\"tpl_faded\" fader=\"twice\"/>");
    Describe("window_faded.xml", "<window name=\"window_faded\" fader=\"fade\" selection_size=\"3 4\">"
                                 "<button name=\"b\" template=\"tpl_faded\"/></window>");
    std::unique_ptr<ProbeWindow> window = Build("window_faded");
    GUIControl* top = window->GetControl("window_faded");
    EXPECT_EQ(top->fader, "fade");
    EXPECT_EQ(top->type, "timed");
    EXPECT_EQ(top->show_speed, 4);
    EXPECT_EQ(top->hide_speed, 2);
    EXPECT_EQ(top->min, 0.25f);
    EXPECT_EQ(top->max, 0.75f);
    EXPECT_EQ(top->fade_offset, 0.5f);
    EXPECT_EQ(top->show_offset, 1);
    EXPECT_EQ(top->hide_offset, 2);
    EXPECT_TRUE(top->hasSelection);
    EXPECT_EQ(top->selection_size, Vec2(3, 4));
    GUIControl* b = window->GetControl("window_faded/b");
    EXPECT_EQ(b->fader, "twice");
    EXPECT_EQ(b->show_speed, 3); // faders.xml is read before more_faders.xml
    EXPECT_EQ(b->hide_speed, 1);
}

TEST_F(GUIWindowBaseTest, DescriptionErrorsEndTheProgramWithTheirTexts) {
    Describe("capital.xml", "<window name=\"capital\"><Button name=\"b\"/></window>");
    Describe("errors.xml", "<errors name=\"errors\"/>");
    Describe("no_fader.xml", "<window name=\"no_fader\"><button name=\"b\" fader=\"nowhere\"/></window>");
    Describe("unnamed.xml", "<window name=\"unnamed\"><button name=\"first\"/><button/></window>");
    Describe("unnamed_fader.xml", "<window name=\"unnamed_fader\"><fader/></window>");
    Describe(
        "unnamed_filtered.xml",
        "<window name=\"unnamed_filtered\"><button name=\"b\" language=\"ru\"><window/></button></window>");
    Describe("loop_self.xml", "<window name=\"loop_self\" template=\"loop_self\"/>");
    Describe("loop_a.xml", "<window name=\"loop_a\" template=\"loop_b\"/>");
    Describe("loop_b.xml", "<window name=\"loop_b\" template=\"loop_a\"/>");
    Describe("tpl_nested.xml",
             "<window name=\"tpl_nested\"><window name=\"c\" template=\"tpl_nested\"/></window>");
    Describe("window_nested.xml",
             "<window name=\"window_nested\"><window name=\"n\" template=\"tpl_nested\"/></window>");
    Describe("window_errors.xml",
             "<window name=\"window_loops\"><window name=\"x\" template=\"loop_a\"/></window>");
    const struct {
        const char* window;
        const char* text;
    } cases[] = {
        {"capital", "(GUIWindowBase::ParseControls): Unknown \"Button\" control type"},
        {"errors", "(GUIWindowBase::ParseControls): Unknown \"errors\" control type"},
        {"no_fader", "(GUIWindowBase::ParseControls): Unknown \"nowhere\" fader"},
        {"unnamed",
         "(GUIWindowBase::ParseControls): Failed to find attribute \"name\" in node with \"button\" name"},
        {"unnamed_fader",
         "(GUIWindowBase::ParseControls): Failed to find attribute \"name\" in node with \"fader\" name"},
        {"unnamed_filtered", ""}, // the child of a control left out is never looked at
        {"window_missing", "(GUIWindowBase::ParseControls): Unknown \"window_missing\" window"},
        {"loop_self", "(GUIWindowBase::ParseControls): Recursive template \"loop_self\""},
        {"window_loops", "(GUIWindowBase::ParseControls): Recursive template \"loop_a\""},
        {"window_nested", "(GUIWindowBase::ParseControls): Recursive template \"c\""},
    };
    const int elementsBefore = manager.GetWindows().GetCount();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.window);
        EXPECT_EQ(FatalText(c.window), c.text);
        if (*c.text != '\0') {
            EXPECT_EQ(Errors(std::string("PROGRAM ABORTING: ") + c.text), 1u);
        }
        // Nothing of a refused window stays behind.
        EXPECT_EQ(manager.GetWindows().GetCount(), elementsBefore);
        EXPECT_EQ(manager.GetButtons().GetCount(), 0);
    }
}

TEST_F(GUIWindowBaseTest, LookupsFindFullNamesOfTheirKindAndLogMisses) {
    Describe("window_kinds.xml",
             "<window name=\"window_kinds\"><slider name=\"volume\"/><scroll name=\"list\"/>"
             "<text_label name=\"title\"/><edit_box name=\"player\"/></window>");
    std::unique_ptr<ProbeWindow> window = Build("window_kinds");
    EXPECT_EQ(window->SliderNames(), (std::vector<std::string>{"window_kinds/volume"}));
    EXPECT_EQ(window->ScrollNames(), (std::vector<std::string>{"window_kinds/list"}));
    for (const char* name :
         {"window_kinds", "window_kinds/volume", "window_kinds/list", "window_kinds/title"})
        EXPECT_NE(window->GetControl(name), nullptr) << name;
    EXPECT_NE(window->GetScrollControl("window_kinds/list"), nullptr);
    EXPECT_TRUE(window->HasTextControl("window_kinds/title"));
    EXPECT_TRUE(window->HasWindowControl("window_kinds"));
    EXPECT_EQ(Errors("GUIWindowBase"), 0u);

    const struct {
        const char* operation;
        bool found;
    } misses[] = {
        {"GetControl", window->GetControl("volume") != nullptr},
        {"GetScrollControl", window->GetScrollControl("window_kinds/volume") != nullptr},
        {"GetWindowControl", window->GetWindowControl("window_kinds/title") != nullptr},
        {"GetButtonControl", window->GetButtonControl("window_kinds/list") != nullptr},
        {"GetCheckBoxControl", window->GetCheckBoxControl("x") != nullptr},
        {"GetEditBoxControl", window->GetEditBoxControl("window_kinds/title") != nullptr},
        {"GetTextControl", window->GetTextControl("WINDOW_KINDS/title") != nullptr},
    };
    for (const auto& miss : misses) {
        EXPECT_FALSE(miss.found) << miss.operation;
        EXPECT_EQ(Errors(std::string("(GUIWindowBase::") + miss.operation + "): Unknown \""), 1u)
            << miss.operation;
    }
    EXPECT_TRUE(gui.log.Contains(
        "Error: (GUIWindowBase::GetScrollControl): Unknown \"window_kinds/volume\" control!"));
    const size_t lines = gui.log.Texts().size();
    EXPECT_FALSE(window->HasTextControl("window_kinds/volume"));
    EXPECT_FALSE(window->HasWindowControl("nothing"));
    EXPECT_EQ(gui.log.Texts().size(), lines);
    window->EnableControl("nothing", false);
    EXPECT_EQ(Errors("(GUIWindowBase::EnableControl): Unknown \"nothing\" control"), 1u);
}

TEST_F(GUIWindowBaseTest, MissingElementsAreAnsweredWithHiddenStandIns) {
    Describe("window_kinds.xml", "<window name=\"window_kinds\"><edit_box name=\"player\"/></window>");
    std::unique_ptr<ProbeWindow> window = Build("window_kinds");
    EXPECT_EQ(window->GetEditBox("window_kinds/player"),
              window->GetEditBoxControl("window_kinds/player")->editBox);
    GUIButton* button = window->GetButton("window_kinds/ok");
    ASSERT_NE(button, nullptr);
    EXPECT_FALSE(button->visible);
    EXPECT_EQ(window->GetButton("window_kinds/cancel"), button);
    // Game code may read and write them as it would a real element.
    button->clicked = false;
    EXPECT_NE(window->GetWindow("w"), nullptr);
    EXPECT_NE(window->GetCheckBox("c"), nullptr);
    EXPECT_FALSE(window->GetCheckBox("c")->checked);
    EXPECT_NE(window->GetEditBox("e"), nullptr);
    GUIScroll* scroll = window->GetScroll("s");
    ASSERT_NE(scroll, nullptr);
    scroll->SetPosition(3);
    EXPECT_EQ(Errors("(GUIWindowBase::GetButtonControl): Unknown"), 2u);
    EXPECT_EQ(Errors("(GUIWindowBase::GetScrollControl): Unknown \"s\" control"), 1u);
    // The stand-ins never show, so they never click.
    window->Show(true);
    EXPECT_FALSE(button->visible);
}

TEST_F(GUIWindowBaseTest, ShowUpdateAndHideWithEnabledAndDisabledControls) {
    Describe("window_life.xml", "<window name=\"window_life\" size=\"800 600\">"
                                "<button name=\"a\" position=\"10 20\" size=\"30 40\" height=\"4\"/>"
                                "<button name=\"b\"/></window>");
    Describe("window_empty.xml", "<window name=\"window_empty\" show_action=\"stay\"/>");
    std::unique_ptr<ProbeWindow> window = Build("window_life");
    GUIButton* a = window->GetButton("window_life/a");
    GUIButton* b = window->GetButton("window_life/b");
    // Built hidden, at the element defaults until the first update.
    EXPECT_FALSE(window->IsVisible());
    EXPECT_FALSE(a->visible);
    EXPECT_EQ(a->position, Vec2(0, 0));
    EXPECT_EQ(a->size, Vec2(1, 1));
    window->Update(); // hidden: no control is updated
    EXPECT_EQ(a->size, Vec2(1, 1));

    window->Show(true);
    EXPECT_TRUE(window->IsVisible());
    window->Update();
    EXPECT_TRUE(a->visible);
    EXPECT_EQ(a->position, Vec2(10, 20));
    EXPECT_EQ(a->size, Vec2(30, 40));
    EXPECT_EQ(a->GetOrder(), 4);

    // A disabled control hides at once, keeps being updated and no longer keeps the window up.
    window->EnableControl("window_life/b", false);
    EXPECT_FALSE(b->visible);
    EXPECT_EQ(window->GetEnabled()[2], false);
    window->Show(false);
    EXPECT_TRUE(window->IsVisible());
    window->Update(); // every control hides in it, so the root goes in the same update
    EXPECT_FALSE(a->visible);
    EXPECT_FALSE(window->IsVisible());

    // Enabled again, b shows only with the next show of the window.
    window->EnableControl("window_life/b", true);
    EXPECT_FALSE(b->visible);
    window->Show(true);
    window->Update();
    EXPECT_TRUE(b->visible);

    // A parent window that is hidden hides the window and stops its updates.
    GUIWindow* holder = manager.CreateWindow(0, Vec2(0, 0), Vec2(0, 0));
    std::unique_ptr<ProbeWindow> held =
        std::make_unique<ProbeWindow>(&keeper, tools.get(), holder, "window_life");
    held->Show(true);
    EXPECT_FALSE(held->IsVisible());
    held->Update();
    EXPECT_EQ(held->GetButton("window_life/a")->size, Vec2(1, 1));
    held.reset();
    manager.DeleteWindow(holder);

    // Without an enabled control that shows, the window hides at its first update.
    window.reset();
    std::unique_ptr<ProbeWindow> empty = Build("window_empty");
    empty->Show(true);
    EXPECT_TRUE(empty->IsVisible());
    empty->Update();
    EXPECT_FALSE(empty->IsVisible());
}

TEST_F(GUIWindowBaseTest, SliderAndScrollLayoutReachesTheElementsWhenShown) {
    Describe("window_sliders.xml",
             "<window name=\"window_sliders\" size=\"800 600\">"
             "<slider name=\"h\" size=\"200 20\" toddler_size=\"10 20\" toddler_min_position=\"5 0\" "
             "toddler_max_position=\"185 0\" toddler_selection_size=\"30 20\" "
             "increase_button_size=\"9 9\"/>"
             "<scroll name=\"v\" size=\"20 200\" height=\"3\" orientation=\"is_vertical_too\" "
             "toddler_size=\"20 10\" toddler_max_position=\"0 170\" buttons_alignment=\"lower\" "
             "increase_button_size=\"20 12\" increase_button_position=\"0 188\" "
             "decrease_button_size=\"20 11\" decrease_button_selection_position=\"1 2\"/>"
             "<scroll name=\"u\" orientation=\"Vertical\" buttons_alignment=\"Lower\"/></window>");
    std::unique_ptr<ProbeWindow> window = Build("window_sliders");
    GUISliderControl* h = static_cast<GUISliderControl*>(window->GetControl("window_sliders/h"));
    GUIScroll* v = window->GetScroll("window_sliders/v");
    GUIScroll* u = window->GetScroll("window_sliders/u");
    // Until the first visible update the elements keep what they were made with.
    EXPECT_EQ(h->slider->GetToddlerSize(), Vec2(1, 1));
    window->Show(true);
    window->Update();

    EXPECT_EQ(h->slider->GetOrientation(), 0);
    EXPECT_EQ(h->slider->GetToddlerSize(), Vec2(10, 20));
    EXPECT_EQ(h->slider->GetToddlerMinPosition(), Vec2(5, 0));
    EXPECT_EQ(h->slider->GetToddlerMaxPosition(), Vec2(185, 0));
    EXPECT_TRUE(h->slider->GetToddler()->selection);
    EXPECT_EQ(h->slider->GetToddler()->selectionSize, Vec2(30, 20));

    EXPECT_EQ(v->GetOrientation(), 1);
    EXPECT_EQ(v->GetToddlerSize(), Vec2(20, 10));
    EXPECT_FALSE(v->GetToddler()->selection);
    EXPECT_EQ(v->GetIncreaseButton()->size, Vec2(20, 12));
    EXPECT_EQ(v->GetIncreaseButton()->position, Vec2(0, 188));
    EXPECT_FALSE(v->GetIncreaseButton()->selection);
    EXPECT_EQ(v->GetDecreaseButton()->size, Vec2(20, 11));
    EXPECT_TRUE(v->GetDecreaseButton()->selection);
    EXPECT_EQ(v->GetDecreaseButton()->selectionPosition, Vec2(1, 2));
    EXPECT_EQ(v->GetIncreaseButton()->GetOrder(), -1);
    EXPECT_EQ(v->GetDecreaseButton()->GetOrder(), -1);
    EXPECT_EQ(v->GetOrder(), 4);

    EXPECT_EQ(u->GetOrientation(), 0);
    EXPECT_EQ(u->GetIncreaseButton()->GetOrder(), 2);
    EXPECT_EQ(u->GetOrder(), 1);
}
