#include "buttons/hoverbutton.h"

namespace ziru::buttons {

platform::LRESULT HOVERBUTTONHANDLER(platform::HWND window, platform::UINT message,
                                     platform::WPARAM wParam, platform::LPARAM lParam) {
    return platform::DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace ziru::buttons
