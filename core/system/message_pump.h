// Lets a long operation on the main thread process pending window messages.
#pragma once

namespace korbela {

class IMessagePump {
public:
    virtual ~IMessagePump() = default;
    virtual void ProcessMessages() = 0;
    // True once the application was told to end (a quit request was seen).
    virtual bool Terminated() const = 0;
};

}  // namespace korbela
