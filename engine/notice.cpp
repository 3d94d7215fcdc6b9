#include "engine/notice.h"

#include "engine/error_line.h"

#include <utility>

namespace kvalon {

namespace {
NoticeHandler& notice_handler() {
    static NoticeHandler handler;
    return handler;
}
} // namespace

void tell_user(const std::string& text) {
    if (notice_handler()) {
        notice_handler()(text);
        return;
    }
    write_error_line(text);
}

NoticeScope::NoticeScope(NoticeHandler handler)
    : m_previous(std::exchange(notice_handler(), std::move(handler))) {}

NoticeScope::~NoticeScope() {
    notice_handler() = std::move(m_previous);
}

} // namespace kvalon
