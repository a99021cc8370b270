#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace latcap::batch {

inline constexpr int kMaxSweepRows = 10000;

// A KEY=VALUE pair of --set.
struct CaseSetting {
    std::string key;
    std::string value;
};

// Splits --set KEY=VALUE at its first "=". On failure explains why.
bool ParseSetting(std::string_view text, CaseSetting& setting, std::string& error);

// The values of --vary KEY=FROM:TO:STEP: FROM, FROM + STEP, ... up to TO,
// each written with as many decimals as FROM, TO and STEP carry, so that a
// row reads the same text a case file would hold.
struct Sweep {
    std::string key;
    std::vector<std::string> values;
};

// Parses --vary; the key must name one number of the case. Rejects a zero
// step, a step that leads away from TO and more than kMaxSweepRows values.
bool ParseSweep(std::string_view text, Sweep& sweep, std::string& error);

} // namespace latcap::batch
