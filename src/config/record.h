// The settings record: 2048 bytes whose field offsets are the settings files' offsets.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <type_traits>

namespace ostrova {

// A 16-bit field stored little-endian whatever the host's byte order.
class Le16 {
public:
    constexpr std::uint16_t get() const {
        return static_cast<std::uint16_t>(bytes_[0] | (bytes_[1] << 8));
    }
    constexpr void set(std::uint16_t v) {
        bytes_[0] = static_cast<std::uint8_t>(v & 0xFF);
        bytes_[1] = static_cast<std::uint8_t>(v >> 8);
    }

private:
    std::uint8_t bytes_[2];
};
static_assert(sizeof(Le16) == 2 && alignof(Le16) == 1);

// A fixed-width text field of single bytes; the text ends at the first NUL inside it.
template <std::size_t N>
using TextField = std::array<char, N>;

inline constexpr std::size_t kRecordSize = 2048;
inline constexpr std::size_t kBinFormSize = 868;   // MMSCFG.BIN carries bytes 0..867
inline constexpr std::size_t kCfgFormSize = 2048;  // wireless.cfg: 2046 ciphered bytes + checksum

enum SendMode : std::uint8_t { kSendInstant = 0, kSendDailyReport = 1, kSendOff = 2 };
enum SendVia : std::uint8_t { kViaMms = 0, kViaInternet = 1 };
enum SendTo : std::uint8_t {
    kToPhone = 0,
    kToEmail = 1,
    kToBoth = 2,
    kToHttp = 3,
    kToFtp = 4,
};

struct ConfigRecord {
    std::uint8_t version;
    std::uint8_t sendMode;
    std::uint8_t sendVia;
    std::uint8_t sendTo;
    std::uint8_t auxFlag;
    std::uint8_t reportHour;
    std::uint8_t reportMinute;
    std::uint8_t smsControl;
    std::uint8_t countryId;
    std::uint8_t operatorId;
    Le16 imageQuality;
    std::uint8_t fixedFlag;
    std::uint8_t statusResponse;
    std::uint8_t statusResponse2;
    std::uint8_t smtpSsl;
    Le16 maxNum;
    std::uint8_t reserved18[2];
    std::array<TextField<20>, 4> phone;
    std::array<TextField<60>, 4> email;
    TextField<60> smtpAccount;
    TextField<40> smtpPassword;
    TextField<40> smtpServer;
    TextField<6> smtpPort;
    // OperatorParams: the nine strings a carrier preset fills as a whole.
    TextField<40> mmsApn;
    TextField<40> mmsUser;
    TextField<40> mmsPassword;
    TextField<80> mmscUrl;
    TextField<40> mmsProxy;
    TextField<6> mmsPort;
    TextField<40> netApn;
    TextField<40> netUser;
    TextField<40> netPassword;
    TextField<16> imageFromShort;  // first 15 characters of Image From; inside MMSCFG.BIN
    std::uint8_t reserved868[2];
    TextField<60> ftpAccount;
    TextField<40> ftpPassword;
    TextField<80> ftpServer;
    TextField<80> httpServer;
    TextField<60> imageFrom;
    Le16 saveYear;
    std::uint8_t saveMonth;
    std::uint8_t saveDay;
    std::uint8_t saveHour;
    std::uint8_t saveMinute;
    std::uint8_t saveSecond;
    std::uint8_t reserved1197[851];

