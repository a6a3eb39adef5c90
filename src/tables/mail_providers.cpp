#include "tables/mail_providers.h"

#include <array>
#include <cstring>

namespace ostrova {
namespace {

constexpr std::array<MailProvider, kMailProviderCount> kProviders{{
#include "tables/mail_providers_data.inc"
}};

constexpr std::size_t kSuffixWidth = sizeof(MailProvider::addressSuffix);

}  // namespace

std::span<const MailProvider> MailProviderTable() { return kProviders; }

const MailProvider* GetProvider(std::uint16_t index) {
    return index < kProviders.size() ? &kProviders[index] : nullptr;
}

std::uint16_t GetProviderIndex(const MailProvider* row) {
    for (std::size_t i = 0; i < kProviders.size(); ++i) {
        if (row == &kProviders[i]) return static_cast<std::uint16_t>(i);
    }
    return kNoProvider;
}

const MailProvider* FindProviderByDomain(std::string_view text) {
    if (text.size() >= kSuffixWidth) return nullptr;
    char folded[kSuffixWidth] = {};
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        folded[i] = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    // Only text.size() bytes are compared, so a text running past a suffix meets its NUL.
    for (const auto& row : kProviders) {
        if (std::memcmp(row.addressSuffix, folded, text.size()) == 0) return &row;
    }
    return nullptr;
}

}  // namespace ostrova
