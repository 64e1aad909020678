// Every message the program shows goes through one modal dialog; this object
// makes sure it is never on screen twice and builds the error report.
#pragma once

#include <deque>
#include <exception>
#include <string>

namespace korbela {

// The message dialog frm_Message: Ok only, modal, stays on top.
class IMessageDialog {
public:
    virtual ~IMessageDialog() = default;
    // Shows the text with only the Ok button and returns when it is closed.
    virtual void ShowModal(const std::string& text) = 0;
};

// "Korbela Lite has encountered an error:", a blank line, then the message.
std::string ErrorReportText(const std::string& message);

class TSystemMessages {
public:
    explicit TSystemMessages(IMessageDialog& dialog) : dialog_(dialog) {}

    // A message raised while the dialog is open waits and is shown after it.
    void ShowSystemMessage(const std::string& text);
    // The application-wide error report; an abort stays silent.
    void AppEventsException(const std::exception& error);

    bool Showing() const { return showing_; }

private:
    IMessageDialog& dialog_;  // not owned
    std::deque<std::string> pending_;
    bool showing_ = false;
};

}  // namespace korbela
