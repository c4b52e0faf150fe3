// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#include "TextForms.h"

#include <cmath>

namespace vantoke::TextForms {

// QString::number always formats as the C locale does, whatever QLocale::setDefault() or the
// environment say, which is what keeps these texts locale-independent.

QString integerText(std::int32_t value)
{
    return QString::number(value);
}

QString singleText(float value)
{
    // Widening to double is exact, so rounding to seven digits sees the single's own value.
    return QString::number(static_cast<double>(value), 'G', 7);
}

QString percentText(double value)
{
    return QString::number(value * 100.0, 'f', 2) + QLatin1Char('%');
}

double integerPart(double value)
{
    return std::floor(value);
}

} // namespace vantoke::TextForms
