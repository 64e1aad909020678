// Processes pending messages from inside a long operation on the main thread.
#pragma once

#include "core/platform/message_pump.h"

namespace korbela {

class Win32MessagePump : public IMessagePump {
public:
    void ProcessMessages() override;
    bool Terminated() const override { return terminated_; }

private:
    bool terminated_ = false;
};

}  // namespace korbela