    std::span<std::uint8_t, kRecordSize> bytes() {
        return std::span<std::uint8_t, kRecordSize>(reinterpret_cast<std::uint8_t*>(this),
                                                    kRecordSize);
    }
    std::span<const std::uint8_t, kRecordSize> bytes() const {
        return std::span<const std::uint8_t, kRecordSize>(
            reinterpret_cast<const std::uint8_t*>(this), kRecordSize);
    }
};

static_assert(sizeof(ConfigRecord) == kRecordSize);
static_assert(alignof(ConfigRecord) == 1);
static_assert(std::is_standard_layout_v<ConfigRecord>);
static_assert(std::is_trivially_copyable_v<ConfigRecord>);
static_assert(offsetof(ConfigRecord, version) == 0);
static_assert(offsetof(ConfigRecord, sendMode) == 1);
static_assert(offsetof(ConfigRecord, sendVia) == 2);
static_assert(offsetof(ConfigRecord, sendTo) == 3);
static_assert(offsetof(ConfigRecord, auxFlag) == 4);
static_assert(offsetof(ConfigRecord, reportHour) == 5);
static_assert(offsetof(ConfigRecord, reportMinute) == 6);
static_assert(offsetof(ConfigRecord, smsControl) == 7);
static_assert(offsetof(ConfigRecord, countryId) == 8);
static_assert(offsetof(ConfigRecord, operatorId) == 9);
static_assert(offsetof(ConfigRecord, imageQuality) == 10);
static_assert(offsetof(ConfigRecord, fixedFlag) == 12);
static_assert(offsetof(ConfigRecord, statusResponse) == 13);
static_assert(offsetof(ConfigRecord, statusResponse2) == 14);
static_assert(offsetof(ConfigRecord, smtpSsl) == 15);
static_assert(offsetof(ConfigRecord, maxNum) == 16);
static_assert(offsetof(ConfigRecord, phone) == 20);
static_assert(offsetof(ConfigRecord, email) == 100);
static_assert(offsetof(ConfigRecord, smtpAccount) == 340);
static_assert(offsetof(ConfigRecord, smtpPassword) == 400);
static_assert(offsetof(ConfigRecord, smtpServer) == 440);
static_assert(offsetof(ConfigRecord, smtpPort) == 480);
static_assert(offsetof(ConfigRecord, mmsApn) == 486);
static_assert(offsetof(ConfigRecord, mmsUser) == 526);
static_assert(offsetof(ConfigRecord, mmsPassword) == 566);
static_assert(offsetof(ConfigRecord, mmscUrl) == 606);
static_assert(offsetof(ConfigRecord, mmsProxy) == 686);
static_assert(offsetof(ConfigRecord, mmsPort) == 726);
static_assert(offsetof(ConfigRecord, netApn) == 732);
static_assert(offsetof(ConfigRecord, netUser) == 772);
static_assert(offsetof(ConfigRecord, netPassword) == 812);
static_assert(offsetof(ConfigRecord, imageFromShort) == 852);
static_assert(offsetof(ConfigRecord, ftpAccount) == 870);
static_assert(offsetof(ConfigRecord, ftpPassword) == 930);
static_assert(offsetof(ConfigRecord, ftpServer) == 970);
static_assert(offsetof(ConfigRecord, httpServer) == 1050);
static_assert(offsetof(ConfigRecord, imageFrom) == 1130);
static_assert(offsetof(ConfigRecord, saveYear) == 1190);
static_assert(offsetof(ConfigRecord, saveMonth) == 1192);
static_assert(offsetof(ConfigRecord, saveDay) == 1193);
static_assert(offsetof(ConfigRecord, saveHour) == 1194);
static_assert(offsetof(ConfigRecord, saveMinute) == 1195);
static_assert(offsetof(ConfigRecord, saveSecond) == 1196);
static_assert(offsetof(ConfigRecord, reserved1197) == 1197);

// The user's own operator parameters for the country Custom; lives beside the record, never
// saved. Same names and widths as the record's OperatorParams.
struct CustomPreset {
    TextField<40> mmsApn;
    TextField<40> mmsUser;
    TextField<40> mmsPassword;
    TextField<80> mmscUrl;
    TextField<40> mmsProxy;
    TextField<6> mmsPort;
    TextField<40> netApn;
    TextField<40> netUser;
    TextField<40> netPassword;
};

// --- Text fields --------------------------------------------------------------------------

// The text of a field: up to its first NUL, at most its width minus one.
std::string_view TextOf(std::span<const char> field);

template <std::size_t N>
std::string_view TextOf(const TextField<N>& field) {
    return TextOf(std::span<const char>(field));
}

// Copies text and its terminating NUL into a field, cut to the field's width minus one.
// Bytes after the NUL keep their contents.
void CopyText(std::span<char> field, std::string_view text);
// Fills the whole field with zero bytes.
void ZeroField(std::span<char> field);
// Writes a NUL into the field's last byte, so it holds at most width - 1 characters.
void TerminateField(std::span<char> field);

// --- Defaults and the Custom side copy ----------------------------------------------------

// The built-in sender account put in place by the defaults (stand-ins on reserved domains).
inline constexpr std::string_view kDefaultSmtpAccount = "ostrova.camera.senders@example.com";
inline constexpr std::string_view kDefaultSmtpPassword = "demo2018";
inline constexpr std::string_view kDefaultSmtpServer = "smtp.mail-relay.example.com";
inline constexpr std::string_view kDefaultSmtpPort = "2525";

void SetConfigDefaults(ConfigRecord& record);
void ResetCustomPreset(CustomPreset& custom, const ConfigRecord& record);
void StoreCustomPreset(CustomPreset& custom, const ConfigRecord& record);
void RestoreCustomPreset(const CustomPreset& custom, ConfigRecord& record);

// Stores the "Image From" text into both of its fields (imageFrom whole up to 59 characters,
// imageFromShort its first 15); an empty text zero-fills both.
void StoreImageFrom(ConfigRecord& record, std::string_view text);

}  // namespace ostrova
