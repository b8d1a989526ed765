#pragma once

#include <QRect>

// The rectangle moved (and shrunk if need be) so that it lies on a screen the user can see;
// a place saved on a screen that is gone comes back on the primary one.
QRect keepOnScreen(const QRect &rect);
