// The rendering helpers in one include: vectors and normals, projection,
// lights and render-state switches, mouse-driven view and billboard lock.
#pragma once

#include "render/state.h"
#include "render/vector.h"
#include "render/view.h"
