#pragma once
#include <QImage>

#include "pictures/Image.h"

namespace ssf {

// A copy of the core's picture for drawing; alpha, when present, is kept.
QImage ToQImage(const Image& image);

}  // namespace ssf
