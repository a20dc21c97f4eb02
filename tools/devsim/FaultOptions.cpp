#include "FaultOptions.h"

#include <cstdlib>
#include <sstream>

namespace {

bool Number(const std::string& s, int& out) {
    if (s.empty()) return false;
    char* end = nullptr;
    const long v = std::strtol(s.c_str(), &end, 0);
    if (*end != '\0' || v < -1 || v > 255) return false;
    out = int(v);
    return true;
}

} // namespace

bool ParseFault(const std::string& text, FaultPlan& plan, std::string* error) {
    std::istringstream in(text);
    std::string item;
    Fault f;
    bool first = true;
    while (std::getline(in, item, ',')) {
        if (first) {
            first = false;
            if (item == "no-reply")
                f.kind = FaultKind::NoReply;
            else if (item == "bad-crc")
                f.kind = FaultKind::BadCrc;
            else if (item == "short")
                f.kind = FaultKind::ShortReply;
            else if (item == "exception")
                f.kind = FaultKind::Exception;
            else if (item == "lost")
                f.kind = FaultKind::PortLost;
            else {
                if (error) *error = "unknown fault: " + item;
                return false;
            }
            continue;
        }
        const auto eq = item.find('=');
        const std::string key = item.substr(0, eq);
        int v = 0;
        if (eq == std::string::npos || !Number(item.substr(eq + 1), v)) {
            if (error) *error = "bad fault option: " + item;
            return false;
        }
        if (key == "function")
            f.function = v;
        else if (key == "block")
            f.block = v;
        else if (key == "count")
            f.count = v;
        else if (key == "code")
            f.code = v;
        else {
            if (error) *error = "bad fault option: " + item;
            return false;
        }
    }
    if (first || (f.kind == FaultKind::Exception && f.code <= 0)) {
        if (error) *error = "bad fault: " + text;
        return false;
    }
    plan.faults.push_back(f);
    return true;
}
