#include "app/application.h"

int main(int argc, char** argv) {
    VantrelApplication app(argc, argv);
    return app.run();
}
