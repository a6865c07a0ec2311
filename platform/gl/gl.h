// Pixel formats, rendering contexts and the buffer swap.
#pragma once

#include "platform/types.h"
