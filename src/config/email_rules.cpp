#include "config/email_rules.h"

namespace ostrova {

long SmtpPortValue(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > kHighestSmtpPort) value = kHighestSmtpPort + 1;
    }
    return negative ? -value : value;
}

std::optional<std::string_view> SmtpAccountRefusal(std::string_view account, bool providerChosen) {
    if (account.empty()) return msg::kInvalidAccount;
    if (account.find('@') == std::string_view::npos && !providerChosen) return msg::kInvalidAccount;
    return std::nullopt;
}

std::optional<std::string_view> SmtpServerRefusal(std::string_view server) {
    if (server.empty()) return msg::kInvalidSmtpServer;
    return std::nullopt;
}

std::optional<std::string_view> SmtpPortRefusal(std::string_view port) {
    if (port.empty()) return msg::kInvalidSmtpPort;
    if (SmtpPortValue(port) > kHighestSmtpPort) return msg::kSmtpPortOutOfRange;
    return std::nullopt;
}

}  // namespace ostrova
