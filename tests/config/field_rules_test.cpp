#include "config/field_rules.h"

#include <gtest/gtest.h>

#include <string>

#include "config/record.h"

namespace ostrova {
namespace {

// Walks each bound below, at and above, and checks that the message names the largest value
// the bound lets through: a bound and its message can never drift apart unnoticed.
TEST(NumericRules, BoundsAndTheirMessagesAgree) {
    struct Case {
        std::string_view field;
        int largest;
        std::string_view message;
    };
    const Case cases[] = {
        {"reportHour", 23, "Please input a number between 0 and 23! "},
        {"reportMinute", 59, "Please input a number between 0 and 59! "},
        {"maxNum", 9999, "Please input a number within 9999! "},
    };
    for (const Case& c : cases) {
        const NumericRule* rule = FindNumericRule(c.field);
        ASSERT_NE(rule, nullptr) << c.field;
        EXPECT_TRUE(rule->Accepts(0)) << c.field;
        EXPECT_TRUE(rule->Accepts(c.largest)) << c.field;
        EXPECT_FALSE(rule->Accepts(c.largest + 1)) << c.field;
        EXPECT_EQ(rule->message, c.message);
        EXPECT_NE(rule->message.find(std::to_string(c.largest) + "! "), std::string_view::npos);
    }
    EXPECT_EQ(FindNumericRule("sendMode"), nullptr);
}

// Every limit must leave room for the terminating NUL of its field, or a text at the limit
// would run into the next field.
TEST(TextRules, EveryLimitFitsItsField) {
    const ConfigRecord r{};
    struct Width {
        std::string_view field;
        std::size_t width;
    };
    const Width widths[] = {
        {"phone[1]", r.phone[0].size()},         {"email[4]", r.email[3].size()},
        {"imageFrom", r.imageFrom.size()},       {"smtpAccount", r.smtpAccount.size()},
        {"smtpPassword", r.smtpPassword.size()}, {"smtpServer", r.smtpServer.size()},
        {"smtpPort", r.smtpPort.size()},         {"mmsApn", r.mmsApn.size()},
        {"mmsUser", r.mmsUser.size()},           {"mmsPassword", r.mmsPassword.size()},
        {"mmscUrl", r.mmscUrl.size()},           {"mmsProxy", r.mmsProxy.size()},
        {"mmsPort", r.mmsPort.size()},           {"netApn", r.netApn.size()},
        {"netUser", r.netUser.size()},           {"netPassword", r.netPassword.size()},
        {"ftpAccount", r.ftpAccount.size()},     {"ftpPassword", r.ftpPassword.size()},
        {"ftpServer", r.ftpServer.size()},       {"httpServer", r.httpServer.size()},
    };
    EXPECT_EQ(std::size(widths), kTextRules.size()) << "a rule without a field, or the reverse";
    for (const Width& w : widths) {
        const TextRule* rule = FindTextRule(w.field);
        ASSERT_NE(rule, nullptr) << w.field;
        EXPECT_LE(rule->maxLength, w.width - 1) << w.field;
        if (rule->maxValue > 0) {
            EXPECT_TRUE(rule->digitsOnly) << w.field;
            EXPECT_EQ(std::to_string(rule->maxValue).size(), rule->maxLength) << w.field;
        }
    }
}

TEST(TextRules, LookupByNameAndIndex) {
    EXPECT_EQ(FindTextRule("phone"), FindTextRule("phone[4]"));
    EXPECT_EQ(FindTextRule("email[12]"), FindTextRule("email"));
    for (std::string_view bad :
         {"phone[]", "phone[x]", "phone[1", "phones", "", "sendMode", "imageFromShort"})
        EXPECT_EQ(FindTextRule(bad), nullptr) << bad;
}

}  // namespace
}  // namespace ostrova
