#include "win32/window/message_pump.h"

namespace korbela {

void DispatchWithKeyboardInterface(MSG& msg) {
    if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST && msg.hwnd != nullptr) {
        HWND root = GetAncestor(msg.hwnd, GA_ROOT);
        const bool controlParent =
            root != nullptr && (GetWindowLongPtrA(root, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) != 0;
        // F1 is the system's: it asks the focused control for help, which
        // passes the request up to the window (WM_HELP), once a press.
        if (controlParent && IsDialogMessageA(root, &msg)) return;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

void Win32MessagePump::ProcessMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Leave the quit request for the main loop and tell the caller to stop.
            terminated_ = true;
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        DispatchWithKeyboardInterface(msg);
    }
}

}  // namespace korbela
