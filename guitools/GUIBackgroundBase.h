// An animated background described in XML: layers of models and particle systems under one layers window,
// in a basic and an additional set so that the background can show while the rest still loads, fading as a
// whole and layer by layer. Owners parent the windows they show over it to foregroundWindow. Created and
// deleted by its owner (the game's menu background derives from it); one per background shown.
#pragma once

#include <string>
#include <vector>

namespace OrvexEngine {
class GUIWindow;
}

namespace GameTools {
class DataKeeper;
class XMLNode;
} // namespace GameTools

namespace GUITools {

class GUIBackgroundLayer;

class GUIBackgroundBase {
public:
    // Reads the description; makes no layer. A file that cannot be read or parsed is logged and leaves a
    // background without layers that still shows and hides.
    GUIBackgroundBase(GameTools::DataKeeper* dataKeeper, OrvexEngine::GUIWindow* parent,
                      const std::string& fileName);
    GUIBackgroundBase(const GUIBackgroundBase&) = delete;
    GUIBackgroundBase& operator=(const GUIBackgroundBase&) = delete;
    virtual ~GUIBackgroundBase();

    // Each call adds layers for every matching entry; layers added while visible fade in over a second.
    virtual void LoadBasicLayers();
    virtual void LoadAdditionalLayers();
    // Once a frame: the layers, then the background's own fade.
    virtual void Update();
    // Showing is immediate, with fade rising at speed per second; hiding with fade falls, then hides.
    virtual void Show(bool show, bool fade, float speed);
    virtual bool IsVisible() const;
    virtual void LoadLayers(bool basic);
    virtual bool IsAdditionalLayer(GameTools::XMLNode* entry);
    // Null for an entry without "name" or with a tag that is no layer kind.
    virtual GUIBackgroundLayer* CreateLayer(GameTools::XMLNode* entry, int order);

    GameTools::DataKeeper* dataKeeper = nullptr; // not owned
    GameTools::XMLNode* description = nullptr;   // owned: the file's root element, or none
    std::string resourcesPrefix;
    OrvexEngine::GUIWindow* rootWindow = nullptr;       // owned, through the GUI manager
    OrvexEngine::GUIWindow* layersWindow = nullptr;     // owned, through the GUI manager
    OrvexEngine::GUIWindow* foregroundWindow = nullptr; // owned, through the GUI manager
    std::vector<GUIBackgroundLayer*> layers;            // owned, in creation order
    bool showing = false;
    bool fading = false;
    float fadeSpeed = 1;
    float fadeTime = 0;
};

} // namespace GUITools
