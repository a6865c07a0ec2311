// What happens at the keyboard and mouse, reported to the core. The backend
// calls these for real input; tests call the same functions to inject input
// without a display. The core turns each report into the matching messages.
#pragma once

#include "platform/types.h"

namespace ziru::platform::input {

enum class Button { Left, Right, Middle };

// Positions are client coordinates of the top-level window TOP (outside the
// client area, negative included, while a button is held).
void MouseMoved(HWND top, int x, int y);
void MouseButton(HWND top, Button button, bool down, int x, int y);
// VK is a virtual-key code; Alt held makes the message a system key.
void Key(HWND top, UINT vk, bool down);
// The close box (or the window manager's close) of TOP.
void CloseRequested(HWND top);
// The session asks the program to end (SDL_QUIT): every top-level window
// is asked to close.
void QuitRequested();
void FocusChanged(HWND top, bool gained);
// TOP's contents were lost and must be painted again.
void Exposed(HWND top);

// The top-level window that receives injected input: the one with the
// keyboard focus, else the first visible one; 0 when there is none.
HWND DefaultTarget();

}  // namespace ziru::platform::input
