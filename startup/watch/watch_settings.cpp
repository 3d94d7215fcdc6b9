#include "startup/watch/watch_settings.h"

#include "engine/whole_number.h"

#include <charconv>

namespace kvalon {

namespace {

constexpr double kFewestSeconds = 0.01;
constexpr double kMostSeconds = 86400;

} // namespace

std::optional<PortAddress> parse_port_address(const std::string& source) {
    PortAddress port;
    if (source.rfind("unix:", 0) == 0) {
        port.kind = PortAddress::Kind::LocalSocket;
        port.path = source.substr(5);
        return port.path.empty() ? std::nullopt : std::optional(port);
    }
    if (source.rfind("tcp:", 0) == 0) {
        const std::size_t colon = source.rfind(':');
        const std::optional<int> number = parse_whole_number(source.substr(colon + 1));
        port.kind = PortAddress::Kind::Tcp;
        port.address = source.substr(4, colon - 4);
        if (colon <= 4 || !number || *number < 1 || *number > 65535 || port.address.empty()) {
            return std::nullopt;
        }
        port.port = *number;
        return port;
    }
    // Any other "kind:" is a kind we do not know; a pipe's path may hold a
    // colon when it starts as a path does.
    const bool path_like = !source.empty() && (source.front() == '/' || source.front() == '.');
    if (source.empty() || (!path_like && source.find(':') != std::string::npos)) {
        return std::nullopt;
    }
    port.path = source;
    return port;
}

std::optional<double> parse_seconds(const std::string& text) {
    double seconds = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        !(seconds >= kFewestSeconds && seconds <= kMostSeconds)) {
        return std::nullopt;
    }
    return seconds;
}

} // namespace kvalon
