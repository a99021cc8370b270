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

// The value as a double and as the engine stores it, in single precision.
void RequireEveryMaskShows(double value)
{
    for (double shown : { value, static_cast<double>(static_cast<float>(value)) }) {
        for (std::string_view mask : kMasks) {
            if (std::isfinite(shown))
                latcap::fuzz::RequireShows(
                    latcap::FormatMask(shown, mask), shown, mask, mask.find('0') == std::string_view::npos);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double typed = latcap::ReadNumber(text);
    latcap::fuzz::Require(!std::isnan(typed), "a typed text never reads as NaN");
    RequireEveryMaskShows(typed);

    // The raw bytes taken as doubles reach values no text would give.
    for (std::size_t offset = 0; offset + sizeof(double) <= size; offset += sizeof(double)) {
        double value = 0;
        std::memcpy(&value, data + offset, sizeof value);
        RequireEveryMaskShows(value);
    }
    return 0;
}
