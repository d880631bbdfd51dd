#include "res/MainMenu.h"

#include "res/resource.h"

namespace res {

const std::vector<MenuItem>& MainMenu() {
    static const std::vector<MenuItem> menu{
        {"&Main", 0, {{"E&xit", ID_APP_EXIT, {}}}},
        {"MP3 &Encoder", 0, {{"&Wav --> MP3", ID_ENCODE_WAV_TO_MP3, {}}}},
        {"CD &Ripper",
         0,
         {{"CD --> &Wav", ID_RIP_CD_TO_WAV, {}}, {"CD --> &MP3", ID_RIP_CD_TO_MP3, {}}}},
        {"&View", 0, {{"&Toolbar", ID_VIEW_TOOLBAR, {}}, {"&Status Bar", ID_VIEW_STATUS_BAR, {}}}},
        {"&Help", 0, {{"&About Verbeno...", ID_APP_ABOUT, {}}}},
    };
    return menu;
}

} // namespace res
