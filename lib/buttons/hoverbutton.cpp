// The hover image button's window procedure. State 1 is normal, 2 hover, 3
// pressed; the button captures the mouse while the pointer is over its shape
// or a button is held on it, so that it sees the pointer leave.
#include "buttons/hoverbutton.h"

#include "buttons/bitmapregion.h"
#include "buttons/loadbmp.h"

namespace ziru::buttons {

using namespace ziru::platform;

std::string BMPTYPE;

namespace {

// Magenta, and one step of tolerance, are cut out of the normal picture.
constexpr std::uint32_t TRANSCOLOR = 0xFF00FF;
constexpr std::uint8_t TOLERANCE = 1;
// The frame of the parent the library creates (3 pixels left, 19 above),
// which the placement subtracts.
constexpr int FRAMELEFT = 3;
constexpr int FRAMETOP = 19;

// The bitmap a memory context starts with, as SelectObject handed it back;
// put back before a picture context is deleted so that the picture itself
// can be deleted. Process-wide and never deleted.
HGDIOBJ DEFAULTBITMAP;

// A memory context with BMP and PAL selected and the palette realized; 0,
// and BMP and PAL deleted, when no context can be had. A missing picture
// (BMP 0) gets no context: that state then paints nothing.
HDC MAKEPICTURE(HBITMAP BMP, HPALETTE PAL) {
    if (!BMP) return HDC();
    const HDC DC = CreateCompatibleDC(HDC());
    const HGDIOBJ OLD = DC ? SelectObject(DC, AsObject(BMP)) : HGDIOBJ();
    if (!OLD) {
        if (DC) DeleteObject(AsObject(DC));
        DeleteObject(AsObject(BMP));
        if (PAL) DeleteObject(AsObject(PAL));
        return HDC();
    }
    DEFAULTBITMAP = OLD;
    if (PAL) {
        SelectPalette(DC, PAL, FALSE);
        RealizePalette(DC);
    }
    return DC;
}

// Deletes a picture context together with the bitmap and palette selected
// into it: the context is their only owner.
void DELETEPICTURE(HDC DC) {
    const HGDIOBJ BMP = SelectObject(DC, DEFAULTBITMAP);
    const HPALETTE PAL =
        SelectPalette(DC, FromObject<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
    DeleteObject(AsObject(DC));
    if (BMP && BMP != DEFAULTBITMAP) DeleteObject(BMP);
    // The stock palette is kept by DeleteObject.
    if (PAL) DeleteObject(AsObject(PAL));
}

// Loads BMPTYPE + LETTER + ".BMP" and makes its context.
HDC LOADPICTURE(char LETTER, HBITMAP* BMPOUT = nullptr) {
    const std::string BMPNAME = BMPTYPE + LETTER + ".BMP";
    // Each load makes its own palette; a stale one from an earlier load
    // must not end up owned by two contexts.
    HPALETTE PAL;
    const HBITMAP BMP = LOADBMPFROMFILE(BMPNAME, PAL);
    if (BMPOUT != nullptr) *BMPOUT = BMP;
    return MAKEPICTURE(BMP, PAL);
}

void SETSTATE(HWND WND, HANDLE STATE) {
    SetPropA(WND, HOVERMODE, STATE);
}

void REPAINT(HWND WND) {
    InvalidateRect(WND, nullptr, FALSE);
}

LRESULT ONCREATE(HWND WND) {
    HBITMAP BMP;
    const HDC NORMALDC = LOADPICTURE('N', &BMP);
    // A missing normal picture leaves the description zero: size 0 x 0.
    BITMAP BM{};
    if (NORMALDC) GetObjectA(AsObject(BMP), sizeof(BITMAP), &BM);

    RECT R;
    RECT R1;
    GetWindowRect(WND, &R);
    const HWND PARENT = GetParent(WND);
    if (PARENT && GetWindowRect(PARENT, &R1)) {
        MoveWindow(WND, R.left - R1.left - FRAMELEFT, R.top - R1.top - FRAMETOP, BM.bmWidth,
                   BM.bmHeight, FALSE);
    } else {
        // No parent to measure against: the button stays where it is.
        MoveWindow(WND, R.left, R.top, BM.bmWidth, BM.bmHeight, FALSE);
    }

    if (NORMALDC) SetPropA(WND, NORMALBMP, NORMALDC.value);
    if (const HDC DC = LOADPICTURE('H')) SetPropA(WND, HOVERBMP, DC.value);
    if (const HDC DC = LOADPICTURE('P')) SetPropA(WND, PRESSBMP, DC.value);
    SETSTATE(WND, STATE_NORMAL);

    const std::string BMPNAME = BMPTYPE + "N.BMP";
    const HRGN RGN = BITMAPTOREGION(BMPNAME, TRANSCOLOR, TOLERANCE);
    if (RGN) {
        if (!SetWindowRgn(WND, RGN, FALSE)) DeleteObject(AsObject(RGN));
        // The window owns its shape; hit tests use a copy of their own.
        const HRGN KEPT = BITMAPTOREGION(BMPNAME, TRANSCOLOR, TOLERANCE);
        if (KEPT) SetPropA(WND, BUTTONRGN, KEPT.value);
    }
    return 0;
}

LRESULT ONDESTROY(HWND WND) {
    RemovePropA(WND, HOVERMODE);
    if (const HANDLE RGN = GetPropA(WND, BUTTONRGN)) DeleteObject(HGDIOBJ(RGN));
    RemovePropA(WND, BUTTONRGN);
    for (const char* NAME : {PRESSBMP, HOVERBMP, NORMALBMP}) {
        if (const HANDLE DC = GetPropA(WND, NAME)) DELETEPICTURE(HDC(DC));
        RemovePropA(WND, NAME);
    }
    return 0;
}

LRESULT ONMOUSEMOVE(HWND WND, WPARAM WPARAM_, LPARAM LPARAM_) {
    const HANDLE RGN = GetPropA(WND, BUTTONRGN);
    const HANDLE HOVERSTATE = GetPropA(WND, HOVERMODE);
    if (RGN == 0 || HOVERSTATE == 0) return 0;
    // Signed: left of or above the window (only while captured) is outside.
    const int X = GET_X_LPARAM(LPARAM_);
    const int Y = GET_Y_LPARAM(LPARAM_);
    if (PtInRegion(HRGN(RGN), X, Y)) {
        if (HOVERSTATE == STATE_NORMAL) {
            const bool HELD = (WPARAM_ & (MK_LBUTTON | MK_RBUTTON)) != 0;
            SETSTATE(WND, HELD ? STATE_PRESSED : STATE_HOVER);
            SetCapture(WND);
            REPAINT(WND);
        }
    } else {
        SETSTATE(WND, STATE_NORMAL);
        ReleaseCapture();
        REPAINT(WND);
    }
    return 0;
}

LRESULT ONLBUTTONDOWN(HWND WND) {
    SetCapture(WND);
    SETSTATE(WND, STATE_PRESSED);
    REPAINT(WND);
    return 0;
}

LRESULT ONLBUTTONUP(HWND WND) {
    if (GetPropA(WND, HOVERMODE) == STATE_PRESSED) {
        // All 32 bits of the id, as the parent's WM_COMMAND expects them.
        const auto ID = static_cast<std::uint32_t>(GetDlgCtrlID(WND));
        PostMessageA(GetParent(WND), WM_COMMAND, static_cast<WPARAM>(ID), 0);
    }
    SETSTATE(WND, STATE_NORMAL);
    ReleaseCapture();
    REPAINT(WND);
    return 0;
}

LRESULT ONPAINT(HWND WND) {
    RECT R;
    GetWindowRect(WND, &R);
    const char* NAME = nullptr;
    switch (GetPropA(WND, HOVERMODE)) {
        case STATE_NORMAL:
            NAME = NORMALBMP;
            break;
        case STATE_HOVER:
            NAME = HOVERBMP;
            break;
        case STATE_PRESSED:
            NAME = PRESSBMP;
            break;
        default:
            break;
    }
    const HANDLE DC = NAME != nullptr ? GetPropA(WND, NAME) : 0;
    // The paint request is completed even without a picture, or WM_PAINT
    // would come back for ever.
    PAINTSTRUCT PS;
    BeginPaint(WND, &PS);
    if (DC) BitBlt(PS.hdc, 0, 0, R.right - R.left, R.bottom - R.top, HDC(DC), 0, 0, SRCCOPY);
    EndPaint(WND, &PS);
    return 0;
}

}  // namespace

LRESULT HOVERBUTTONHANDLER(HWND WND, UINT IMSG, WPARAM WPARAM_, LPARAM LPARAM_) {
    switch (IMSG) {
        case WM_CREATE:
            return ONCREATE(WND);
        case WM_DESTROY:
            return ONDESTROY(WND);
        case WM_PAINT:
            return ONPAINT(WND);
        case WM_MOUSEMOVE:
            return ONMOUSEMOVE(WND, WPARAM_, LPARAM_);
        case WM_LBUTTONDOWN:
            return ONLBUTTONDOWN(WND);
        case WM_LBUTTONUP:
            return ONLBUTTONUP(WND);
        default:
            return DefWindowProcA(WND, IMSG, WPARAM_, LPARAM_);
    }
}

}  // namespace ziru::buttons
