// The built-in mail providers the Email Setting dialog offers and recognises.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace ostrova {

// One provider row, 130 bytes; texts are NUL-terminated within their width, the rest zero.
struct MailProvider {
    std::uint8_t providerId;
    std::uint8_t sslMode;  // 0 no SSL, 1 SSL always, 2 SSL by default (the user may switch it off)
    char displayName[38];
    char addressSuffix[38];  // "@" and the mail domain, lower case
    char smtpServer[40];
    char plainPort[6];
    char sslPort[6];
};
static_assert(sizeof(MailProvider) == 130);

inline constexpr std::uint16_t kNoProvider = 0xFFFF;
inline constexpr std::size_t kMailProviderCount = 13;

std::span<const MailProvider> MailProviderTable();

// The row with this index, or nullptr past the last row.
const MailProvider* GetProvider(std::uint16_t index);
// The index of a row of the table; 0xFFFF for nullptr or anything else.
std::uint16_t GetProviderIndex(const MailProvider* row);
// The first row whose address suffix begins with text (A-Z compared without case); nullptr
// when none does or when text has 38 bytes or more.
const MailProvider* FindProviderByDomain(std::string_view text);

}  // namespace ostrova
