// Every sprite of the game, cut from the sprite atlas when the group starts, and the two
// backdrops, which arrive later from their own files.
#pragma once

#include "graphics/texture_page.h"
#include "loading/asset_group.h"

class c_GameImages : public c_ImageGroup<c_GameImages> {
public:
    static constexpr int kSpriteCount = 63;

    // Cuts the sprites from the atlas at once (a missing atlas ends the program), then starts
    // the backdrop loads; the group is loaded when both backdrops have arrived.
    void p_StartLoad();

    std::unique_ptr<c_Image> m_ambulanceRight;
    std::unique_ptr<c_Image> m_bikeLeft;
    std::unique_ptr<c_Image> m_bikeRight;
    std::unique_ptr<c_Image> m_bump;
    std::unique_ptr<c_Image> m_carRedLeft;
    std::unique_ptr<c_Image> m_carRedRight;
    std::unique_ptr<c_Image> m_carYellowLeft;
    std::unique_ptr<c_Image> m_carYellowRight;
    std::unique_ptr<c_Image> m_finish;
    std::unique_ptr<c_Image> m_flagCyan;
    std::unique_ptr<c_Image> m_flagRed;
    std::unique_ptr<c_Image> m_tazzleSkiCrash1;
    std::unique_ptr<c_Image> m_tazzleSkiCrash2;
    std::unique_ptr<c_Image> m_tazzleSkiCrash3;
    std::unique_ptr<c_Image> m_tazzleSkiCrash4;
    std::unique_ptr<c_Image> m_tazzleSkiCrash5;
    std::unique_ptr<c_Image> m_tazzleSkiCrash6;
    std::unique_ptr<c_Image> m_tazzleSkiCrash7;
    std::unique_ptr<c_Image> m_tazzleSkiCrash8;
    std::unique_ptr<c_Image> m_tazzleSkiDown;
    std::unique_ptr<c_Image> m_tazzleSkiDownLeft;
    std::unique_ptr<c_Image> m_tazzleSkiDownRight;
    std::unique_ptr<c_Image> m_tazzleSkiLeft;
    std::unique_ptr<c_Image> m_tazzleSkiRight;
    std::unique_ptr<c_Image> m_tazzleWalkDown1;
    std::unique_ptr<c_Image> m_tazzleWalkDown1Dead;
    std::unique_ptr<c_Image> m_tazzleWalkDown2;
    std::unique_ptr<c_Image> m_tazzleWalkDown2Dead;
    std::unique_ptr<c_Image> m_tazzleWalkDownSkis1;
    std::unique_ptr<c_Image> m_tazzleWalkDownSkis1Dead;
    std::unique_ptr<c_Image> m_tazzleWalkDownSkis2;
    std::unique_ptr<c_Image> m_tazzleWalkDownSkis2Dead;
    std::unique_ptr<c_Image> m_tazzleWalkLeft1;
    std::unique_ptr<c_Image> m_tazzleWalkLeft1Dead;
    std::unique_ptr<c_Image> m_tazzleWalkLeft2;
    std::unique_ptr<c_Image> m_tazzleWalkLeft2Dead;
    std::unique_ptr<c_Image> m_tazzleWalkLeftSkis1;
    std::unique_ptr<c_Image> m_tazzleWalkLeftSkis1Dead;
    std::unique_ptr<c_Image> m_tazzleWalkLeftSkis2;
    std::unique_ptr<c_Image> m_tazzleWalkLeftSkis2Dead;
    std::unique_ptr<c_Image> m_tazzleWalkRight1;
    std::unique_ptr<c_Image> m_tazzleWalkRight1Dead;
    std::unique_ptr<c_Image> m_tazzleWalkRight2;
    std::unique_ptr<c_Image> m_tazzleWalkRight2Dead;
    std::unique_ptr<c_Image> m_tazzleWalkRightSkis1;
    std::unique_ptr<c_Image> m_tazzleWalkRightSkis1Dead;
    std::unique_ptr<c_Image> m_tazzleWalkRightSkis2;
    std::unique_ptr<c_Image> m_tazzleWalkRightSkis2Dead;
    std::unique_ptr<c_Image> m_tazzleWalkUp1;
    std::unique_ptr<c_Image> m_tazzleWalkUp1Dead;
    std::unique_ptr<c_Image> m_tazzleWalkUp2;
    std::unique_ptr<c_Image> m_tazzleWalkUp2Dead;
    std::unique_ptr<c_Image> m_tazzleWalkUpSkis1;
    std::unique_ptr<c_Image> m_tazzleWalkUpSkis1Dead;
    std::unique_ptr<c_Image> m_tazzleWalkUpSkis2;
    std::unique_ptr<c_Image> m_tazzleWalkUpSkis2Dead;
    std::unique_ptr<c_Image> m_skiHut;
    std::unique_ptr<c_Image> m_snowTile;
    std::unique_ptr<c_Image> m_tree;
    std::unique_ptr<c_Image> m_truckLeft;
    std::unique_ptr<c_Image> m_truckRight;
    std::unique_ptr<c_Image> m_ambulanceLeft;
    std::unique_ptr<c_Image> m_joystick;
    std::unique_ptr<c_Image> m_backdropRoad;
    std::unique_ptr<c_Image> m_backdropSki;

    static const c_AssetFile<c_GameImages, c_Image> kFiles[2];
    // The sprite atlas's description and the picture it names.
    static constexpr const char16_t* kAtlasPath = u"Graphics/Sprites.xml";
    static constexpr const char16_t* kAtlasImage = u"Graphics/Sprites.png";
    // The atlas name of each sprite field, in field order.
    static const c_AssetFile<c_GameImages, c_Image> kSprites[kSpriteCount];

private:
    void p_LoadSprites();

    // The atlas the sprites were cut from; it must outlive them.
    std::unique_ptr<c_TexturePage> m_page;
};

extern std::unique_ptr<c_GameImages> bb_gamegraphics_gameImages;
