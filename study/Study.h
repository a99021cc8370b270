#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace latcap::batch {

// A study computes at most this many rows, however its sweeps combine.
inline constexpr std::size_t kMaxSweepRows = 10'000'000;
// And varies at most this many keys at once.
inline constexpr std::size_t kMaxSweepKeys = 3;

// A KEY=VALUE pair of --set.
struct CaseSetting {
    std::string key;
    std::string value;
};

// Splits --set KEY=VALUE at its first "=". On failure explains why.
bool ParseSetting(std::string_view text, CaseSetting& setting, std::string& error);

// The values of --vary KEY=FROM:TO:STEP: FROM, FROM + STEP, ... up to TO,
// each written with as many decimals as FROM, TO and STEP carry, so that a
// row reads the same text a case file would hold. The values are made when
// asked for, so that a long sweep takes no memory.
struct Sweep {
    std::string key; // as given
    std::string name; // in its own spelling: "layer 2.friction angle" for "Layer 2.PHI"
    double from = 0;
    double step = 1;
    std::size_t count = 0;
    int decimals = 0;

    std::string Value(std::size_t row) const;
};

// Parses --vary; the key must name one number of the case. Every number is
// read by the program's number rule. Rejects a zero step, a step that leads
// away from TO, more than kMaxSweepRows values (saying exactly how many) and
// values that cannot be written exactly enough.
bool ParseSweep(std::string_view text, Sweep& sweep, std::string& error);

// Whether the sweeps of a grid vary different values, and whether each
// varies a value that the calculation of some row uses, the case having
// layerCount layers unless "layers" is varied too, and a custom factor only
// when the case's factors are custom. On failure explains why,
// naming the keys as given.
bool DistinctKeys(const std::vector<Sweep>& sweeps, std::string& error);
bool KeysUsed(const std::vector<Sweep>& sweeps, int layerCount, std::string& error, bool customFactors = false);

// The rows of a grid of sweeps, the first varying slowest: their count, and
// the value of each sweep in row `row`. CountRows returns false when there
// are more than kMaxSweepRows, with the exact count in `count` where it fits.
bool CountRows(const std::vector<Sweep>& sweeps, std::size_t& count);
std::vector<std::string> RowValues(const std::vector<Sweep>& sweeps, std::size_t row);

// --shard K/N: the rows [first, last) of the K-th of N contiguous parts.
struct Shard {
    std::size_t part = 1;
    std::size_t parts = 1;

    std::size_t First(std::size_t rows) const;
    std::size_t Last(std::size_t rows) const;
};
bool ParseShard(std::string_view text, Shard& shard, std::string& error);

} // namespace latcap::batch
