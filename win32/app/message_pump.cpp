#include "win32/app/message_pump.h"

namespace korbela {

void DispatchWithKeyboardInterface(MSG& msg) {
    if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST && msg.hwnd != nullptr) {
        HWND root = GetAncestor(msg.hwnd, GA_ROOT);
        const bool controlParent =
            root != nullptr && (GetWindowLongPtrA(root, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) != 0;
        // F1 asks the window for help, whichever of its controls has the focus.
        if (controlParent && msg.message == WM_KEYDOWN && msg.wParam == VK_F1) {
            HELPINFO help{};
            help.cbSize = sizeof(help);
            help.iContextType = HELPINFO_WINDOW;
            help.iCtrlId = GetDlgCtrlID(msg.hwnd);
            help.hItemHandle = msg.hwnd;
            help.MousePos = msg.pt;
            SendMessageA(root, WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
            return;
        }
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
