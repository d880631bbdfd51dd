#pragma once
// Where the program's pictures live among its compiled-in resources (res/images/).

namespace res {

constexpr const char* kBackgroundPicture = ":/res/background.bmp"; // bitmap 102, 500 x 300
constexpr const char* kSplashPicture = ":/res/splash.bmp";         // bitmap 184, 500 x 300
constexpr const char* kToolBarPicture = ":/res/toolbar.bmp";       // bitmap 128, 240 x 50
constexpr const char* kProgramIcon = ":/res/verbeno.ico";          // icon 128, 32 x 32
constexpr const char* kProgramIconPng = ":/res/verbeno.png";       // the same icon for desktops

} // namespace res
