// Window manager: classes, windows, geometry, the message queue, capture,
// cursor, properties, painting, message boxes and the tick count.
#pragma once

#include "platform/types.h"
#include "platform/core/messagebox.h"
