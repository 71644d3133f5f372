// Resource and command numbers of the hello test module.
#pragma once

inline constexpr int kHelloMenu = 9001;
inline constexpr int kSayHelloItem = 101;
inline constexpr int kOpenDialogItem = 102;
inline constexpr int kGrayedItem = 103;

inline constexpr int kHelloDialog = 9100;
inline constexpr int kPointField = 9101;
inline constexpr int kPickButton = 9102;
