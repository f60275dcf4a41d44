#include "platform/Variant.h"

#include <gtest/gtest.h>

#include "platform/Failure.h"

namespace dks {
namespace {

int32_t failureNumberOf(const Variant& value) {
  try {
    toLong(value);
  } catch (const Failure& failure) {
    return failure.number();
  }
  return 0;
}

TEST(VariantTest, TextBecomesANumberByThePlatformRules) {
  EXPECT_EQ(toLong(Variant{std::string(" 42 ")}), 42);
  EXPECT_EQ(toLong(Variant{std::string("-7")}), -7);
  EXPECT_EQ(toLong(Variant{std::string("2.5")}), 2);  // halves round to even
  EXPECT_EQ(toLong(Variant{std::string("3.5")}), 4);
  EXPECT_EQ(toLong(Variant{std::string("&HFF")}), 255);
  EXPECT_EQ(toLong(Variant{std::string("&HFFFFFFFF")}), -1);
  EXPECT_EQ(toLong(Variant{}), 0);
  EXPECT_EQ(toLong(Variant{int32_t{-5}}), -5);
}

TEST(VariantTest, BlankOrNonNumericTextIsATypeMismatchAndBigNumbersOverflow) {
  EXPECT_EQ(failureNumberOf(Variant{std::string("")}), 13);
  EXPECT_EQ(failureNumberOf(Variant{std::string("   ")}), 13);
  EXPECT_EQ(failureNumberOf(Variant{std::string("12abc")}), 13);
  EXPECT_EQ(failureNumberOf(Variant{std::string("-")}), 13);
  EXPECT_EQ(failureNumberOf(Variant{std::string("2147483648")}), 6);
  EXPECT_EQ(failureNumberOf(Variant{std::string("-2147483649")}), 6);
  EXPECT_EQ(toLong(Variant{std::string("-2147483648")}), INT32_MIN);
}

}  // namespace
}  // namespace dks
