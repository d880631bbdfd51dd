#include "app/CAboutBox.h"

#include "res/AboutBoxTemplate.h"

CAboutBox::CAboutBox() : platform::CDialog(res::AboutBoxTemplate()) {}
