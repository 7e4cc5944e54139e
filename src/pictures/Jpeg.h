#pragma once
// JPEG through libjpeg. libjpeg reports errors by calling a function that must not return;
// ours longjmps back into a small C-style frame around each libjpeg call, which owns no C++
// objects, and that frame turns the failure into SsfError. No exception ever crosses a
// libjpeg frame and no longjmp ever crosses a C++ frame with destructors.
#include "base/ByteIO.h"
#include "base/ScratchBuffer.h"
#include "pictures/Image.h"

namespace ssf {

// Colour, greyscale, CMYK and YCCK JPEG into an opaque picture (inks multiplied out, the
// inverted inks of files with an Adobe marker included). Damaged files and files cut short
// give SsfError.
Image DecodeJpeg(ByteSpan data);

// The picture at the smallest of libjpeg's scales 1/8, 2/8, ... 8/8 that keeps it at least
// `width` x `height` (whole when it is smaller): the inverse DCT then makes only the pixels
// a picture shrunk to about that size needs, a small part of a camera picture's.
Image DecodeJpegAtLeast(ByteSpan data, uint32_t width, uint32_t height);

// The same picture as a file as EncodeBmp writes it, decoded straight into its rows.
ScratchBuffer JpegToBmp(ByteSpan data);

// Baseline colour JPEG (4:2:0 as libjpeg's defaults) at the given quality, 1..100.
Bytes EncodeJpeg(const Image& image, int quality = 100);

}  // namespace ssf
