#include "CaseFile.h"
#include "FuzzCheck.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace {

using latcap::fuzz::Require;

// A case that was read or set is one the window could show: one to five
// layers, chained as the rows chain them.
void RequireUsable(const latcap::Case& read)
{
    Require(read.layerCount >= 1 && read.layerCount <= latcap::kMaxLayers, "one to five layers");
    const latcap::InputTexts texts = latcap::CaseInputs(read, "0.5");
    Require(texts.layers[0].from == "0", "the first layer starts at the surface");
    for (std::size_t i = 1; i < latcap::kMaxLayers; ++i)
        Require(texts.layers[i].from == texts.layers[i - 1].to, "each layer starts at the bottom of the one above");
    Require(texts.layers[static_cast<std::size_t>(read.layerCount - 1)].to == "100", "the deepest layer ends at 100");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    latcap::Case read;
    std::string error;
    if (latcap::ReadCase(content, "fuzz.case", read, error)) {
        Require(error.empty(), "a case read leaves no error", error);
        RequireUsable(read);
    } else {
        Require(error.starts_with("fuzz.case:"), "a reading error names the file and line", error);
    }

    // The first line as the batch tool's "key=value" setting on the case.
    const std::string_view line = content.substr(0, content.find('\n'));
    const std::string_view key = line.substr(0, line.find('='));
    const std::string_view value = line.substr(std::min(line.size(), key.size() + 1));
    std::string keyError;
    Require(latcap::IsSingleNumberKey(key, keyError) || !keyError.empty(), "a key that is refused is explained");
    latcap::CaseKeyUnit(key);
    std::string setError;
    if (latcap::SetCaseValue(read, key, value, setError))
        RequireUsable(read);
    else
        Require(!setError.empty(), "a setting that is refused is explained");
    return 0;
}
