// Message boxes: modal, owner-less or owned, Windows-1252 texts.
#pragma once

#include <functional>
#include <string>

#include "platform/types.h"

namespace ziru::platform {

// Shows a modal box and returns the button pressed (IDOK, IDYES, IDNO, ...).
// Texts are Windows-1252 and shown as UTF-8. Where no box can be shown (no
// display), the caption and text go to standard error and the result is 0,
// as a failing box returns on the original platform.
int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type);

// What a responder is told of one box: texts as passed (Windows-1252 bytes).
struct MessageBoxCall {
    HWND owner;
    std::string text;
    std::string caption;
    UINT type = 0;
};

// Tests install a responder: every box is then handed to it instead of being
// shown, and its answer is the box's result. An empty function restores the
// real boxes.
using MessageBoxResponder = std::function<int(const MessageBoxCall&)>;
void SetMessageBoxResponder(MessageBoxResponder responder);

// Windows-1252 bytes to UTF-8 (the five undefined bytes become U+FFFD).
std::string Cp1252ToUtf8(const char* text);

}  // namespace ziru::platform
