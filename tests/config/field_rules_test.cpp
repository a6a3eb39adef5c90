#include "config/field_rules.h"

#include <gtest/gtest.h>

#include <string>


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

}  // namespace
}  // namespace ostrova
