// A window whose whole content is built from a window description: an invisible root GUI window under which
// every described control hangs, the controls in one owning list (pre-order) and one list per kind, an
// enabled bit per control, and the control operations by full name for the game's windows that derive from
// it. Built completely in the constructor; its structure never changes afterwards. One per game window,
// created and deleted by its owner on the main thread.
#pragma once

#include <string>
#include <vector>

namespace OrvexEngine {
class GUIButton;
class GUICheckBox;
class GUIEditBox;
class GUIScroll;
class GUIWindow;
} // namespace OrvexEngine

namespace GameTools {
class DataKeeper;
class XMLNode;
class XMLValue;
} // namespace GameTools

namespace GUITools {

class GUIButtonControl;
class GUICheckBoxControl;
class GUIControl;
class GUIEditBoxControl;
class GUIFontTool;
class GUIScrollControl;
class GUISliderControl;
class GUITextControl;
class GUITextTool;
class GUIToolManager;
class GUIWindowControl;

class GUIWindowBase {
public:
    using NodeList = std::vector<GameTools::XMLNode*>;

    // Builds every control of the named window, hidden. A description error (a tag that is no control type,
    // an undefined fader, a child without a name, a window name no description carries, a template that
    // leads back to itself) ends the program: FatalError leaves the constructor, nothing built is kept.
    GUIWindowBase(GameTools::DataKeeper* dataKeeper, GUIToolManager* toolManager,
                  OrvexEngine::GUIWindow* parent, const std::string& windowName);
    GUIWindowBase(const GUIWindowBase&) = delete;
    GUIWindowBase& operator=(const GUIWindowBase&) = delete;
    virtual ~GUIWindowBase();

    // Once a frame: updates every control while the window is visible, and hides it once no enabled control
    // is active any more.
    virtual void Update();
    // Showing makes the window visible at once; both directions start the enabled controls' show or hide.
    virtual void Show(bool show);
    virtual bool IsVisible() const;

    // Lookups by full name ("window/panel/ok"): null, after an error line, when there is no such control of
    // the kind. The Has... forms never log.
    GUIControl* GetControl(const std::string& fullName) const;
    GUIWindowControl* GetWindowControl(const std::string& fullName) const;
    GUIButtonControl* GetButtonControl(const std::string& fullName) const;
    GUICheckBoxControl* GetCheckBoxControl(const std::string& fullName) const;
    GUIEditBoxControl* GetEditBoxControl(const std::string& fullName) const;
    GUIScrollControl* GetScrollControl(const std::string& fullName) const;
    GUITextControl* GetTextControl(const std::string& fullName) const;
    bool HasWindowControl(const std::string& fullName) const;
    bool HasTextControl(const std::string& fullName) const;

    // The engine elements of named controls. Never null: a missing control is logged by its lookup and
    // answered with a hidden stand-in element of the kind, so that game code reading it goes on safely.
    OrvexEngine::GUIWindow* GetWindow(const std::string& fullName);
    OrvexEngine::GUIButton* GetButton(const std::string& fullName);
    OrvexEngine::GUICheckBox* GetCheckBox(const std::string& fullName);
    OrvexEngine::GUIEditBox* GetEditBox(const std::string& fullName);
    OrvexEngine::GUIScroll* GetScroll(const std::string& fullName);

    // Disabling hides the control at once, ignoring its actions; enabling lets the next Show(true) show it.
    void EnableControl(const std::string& fullName, bool enabled);
    void SetControlEnabled(GUIControl* control, bool enabled);

    const std::string& GetName() const { return name; }
    OrvexEngine::GUIWindow* GetRootWindow() const { return rootWindow; }
    const std::vector<GUIControl*>& GetControls() const { return controls; }
    const std::vector<bool>& GetEnabled() const { return enabled; }

protected:
    void Build(GameTools::XMLNode* descriptionRoot, const std::string& windowName);
    void ParseControls(GameTools::XMLNode* descriptionRoot, const NodeList& parentNodes,
                       const std::string& controlName, const std::string& parentFullName,
                       OrvexEngine::GUIWindow* parentWindow);
    // Appends the named child of each parent node, each followed by its template chain.
    void CollectNodes(GameTools::XMLNode* descriptionRoot, const NodeList& parentNodes,
                      const std::string& controlName, NodeList& out);
    // The attribute on the first node that has it; null when none has it. Logs nothing.
    static GameTools::XMLValue* FindAttribute(const NodeList& nodes, const std::string& attribute);

    GameTools::DataKeeper* dataKeeper = nullptr;  // not owned
    GUIToolManager* toolManager = nullptr;        // not owned
    GUIFontTool* fontTool = nullptr;              // not owned: the tool manager's
    GUITextTool* textTool = nullptr;              // not owned: the tool manager's
    OrvexEngine::GUIWindow* rootWindow = nullptr; // owned, through the GUI manager
    std::string name;
    std::vector<GUIControl*> controls;             // owned, in build order (a control before its children)
    std::vector<GUIWindowControl*> windowControls; // not owned
    std::vector<GUIButtonControl*> buttonControls; // not owned
    std::vector<GUICheckBoxControl*> checkBoxControls; // not owned
    std::vector<GUIEditBoxControl*> editBoxControls;   // not owned
    std::vector<GUISliderControl*> sliderControls;     // not owned: sliders only, scrolls are apart
    std::vector<GUIScrollControl*> scrollControls;     // not owned
    std::vector<GUITextControl*> textControls;         // not owned
    std::vector<bool> enabled;                         // one per entry of controls

private:
    void ApplyCommonAttributes(GUIControl& control, const NodeList& nodes,
                               GameTools::XMLNode* descriptionRoot);
    void ApplyTextAttributes(GUITextControl& label, const NodeList& nodes);
    void ApplyEditBoxAttributes(GUIEditBoxControl& box, const NodeList& nodes);
    void ApplySliderAttributes(GUISliderControl& slider, const NodeList& nodes);
    void ApplyScrollAttributes(GUIScrollControl& scroll, const NodeList& nodes);
    void DeleteAll();

    // The collected nodes of the controls being built, outermost first: a control whose nodes repeat an
    // ancestor's would repeat its subtree without end.
    std::vector<NodeList> buildPath;
    // Hidden stand-ins the element getters answer missing controls with; made on first need.
    OrvexEngine::GUIWindow* missingWindow = nullptr;     // owned, through the GUI manager
    OrvexEngine::GUIButton* missingButton = nullptr;     // owned, through the GUI manager
    OrvexEngine::GUICheckBox* missingCheckBox = nullptr; // owned, through the GUI manager
    OrvexEngine::GUIEditBox* missingEditBox = nullptr;   // owned, through the GUI manager
    OrvexEngine::GUIScroll* missingScroll = nullptr;     // owned, through the GUI manager
};

} // namespace GUITools
