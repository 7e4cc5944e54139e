#pragma once
// Colours of a COLORTAB theme file shown and changed one entry at a time, as the swatches
// on the information panel do.
#include <cstddef>
#include <cstdint>

#include "editor/Editor.h"

namespace ssf {

// The stored bytes of the selected theme file when it is a COLORTAB file that is present,
// else nullptr.
const Bytes* SelectedColorTable(const Editor& ed);

// Sets entry n of COLORTAB theme file k to an RGB565 value: one undoable step that sets the
// modified flag. Every other byte of the file stays as stored; setting the value an entry
// already holds changes nothing. Throws SsfError for a file that is not a present colour
// table or an entry past its end.
void SetColorTableEntry(Editor& ed, int k, size_t n, uint16_t value);

}  // namespace ssf
