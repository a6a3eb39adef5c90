// The checks the Email Setting dialog makes on OK, on plain texts, and their messages: the
// dialog shows them, the command-line tool refuses a value with the same words.
#pragma once

#include <optional>
#include <string_view>

namespace ostrova {

namespace msg {
inline constexpr std::string_view kInvalidAccount = "Invalid Account!";
inline constexpr std::string_view kPasswordMismatch = "Password Mismatched!";
inline constexpr std::string_view kInvalidSmtpServer = "Invalid SMTP server!";
inline constexpr std::string_view kInvalidSmtpPort = "Invalid SMTP port!";
inline constexpr std::string_view kSmtpPortOutOfRange = "Invalid SMTP port2!";
}  // namespace msg

inline constexpr long kHighestSmtpPort = 65535;

// The port's leading decimal digits as a number, saturated just above the highest port, so a
// text of any length is read without overflow.
long SmtpPortValue(std::string_view text);

// Each returns the message that refuses the text, or nullopt. An account without "@" passes
// only when a provider (or "Other") is chosen to complete it.
std::optional<std::string_view> SmtpAccountRefusal(std::string_view account, bool providerChosen);
std::optional<std::string_view> SmtpServerRefusal(std::string_view server);
std::optional<std::string_view> SmtpPortRefusal(std::string_view port);

}  // namespace ostrova
