// Built only by the test that checks the core library's boundary: with the
// core's include paths a widget header must not be found.
#include <QWidget>

int main() {
    return 0;
}
