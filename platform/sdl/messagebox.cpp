// SDL2 message boxes.
#include <SDL.h>

#include "platform/sdl/backend.h"

namespace ziru::platform::backend {

int ShowMessageBox(HWND /*owner*/, const std::string& text, const std::string& caption, UINT type) {
    // Message boxes need the video subsystem's driver, not an initialised
    // subsystem; without a display SDL fails at once.
    const UINT buttons = type & 0x0F;
    SDL_MessageBoxButtonData data[2];
    int count = 0;
    if (buttons == MB_YESNO) {
        data[0] = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, "Yes"};
        data[1] = {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDNO, "No"};
        count = 2;
    } else if (buttons == MB_OKCANCEL) {
        data[0] = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDOK, "OK"};
        data[1] = {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDCANCEL, "Cancel"};
        count = 2;
    } else {
        data[0] = {
            SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDOK,
            "OK"};
        count = 1;
    }
    Uint32 flags = SDL_MESSAGEBOX_INFORMATION;
    const UINT icon = type & 0xF0;
    if (icon == MB_ICONERROR) flags = SDL_MESSAGEBOX_ERROR;
    if (icon == MB_ICONWARNING) flags = SDL_MESSAGEBOX_WARNING;
    const SDL_MessageBoxData box{flags, nullptr, caption.c_str(), text.c_str(),
                                 count, data,    nullptr};
    // A box killed leaves the id untouched, so start from -1.
    int pressed = -1;
    if (SDL_ShowMessageBox(&box, &pressed) != 0) return 0;
    // Closed by the window manager: the answer of the Escape button.
    if (pressed < 0) return count == 2 ? data[1].buttonid : IDOK;
    return pressed;
}

}  // namespace ziru::platform::backend
