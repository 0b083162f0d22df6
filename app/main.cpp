#include "app/CVantrelApp.h"

int main(int argc, char** argv) {
    CVantrelApp app(argc, argv);
    if (!app.InitInstance())
        return 1;
    return app.exec();
}
