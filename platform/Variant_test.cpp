#include "platform/Variant.h"

#include <gtest/gtest.h>

#include "platform/testing/TestMaildir.h"

namespace dks {
namespace {

TEST(VariantTest, TextBecomesANumberByThePlatformRulesOrFails) {
  struct Case {
    const char* text;
    int32_t number;
    int32_t failure;  // blank or non-numeric: 13 "Type mismatch"; outside 32 bits: 6 "Overflow"
  };
  for (const Case& c :
       {Case{" 42 ", 42, 0}, Case{"-7", -7, 0}, Case{"2.5", 2, 0},
        Case{"3.5", 4, 0},  // halves round to even
        Case{"&HFF", 255, 0}, Case{"&HFFFFFFFF", -1, 0}, Case{"-2147483648", INT32_MIN, 0},
        Case{"", 0, 13}, Case{"   ", 0, 13}, Case{"12abc", 0, 13}, Case{"-", 0, 13},
        Case{"2147483648", 0, 6}, Case{"-2147483649", 0, 6}}) {
    int32_t number = 0;
    EXPECT_EQ(failureOf([&] { number = toLong(Variant{std::string(c.text)}); }).number(), c.failure)
        << c.text;
    EXPECT_EQ(number, c.number) << c.text;
  }
  EXPECT_EQ(toLong(Variant{}), 0);
  EXPECT_EQ(toLong(Variant{int32_t{-5}}), -5);
}

}  // namespace
}  // namespace dks
