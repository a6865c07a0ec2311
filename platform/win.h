// The platform layer's table of contents: include this one header to call
// the platform the way the library's code does.
#pragma once

#include "platform/types.h"
#include "platform/core/core.h"
#include "platform/gdi/gdi.h"
#include "platform/gl/gl.h"
