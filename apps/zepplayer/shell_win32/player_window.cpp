#include "zepplayer/shell_win32/player_window.h"

#include <commdlg.h>
#include <mmsystem.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "gfx/bitmap.h"
#include "zepplayer/dialog.h"
#include "zepplayer/dialog_layout.h"
#include "zepplayer/player_state.h"
#include "zepplayer/save_types.h"
#include "zepplayer/shell_win32/bitmap_dib.h"
#include "zepplayer/shell_win32/lookup_window.h"

namespace fs = std::filesystem;

namespace shell_win32 {

namespace {

constexpr int kDialogTemplate = 1;
constexpr int kClickSound = 1;
constexpr UINT kDefaultDpi = 96;

// What the animation thread asks of the window, carried to the dialog's
// thread by PostMessage, which never waits for it.
constexpr UINT kRepaintMessage = WM_APP + 1;  // wParam: player::RepaintArea
constexpr UINT kToFrontMessage = WM_APP + 2;
// Ctrl+T, seen by the dialog's message filter.
constexpr UINT kPracticeKeyMessage = WM_APP + 3;
// Ctrl+L, Ctrl+Z, and Esc in the tool window; wParam: player::LookupAction.
constexpr UINT kLookupKeyMessage = WM_APP + 4;
// The recogniser's load has ended, on its own thread.
constexpr UINT kLookupReadyMessage = WM_APP + 5;

constexpr UINT_PTR kPracticeTimer = 1;

// The canvas' context menu.
constexpr UINT kMenuTrace = 1;
constexpr UINT kMenuRecall = 2;
constexpr UINT kMenuLeave = 3;
constexpr UINT kMenuLookup = 4;
constexpr UINT kMenuLeaveLookup = 5;

HINSTANCE AppInstance = nullptr;

class Win32Host final : public player::DialogHost {
public:
    // Set before the first animation starts and kept until the last has ended.
    void Attach(HWND window) { window_ = window; }

    void RequestRepaint(player::RepaintArea area, bool /*erase: one pass paints it all*/) override {
        PostMessageW(window_, kRepaintMessage, static_cast<WPARAM>(area), 0);
    }

    void SetCounterText(const std::string& text) override {
        // The counter holds digits only, so each byte is one character.
        const std::wstring shown(text.begin(), text.end());
        std::array<wchar_t, 32> current{};
        GetDlgItemTextW(window_, player::kIdCounter, current.data(),
                        static_cast<int>(current.size()));
        // Setting the same text again would only make the control flicker.
        if (shown != current.data()) SetDlgItemTextW(window_, player::kIdCounter, shown.c_str());
    }

    void EndDialog(int32_t result) override { ::EndDialog(window_, result); }

    std::optional<player::SaveChoice> AskSavePath() override;

    void PlayClick() override {
        PlaySoundW(MAKEINTRESOURCEW(kClickSound), AppInstance,
                   SND_RESOURCE | SND_ASYNC | SND_NODEFAULT);
    }

    void BringToFront() override { PostMessageW(window_, kToFrontMessage, 0, 0); }

    // Setting the same timer again replaces the one pending.
    void StartTimer(int32_t ms) override {
        SetTimer(window_, kPracticeTimer, static_cast<UINT>(std::max(ms, 0)), nullptr);
    }

    void ShowLookup(const player::LookupPanel& panel) override { ShowLookupWindow(panel); }

    void PostLookupReady() override { PostMessageW(window_, kLookupReadyMessage, 0, 0); }

