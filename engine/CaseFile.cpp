#include "CaseFile.h"

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

namespace latcap {
namespace {

    constexpr int kLayerFields = 5;

    bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

    std::string_view Trim(std::string_view text)
    {
        while (!text.empty() && IsBlank(text.front()))
            text.remove_prefix(1);
        while (!text.empty() && IsBlank(text.back()))
            text.remove_suffix(1);
        return text;
    }

    // Lower case with every run of blanks made one space, so that "Layer  2" and
    // "layer 2" name the same line.
    std::string NormalKey(std::string_view key)
    {
        std::string out;
        bool blank = false;
        for (const char c : Trim(key)) {
            if (IsBlank(c)) {
                blank = true;
                continue;
            }
            if (blank)
                out += ' ';
            blank = false;
            out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        return out;
    }

    enum class KeyKind { Title, Csf, H, M, L, Layers, Layer, LayerField };

    struct KeyRef {
        KeyKind kind = KeyKind::Csf;
        int layer = 0; // 1 to 5 for a layer line or field
        int field = 0; // index into the five layer fields
    };

    bool operator<(const KeyRef& a, const KeyRef& b)
    {
        return std::tie(a.kind, a.layer, a.field) < std::tie(b.kind, b.layer, b.field);
    }

    constexpr const char* kFieldNames[kLayerFields]
        = { "bottom", "unit weight", "cohesion", "friction angle", "width" };

    int FieldIndex(const std::string& name)
    {
        static const std::pair<const char*, int> names[] = {
            { "bottom", 0 },
            { "unit weight", 1 },
            { "gamma", 1 },
            { "cohesion", 2 },
            { "c", 2 },
            { "friction angle", 3 },
            { "phi", 3 },
            { "width", 4 },
            { "d", 4 },
        };
        for (const auto& [text, index] : names) {
            if (name == text)
                return index;
        }
        return -1;
    }

    std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

    bool ParseKey(std::string_view raw, bool allowField, KeyRef& ref, std::string& error)
    {
        const std::string key = NormalKey(raw);
        if (key.empty()) {
            error = "a key is missing before \"=\"";
            return false;
        }
        static const std::pair<const char*, KeyKind> plain[] = {
            { "title", KeyKind::Title },
            { "csf", KeyKind::Csf },
            { "h", KeyKind::H },
            { "m", KeyKind::M },
            { "l", KeyKind::L },
            { "layers", KeyKind::Layers },
        };
        for (const auto& [text, kind] : plain) {
            if (key == text) {
                ref = { kind, 0, 0 };
                return true;
            }
        }
        const std::string_view prefix = "layer";
        if (key.rfind(prefix, 0) != 0) {
            error = "unknown key " + Quoted(Trim(raw));
            return false;
        }
        std::string_view rest = Trim(std::string_view(key).substr(prefix.size()));
        std::size_t digits = 0;
        while (digits < rest.size() && std::isdigit(static_cast<unsigned char>(rest[digits])))
            ++digits;
        if (digits == 0) {
            error = "unknown key " + Quoted(Trim(raw));
            return false;
        }
        const std::string_view number = rest.substr(0, digits);
        rest = Trim(rest.substr(digits));
        if (number.size() > 1 || number[0] < '1' || number[0] > '5') {
            error = "layer number " + std::string(number) + " is outside 1 to 5";
            return false;
        }
        ref.layer = number[0] - '0';
        if (rest.empty()) {
            ref.kind = KeyKind::Layer;
            return true;
        }
        if (!allowField || rest.front() != '.') {
            error = "unknown key " + Quoted(Trim(raw));
            return false;
        }
        const std::string field(Trim(rest.substr(1)));
        ref.field = FieldIndex(field);
        if (ref.field < 0) {
            error = "unknown layer field " + Quoted(field)
                + " (use bottom, unit weight or gamma, cohesion, friction angle or phi, width)";
            return false;
        }
        ref.kind = KeyKind::LayerField;
        return true;
    }

    std::string* FieldOf(CaseLayer& layer, int field)
    {
        switch (field) {
        case 0:
            return &layer.bottom;
        case 1:
            return &layer.unitWeight;
        case 2:
            return &layer.cohesion;
        case 3:
            return &layer.frictionAngle;
        default:
            return &layer.width;
        }
    }

    bool Apply(Case& result, const KeyRef& ref, std::string_view rawValue, std::string& error)
    {
        const std::string value(Trim(rawValue));
        switch (ref.kind) {
        case KeyKind::Title:
            result.title = value;
            return true;
        case KeyKind::Csf:
            result.csf = value;
            return true;
        case KeyKind::H:
            result.h = value;
            return true;
        case KeyKind::M:
            result.m = value;
            return true;
        case KeyKind::L:
            result.l = value;
            return true;
        case KeyKind::Layers:
            if (value.size() != 1 || value[0] < '1' || value[0] > '5') {
                error = "layers must be a whole number from 1 to 5, not " + Quoted(value);
                return false;
            }
            result.layerCount = value[0] - '0';
            return true;
        case KeyKind::Layer: {
            std::vector<std::string> fields;
            std::size_t start = 0;
            while (true) {
                const std::size_t comma = value.find(',', start);
                fields.emplace_back(Trim(std::string_view(value).substr(start, comma - start)));
                if (comma == std::string::npos)
                    break;
                start = comma + 1;
            }
            if (fields.size() != kLayerFields) {
                error = "layer " + std::to_string(ref.layer) + " has " + std::to_string(fields.size())
                    + (fields.size() == 1 ? " field" : " fields")
                    + " but needs 5: bottom, unit weight, cohesion, friction angle, width";
                return false;
            }
            CaseLayer& layer = result.layers[static_cast<std::size_t>(ref.layer - 1)];
            for (int i = 0; i < kLayerFields; ++i)
                *FieldOf(layer, i) = std::move(fields[static_cast<std::size_t>(i)]);
            return true;
        }
        case KeyKind::LayerField:
            *FieldOf(result.layers[static_cast<std::size_t>(ref.layer - 1)], ref.field) = value;
            return true;
        }
        return false;
    }

} // namespace

bool ReadCase(std::string_view content, std::string_view fileName, Case& result, std::string& error)
{
    result = Case {};
    if (content.substr(0, 3) == "\xEF\xBB\xBF")
        content.remove_prefix(3);
    std::set<KeyRef> seen;
    int lineNumber = 0;
    std::size_t start = 0;
    while (start < content.size()) {
        ++lineNumber;
        const std::size_t end = std::min(content.find('\n', start), content.size());
        std::string_view line = content.substr(start, end - start);
        start = end + 1;
        auto fail = [&](const std::string& what) {
            error = std::string(fileName) + ":" + std::to_string(lineNumber) + ": " + what;
            return false;
        };
        line = Trim(line.substr(0, line.find('#')));
        if (line.empty())
            continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            return fail("expected \"key = value\", found " + Quoted(line));
        KeyRef ref;
        std::string what;
        if (!ParseKey(line.substr(0, equals), false, ref, what))
            return fail(what);
        if (!seen.insert(ref).second)
            return fail("duplicate key " + Quoted(Trim(line.substr(0, equals))));
        if (!Apply(result, ref, line.substr(equals + 1), what))
            return fail(what);
    }
    return true;
}

bool SetCaseValue(Case& result, std::string_view key, std::string_view value, std::string& error)
{
    KeyRef ref;
    return ParseKey(key, true, ref, error) && Apply(result, ref, value, error);
}

bool IsSingleNumberKey(std::string_view key, std::string& error)
{
    KeyRef ref;
    if (!ParseKey(key, true, ref, error))
        return false;
    if (ref.kind == KeyKind::Layer) {
        error = Quoted(Trim(key)) + " holds five values; name one of them, e.g. \"layer " + std::to_string(ref.layer)
            + "." + kFieldNames[2] + "\"";
        return false;
    }
    return true;
}

std::string CaseKeyUnit(std::string_view key)
{
    static const char* const fieldUnits[kLayerFields] = { "m", "kN/m3", "kPa", "deg", "m" };
    KeyRef ref;
    std::string error;
    if (!ParseKey(key, true, ref, error))
        return {};
    switch (ref.kind) {
    case KeyKind::H:
        return "kN";
    case KeyKind::M:
        return "kNm";
    case KeyKind::L:
        return "m";
    case KeyKind::LayerField:
        return fieldUnits[ref.field];
    default:
        return {};
    }
}

InputTexts CaseInputs(const Case& source, std::string_view defaultCsf)
{
    InputTexts texts;
    texts.csf = source.csf ? *source.csf : std::string(defaultCsf);
    texts.h = source.h;
    texts.m = source.m;
    texts.l = source.l;
    std::string top = "0";
    for (int i = 0; i < kMaxLayers; ++i) {
        const CaseLayer& given = source.layers[static_cast<std::size_t>(i)];
        LayerTexts& row = texts.layers[static_cast<std::size_t>(i)];
        row.from = top;
        row.to = i == source.layerCount - 1 ? "100" : given.bottom;
        row.gama = given.unitWeight;
        row.c = given.cohesion;
        row.phi = given.frictionAngle;
        row.d = given.width;
        top = row.to;
    }
    return texts;
}

} // namespace latcap
