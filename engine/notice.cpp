#include "engine/notice.h"

#include "engine/messages.h"

#include <cstdio>

namespace kvalon {

namespace {
std::function<void(const std::string&)>& notice_handler() {
    static std::function<void(const std::string&)> handler;
    return handler;
}
} // namespace

void tell_user(const std::string& text) {
    if (notice_handler()) {
        notice_handler()(text);
        return;
    }
    std::fprintf(stderr, "%s: %s\n", messages::kTitle.c_str(), text.c_str());
    std::fflush(stderr);
}

void set_notice_handler(std::function<void(const std::string&)> handler) {
    notice_handler() = std::move(handler);
}

} // namespace kvalon
