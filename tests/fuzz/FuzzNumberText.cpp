#include "FuzzCheck.h"
#include "NumberText.h"

#include <array>
#include <cmath>
#include <cstring>
#include <string_view>

namespace {

// Every mask the window, the details file, the tables and the lists use.
constexpr std::array<std::string_view, 8> kMasks { "##0.000", "###0.000", "####0.00", "#####0.0#", "#####0.0##",
    "###0.00", "##", "##0" };

void RequireEveryMaskShows(double value)
{
    if (!std::isfinite(value))
        return;
    for (std::string_view mask : kMasks)
        latcap::fuzz::RequireShows(
            latcap::FormatMask(value, mask), value, mask, mask.find('0') == std::string_view::npos);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double typed = latcap::ReadNumber(text);
    latcap::fuzz::Require(!std::isnan(typed), "a typed text never reads as NaN");
    RequireEveryMaskShows(typed);
    // What the engine stores is the single-precision value of the text.
    RequireEveryMaskShows(static_cast<double>(static_cast<float>(typed)));

    // The raw bytes taken as doubles reach values no text would give.
    for (std::size_t offset = 0; offset + sizeof(double) <= size; offset += sizeof(double)) {
        double value = 0;
        std::memcpy(&value, data + offset, sizeof value);
        RequireEveryMaskShows(value);
        RequireEveryMaskShows(static_cast<double>(static_cast<float>(value)));
    }
    return 0;
}
