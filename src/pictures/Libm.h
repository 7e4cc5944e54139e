#pragma once
// The C maths library, loaded when a picture is first resized (platform/LateLibrary.h): only
// the sRGB curves need pow, and a program linked to libm pays for loading it at every start.
// The same libm's pow, so the curves come out to the bit as before.
#include "platform/LateLibrary.h"

namespace ssf {

struct Libm {
  double (*pow)(double, double);  // typed by hand: <cmath> overloads ::pow
};

// Loaded on the first call; throws SsfError when it cannot be.
const Libm& LoadLibm();

}  // namespace ssf
