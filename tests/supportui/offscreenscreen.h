#pragma once

#include <QSize>

/// Gives the offscreen platform one screen of `size` instead of its own;
/// nothing when the tests run on another platform. Call it before the
/// application object is made (a test's static `initMain()`).
void useOffscreenScreen(const QSize& size);
