#include "app/application.h"

VantrelApplication::VantrelApplication(int& argc, char** argv)
    : QApplication(argc, argv) {}
