// Scripted input for tests of whole programs without a display: the
// environment variable ZIRU_TEST_EVENTS lists events as "N:EVENT" separated
// by ';', each reported when the message queue is pumped for the N-th time
// (counting from 1) to the focused (else first shown) top-level window:
//   close          the close box            quit        the session ends
//   key:VK         key VK pressed, released keydown:VK / keyup:VK
//   move:X,Y       pointer to client X,Y    down:B,X,Y / up:B,X,Y (B: L, R, M)
// VK is decimal or 0x-prefixed hexadecimal. Unreadable entries are ignored.
#include <cctype>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "platform/core/input.h"
#include "platform/core/internal.h"

namespace ziru::platform::detail {

namespace {

struct ScriptedEvent {
    long pump = 0;
    std::string name;
    std::vector<long> numbers;
    char button = 'L';
};

std::vector<ScriptedEvent> Parse(const char* text) {
    std::vector<ScriptedEvent> events;
    std::stringstream all(text);
    std::string item;
    while (std::getline(all, item, ';')) {
        const auto colon = item.find(':');
        if (colon == std::string::npos) continue;
        ScriptedEvent e;
        e.pump = std::strtol(item.c_str(), nullptr, 10);
        std::string rest = item.substr(colon + 1);
        const auto args = rest.find(':');
        e.name = rest.substr(0, args);
        if (args != std::string::npos) {
            std::stringstream list(rest.substr(args + 1));
            std::string value;
            while (std::getline(list, value, ',')) {
                if (!value.empty() && std::isalpha(static_cast<unsigned char>(value[0]))) {
                    e.button = value[0];
                } else {
                    e.numbers.push_back(std::strtol(value.c_str(), nullptr, 0));
                }
            }
        }
        events.push_back(e);
    }
    return events;
}

input::Button ButtonOf(char b) {
    if (b == 'R' || b == 'r') return input::Button::Right;
    if (b == 'M' || b == 'm') return input::Button::Middle;
    return input::Button::Left;
}

void Report(const ScriptedEvent& e) {
    const HWND top = input::DefaultTarget();
    const auto& n = e.numbers;
    if (e.name == "quit") input::QuitRequested();
    if (!top) return;
    if (e.name == "close") input::CloseRequested(top);
    if (n.size() == 1 && (e.name == "key" || e.name == "keydown")) {
        input::Key(top, static_cast<UINT>(n[0]), true);
    }
    if (n.size() == 1 && (e.name == "key" || e.name == "keyup")) {
        input::Key(top, static_cast<UINT>(n[0]), false);
    }
    if (n.size() == 2 && e.name == "move") {
        input::MouseMoved(top, static_cast<int>(n[0]), static_cast<int>(n[1]));
    }
    if (n.size() == 2 && (e.name == "down" || e.name == "up")) {
        input::MouseButton(top, ButtonOf(e.button), e.name == "down", static_cast<int>(n[0]),
                           static_cast<int>(n[1]));
    }
}

}  // namespace

void RunTestEvents() {
    static const char* text = std::getenv("ZIRU_TEST_EVENTS");
    if (text == nullptr) return;
    static const std::vector<ScriptedEvent> events = Parse(text);
    static long pump = 0;
    ++pump;
    for (const auto& e : events) {
        if (e.pump == pump) Report(e);
    }
}

}  // namespace ziru::platform::detail
