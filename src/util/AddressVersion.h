#pragma once

// A versioned address of the published site ends in "?v=" and this many lowercase hexadecimal
// digits, new whenever the file behind it changes, so that a browser may keep what it fetched
// under that address.
inline constexpr int kAddressVersionDigits = 12;