    HWND window() const { return window_; }

private:
    HWND window_ = nullptr;
};

Win32Host Host;
HHOOK KeyFilter = nullptr;
// The client area in canvas pixels, kept between repaints.
std::optional<gfx::Bitmap> ClientPicture;

// "label\0pattern\0" for each type; c_str() adds the null that ends the list.
std::wstring SaveFilter() {
    std::wstring filter;
    for (const player::SaveType& type : player::kSaveTypes) {
        for (const std::string_view text : {type.filter, type.pattern}) {
            filter.append(text.begin(), text.end());  // ASCII
            filter += L'\0';
        }
    }
    return filter;
}

std::optional<player::SaveChoice> Win32Host::AskSavePath() {
    std::array<wchar_t, MAX_PATH> file{};
    // The loaded script's name is proposed without an extension: the dialog
    // adds the one of the type chosen, so that a GIF is never named .bmp.
    const std::wstring proposed = player::ScriptPath.stem().wstring();
    if (proposed.size() < file.size()) std::copy(proposed.begin(), proposed.end(), file.begin());
    const std::wstring filter = SaveFilter();
    OPENFILENAMEW request{};
    // The structure's own size: the smaller one of older systems fails on x64.
    request.lStructSize = sizeof request;
    request.hwndOwner = window_;
    request.lpstrFilter = filter.c_str();
    request.nFilterIndex = 1;
    request.lpstrFile = file.data();
    request.nMaxFile = static_cast<DWORD>(file.size());
    request.lpstrTitle = L"Save as BMP";
    // The region files of a script opened by a relative name are found from
    // the current folder, which the dialog must leave where it is.
    request.Flags = OFN_OVERWRITEPROMPT | OFN_EXPLORER | OFN_ENABLESIZING | OFN_DONTADDTORECENT |
                    OFN_NOCHANGEDIR;
    // A name typed without an extension takes the chosen type's.
    request.lpstrDefExt = L"bmp";
    if (!GetSaveFileNameW(&request)) return std::nullopt;
    const size_t chosen = request.nFilterIndex >= 1 && request.nFilterIndex <= std::size(player::kSaveTypes)
                              ? request.nFilterIndex - 1
                              : 0;
    return player::SaveChoice{fs::path(file.data()), player::kSaveTypes[chosen].kind};
}

RECT CanvasRect(HWND window) {
    const LONG side = player::kCanvasSide * CanvasScale(GetDpiForWindow(window));
    return {0, 0, side, side};
}

// The controls paint themselves; drawing under them would only flicker.
void ExcludeControls(HWND window, HDC dc) {
    for (const player::ControlTemplate& control : player::kControls) {
        const HWND child = GetDlgItem(window, control.id);
        RECT r{};
        if (!child || !GetWindowRect(child, &r)) continue;
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
    }
}

// Composes the client area in canvas pixels and copies it to the window.
void DrawClient(HWND window, HDC dc) {
    RECT client{};
    GetClientRect(window, &client);
    const int32_t scale = CanvasScale(GetDpiForWindow(window));
    const int32_t width = client.right;
    const int32_t height = client.bottom;
    if (width <= 0 || height <= 0) return;
    const int32_t picture_width = (width + scale - 1) / scale;
    const int32_t picture_height = (height + scale - 1) / scale;
    if (!ClientPicture || ClientPicture->width() != picture_width ||
        ClientPicture->height() != picture_height) {
        ClientPicture = gfx::Bitmap::Create(picture_width, picture_height, gfx::PixelFormat::Rgb32);
        if (!ClientPicture) return;
    }
    player::OnPaint(*ClientPicture, {0, 0, picture_width, picture_height});
    ExcludeControls(window, dc);
    DrawScaled(dc, *ClientPicture, scale, width, height);
}

void OnPaint(HWND window) {
    PAINTSTRUCT paint{};
    if (const HDC dc = BeginPaint(window, &paint)) DrawClient(window, dc);
    EndPaint(window, &paint);
}

// Client pixels to canvas pixels.
gfx::PointF CanvasPoint(HWND window, POINT at) {
    const double scale = CanvasScale(GetDpiForWindow(window));
    return {at.x / scale, at.y / scale};
}

gfx::PointF CanvasPoint(HWND window, LPARAM client_at) {
    return CanvasPoint(window, POINT{GET_X_LPARAM(client_at), GET_Y_LPARAM(client_at)});
}

// The mouse writes with its left button, held on the canvas even when it
// leaves the window.
bool OnMouse(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_LBUTTONDOWN:
            SetCapture(window);
            player::OnPointerDown(CanvasPoint(window, lparam));
            return true;
        case WM_MOUSEMOVE:
            if (wparam & MK_LBUTTON) player::OnPointerMove(CanvasPoint(window, lparam));
            return true;
        case WM_LBUTTONUP:
            ReleaseCapture();
            player::OnPointerUp(CanvasPoint(window, lparam));
            return true;
        default:
            return false;
    }
}

// A pen comes as pointer messages; handled here they make no mouse messages
// besides. The rest (a finger, the mouse) is left to become mouse messages,
// which write as well and keep touch's press-and-hold menu.
bool OnPointer(HWND window, UINT message, WPARAM wparam) {
    const UINT32 id = GET_POINTERID_WPARAM(wparam);
    POINTER_INPUT_TYPE type = PT_POINTER;
    POINTER_INFO info{};
    if (!GetPointerType(id, &type) || type != PT_PEN || !GetPointerInfo(id, &info)) return false;
    POINT at = info.ptPixelLocation;
    ScreenToClient(window, &at);
    const gfx::PointF point = CanvasPoint(window, at);
    if (message == WM_POINTERDOWN) {
        player::OnPointerDown(point);
    } else if (message == WM_POINTERUPDATE) {
        player::OnPointerMove(point);
    } else {
        player::OnPointerUp(point);
    }
    return true;
}

// The canvas' context menu, at the pointer or, from the keyboard, at the
// canvas' corner.
void OnContextMenu(HWND window, LPARAM screen_at) {
    POINT at{GET_X_LPARAM(screen_at), GET_Y_LPARAM(screen_at)};
    const RECT canvas = CanvasRect(window);
    if (screen_at == -1) {
        at = {canvas.left, canvas.top};
        ClientToScreen(window, &at);
    } else {
        POINT client = at;
        ScreenToClient(window, &client);
        if (!PtInRect(&canvas, client)) return;
    }
    const player::PracticeStatus status = player::CurrentPractice();
    const HMENU menu = CreatePopupMenu();
    if (!menu) return;
    // The flags are long constants; menus take them as UINT.
    const auto enabled = [](bool on) { return on ? UINT{MF_ENABLED} : UINT{MF_GRAYED}; };
    const auto checked = [&status](bool recall) {
        return status.active && status.recall == recall ? UINT{MF_CHECKED} : UINT{MF_UNCHECKED};
    };
    const UINT mode_item = UINT{MF_STRING} | enabled(status.available);
    AppendMenuW(menu, mode_item | checked(false), kMenuTrace, L"Practice: trace");
    AppendMenuW(menu, mode_item | checked(true), kMenuRecall, L"Practice: recall");
    AppendMenuW(menu, UINT{MF_SEPARATOR}, 0, nullptr);
    AppendMenuW(menu, UINT{MF_STRING} | enabled(status.active), kMenuLeave, L"Leave practice");
    AppendMenuW(menu, UINT{MF_SEPARATOR}, 0, nullptr);
    const bool looking_up = player::CurrentLookup().active;
    AppendMenuW(menu, UINT{MF_STRING} | enabled(!looking_up), kMenuLookup,
                L"Look up a kanji by drawing");
    AppendMenuW(menu, UINT{MF_STRING} | enabled(looking_up), kMenuLeaveLookup, L"Leave look-up");
    const UINT chosen = static_cast<UINT>(TrackPopupMenu(
        menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, window, nullptr));
    DestroyMenu(menu);
    if (chosen == kMenuTrace) player::OnPractice(player::PracticeAction::Trace);
    if (chosen == kMenuRecall) player::OnPractice(player::PracticeAction::Recall);
    if (chosen == kMenuLeave) player::OnPractice(player::PracticeAction::Leave);
    if (chosen == kMenuLookup) player::OnLookup(player::LookupAction::Start);
    if (chosen == kMenuLeaveLookup) player::OnLookup(player::LookupAction::Leave);
}

// The message a key of ours becomes, or 0; wParam is set for look-up's.
UINT OurKey(const MSG& message, WPARAM& action) {
    if (message.message != WM_KEYDOWN) return 0;
    if (message.wParam == VK_ESCAPE && InLookupWindow(message.hwnd)) {
        action = static_cast<WPARAM>(player::LookupAction::Leave);
        return kLookupKeyMessage;
    }
    if (GetKeyState(VK_CONTROL) >= 0 || GetKeyState(VK_MENU) < 0) return 0;
    switch (message.wParam) {
        case 'T':
            return kPracticeKeyMessage;
        case 'L':
            action = static_cast<WPARAM>(player::LookupAction::Start);
            return kLookupKeyMessage;
        case 'Z':
            action = static_cast<WPARAM>(player::LookupAction::Undo);
            return kLookupKeyMessage;
        default:
            return 0;
    }
}

// A modal dialog's keys go to its focused button; its message filter sees
// them first, whichever control has the focus, and those of the look-up's
// tool window too.
LRESULT CALLBACK FilterDialogKeys(int code, WPARAM wparam, LPARAM lparam) {
    const MSG* message = reinterpret_cast<const MSG*>(lparam);
    WPARAM action = 0;
    const UINT ours = code == MSGF_DIALOGBOX ? OurKey(*message, action) : 0;
    if (ours != 0) {
        PostMessageW(Host.window(), ours, action, 0);
        return TRUE;
    }
    return CallNextHookEx(KeyFilter, code, wparam, lparam);
}

void OnInitDialog(HWND window, const wchar_t* argument) {
    Host.Attach(window);
    DragAcceptFiles(window, TRUE);
    // Without it, look-up has nowhere to show; the rest works.
    CreateLookupWindow(AppInstance, window);
    // The sound devices are found now, not at the first click: a slow first
    // search would delay that click until the next one cuts it off.
    waveOutGetNumDevs();
    std::optional<fs::path> script;
    if (argument) script = fs::path(argument);
    player::OnInitDialog(Host, script);
}

void OnDropFiles(HDROP drop) {
    // The name's own length, so that no name is cut short.
    const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
    std::wstring name(length, L'\0');
    const bool named = length > 0 && DragQueryFileW(drop, 0, name.data(), length + 1) == length;
    DragFinish(drop);
    if (named) player::OnDropFiles({fs::path(name)});
}

INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (OnMouse(window, message, wparam, lparam)) return TRUE;
    switch (message) {
        case WM_INITDIALOG:
            OnInitDialog(window, reinterpret_cast<const wchar_t*>(lparam));
            return TRUE;  // the first control gets the focus
        case WM_PAINT:
            OnPaint(window);
            return FALSE;
        case WM_COMMAND:
            // Only Esc sends IDCANCEL: the close box comes as WM_CLOSE below.
            if (LOWORD(wparam) == IDCANCEL) {
                player::OnEscape();
            } else {
                player::OnCommand(LOWORD(wparam));
            }
            return FALSE;
        case WM_CLOSE:
            player::OnCommand(player::kIdCancel);
            return TRUE;
        case WM_POINTERDOWN:
        case WM_POINTERUPDATE:
        case WM_POINTERUP:
            return OnPointer(window, message, wparam) ? TRUE : FALSE;
        case WM_CONTEXTMENU:
            OnContextMenu(window, lparam);
            return TRUE;
        case WM_TIMER:
            if (wparam != kPracticeTimer) return FALSE;
            KillTimer(window, kPracticeTimer);
            player::OnTimer();
            return TRUE;
        case kPracticeKeyMessage:
            player::OnPractice(player::PracticeAction::Start);
            return TRUE;
        case kLookupKeyMessage:
            player::OnLookup(static_cast<player::LookupAction>(wparam));
            return TRUE;
        case kLookupReadyMessage:
            player::OnLookupReady();
            return TRUE;
        case WM_DROPFILES:
            OnDropFiles(reinterpret_cast<HDROP>(wparam));
            return FALSE;
        case WM_DPICHANGED:
            // The dialog manager rescales the dialog; the canvas follows.
            InvalidateRect(window, nullptr, FALSE);
            return FALSE;
        case WM_DESTROY:
            // Waits for the animation, which never waits for this thread.
            KillTimer(window, kPracticeTimer);
            player::OnDestroy();
            ClientPicture.reset();
            return FALSE;
        case kRepaintMessage: {
            const bool canvas =
                static_cast<player::RepaintArea>(wparam) == player::RepaintArea::Canvas;
            const RECT area = CanvasRect(window);
            InvalidateRect(window, canvas ? &area : nullptr, FALSE);
            return TRUE;
        }
        case kToFrontMessage:
            SetForegroundWindow(window);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

int32_t CanvasScale(UINT dpi) {
    return static_cast<int32_t>(std::max(dpi, kDefaultDpi) / kDefaultDpi);
}

void RunPlayerDialog(HINSTANCE instance, const wchar_t* argument) {
    AppInstance = instance;
    KeyFilter = SetWindowsHookExW(WH_MSGFILTER, FilterDialogKeys, nullptr, GetCurrentThreadId());
    DialogBoxParamW(instance, MAKEINTRESOURCEW(kDialogTemplate), nullptr, DialogProc,
                    reinterpret_cast<LPARAM>(argument));
    if (KeyFilter) UnhookWindowsHookEx(KeyFilter);
}

}  // namespace shell_win32
