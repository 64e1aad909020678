// Lets a long operation on the main thread process pending window messages.
#pragma once

namespace korbela {

class IMessagePump {
public:
    virtual ~IMessagePump() = default;
    virtual void ProcessMessages() = 0;
};

}  // namespace korbela
