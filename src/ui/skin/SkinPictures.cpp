#include "SkinPictures.h"

namespace qarvon {

namespace {

constexpr TSkinPlace F = TSkinPlace::ImagesFolder;
constexpr TSkinPlace E = TSkinPlace::Embedded;

} // namespace

const std::vector<TSkinPicture> &SkinPictures()
{
    static const std::vector<TSkinPicture> pictures = {
        // Player bar: buttons in their normal and pressed looks.
        {"PlayerBtn_Play.png", 36, 36, F},
        {"PlayerBtn_Play_Down.png", 36, 36, F},
        {"PlayerBtn_Pause.png", 36, 36, F},
        {"PlayerBtn_Pause_Down.png", 36, 36, F},
        {"PlayerBtn_Pre.png", 28, 28, F},
        {"PlayerBtn_Pre_Down.png", 28, 28, F},
        {"PlayerBtn_Next.png", 28, 28, F},
        {"PlayerBtn_Next_Down.png", 28, 28, F},
        {"PlayerBtn_Random.png", 22, 22, F},
        {"PlayerBtn_Random_Down.png", 22, 22, F},
        {"PlayerBtn_Loop.png", 22, 22, F},
        {"PlayerBtn_Loop_down.png", 22, 22, F},
        {"PlayerBtn_ListLoop.png", 22, 22, F},
        {"PlayerBtn_ListLoop_Down.png", 22, 22, F},
        {"PlayerBtn_Volum.png", 22, 22, F},
        {"PlayerBtn_Volum_Down.png", 22, 22, F},
        {"PlayerBtn_NoVolum.png", 22, 22, F},
        {"PlayerBtn_NoVolum_Down.png", 22, 22, F},
        {"Player_DefaultCD.png", 60, 60, F},
        // Player bar: the three progress strips, the volume bar and their knobs.
        {"PlayerProgress_BG_Left.png", 3, 6, F},
        {"PlayerProgress_BG_Middle.png", 8, 6, F},
        {"PlayerProgress_BG_Right.png", 3, 6, F},
        {"PlayerProgress_Loaded_Left.png", 3, 6, F},
        {"PlayerProgress_Loaded_Middle.png", 8, 6, F},
        {"PlayerProgress_Loaded_Right.png", 3, 6, F},
        {"PlayerProgress_Playing_Left.png", 3, 6, F},
        {"PlayerProgress_Playing_Middle.png", 8, 6, F},
        {"PlayerProgress_Playing_Right.png", 3, 6, F},
        {"PlayerProgress_Btn.png", 12, 12, F},
        {"PlayerVolum_BG.png", 40, 6, F},
        {"PlayerVolum.png", 8, 6, F},
        {"PlayerVolum_Btn.png", 12, 12, F},
        // Tabs: frames of the selected, pressed and unselected tab, and the titles.
        {"MenuBtn_Select_Left.png", 6, 26, F},
        {"MenuBtn_Select_Middle.png", 8, 26, F},
        {"MenuBtn_Select_Right.png", 6, 26, F},
        {"MenuBtn_SelectDown_Left.png", 6, 26, F},
        {"MenuBtn_SelectDown_Middle.png", 8, 26, F},
        {"MenuBtn_SelectDown_Right.png", 6, 26, F},
        {"MenuBtn_UnselectDown_Left.png", 6, 26, F},
        {"MenuBtn_UnselectDown_Middle.png", 8, 26, F},
        {"MenuBtn_UnselectDown_Right.png", 6, 26, F},
        {"MenuBtn_Unselect_Left.png", 6, 26, F},
        {"MenuBtn_Unselect_Middle.png", 8, 26, F},
        {"MenuBtn_Unselect_Right.png", 6, 26, F},
        {"MenuBtn_SelectTitle_DefaultList.png", 80, 24, F},
        {"MenuBtn_UnSelectTitle_DefaultList.png", 80, 24, F},
        {"MenuBtn_SelectTitle_MyMusic.png", 80, 24, F},
        {"MenuBtn_UnselectTitle_MyMusic.png", 80, 24, F},
        {"MenuBtn_SelectTitle_Playing.png", 80, 24, F},
        {"MenuBtn_UnSelectTitle_Playing.png", 80, 24, F},
        {"MenuBtn_selectTitle_MusicLibrary.png", 80, 24, F},
        {"MenuBtn_UnselectTitle_MusicLibrary.png", 80, 24, F},
        {"MenuBtn_selectTitle_Download.png", 80, 24, F},
        {"MenuBtn_UnselectTitle_Download.png", 80, 24, F},
        // Menu bar of the library and the pill-shaped items on it (also the sub-tabs).
        {"MenuBar_BG.png", 16, 24, F},
        {"MenuItem_Normal_Left.png", 8, 20, F},
        {"MenuItem_Normal_Middle.png", 8, 20, F},
        {"MenuItem_Normal_Right.png", 8, 20, F},
        {"MenuItem_Down_Left.png", 8, 20, F},
        {"MenuItem_Down_Middle.png", 8, 20, F},
        {"MenuItem_Down_Right.png", 8, 20, F},
        {"MenuItem_UnSelect_Left.png", 8, 20, F},
        {"MenuItem_UnSelect_Middle.png", 8, 20, F},
        {"MenuItem_UnSelect_Right.png", 8, 20, F},
        // Window frame: header strip, bottom strip, sides and the header buttons.
        {"Frame_Top_Left.png", 8, 32, F},
        {"Frame_Top_Middle.png", 8, 32, F},
        {"Frame_Top_Right.png", 8, 32, F},
        {"Frame_Bottom_Left.png", 8, 8, F},
        {"Frame_Bottom_Middle.png", 8, 8, F},
        {"Frame_Bottom_Right.png", 8, 8, F},
        {"Frame_Side.png", 2, 8, F},
        {"Header_Logo.png", 24, 24, F},
        {"Header_Help.png", 20, 20, F},
        {"Header_Help_Down.png", 20, 20, F},
        {"Header_Setting.png", 20, 20, F},
        {"Header_Setting_Down.png", 20, 20, F},
        {"Header_Mini.png", 20, 20, F},
        {"Header_Mini_Down.png", 20, 20, F},
        {"Header_Close.png", 20, 20, F},
        {"Header_Close_Down.png", 20, 20, F},
        {"MusicBoxBtn_On.png", 32, 26, F},
        {"MusicBoxBtn_Off.png", 32, 26, F},
        {"Btn_Back.png", 20, 20, F},
        {"tips_bg.png", 100, 20, F},
        // Album view: tiles, the playing mark and the state pictures.
        {"cover_nomal.png", 50, 50, F},
        {"Tile_Mask.png", 50, 50, F},
        {"Tile_Play.png", 24, 24, F},
        {"Icon_list_playing.png", 14, 14, F},
        {"loading.png", 185, 100, F},
        {"text_listLogin.png", 185, 100, F},
        {"text_albumLogin.png", 185, 100, F},
        {"text_nocollection.png", 185, 100, F},
        // Search: landing page, artist panel search line.
        {"Search_title.jpg", 196, 49, F},
        {"Search_BG.jpg", 495, 143, F},
        {"search_input.png", 282, 36, F},
        {"input_name_down.png", 210, 30, F},
        {"btn_search_up.png", 28, 28, F},
        // Dialog backgrounds.
        {"newlist_bg.jpg", 311, 196, F},
        {"listinfo_bg.jpg", 311, 196, F},
        // Status icons of the list rows.
        {"status_playing.bmp", 16, 16, F},
        {"status_downloaded.bmp", 16, 16, F},
        {"status_online.bmp", 16, 16, F},
        {"status_stop.bmp", 16, 16, F},
        {"status_error.bmp", 16, 16, F},
        {"status_waitting.bmp", 16, 16, F},
        {"status_downloading_0.bmp", 16, 16, F},
        {"status_downloading_1.bmp", 16, 16, F},
        {"status_downloading_2.bmp", 16, 16, F},
        {"status_downloading_3.bmp", 16, 16, F},
        // Buttons compiled into the program (login dialog and close buttons).
        {"btn_close.png", 20, 20, E},
        {"btn_close_over.png", 20, 20, E},
        {"btn_close_down.png", 20, 20, E},
        {"btn_login.png", 220, 36, E},
        {"btn_login_over.png", 220, 36, E},
        {"btn_login_down.png", 220, 36, E},
    };
    return pictures;
}

const TSkinPicture *FindSkinPicture(const std::string &name)
{
    for (const TSkinPicture &p : SkinPictures()) {
        if (name == p.name)
            return &p;
    }
    return nullptr;
}

std::string HighDensityName(const std::string &name, int scale)
{
    const auto dot = name.rfind('.');
    const std::string suffix = "@" + std::to_string(scale) + "x";
    if (dot == std::string::npos)
        return name + suffix;
    return name.substr(0, dot) + suffix + name.substr(dot);
}

} // namespace qarvon
