#include "config/record.h"

#include <algorithm>
#include <cstring>

#include "config/presets.h"

namespace ostrova {

std::string_view TextOf(std::span<const char> field) {
    // A field from a file may lack its terminator: its text is still at most width minus one.
    if (field.empty()) return {};
    const auto end = std::find(field.begin(), field.end() - 1, '\0');
    return {field.data(), static_cast<std::size_t>(end - field.begin())};
}

void CopyText(std::span<char> field, std::string_view text) {
    if (field.empty()) return;
    const std::size_t n = std::min(text.size(), field.size() - 1);
    std::memcpy(field.data(), text.data(), n);
    field[n] = '\0';
}

void ZeroField(std::span<char> field) { std::fill(field.begin(), field.end(), '\0'); }

void TerminateField(std::span<char> field) {
    if (!field.empty()) field.back() = '\0';
}

void SetConfigDefaults(ConfigRecord& record) {
    // Zero is the default of everything not set here: SMS Control OFF without Status Response,
    // MMS to Phone, auxFlag 0, Max Num 0, the Auto country and operator (no parameters), SSL
    // off, no recipients.
    record = ConfigRecord{};
    static_assert(kViaMms == 0 && kToPhone == 0);
    record.sendMode = kSendOff;
    record.fixedFlag = 1;
    record.reportHour = 21;
    record.reportMinute = 30;
    record.imageQuality.set(100);
    CopyText(record.smtpAccount, kDefaultSmtpAccount);
    CopyText(record.smtpPassword, kDefaultSmtpPassword);
    CopyText(record.smtpServer, kDefaultSmtpServer);
    CopyText(record.smtpPort, kDefaultSmtpPort);
}

namespace {
// Applies op(customField, recordField) to the nine operator parameters in their order.
template <typename Custom, typename Record, typename Op>
void ForEachParam(Custom& c, Record& r, Op op) {
    op(c.mmsApn, r.mmsApn);
    op(c.mmsUser, r.mmsUser);
    op(c.mmsPassword, r.mmsPassword);
    op(c.mmscUrl, r.mmscUrl);
    op(c.mmsProxy, r.mmsProxy);
    op(c.mmsPort, r.mmsPort);
    op(c.netApn, r.netApn);
    op(c.netUser, r.netUser);
    op(c.netPassword, r.netPassword);
}
}  // namespace

void ResetCustomPreset(CustomPreset& custom, const ConfigRecord& record) {
    custom = CustomPreset{};
    if (record.countryId == 1) StoreCustomPreset(custom, record);
}

void StoreCustomPreset(CustomPreset& custom, const ConfigRecord& record) {
    ForEachParam(custom, record, [](auto& to, const auto& from) { CopyText(to, TextOf(from)); });
}

void RestoreCustomPreset(const CustomPreset& custom, ConfigRecord& record) {
    ForEachParam(custom, record, [](const auto& from, auto& to) { CopyText(to, TextOf(from)); });
}

void StoreImageFrom(ConfigRecord& record, std::string_view text) {
    if (text.empty()) {
        ZeroField(record.imageFromShort);
        ZeroField(record.imageFrom);
        return;
    }
    CopyText(record.imageFrom, text.substr(0, record.imageFrom.size() - 1));
    CopyText(record.imageFromShort, text.substr(0, record.imageFromShort.size() - 1));
}

}  // namespace ostrova
