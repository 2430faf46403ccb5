#include "zepplayer/shell_win32/lookup_window.h"

#include <array>
#include <string>

#include "sys/utf.h"
#include "zepplayer/lookup_mode.h"
#include "zepplayer/tool_window_place.h"

namespace shell_win32 {

namespace {

constexpr wchar_t kClassName[] = L"ZepLookupWindow";
constexpr UINT kDefaultDpi = 96;

// At 96 DPI, the same as the Qt window's, so that the window checks find the
// first candidate at the same place in both. A candidate is large enough
// that 未 and 末 are told apart at a glance.
constexpr int kGap = 8;
constexpr int kMargin = 8;
constexpr int kSpacing = 6;
constexpr int kStatusHeight = 20;
constexpr int kButtonSide = 52;
constexpr int kCandidatePixels = 32;
constexpr int kEditWidth = 90;
constexpr int kEditHeight = 26;

// Control ids: the candidates from kIdCandidate on.
constexpr int kIdStatus = 100;
constexpr int kIdCandidate = 200;
constexpr int kIdUndo = 300;
constexpr int kIdClear = 301;

HWND Owner = nullptr;
HWND Tool = nullptr;
HFONT CandidateFont = nullptr;

std::wstring Wide(const std::string& utf8) {
    const std::u16string units = sys::Utf8ToUtf16(utf8);
    return {units.begin(), units.end()};
}

int Scaled(int pixels) { return MulDiv(pixels, static_cast<int>(GetDpiForWindow(Owner)), kDefaultDpi); }

HWND AddControl(const wchar_t* kind, const wchar_t* text, DWORD style, int id, RECT r) {
    return CreateWindowExW(0, kind, text, WS_CHILD | WS_VISIBLE | style, Scaled(r.left),
                           Scaled(r.top), Scaled(r.right - r.left), Scaled(r.bottom - r.top), Tool,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
}

// The dialog's own font for the status and the edits; the candidates' is
// asked for by script, so that the font mapper picks one with the kanji.
void SetFonts() {
    const auto dialog_font = static_cast<WPARAM>(SendMessageW(Owner, WM_GETFONT, 0, 0));
    for (const int id : {kIdStatus, kIdUndo, kIdClear}) {
        SendDlgItemMessageW(Tool, id, WM_SETFONT, dialog_font, FALSE);
    }
    CandidateFont = CreateFontW(-Scaled(kCandidatePixels), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                CLEARTYPE_QUALITY, DEFAULT_PITCH, L"Yu Gothic UI");
    for (int n = 0; n < static_cast<int>(player::kLookupCandidates); ++n) {
        SendDlgItemMessageW(Tool, kIdCandidate + n, WM_SETFONT,
                            reinterpret_cast<WPARAM>(CandidateFont), FALSE);
    }
}

// The client area's width and height at 96 DPI.
SIZE LayOut() {
    const int row_width = static_cast<int>(player::kLookupCandidates) * (kButtonSide + kSpacing) - kSpacing;
    AddControl(L"STATIC", L"", SS_LEFT | SS_NOPREFIX, kIdStatus,
               {kMargin, kMargin, kMargin + row_width, kMargin + kStatusHeight});
    const int row_top = kMargin + kStatusHeight + kSpacing;
    for (int n = 0; n < static_cast<int>(player::kLookupCandidates); ++n) {
        const int left = kMargin + n * (kButtonSide + kSpacing);
        AddControl(L"BUTTON", L"", BS_PUSHBUTTON | WS_DISABLED, kIdCandidate + n,
                   {left, row_top, left + kButtonSide, row_top + kButtonSide});
    }
    const int edits_top = row_top + kButtonSide + kSpacing;
    AddControl(L"BUTTON", L"Undo stroke", BS_PUSHBUTTON, kIdUndo,
               {kMargin, edits_top, kMargin + kEditWidth, edits_top + kEditHeight});
    const int clear_left = kMargin + kEditWidth + kSpacing;
    AddControl(L"BUTTON", L"Clear", BS_PUSHBUTTON, kIdClear,
               {clear_left, edits_top, clear_left + kEditWidth, edits_top + kEditHeight});
    return {kMargin * 2 + row_width, edits_top + kEditHeight + kMargin};
}

LRESULT CALLBACK ToolProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_COMMAND: {
            const int id = LOWORD(wparam);
            if (id >= kIdCandidate && id < kIdCandidate + static_cast<int>(player::kLookupCandidates)) {
                player::OnLookupCandidate(static_cast<size_t>(id - kIdCandidate));
            } else if (id == kIdUndo) {
                player::OnLookup(player::LookupAction::Undo);
            } else if (id == kIdClear) {
                player::OnLookup(player::LookupAction::Clear);
            }
            return 0;
        }
        case WM_CLOSE:
            // The close box leaves look-up, or puts away why it could not start.
            player::OnLookup(player::LookupAction::Leave);
            return 0;
        case WM_DESTROY:
            Tool = nullptr;
            if (CandidateFont) DeleteObject(CandidateFont);
            CandidateFont = nullptr;
            return 0;
        default:
            return DefWindowProcW(window, message, wparam, lparam);
    }
}

}  // namespace

bool CreateLookupWindow(HINSTANCE instance, HWND dialog) {
    Owner = dialog;
    WNDCLASSW kind{};
    kind.lpfnWndProc = ToolProc;
    kind.hInstance = instance;
    kind.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    kind.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    kind.lpszClassName = kClassName;
    RegisterClassW(&kind);
    constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    constexpr DWORD kExStyle = WS_EX_TOOLWINDOW;
    Tool = CreateWindowExW(kExStyle, kClassName, L"Look up a kanji", kStyle, 0, 0, 0, 0, dialog,
                           nullptr, instance, nullptr);
    if (!Tool) return false;
    const SIZE client = LayOut();
    SetFonts();
    RECT frame{0, 0, Scaled(client.cx), Scaled(client.cy)};
    AdjustWindowRectExForDpi(&frame, kStyle, FALSE, kExStyle, GetDpiForWindow(dialog));
    SetWindowPos(Tool, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

void ShowLookupWindow(const player::LookupPanel& panel) {
    if (!Tool) return;
    if (!panel.shown) {
        ShowWindow(Tool, SW_HIDE);
        return;
    }
    SetDlgItemTextW(Tool, kIdStatus, Wide(panel.status).c_str());
    for (size_t n = 0; n < player::kLookupCandidates; ++n) {
        const bool offered = n < panel.candidates.size();
        const HWND button = GetDlgItem(Tool, kIdCandidate + static_cast<int>(n));
        SetWindowTextW(button, offered ? Wide(panel.candidates[n]).c_str() : L"");
        EnableWindow(button, offered);
    }
    EnableWindow(GetDlgItem(Tool, kIdUndo), panel.can_undo);
    EnableWindow(GetDlgItem(Tool, kIdClear), panel.can_undo);
    if (IsWindowVisible(Tool)) return;
    RECT dialog{}, tool{};
    GetWindowRect(Owner, &dialog);
    GetWindowRect(Tool, &tool);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(Owner, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    const gfx::Point at = player::ToolWindowPlace(
        {dialog.left, dialog.top, dialog.right, dialog.bottom}, tool.right - tool.left,
        tool.bottom - tool.top, {work.left, work.top, work.right, work.bottom}, Scaled(kGap));
    // The keys stay with the dialog, where Esc leaves look-up.
    SetWindowPos(Tool, nullptr, at.x, at.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

bool InLookupWindow(HWND window) { return Tool && window && (window == Tool || IsChild(Tool, window)); }

}  // namespace shell_win32
