// The visible gun on the bat: the gun model with its four clips (appear, shot, loaded, disappear), the
// loaded bolt that shows between shots, and the gun's shadow, all riding on the bat's body matrix. Owned by
// its Gun.
#pragma once

namespace OrvexEngine {
class Model;
}

namespace GameTools {
class DataKeeper;
}

namespace VelmoraBall {

class Bat;
class Effects;
class Shadow;
struct GunKind;

class GunPart {
public:
    static constexpr int ClipAppear = 0;
    static constexpr int ClipShot = 1;
    static constexpr int ClipLoaded = 2;
    static constexpr int ClipDisappear = 3;

    GunPart(GameTools::DataKeeper* keeper, Effects* effects, Bat* bat, const GunKind& kind);
    GunPart(const GunPart&) = delete;
    GunPart& operator=(const GunPart&) = delete;
    virtual ~GunPart();

    // True: the appear clip, gun and shadow shown; false: the disappear clip.
    void Appear(bool appear);
    // The shot clip; the loaded bolt is gone. After the last shot the gun disappears when the clip ends.
    void StartShot(bool last);
    void StartReload();
    // Gun, bolt and shadow hidden at once.
    void Hide();
    bool IsVisible() const;
    // Only while visible: the next clip when one ends, then both models placed on the bat.
    void Update();

    OrvexEngine::Model* GetGunModel() const { return gunModel; }
    OrvexEngine::Model* GetLoadedBulletModel() const { return loadedBulletModel; }
    Shadow* GetShadow() const { return shadow; }
    bool IsLastShot() const { return lastShot; }

private:
    void PlayClip(int clip);

    Effects* effects = nullptr;                      // not owned
    Bat* bat = nullptr;                              // not owned
    OrvexEngine::Model* gunModel = nullptr;          // owned, registered
    OrvexEngine::Model* loadedBulletModel = nullptr; // owned, registered
    Shadow* shadow = nullptr;                        // owned through Effects
    bool lastShot = false;
};

} // namespace VelmoraBall
