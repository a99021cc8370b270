#include "FuzzCheck.h"
#include "Study.h"

#include <string>
#include <string_view>
#include <vector>

namespace {

using latcap::fuzz::Require;

// A sweep that is accepted has values that read back as numbers, no more
// rows than allowed, and its first and last values within its range.
void CheckSweep(std::string_view text)
{
    latcap::batch::Sweep sweep;
    std::string error;
    if (!latcap::batch::ParseSweep(text, sweep, error)) {
        Require(!error.empty(), "a refused sweep says why");
        return;
    }
    Require(sweep.count >= 1 && sweep.count <= latcap::batch::kMaxSweepRows, "a sweep has 1 to 10^7 rows");
    for (const std::size_t row : { std::size_t { 0 }, sweep.count / 2, sweep.count - 1 }) {
        const std::string value = sweep.Value(row);
        Require(latcap::ReadNumberText(value).whole, "every value is wholly a number", value);
    }
}

} // namespace

// The input is a command line's arguments, one a line: every one is tried
// as --vary, --set and --shard would take it, and the --vary ones together
// as a grid.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::vector<latcap::batch::Sweep> grid;
    std::size_t start = 0;
    while (start <= input.size()) {
        const std::size_t end = std::min(input.find('\n', start), input.size());
        const std::string_view argument = input.substr(start, end - start);
        CheckSweep(argument);
        latcap::batch::Sweep sweep;
        std::string error;
        if (grid.size() < latcap::batch::kMaxSweepKeys && latcap::batch::ParseSweep(argument, sweep, error))
            grid.push_back(sweep);
        latcap::batch::CaseSetting setting;
        latcap::batch::ParseSetting(argument, setting, error);
        latcap::batch::Shard shard;
        if (latcap::batch::ParseShard(argument, shard, error))
            Require(shard.First(1000) <= shard.Last(1000) && shard.Last(1000) <= 1000, "a shard lies in the rows");
        start = end + 1;
    }
    std::size_t rows = 0;
    if (latcap::batch::CountRows(grid, rows) && rows > 0)
        Require(latcap::batch::RowValues(grid, rows - 1).size() == grid.size(), "a grid row has a value per key");
    return 0;
}
