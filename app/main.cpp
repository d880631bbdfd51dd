#include "app/CVerbenoApp.h"

int main(int argc, char** argv) {
    CVerbenoApp app(argc, argv);
    return app.Run();
}
