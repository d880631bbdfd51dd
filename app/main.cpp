#include "app/StandInWindow.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName("Verbeno");
    StandInWindow window;
    window.show();
    return app.exec();
}
