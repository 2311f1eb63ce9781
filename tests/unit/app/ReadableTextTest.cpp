#include "app/ReadableText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kBad = "\xEF\xBF\xBD";

} // namespace

// File names are bytes: whatever they hold, the text is UTF-8 that viewers and XML accept, and
// every good character is kept.
TEST(ReadableText, KeepsGoodCharactersAndReplacesEachBadByteAlone) {
    const struct {
        std::string bytes;
        std::string text;
    } cases[] = {
        {"", ""},
        {"drawing & <draft> (2).swp", "drawing & <draft> (2).swp"},
        {"K\xC3\xBCrven \xE2\x82\xAC \xF0\x9D\x84\x9E \xF4\x8F\xBF\xBD",
         "K\xC3\xBCrven \xE2\x82\xAC \xF0\x9D\x84\x9E \xF4\x8F\xBF\xBD"},
        {"a\nb\tc\x7F"
         "d\x01",
         "a" + kBad + "b" + kBad + "c" + kBad + "d" + kBad},
        {"\xC2\x85\xC2\xA0", kBad + "\xC2\xA0"},   // a C1 control; no-break space kept
        {"\xEF\xBF\xBE\xEF\xBF\xBF", kBad + kBad}, // not characters
        {"\xFFok\x80", kBad + "ok" + kBad},        // bytes that begin nothing
        {"\xC0\xAF\xE0\x80\xAF", kBad + kBad + kBad + kBad + kBad}, // overlong forms
        {"\xED\xA0\x80x", kBad + kBad + kBad + "x"},                // a surrogate
        {"\xF4\x90\x80\x80", kBad + kBad + kBad + kBad},            // past U+10FFFF
        {"\xE2\x82", kBad + kBad},                                  // cut short at the end
        {"\xE2\x82"
         "a\xC3",
         kBad + kBad + "a" + kBad}, // cut short, then a good byte
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadableText(c.bytes), c.text) << c.bytes;
}
