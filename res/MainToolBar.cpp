#include "res/MainToolBar.h"

#include "res/Images.h"
#include "res/resource.h"

namespace res {

const ToolBarResource& MainToolBar() {
    static const ToolBarResource toolBar{
        IDR_MAINFRAME,
        QString::fromLatin1(kToolBarPicture),
        {60, 50},
        {ID_RIP_CD_TO_WAV, ID_ENCODE_WAV_TO_MP3, ID_RIP_CD_TO_MP3, ID_APP_ABOUT}};
    return toolBar;
}

} // namespace res
