#pragma once
#include "pictures/Codec.h"
