#pragma once
// A plain main window with the program's status bar and a menu item for Wav -> MP3, until the
// real frame arrives.

#include <QMainWindow>

class StandInWindow : public QMainWindow {
    Q_OBJECT
public:
    StandInWindow();
};
