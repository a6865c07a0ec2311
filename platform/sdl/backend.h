// The seam between the portable core and the one backend (SDL2). The core
// calls these; the backend translates and reports input back to the core.
#pragma once

#include <string>

#include "platform/types.h"

namespace ziru::platform::backend {

// Shows a modal message box (texts already UTF-8) and returns IDOK, IDYES,
// IDNO, ..., or 0 when no box could be shown.
int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type);

}  // namespace ziru::platform::backend
