#pragma once
// PNG through libpng. As with libjpeg, libpng's error exits longjmp back into a C-style
// frame that owns no C++ objects, and that frame turns the failure into SsfError.
#include "base/ByteIO.h"
#include "base/ScratchBuffer.h"
#include "pictures/Image.h"
#include "base/SsfError.h"

namespace ssf {

// The data does not start with the eight bytes of the PNG signature. The import tells this
// apart from a damaged PNG: it is "not a PNG at all".
class PngSignatureError : public SsfError {
 public:
  using SsfError::SsfError;
};

struct PngPicture {
  // 8-bit blue, green, red; `image.alpha` is set whenever the file has any transparency:
  // an alpha channel, a palette with alpha entries, or a single transparent colour (tRNS).
  Image image;
  // True for the colour types with an alpha channel (greyscale+alpha, truecolour+alpha)
  // and for palette files with a tRNS alpha table. False for a single transparent colour
  // of a greyscale or truecolour file: such a picture counts as opaque for ANI2 and keeps
  // that colour when flattened.
  bool has_alpha_channel = false;
};

// Every colour type and bit depth, interlaced or not; 16-bit samples are reduced to 8 bits,
// palette and greyscale are expanded to truecolour. Throws PngSignatureError when the
// signature is missing, SsfError for any other fault (damaged, cut short, too large).
PngPicture DecodePng(ByteSpan data);

// The picture as a raw file's RGB565 values, flattened as FlattenOverBlack(DecodePng(data))
// and converted as ImageToRaw; throws as DecodePng.
ScratchBuffer PngToRaw(ByteSpan data);

// 8-bit truecolour PNG: colour type 6 when the picture has alpha, else colour type 2.
Bytes EncodePng(const Image& image);

// Colour type 6 at 16 bits per sample, each 8-bit value v stored as v * 257, so any reader
// that reduces to 8 bits gets v back. Without alpha the picture is written opaque.
Bytes EncodePngRgba16(const Image& image);

// Blends every pixel over black by its alpha and drops the alpha plane (a fully transparent
// pixel turns black). A picture without alpha is returned as it is.
Image FlattenOverBlack(const Image& image);

// The "flattened PNG" of the import and export: blended over black only when the file has
// an alpha channel; a single transparent colour keeps its own colour values.
Image FlattenOverBlack(const PngPicture& picture);

}  // namespace ssf
