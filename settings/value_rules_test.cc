// The number, decimal and configuration-integer readers on the forms users type.
#include "settings/value_rules.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>

namespace quill {
namespace {

TEST(ValueRulesTest, NumberRuleReadsDecimalHexAndBinaryUpToTheFirstMisfit) {
  const struct {
    const char* text;
    int64_t number;
  } cases[] = {
      {"95", 95},
      {"50%", 50},
      {"$FF", 255},
      {"$ff", 255},
      {"$40", 64},
      {"%101", 5},
      {"%102", 2},
      {"abc", 0},
      {"", 0},
      {"-20", -20},
      {"+7", 7},
      {" \t 12", 12},
      {"-$10", -16},
      {"12px", 12},
      {"1 2", 1},
      {"$", 0},
      {"--5", 0},
      {"$G1", 0},
      {"4294967396", 4294967396},
      // Far beyond 64 bits the low bits stay those of the number as written: 2^64 + 5.
      {"18446744073709551621", 5},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadNumberRule(c.text), c.number) << c.text;
}

TEST(ValueRulesTest, ConfigurationIntegersAreDecimalOnly) {
  const struct {
    const char* text;
    int64_t number;
  } cases[] = {{"17", 17}, {" -3", -3}, {"$FF", 0}, {"%1", 0}, {"12px", 12}, {"", 0}, {"+", 0}};
  for (const auto& c : cases) EXPECT_EQ(ReadDecimalInteger(c.text), c.number) << c.text;
}

TEST(ValueRulesTest, DecimalRuleReadsTheSpecialWordsAndAPointNumberInAnyLocale) {
  // A locale with a decimal comma must not change what "1.5" means.
  const char* german = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
  const struct {
    const char* text;
    double value;
  } cases[] = {
      {"1.5", 1.5},    {"1,5", 1.0},  {"abc", 0.0}, {"", 0.0},        {"  2.25", 2.25},
      {"-0.5", -0.5},  {".5", 0.5},   {"5.", 5.0},  {"2.5e1x", 25.0}, {"3e", 3.0},
      {"1e+2", 100.0}, {"0x10", 0.0}, {"inf", 0.0}, {"9.99", 9.99},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(ReadDecimalRule(c.text), c.value) << c.text;
  EXPECT_EQ(ReadDecimalRule("+infinity"), HUGE_VAL);
  EXPECT_EQ(ReadDecimalRule(" -INFINITY "), -HUGE_VAL);
  EXPECT_TRUE(std::isnan(ReadDecimalRule("nan")));
  EXPECT_EQ(ReadDecimalRule("1e999"), HUGE_VAL);
  if (german != nullptr) std::setlocale(LC_NUMERIC, "C");
}

}  // namespace
}  // namespace quill
