#include "core/ui/notify_icon_record.h"

namespace korbela {

std::string TrayTipText(const std::string& hint, uint32_t shellVersion) {
    std::string tip = ShortHint(hint);
    if (tip.size() > TipLengthLimit(shellVersion)) tip.resize(TipLengthLimit(shellVersion));
    return tip;
}

std::string ReplaceLineBreaks(const std::string& text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n') {
            result += c;
            continue;
        }
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        result += " - ";
    }
    return result;
}

NotifyIconRecord MakeNotifyIconRecord(uint32_t shellVersion, std::size_t pointerSize, const std::string& hint) {
    NotifyIconRecord record;
    record.size = NotifyIconDataSize(shellVersion, pointerSize);
    record.tip = TrayTipText(hint, shellVersion);
    if (IsShell5(shellVersion)) record.version = kNotifyIconVersion;
    return record;
}

}  // namespace korbela
