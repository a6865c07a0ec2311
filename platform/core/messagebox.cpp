// Message boxes: the responder hook, the text conversion, and the fallback
// to standard error when the backend cannot show a box.
#include "platform/core/messagebox.h"

#include <cstdio>

#include "platform/sdl/backend.h"

namespace ziru::platform {

namespace {

MessageBoxResponder& Responder() {
    static MessageBoxResponder responder;
    return responder;
}

// Code points of 0x80..0x9F in Windows-1252; 0 marks the undefined bytes.
constexpr char16_t kHighTable[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

}  // namespace

std::string Cp1252ToUtf8(const char* text) {
    std::string out;
    if (text == nullptr) return out;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        char32_t cp = *p;
        if (cp >= 0x80 && cp <= 0x9F) cp = kHighTable[cp - 0x80] ? kHighTable[cp - 0x80] : 0xFFFD;
        AppendUtf8(out, cp);
    }
    return out;
}

void SetMessageBoxResponder(MessageBoxResponder responder) {
    Responder() = std::move(responder);
}

int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type) {
    if (Responder()) {
        return Responder()(MessageBoxCall{owner, text ? text : "", caption ? caption : "", type});
    }
    const std::string utf8Text = Cp1252ToUtf8(text);
    const std::string utf8Caption = Cp1252ToUtf8(caption);
    const int answer = backend::ShowMessageBox(owner, utf8Text, utf8Caption, type);
    if (answer == 0) {
        std::fprintf(stderr, "%s: %s\n", utf8Caption.c_str(), utf8Text.c_str());
        std::fflush(stderr);
    }
    return answer;
}

}  // namespace ziru::platform
