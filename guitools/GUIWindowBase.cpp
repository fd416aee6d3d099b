#include "guitools/GUIWindowBase.h"

#include "engine/core/MessageManager.h"
#include "engine/core/ObjectManager.h"
#include "engine/core/StringUtils.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUICheckBox.h"
#include "engine/gui/GUIEditBox.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIScroll.h"
#include "gametools/XMLNode.h"
#include "guitools/GUIButtonControl.h"
#include "guitools/GUICheckBoxControl.h"
#include "guitools/GUIEditBoxControl.h"
#include "guitools/GUIScrollControl.h"
#include "guitools/GUISliderControl.h"
#include "guitools/GUITextControl.h"
#include "guitools/GUIToolManager.h"
#include "guitools/GUIWindowControl.h"

#include <algorithm>
#include <memory>

using GameTools::XMLAttribute;
using GameTools::XMLNode;
using GameTools::XMLValue;
using OrvexEngine::GUIManager;
using OrvexEngine::Vec2;

namespace GUITools {

namespace {

constexpr size_t maxBuildDepth = 1024;

[[noreturn]] void DescriptionError(const std::string& before, const std::string& quoted,
                                   const std::string& after) {
    OrvexEngine::Log()->Fatal("(GUIWindowBase::ParseControls): " + before + "\"" + quoted + "\"" + after);
}

void LogUnknownControl(const char* operation, const std::string& fullName) {
    OrvexEngine::Log()->Error(std::string("(GUIWindowBase::") + operation + "): Unknown \"" + fullName +
                              "\" control");
}

template <class Control> Control* FindByName(const std::vector<Control*>& list, const std::string& fullName) {
    for (Control* control : list)
        if (control->GetName() == fullName)
            return control;
    return nullptr;
}

template <class Control>
Control* FindOrLog(const std::vector<Control*>& list, const std::string& fullName, const char* operation) {
    Control* control = FindByName(list, fullName);
    if (control == nullptr)
        LogUnknownControl(operation, fullName);
    return control;
}

// The first child element whose own "name" is the given one.
XMLNode* NamedChild(const XMLNode* parent, const std::string& childName) {
    for (XMLNode* child : parent->children) {
        XMLAttribute* attribute = child->FindAttribute("name");
        if (attribute != nullptr && attribute->value.AsString() == childName)
            return child;
    }
    return nullptr;
}

// The first "fader" definition of that name over all "faders" elements, in document order.
XMLNode* FindFader(const XMLNode* descriptionRoot, const std::string& faderName) {
    for (const XMLNode* faders : descriptionRoot->children) {
        if (faders->name != "faders")
            continue;
        for (XMLNode* fader : faders->children) {
            if (fader->name != "fader")
                continue;
            XMLAttribute* attribute = fader->FindAttribute("name");
            if (attribute != nullptr && attribute->value.AsString() == faderName)
                return fader;
        }
    }
    return nullptr;
}

// Each value on the nodes, looked up before any is applied.
struct Lookup {
    Lookup(const GUIWindowBase::NodeList& nodes, std::initializer_list<const char*> names,
           XMLValue* (*find)(const GUIWindowBase::NodeList&, const std::string&)) {
        for (const char* attribute : names)
            values.push_back(find(nodes, attribute));
    }
    XMLValue* operator[](size_t i) const { return values[i]; }
    std::vector<XMLValue*> values;
};

std::string StringOr(XMLValue* value, const std::string& fallback) {
    return value != nullptr ? value->AsString() : fallback;
}

Vec2 PairOr(XMLValue* value, const Vec2& fallback) {
    return value != nullptr ? value->GetFloat2() : fallback;
}

int32_t FrameOr(XMLValue* value) {
    return value != nullptr ? value->AsInt() : -1;
}

} // namespace

GUIWindowBase::GUIWindowBase(GameTools::DataKeeper* keeper, GUIToolManager* tools,
                             OrvexEngine::GUIWindow* parent, const std::string& windowName)
    : dataKeeper(keeper), toolManager(tools), fontTool(tools->fontTool), textTool(tools->textTool) {
    rootWindow = GUIManager::Instance()->CreateWindow(0, Vec2(0, 0), Vec2(0, 0), nullptr, nullptr, parent);
    name = windowName;
    try {
        Build(toolManager->windowDescriptions, name);
    } catch (...) {
        DeleteAll();
        throw;
    }
}

GUIWindowBase::~GUIWindowBase() {
    DeleteAll();
}

void GUIWindowBase::DeleteAll() {
    OrvexEngine::DeletePointerVector(controls);
    GUIManager* gui = GUIManager::Instance();
    gui->DeleteWindow(rootWindow);
    gui->DeleteWindow(missingWindow);
    gui->DeleteButton(missingButton);
    gui->DeleteCheckBox(missingCheckBox);
    gui->DeleteEditBox(missingEditBox);
    gui->DeleteScroll(missingScroll);
    rootWindow = missingWindow = nullptr;
    missingButton = nullptr;
    missingCheckBox = nullptr;
    missingEditBox = nullptr;
    missingScroll = nullptr;
}

void GUIWindowBase::Build(XMLNode* descriptionRoot, const std::string& windowName) {
    ParseControls(descriptionRoot, NodeList{descriptionRoot}, windowName, "", rootWindow);
}

XMLValue* GUIWindowBase::FindAttribute(const NodeList& nodes, const std::string& attribute) {
    for (XMLNode* node : nodes)
        if (XMLValue* value = node->GetAttribute(attribute, XMLNode::SeverityNone))
            return value;
    return nullptr;
}

void GUIWindowBase::CollectNodes(XMLNode* descriptionRoot, const NodeList& parentNodes,
                                 const std::string& controlName, NodeList& out) {
    for (XMLNode* parentNode : parentNodes) {
        XMLNode* node = NamedChild(parentNode, controlName);
        // The template chain of this node; one that returns to a node already in it would never end.
        NodeList chain;
        while (node != nullptr) {
            chain.push_back(node);
            XMLValue* templateName = node->GetAttribute("template", XMLNode::SeverityNone);
            if (templateName == nullptr)
                break;
            node = NamedChild(descriptionRoot, templateName->AsString());
            if (std::find(chain.begin(), chain.end(), node) != chain.end())
                DescriptionError("Recursive template ", templateName->AsString(), "");
        }
        // A node reached twice (two chains sharing a template) adds nothing the first did not.
        for (XMLNode* collected : chain)
            if (std::find(out.begin(), out.end(), collected) == out.end())
                out.push_back(collected);
    }
}

void GUIWindowBase::ParseControls(XMLNode* descriptionRoot, const NodeList& parentNodes,
                                  const std::string& controlName, const std::string& parentFullName,
                                  OrvexEngine::GUIWindow* parentWindow) {
    NodeList nodes;
    CollectNodes(descriptionRoot, parentNodes, controlName, nodes);
    if (nodes.empty())
        DescriptionError("Unknown ", controlName, " window");
    const std::string& type = nodes.front()->name;
    if (type == "fader")
        return;
    if (XMLValue* language = FindAttribute(nodes, "language");
        language != nullptr && language->AsString() != toolManager->language)
        return;
    // The subtree of a control is fixed by its collected nodes: meeting an ancestor's nodes again means a
    // template that contains itself.
    // Templates that keep nesting other templates without ever repeating themselves are refused the same
    // way once far deeper than any file can nest, before the build runs out of stack.
    if (buildPath.size() > maxBuildDepth ||
        std::find(buildPath.begin(), buildPath.end(), nodes) != buildPath.end())
        DescriptionError("Recursive template ", controlName, "");

    const std::string fullName = parentFullName.empty() ? controlName : parentFullName + "/" + controlName;
    const Lookup described(nodes,
                           {"model", "model_start_frame", "model_end_frame", "shader", "uv", "animator_model",
                            "animator_model_start_frame", "animator_model_end_frame"},
                           FindAttribute);
    GUIControlDescription description;
    description.name = fullName;
    description.model = StringOr(described[0], "");
    description.model_start_frame = FrameOr(described[1]);
    description.model_end_frame = FrameOr(described[2]);
    description.shader = StringOr(described[3], "");
    description.uv = PairOr(described[4], Vec2(1, 1));
    description.animator_model = StringOr(described[5], "");
    description.animator_model_start_frame = FrameOr(described[6]);
    description.animator_model_end_frame = FrameOr(described[7]);

    // Owned here until registered, so that a fatal error in its attributes frees it; the kind lists take it
    // once its attributes are in.
    std::unique_ptr<GUIControl> control;
    GUITextControl* label = nullptr;
    GUIEditBoxControl* box = nullptr;
    GUISliderControl* slider = nullptr;
    GUIScrollControl* scroll = nullptr;
    if (type == "window")
        control = std::make_unique<GUIWindowControl>(dataKeeper, parentWindow, description);
    else if (type == "button")
        control = std::make_unique<GUIButtonControl>(dataKeeper, parentWindow, description);
    else if (type == "check_box")
        control = std::make_unique<GUICheckBoxControl>(dataKeeper, parentWindow, description);
    else if (type == "edit_box")
        control.reset(box = new GUIEditBoxControl(dataKeeper, fontTool, parentWindow, description));
    else if (type == "slider")
        control.reset(slider = new GUISliderControl(dataKeeper, parentWindow, description));
    else if (type == "scroll")
        control.reset(slider = scroll = new GUIScrollControl(dataKeeper, parentWindow, description));
    else if (type == "text_label")
        control.reset(label = new GUITextControl(dataKeeper, fontTool, textTool, parentWindow, description));
    else
        DescriptionError("Unknown ", type, " control type");

    ApplyCommonAttributes(*control, nodes, descriptionRoot);
    if (label != nullptr)
        ApplyTextAttributes(*label, nodes);
    if (box != nullptr)
        ApplyEditBoxAttributes(*box, nodes);
    if (slider != nullptr)
        ApplySliderAttributes(*slider, nodes);
    if (scroll != nullptr)
        ApplyScrollAttributes(*scroll, nodes);

    if (type == "window")
        windowControls.push_back(static_cast<GUIWindowControl*>(control.get()));
    else if (type == "button")
        buttonControls.push_back(static_cast<GUIButtonControl*>(control.get()));
    else if (type == "check_box")
        checkBoxControls.push_back(static_cast<GUICheckBoxControl*>(control.get()));
    else if (box != nullptr)
        editBoxControls.push_back(box);
    else if (scroll != nullptr)
        scrollControls.push_back(scroll);
    else if (slider != nullptr)
        sliderControls.push_back(slider);
    else if (label != nullptr)
        textControls.push_back(label);
    GUIControl* built = control.release();
    controls.push_back(built);
    enabled.push_back(true);

    // Every child needs a name before any child is built.
    std::vector<std::string> childNames;
    for (const XMLNode* node : nodes) {
        for (const XMLNode* child : node->children) {
            XMLAttribute* childName = child->FindAttribute("name");
            if (childName == nullptr)
                DescriptionError("Failed to find attribute ", "name",
                                 " in node with \"" + child->name + "\" name");
            const std::string& text = childName->value.AsString();
            if (std::find(childNames.begin(), childNames.end(), text) == childNames.end())
                childNames.push_back(text);
        }
    }
    buildPath.push_back(nodes);
    for (const std::string& childName : childNames)
        ParseControls(descriptionRoot, nodes, childName, fullName, built->GetWindow());
    buildPath.pop_back();
}

void GUIWindowBase::ApplyCommonAttributes(GUIControl& control, const NodeList& nodes,
                                          XMLNode* descriptionRoot) {
    const Lookup common(nodes,
                        {"show_action", "hide_action", "height", "position", "size", "selection_position",
                         "selection_size", "fader"},
                        FindAttribute);
    if (common[0] != nullptr)
        control.show_action = common[0]->AsString();
    if (common[1] != nullptr)
        control.hide_action = common[1]->AsString();
    if (common[2] != nullptr)
        control.height = common[2]->AsInt();
    if (common[3] != nullptr)
        control.position = common[3]->GetFloat2();
    if (common[4] != nullptr)
        control.size = common[4]->GetFloat2();
    if (common[5] != nullptr) {
        control.selection_position = common[5]->GetFloat2();
        control.hasSelection = true;
    }
    if (common[6] != nullptr) {
        control.selection_size = common[6]->GetFloat2();
        control.hasSelection = true;
    }
    if (common[7] == nullptr || common[7]->AsString().empty())
        return;
    const std::string faderName = common[7]->AsString();
    XMLNode* definition = FindFader(descriptionRoot, faderName);
    if (definition == nullptr)
        DescriptionError("Unknown ", faderName, " fader");
    const NodeList own{definition}; // fader definitions take no templates
    const Lookup fader(
        own, {"type", "show_speed", "hide_speed", "min", "max", "fade_offset", "show_offset", "hide_offset"},
        FindAttribute);
    control.fader = faderName;
    if (fader[0] != nullptr)
        control.type = fader[0]->AsString();
    float* const floats[] = {&control.show_speed,  &control.hide_speed,  &control.min,        &control.max,
                             &control.fade_offset, &control.show_offset, &control.hide_offset};
    for (size_t i = 0; i < std::size(floats); ++i)
        if (fader[i + 1] != nullptr)
            *floats[i] = fader[i + 1]->AsFloat();
}

void GUIWindowBase::ApplyTextAttributes(GUITextControl& label, const NodeList& nodes) {
    const Lookup text(nodes,
                      {"alignment_h", "alignment_v", "font", "text", "color", "angle", "font_size",
                       "multiline", "line_space", "printing_mode", "printing_speed", "max_printing_time",
                       "auto_font_size"},
                      FindAttribute);
    if (text[0] != nullptr)
        label.alignmentH = text[0]->AsString();
    if (text[1] != nullptr)
        label.alignmentV = text[1]->AsString();
    if (text[2] != nullptr)
        label.SetFont(text[2]->AsString());
    if (text[3] != nullptr)
        label.SetTextKey(text[3]->AsString());
    if (text[4] != nullptr)
        label.color = text[4]->GetFloat4();
    if (text[5] != nullptr)
        label.angle = text[5]->AsFloat();
    if (text[6] != nullptr) {
        label.fontSize = text[6]->AsFloat();
        label.BuildLines();
    }
    if (text[7] != nullptr) {
        label.multiline = text[7]->AsBool();
        label.BuildLines();
    }
    if (text[8] != nullptr)
        label.lineSpace = text[8]->AsFloat();
    if (text[9] != nullptr)
        label.printingMode = text[9]->AsBool();
    if (text[10] != nullptr)
        label.printingSpeed = text[10]->AsFloat();
    if (text[11] != nullptr)
        label.maxPrintingTime = text[11]->AsFloat();
    if (text[12] != nullptr) {
        label.autoFontSize = text[12]->AsBool();
        label.BuildLines();
    }
}

void GUIWindowBase::ApplyEditBoxAttributes(GUIEditBoxControl& box, const NodeList& nodes) {
    const Lookup edit(nodes,
                      {"font", "font_color", "text_offset", "cursor_character", "max_character_count",
                       "max_text_length", "visible_text_width"},
                      FindAttribute);
    if (edit[0] != nullptr)
        box.SetFont(edit[0]->AsString());
    if (edit[1] != nullptr)
        box.fontColor = edit[1]->GetFloat4();
    if (edit[2] != nullptr)
        box.textOffset = edit[2]->GetFloat2();
    if (edit[3] != nullptr) {
        const std::u16string units = OrvexEngine::WideToUtf16(edit[3]->AsWideString());
        box.cursorCharacter = units.empty() ? L' ' : wchar_t(units.front());
    }
    if (edit[4] != nullptr)
        box.maxCharacterCount = edit[4]->AsInt();
    if (edit[5] != nullptr)
        box.maxTextLength = edit[5]->AsFloat();
    if (edit[6] != nullptr)
        box.visibleTextWidth = edit[6]->AsFloat();
}

void GUIWindowBase::ApplySliderAttributes(GUISliderControl& slider, const NodeList& nodes) {
    const Lookup thumb(nodes, {"toddler_model", "toddler_shader", "toddler_uv"}, FindAttribute);
    slider.InitToddler(StringOr(thumb[0], ""), StringOr(thumb[1], ""), PairOr(thumb[2], Vec2(1, 1)));
    const Lookup layout(nodes,
                        {"toddler_size", "toddler_min_position", "toddler_max_position", "orientation",
                         "toddler_selection_position", "toddler_selection_size"},
                        FindAttribute);
    if (layout[0] != nullptr)
        slider.toddler_size = layout[0]->GetFloat2();
    if (layout[1] != nullptr)
        slider.toddler_min_position = layout[1]->GetFloat2();
    if (layout[2] != nullptr)
        slider.toddler_max_position = layout[2]->GetFloat2();
    if (layout[3] != nullptr)
        slider.orientation = layout[3]->AsString();
    if (layout[4] != nullptr) {
        slider.toddler_selection_position = layout[4]->GetFloat2();
        slider.hasToddlerSelection = true;
    }
    if (layout[5] != nullptr) {
        slider.toddler_selection_size = layout[5]->GetFloat2();
        slider.hasToddlerSelection = true;
    }
}

void GUIWindowBase::ApplyScrollAttributes(GUIScrollControl& scroll, const NodeList& nodes) {
    for (const bool increase : {true, false}) {
        const std::string prefix = increase ? "increase_button_" : "decrease_button_";
        XMLValue* const modelName = FindAttribute(nodes, prefix + "model");
        XMLValue* const shaderName = FindAttribute(nodes, prefix + "shader");
        XMLValue* const uv = FindAttribute(nodes, prefix + "uv");
        if (increase)
            scroll.InitIncreaseButton(StringOr(modelName, ""), StringOr(shaderName, ""),
                                      PairOr(uv, Vec2(1, 1)));
        else
            scroll.InitDecreaseButton(StringOr(modelName, ""), StringOr(shaderName, ""),
                                      PairOr(uv, Vec2(1, 1)));
        GUIScrollButtonLayout& layout = increase ? scroll.increaseButton : scroll.decreaseButton;
        XMLValue* const buttonSize = FindAttribute(nodes, prefix + "size");
        XMLValue* const buttonPosition = FindAttribute(nodes, prefix + "position");
        XMLValue* const selectionPosition = FindAttribute(nodes, prefix + "selection_position");
        XMLValue* const selectionSize = FindAttribute(nodes, prefix + "selection_size");
        if (buttonSize != nullptr)
            layout.size = buttonSize->GetFloat2();
        if (buttonPosition != nullptr)
            layout.position = buttonPosition->GetFloat2();
        if (selectionPosition != nullptr) {
            layout.selectionPosition = selectionPosition->GetFloat2();
            layout.hasSelection = true;
        }
        if (selectionSize != nullptr) {
            layout.selectionSize = selectionSize->GetFloat2();
            layout.hasSelection = true;
        }
    }
    if (XMLValue* alignment = FindAttribute(nodes, "buttons_alignment"))
        scroll.buttons_alignment = alignment->AsString();
}

void GUIWindowBase::Update() {
    if (!rootWindow->visible)
        return;
    bool active = false;
    for (size_t i = 0; i < controls.size(); ++i) {
        controls[i]->Update();
        if (enabled[i] && controls[i]->IsActive())
            active = true;
    }
    if (!active)
        rootWindow->ClearFlags(OrvexEngine::GUI_WINDOW_VISIBLE);
}

void GUIWindowBase::Show(bool show) {
    if (show)
        rootWindow->SetFlags(OrvexEngine::GUI_WINDOW_VISIBLE);
    for (size_t i = 0; i < controls.size(); ++i)
        if (enabled[i])
            controls[i]->Show(show, true);
}

bool GUIWindowBase::IsVisible() const {
    return rootWindow->visible;
}

GUIControl* GUIWindowBase::GetControl(const std::string& fullName) const {
    return FindOrLog(controls, fullName, "GetControl");
}

GUIWindowControl* GUIWindowBase::GetWindowControl(const std::string& fullName) const {
    return FindOrLog(windowControls, fullName, "GetWindowControl");
}

GUIButtonControl* GUIWindowBase::GetButtonControl(const std::string& fullName) const {
    return FindOrLog(buttonControls, fullName, "GetButtonControl");
}

GUICheckBoxControl* GUIWindowBase::GetCheckBoxControl(const std::string& fullName) const {
    return FindOrLog(checkBoxControls, fullName, "GetCheckBoxControl");
}

GUIEditBoxControl* GUIWindowBase::GetEditBoxControl(const std::string& fullName) const {
    return FindOrLog(editBoxControls, fullName, "GetEditBoxControl");
}

GUIScrollControl* GUIWindowBase::GetScrollControl(const std::string& fullName) const {
    return FindOrLog(scrollControls, fullName, "GetScrollControl");
}

GUITextControl* GUIWindowBase::GetTextControl(const std::string& fullName) const {
    return FindOrLog(textControls, fullName, "GetTextControl");
}

bool GUIWindowBase::HasWindowControl(const std::string& fullName) const {
    return FindByName(windowControls, fullName) != nullptr;
}

bool GUIWindowBase::HasTextControl(const std::string& fullName) const {
    return FindByName(textControls, fullName) != nullptr;
}

OrvexEngine::GUIWindow* GUIWindowBase::GetWindow(const std::string& fullName) {
    if (GUIWindowControl* control = GetWindowControl(fullName))
        return control->GetWindow();
    if (missingWindow == nullptr)
        missingWindow =
            GUIManager::Instance()->CreateWindow(0, Vec2(0, 0), Vec2(0, 0), nullptr, nullptr, nullptr);
    return missingWindow;
}

OrvexEngine::GUIButton* GUIWindowBase::GetButton(const std::string& fullName) {
    if (GUIButtonControl* control = GetButtonControl(fullName))
        return control->button;
    if (missingButton == nullptr)
        missingButton =
            GUIManager::Instance()->CreateButton(0, Vec2(0, 0), Vec2(0, 0), nullptr, nullptr, nullptr);
    return missingButton;
}

OrvexEngine::GUICheckBox* GUIWindowBase::GetCheckBox(const std::string& fullName) {
    if (GUICheckBoxControl* control = GetCheckBoxControl(fullName))
        return control->checkBox;
    if (missingCheckBox == nullptr)
        missingCheckBox =
            GUIManager::Instance()->CreateCheckBox(0, Vec2(0, 0), Vec2(0, 0), nullptr, nullptr, nullptr);
    return missingCheckBox;
}

OrvexEngine::GUIEditBox* GUIWindowBase::GetEditBox(const std::string& fullName) {
    if (GUIEditBoxControl* control = GetEditBoxControl(fullName))
        return control->editBox;
    if (missingEditBox == nullptr)
        missingEditBox = GUIManager::Instance()->CreateEditBox(0, Vec2(0, 0), Vec2(0, 0), nullptr, nullptr,
                                                               -1, OrvexEngine::Vec4(1, 1, 1, 1), Vec2(0, 0),
                                                               0, 0, 0, L'_', nullptr);
    return missingEditBox;
}

OrvexEngine::GUIScroll* GUIWindowBase::GetScroll(const std::string& fullName) {
    if (GUIScrollControl* control = GetScrollControl(fullName))
        return control->scroll;
    if (missingScroll == nullptr)
        missingScroll = GUIManager::Instance()->CreateScroll(0, Vec2(0, 0), Vec2(0, 0), nullptr, nullptr, 0,
                                                             Vec2(0, 0), Vec2(0, 0), 2, nullptr);
    return missingScroll;
}

void GUIWindowBase::EnableControl(const std::string& fullName, bool enable) {
    const auto found = std::find_if(controls.begin(), controls.end(), [&](const GUIControl* control) {
        return control->GetName() == fullName;
    });
    if (found == controls.end()) {
        LogUnknownControl("EnableControl", fullName);
        return;
    }
    const auto index = size_t(found - controls.begin());
    enabled[index] = enable;
    if (enable)
        return;
    (*found)->Show(false, false);
    (*found)->GetWindow()->ClearFlags(OrvexEngine::GUI_WINDOW_VISIBLE);
}

void GUIWindowBase::SetControlEnabled(GUIControl* control, bool enable) {
    EnableControl(control->GetName(), enable);
}

} // namespace GUITools
