#pragma once
// The error type lives in the lowest layer, where the file and system calls throw it; the
// layers above keep naming it here.
#include "platform/SsfError.h"
