// The baseline of bench_startup: a bare text editor window, started as a
// process of its own; prints "painted" after its first paint and ends.
#include "firstpaint.h"

int main(int argc, char** argv) {
    return runBareWindow(argc, argv);
}
