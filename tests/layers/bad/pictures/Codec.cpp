#include "pictures/Codec.h"
#include "editor/Editor.h"
#include "base/Widget.h"
