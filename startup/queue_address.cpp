#include "startup/queue_address.h"

#include <cctype>
#include <cstdio>

namespace kvalon {

namespace {

bool is_unreserved(unsigned char c) {
    return std::isalnum(c) != 0 || c == '-' || c == '.' || c == '_' || c == '~';
}

int hex_value(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    const int lower = std::tolower(static_cast<unsigned char>(c));
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

std::optional<std::string> percent_decoded(const std::string& text) {
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            decoded.push_back(text[i]);
            continue;
        }
        const int high = i + 2 < text.size() ? hex_value(text[i + 1]) : -1;
        const int low = high >= 0 ? hex_value(text[i + 2]) : -1;
        if (low < 0) {
            return std::nullopt;
        }
        decoded.push_back(static_cast<char>(high * 16 + low));
        i += 2;
    }
    return decoded;
}

} // namespace

std::string queue_device_uri(const std::string& destination) {
    std::string uri = std::string(kBackendScheme) + ":/";
    for (const char c : destination) {
        const auto byte = static_cast<unsigned char>(c);
        if (is_unreserved(byte)) {
            uri.push_back(c);
        } else {
            char escape[4];
            std::snprintf(escape, sizeof escape, "%%%02X", byte);
            uri += escape;
        }
    }
    return uri;
}

std::optional<std::string> destination_of(const std::string& device_uri) {
    const std::string prefix = std::string(kBackendScheme) + ":";
    if (device_uri.rfind(prefix, 0) != 0) {
        return std::nullopt;
    }
    std::string rest = device_uri.substr(prefix.size());
    rest = rest.substr(0, rest.find('?'));
    rest.erase(0, rest.find_first_not_of('/'));
    while (!rest.empty() && rest.back() == '/') {
        rest.pop_back();
    }
    std::optional<std::string> destination = percent_decoded(rest);
    if (!destination || destination->empty() || destination->find('/') != std::string::npos) {
        return std::nullopt;
    }
    return destination;
}

} // namespace kvalon
