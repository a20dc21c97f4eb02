#include "FaultOptions.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>

bool ParseNumber(const std::string& text, long min, long max, int& out) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text.c_str(), &end, 0);
    if (*end != '\0' || errno != 0 || v < min || v > max) return false;
    out = int(v);
    return true;
}

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
        if (eq == std::string::npos || !ParseNumber(item.substr(eq + 1), -1, 255, v)) {
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
