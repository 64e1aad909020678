// Processes pending messages from inside a long operation on the main thread.
#pragma once

#include <windows.h>

#include "core/system/message_pump.h"

namespace korbela {

// Translates and dispatches one message. Keys meant for a window of controls
// (one with WS_EX_CONTROLPARENT, such as the main window) go through its
// keyboard interface first: Tab and Shift+Tab move the focus, Space presses
// the focused button or check box, the arrow keys go to sliders and tabs.
void DispatchWithKeyboardInterface(MSG& msg);

class Win32MessagePump : public IMessagePump {
public:
    void ProcessMessages() override;
    bool Terminated() const override { return terminated_; }

private:
    bool terminated_ = false;
};

}  // namespace korbela
