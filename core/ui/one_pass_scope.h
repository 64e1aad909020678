// The clean levels and the automatic run free in one pass: the attempts
// spinner shows 1 for the length of the run and the user's value again after
// it, however the run ends. Neither change is stored, so a run that never ends
// (the process killed, the session over) cannot leave the user's value at 1.
#pragma once

#include "core/ui/frm_kr_main.h"

namespace korbela {

class OnePassScope {
public:
    explicit OnePassScope(TfrmKRmain& form) : form_(form), owner_(!form.userAttempts_) {
        if (!owner_) return;  // already inside one: the spinner shows 1
        form_.userAttempts_ = form_.spnAtempts.Value();
        form_.spnAtempts.SetValue(1);
    }
    ~OnePassScope() {
        if (!owner_) return;
        form_.spnAtempts.SetValue(*form_.userAttempts_);
        form_.userAttempts_.reset();
    }
    OnePassScope(const OnePassScope&) = delete;
    OnePassScope& operator=(const OnePassScope&) = delete;

private:
    TfrmKRmain& form_;
    bool owner_;
};

}  // namespace korbela
