// A launcher: asks the shell to open its target (document, folder or web address).
#pragma once

#include <string>

#include "core/platform/shell.h"

namespace korbela {

class TStarter {
public:
    TStarter(IShell& shell, std::string target) : shell_(shell), target_(std::move(target)) {}

    const std::string& Target() const { return target_; }
    void SetTarget(const std::string& target) { target_ = target; }
    void Execute() { shell_.Open(target_); }

private:
    IShell& shell_;  // not owned
    std::string target_;
};

}  // namespace korbela
