#include "core/dialog/system_messages.h"

#include "core/system/errors.h"

namespace korbela {

std::string ErrorReportText(const std::string& message) {
    return "Korbela Lite has encountered an error:\r\n\r\n" + message;
}

void TSystemMessages::ShowSystemMessage(const std::string& text) {
    if (showing_) {
        pending_.push_back(text);
        return;
    }
    showing_ = true;
    try {
        dialog_.ShowModal(text);
        while (!pending_.empty()) {
            const std::string next = std::move(pending_.front());
            pending_.pop_front();
            dialog_.ShowModal(next);
        }
    } catch (...) {
        showing_ = false;
        throw;
    }
    showing_ = false;
}

void TSystemMessages::AppEventsException(const std::exception& error) {
    if (dynamic_cast<const EAbort*>(&error) != nullptr) return;
    ShowSystemMessage(ErrorReportText(error.what()));
}

}  // namespace korbela
