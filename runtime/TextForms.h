// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <cstdint>

// The texts the game shows. None depends on the user's locale: the decimal point is always '.'.
namespace vantoke::TextForms {

// Digits only, with a '-' for negatives: 17 gives "17", 0 gives "0".
QString integerText(std::int32_t value);

// At most seven significant digits, trailing zeros and a trailing point dropped, with a 0 before
// the point below 1: 14.2578125 gives "14.25781", 0.5 gives "0.5", 1 gives "1". Values too small
// or too large for that use an exponent, as "1.5E-05".
QString singleText(float value);

// The value times 100 with two decimals, then "%": 0.5 gives "50.00%".
QString percentText(double value);

// Largest whole number not above `value`.
double integerPart(double value);

} // namespace vantoke::TextForms
