#include "host/dxf/GroupCode.h"

#include <gtest/gtest.h>


using namespace kestrin::dxf;

TEST(GroupCode, RangesHaveTheirTypes) {
    using enum ValueType;
    const std::pair<int, ValueType> cases[] = {
        {0, String},    {1, String},    {5, Handle},    {9, String},    {10, Real},      {39, Real},   {40, Real},
        {59, Real},     {60, Int16},    {79, Int16},    {80, Unknown},  {90, Int32},     {99, Int32},  {100, String},
        {102, String},  {105, Handle},  {106, Unknown}, {110, Real},    {149, Real},     {150, Unknown}, {160, Int64},
        {170, Int16},   {180, Unknown}, {210, Real},    {239, Real},    {240, Unknown},  {270, Int16}, {280, Int16},
        {290, Boolean}, {300, String},  {310, Binary},  {320, Handle},  {330, Handle},   {369, Handle}, {370, Int16},
        {390, Handle},  {400, Int16},   {410, String},  {420, Int32},   {430, String},   {440, Int32}, {450, Int32},
        {460, Real},    {470, String},  {480, Handle},  {482, Unknown}, {999, String},   {1000, String},
        {1004, Binary}, {1005, Handle}, {1010, Real},   {1059, Real},   {1060, Int16},   {1071, Int32},
        {1072, Unknown}, {-1, Unknown}};
    for (const auto& [code, type] : cases) EXPECT_EQ(valueTypeOf(code), type) << "group code " << code;
}

TEST(GroupCode, ValuesParseByType) {
    using enum ValueType;
    for (const char* ok : {"0", "1.5", "-2.25e-3", " 12.0 ", ".5", "5.", "+3", "1E+20"})
        EXPECT_TRUE(isValidValue(Real, ok)) << ok;
    for (const char* bad : {"", "abc", "1.2.3", "1,5", "nan", "inf", "1e999", "0x10", "1 2"})
        EXPECT_FALSE(isValidValue(Real, bad)) << bad;
    EXPECT_TRUE(isValidValue(Int16, "-32768"));
    EXPECT_TRUE(isValidValue(Int16, "65535"));
    EXPECT_FALSE(isValidValue(Int16, "65536"));
    EXPECT_FALSE(isValidValue(Int16, "1.0"));
    EXPECT_TRUE(isValidValue(Int32, "-2147483648"));
    EXPECT_FALSE(isValidValue(Int32, "4294967296"));
    EXPECT_TRUE(isValidValue(Int64, "-9223372036854775808"));
    EXPECT_FALSE(isValidValue(Int64, "9223372036854775808"));
    EXPECT_TRUE(isValidValue(Boolean, "1"));
    EXPECT_FALSE(isValidValue(Boolean, "2"));
    EXPECT_TRUE(isValidValue(Handle, "0"));
    EXPECT_TRUE(isValidValue(Handle, "ABCDEF0123456789"));
    EXPECT_FALSE(isValidValue(Handle, "ABCDEF01234567890"));
    EXPECT_FALSE(isValidValue(Handle, ""));
    EXPECT_FALSE(isValidValue(Handle, " 1F"));
    EXPECT_TRUE(isValidValue(Binary, ""));
    EXPECT_TRUE(isValidValue(Binary, "00FFab"));
    EXPECT_FALSE(isValidValue(Binary, "0FF"));
    EXPECT_FALSE(isValidValue(Binary, "zz"));
    EXPECT_TRUE(isValidValue(String, "anything at all"));
    EXPECT_FALSE(isValidValue(Unknown, "1"));
}
