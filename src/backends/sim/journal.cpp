#include "backends/sim/journal.h"

#include <cstdio>

namespace quillop::platform::sim {

void Faults::Fail(std::string call, std::uint32_t error, int skip, int times) {
    rules_.push_back(Rule{std::move(call), error, skip, times});
}

std::optional<std::uint32_t> Faults::Check(std::string_view call) {
    for (Rule& rule : rules_) {
        if (rule.call != call || rule.times == 0) {
            continue;
        }
        if (rule.skip > 0) {
            --rule.skip;
            continue;
        }
        if (rule.times > 0) {
            --rule.times;
        }
        return rule.error;
    }
    return std::nullopt;
}

std::string quoted(const char* text) {
    return text == nullptr ? std::string("NULL") : "\"" + std::string(text) + "\"";
}

std::string hex_text(std::uint32_t value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%X", value);
    return buf;
}

} // namespace quillop::platform::sim
