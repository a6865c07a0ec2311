// The hover image button: the window procedure of the class "IMAGEBUTTON".
// A button is a child window drawn from three pictures (normal, hover,
// pressed) read from BMP files when it is created; it takes the outline of
// its normal picture (magenta cut away), lights up under the mouse, and
// posts WM_COMMAND with its control id to its parent after a left click.
// Everything a button keeps between messages lives in its window properties.
// Depends on LOADBMPFROMFILE, BITMAPTOREGION and the platform.
#pragma once

#include <string>

#include "platform/win.h"

namespace ziru::buttons {

// The prefix of the picture file names, read when each button is created:
// BMPTYPE + "N.BMP", "H.BMP", "P.BMP". Empty at start.
extern std::string BMPTYPE;

// Property names: the three picture contexts, the state and the hit-test
// region.
inline constexpr char NORMALBMP[] = "NORMALBITMAP";
inline constexpr char HOVERBMP[] = "HOVERBITMAP";
inline constexpr char PRESSBMP[] = "PRESSBITMAP";
inline constexpr char HOVERMODE[] = "HOVERMODEBYTE";
inline constexpr char BUTTONRGN[] = "HOVERBUTTONREGION";

// Values of the HOVERMODE property.
inline constexpr platform::HANDLE STATE_NORMAL = 1;
inline constexpr platform::HANDLE STATE_HOVER = 2;
inline constexpr platform::HANDLE STATE_PRESSED = 3;

platform::LRESULT HOVERBUTTONHANDLER(platform::HWND WND, platform::UINT IMSG,
                                     platform::WPARAM WPARAM_, platform::LPARAM LPARAM_);

}  // namespace ziru::buttons
