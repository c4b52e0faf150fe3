// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#pragma once

namespace vantoke {

// The four text boxes the game writes.
enum class Display { Points, Time, Squares, Percent };

} // namespace vantoke
