// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#pragma once

namespace vantoke {

class Form1;

// Routes each of the window's events to its handler in the window's game, and nothing else.
void connectEventTable(Form1 &form);

} // namespace vantoke
