// The hover image button: the window procedure of the class "IMAGEBUTTON".
#pragma once

#include "platform/win.h"

namespace ziru::buttons {

platform::LRESULT HOVERBUTTONHANDLER(platform::HWND window, platform::UINT message,
                                     platform::WPARAM wParam, platform::LPARAM lParam);

}  // namespace ziru::buttons
