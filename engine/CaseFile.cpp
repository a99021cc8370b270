#include "CaseFile.h"

#include "DesignFactors.h"
#include "NumberText.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstddef>
#include <set>
#include <sstream>
#include <tuple>
#include <utility>
#include <vector>

namespace latcap {
namespace {

    constexpr int kLayerFields = 5;

    // Keys in any case and spacing name the same line.
    std::string NormalKey(std::string_view key) { return NormalText(key); }

    enum class KeyKind { Title, Job, Csf, H, M, L, Stiffness, Layers, Layer, LayerField, Factors, CustomFactor };

    struct KeyRef {
        KeyKind kind = KeyKind::Csf;
        int layer = 0; // 1 to 5 for a layer line or field
        int field = 0; // index into the five layer fields, or the job details
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

    std::string Quoted(std::string_view text) { return QuotedText(text); }

    constexpr const char* kJobNames[] = { "Project", "Job", "Client", "Engineer", "Checker", "Revision" };

    // The keys of the pile's stiffness, as written and as CaseKeyName names them.
    constexpr const char* kStiffnessNames[] = { "EI", "nh", "k" };
    constexpr const char* kStiffnessKeys[] = { "ei", "nh", "k" };
    constexpr const char* kStiffnessUnits[] = { "kNm2", "kN/m3", "kN/m3" };

    std::array<std::string*, 3> StiffnessFields(Case& source) { return { &source.ei, &source.nh, &source.k }; }

    std::array<std::string*, 6> JobFields(JobDetails& job)
    {
        return { &job.project, &job.job, &job.client, &job.engineer, &job.checker, &job.revision };
    }

    std::string LayerFieldName(int layer, int field)
    {
        return "layer " + std::to_string(layer) + "." + kFieldNames[field];
    }

    bool ParseKey(std::string_view raw, bool allowField, KeyRef& ref, std::string& error)
    {
        const std::string key = NormalKey(raw);
        if (key.empty()) {
            error = "a key is missing before \"=\"";
            return false;
        }
        static const std::tuple<const char*, KeyKind, int> plain[] = {
            { "title", KeyKind::Title, 0 },
            { "project", KeyKind::Job, 0 },
            { "job", KeyKind::Job, 1 },
            { "client", KeyKind::Job, 2 },
            { "engineer", KeyKind::Job, 3 },
            { "checker", KeyKind::Job, 4 },
            { "revision", KeyKind::Job, 5 },
            { "csf", KeyKind::Csf, 0 },
            { "h", KeyKind::H, 0 },
            { "m", KeyKind::M, 0 },
            { "l", KeyKind::L, 0 },
            { "ei", KeyKind::Stiffness, 0 },
            { "nh", KeyKind::Stiffness, 1 },
            { "k", KeyKind::Stiffness, 2 },
            { "layers", KeyKind::Layers, 0 },
            { "factors", KeyKind::Factors, 0 },
            { kCustomFactorKeys[0], KeyKind::CustomFactor, 0 },
            { kCustomFactorKeys[1], KeyKind::CustomFactor, 1 },
            { kCustomFactorKeys[2], KeyKind::CustomFactor, 2 },
            { kCustomFactorKeys[3], KeyKind::CustomFactor, 3 },
            { kCustomFactorKeys[4], KeyKind::CustomFactor, 4 },
        };
        for (const auto& [text, kind, field] : plain) {
            if (key == text) {
                ref = { kind, 0, field };
                return true;
            }
        }
        const std::string_view prefix = "layer";
        if (key.rfind(prefix, 0) != 0) {
            error = "unknown key " + Quoted(TrimBlanks(raw));
            return false;
        }
        std::string_view rest = TrimBlanks(std::string_view(key).substr(prefix.size()));
        std::size_t digits = 0;
        while (digits < rest.size() && std::isdigit(static_cast<unsigned char>(rest[digits])))
            ++digits;
        if (digits == 0) {
            error = "unknown key " + Quoted(TrimBlanks(raw));
            return false;
        }
        const std::string_view number = rest.substr(0, digits);
        rest = TrimBlanks(rest.substr(digits));
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
            error = "unknown key " + Quoted(TrimBlanks(raw));
            return false;
        }
        const std::string field(TrimBlanks(rest.substr(1)));
        ref.field = FieldIndex(field);
        if (ref.field < 0) {
            error = "unknown layer field " + Quoted(field)
                + " (use bottom, unit weight or gamma, cohesion, friction angle or phi, width)";
            return false;
        }
        ref.kind = KeyKind::LayerField;
        return true;
    }

    std::string* FieldOf(LayerTexts& layer, int field)
    {
        switch (field) {
        case 0:
            return &layer.to;
        case 1:
            return &layer.gama;
        case 2:
            return &layer.c;
        case 3:
            return &layer.phi;
        default:
            return &layer.d;
        }
    }

    // A value as written: trimmed, or the text between double quotes, where
    // "" stands for one quote, so that any text survives a save and a read.
    bool Unquote(std::string_view raw, std::string& value, std::string& error)
    {
        raw = TrimBlanks(raw);
        if (raw.empty() || raw.front() != '"') {
            value = std::string(raw);
            return true;
        }
        value.clear();
        for (std::size_t i = 1; i < raw.size(); ++i) {
            if (raw[i] != '"') {
                value += raw[i];
            } else if (i + 1 < raw.size() && raw[i + 1] == '"') {
                value += '"';
                ++i;
            } else if (i + 1 == raw.size()) {
                return true;
            } else {
                error = "text after the closing quote of " + Quoted(value);
                return false;
            }
        }
        error = "a quote is not closed";
        return false;
    }

    // Where c first stands outside a quoted value, or npos. A value is quoted
    // when it starts, blanks aside, with a double quote: at the start of the
    // text, after the '=' or after a comma.
    std::size_t FindUnquoted(std::string_view text, char c)
    {
        bool valueStart = true;
        bool quoted = false;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char ch = text[i];
            if (quoted) {
                if (ch == '"' && i + 1 < text.size() && text[i + 1] == '"')
                    ++i;
                else if (ch == '"')
                    quoted = false;
            } else if (ch == c) {
                return i;
            } else if (ch == '"' && valueStart) {
                quoted = true;
                valueStart = false;
            } else if (ch == '=' || ch == ',') {
                valueStart = true;
            } else if (!IsBlank(ch)) {
                valueStart = false;
            }
        }
        return std::string_view::npos;
    }

    std::vector<std::string_view> SplitFields(std::string_view value)
    {
        std::vector<std::string_view> fields;
        for (std::size_t comma = FindUnquoted(value, ','); comma != std::string_view::npos;
             comma = FindUnquoted(value, ',')) {
            fields.push_back(value.substr(0, comma));
            value.remove_prefix(comma + 1);
        }
        fields.push_back(value);
        return fields;
    }

    bool CheckNumber(const std::string& name, const std::string& value, CaseNumbers numbers, std::string& error)
    {
        if (numbers == CaseNumbers::AsTyped)
            return true;
        const NumberReading reading = ReadNumberText(value);
        if (reading.empty || reading.whole)
            return true;
        error = name + " = " + Quoted(value) + " is not a number";
        return false;
    }

    bool Apply(Case& result, const KeyRef& ref, std::string_view rawValue, CaseNumbers numbers, std::string& error)
    {
        std::string value;
        if (ref.kind != KeyKind::Layer && !Unquote(rawValue, value, error))
            return false;
        switch (ref.kind) {
        case KeyKind::Title:
            result.title = ValidUtf8Text(value);
            return true;
        case KeyKind::Job:
            *JobFields(result.job)[static_cast<std::size_t>(ref.field)] = ValidUtf8Text(value);
            return true;
        case KeyKind::Csf:
            result.csf = value;
            return CheckNumber("CSF", value, numbers, error);
        case KeyKind::H:
            result.h = value;
            return CheckNumber("H", value, numbers, error);
        case KeyKind::M:
            result.m = value;
            return CheckNumber("M", value, numbers, error);
        case KeyKind::L:
            result.l = value;
            return CheckNumber("L", value, numbers, error);
        case KeyKind::Stiffness:
            *StiffnessFields(result)[static_cast<std::size_t>(ref.field)] = value;
            return CheckNumber(kStiffnessNames[ref.field], value, numbers, error);
        case KeyKind::Layers:
            if (value.size() != 1 || value[0] < '1' || value[0] > '5') {
                error = "layers must be a whole number from 1 to 5, not " + Quoted(value);
                return false;
            }
            result.layerCount = value[0] - '0';
            return true;
        case KeyKind::Layer: {
            const std::vector<std::string_view> raw = SplitFields(rawValue);
            std::vector<std::string> fields(raw.size());
            for (std::size_t i = 0; i < raw.size(); ++i) {
                if (!Unquote(raw[i], fields[i], error))
                    return false;
            }
            if (fields.size() != kLayerFields) {
                error = "layer " + std::to_string(ref.layer) + " has " + std::to_string(fields.size())
                    + (fields.size() == 1 ? " field" : " fields")
                    + " but needs 5: bottom, unit weight, cohesion, friction angle, width";
                return false;
            }
            LayerTexts& layer = result.layers[static_cast<std::size_t>(ref.layer - 1)];
            result.layerGiven[static_cast<std::size_t>(ref.layer - 1)] = true;
            for (int i = 0; i < kLayerFields; ++i) {
                *FieldOf(layer, i) = fields[static_cast<std::size_t>(i)];
                if (!CheckNumber(LayerFieldName(ref.layer, i), fields[static_cast<std::size_t>(i)], numbers, error))
                    return false;
            }
            return true;
        }
        case KeyKind::Factors: {
            const std::string name = FactorSetName(value);
            if (name.empty()) {
                std::string names;
                for (const std::string& known : FactorSetNames())
                    names += (names.empty() ? "" : ", ") + known;
                error = "factors = " + Quoted(value) + " is no set of factors (" + names + ")";
                return false;
            }
            result.factors = name;
            return true;
        }
        case KeyKind::CustomFactor:
            result.customFactors[static_cast<std::size_t>(ref.field)] = value;
            return CheckNumber(kCustomFactorKeys[ref.field], value, numbers, error);
        case KeyKind::LayerField:
            result.layerGiven[static_cast<std::size_t>(ref.layer - 1)] = true;
            *FieldOf(result.layers[static_cast<std::size_t>(ref.layer - 1)], ref.field) = value;
            return CheckNumber(LayerFieldName(ref.layer, ref.field), value, numbers, error);
        }
        return false;
    }

} // namespace

bool ReadCase(
    std::string_view content, std::string_view fileName, Case& result, std::string& error, CaseNumbers numbers)
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
        line = TrimBlanks(line.substr(0, FindUnquoted(line, '#')));
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
            return fail("duplicate key " + Quoted(TrimBlanks(line.substr(0, equals))));
        if (!Apply(result, ref, line.substr(equals + 1), numbers, what))
            return fail(what);
    }
    return true;
}

bool SetCaseValue(Case& result, std::string_view key, std::string_view value, std::string& error, CaseNumbers numbers)
{
    KeyRef ref;
    return ParseKey(key, true, ref, error) && Apply(result, ref, value, numbers, error);
}

bool IsSingleNumberKey(std::string_view key, std::string& error)
{
    KeyRef ref;
    if (!ParseKey(key, true, ref, error))
        return false;
    if (ref.kind == KeyKind::Layer) {
        error = Quoted(TrimBlanks(key)) + " holds five values; name one of them, e.g. \"layer "
            + std::to_string(ref.layer) + "." + kFieldNames[2] + "\"";
        return false;
    }
    return true;
}

std::string CaseKeyName(std::string_view key)
{
    KeyRef ref;
    std::string error;
    if (!ParseKey(key, true, ref, error))
        return {};
    switch (ref.kind) {
    case KeyKind::Title:
        return "title";
    case KeyKind::Job:
        return NormalKey(kJobNames[ref.field]);
    case KeyKind::Csf:
        return "csf";
    case KeyKind::H:
        return "h";
    case KeyKind::M:
        return "m";
    case KeyKind::L:
        return "l";
    case KeyKind::Stiffness:
        return kStiffnessKeys[ref.field];
    case KeyKind::Layers:
        return "layers";
    case KeyKind::Layer:
        return "layer " + std::to_string(ref.layer);
    case KeyKind::Factors:
        return "factors";
    case KeyKind::CustomFactor:
        return kCustomFactorKeys[ref.field];
    case KeyKind::LayerField:
        break;
    }
    return LayerFieldName(ref.layer, ref.field);
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
    case KeyKind::Stiffness:
        return kStiffnessUnits[ref.field];
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
    texts.ei = source.ei;
    texts.nh = source.nh;
    texts.k = source.k;
    texts.layerCount = source.layerCount;
    texts.layers = source.layers;
    std::string top = "0";
    for (int i = 0; i < kMaxLayers; ++i) {
        LayerTexts& row = texts.layers[static_cast<std::size_t>(i)];
        row.from = top;
        if (i == source.layerCount - 1)
            row.to = "100";
        top = row.to;
    }
    return texts;
}

namespace {

    // A value as it must be written to read back the same: quoted when it
    // holds a quote, a comment mark, a comma or blanks at either end.
    std::string Written(const std::string& value)
    {
        const bool plain = value.find_first_of("\"#,") == std::string::npos
            && (value.empty() || (!IsBlank(value.front()) && !IsBlank(value.back())));
        if (plain)
            return value;
        std::string out = "\"";
        for (const char c : value) {
            out += c;
            if (c == '"')
                out += '"';
        }
        return out + "\"";
    }

} // namespace

bool JobDetails::Empty() const
{
    const auto named = Named();
    return std::all_of(named.begin(), named.end(), [](const auto& detail) { return detail.second.empty(); });
}

std::vector<std::pair<std::string, std::string>> JobDetails::Named() const
{
    JobDetails copy = *this;
    std::vector<std::pair<std::string, std::string>> named;
    const auto fields = JobFields(copy);
    for (std::size_t i = 0; i < fields.size(); ++i)
        named.emplace_back(kJobNames[i], *fields[i]);
    return named;
}

std::string WriteCase(const Case& source, const std::vector<std::string>& comments)
{
    std::ostringstream out;
    const auto line = [&out](const std::string& key, const std::string& value) {
        out << key << " =" << (value.empty() ? "" : " ") << value << "\n";
    };
    line("title", Written(source.title));
    for (const auto& [name, value] : source.job.Named()) {
        if (!value.empty())
            line(NormalKey(name), Written(value));
    }
    if (source.csf)
        line("CSF", Written(*source.csf));
    line("H", Written(source.h));
    line("M", Written(source.m));
    line("L", Written(source.l));
    Case copy = source;
    const auto stiffness = StiffnessFields(copy);
    for (std::size_t i = 0; i < stiffness.size(); ++i) {
        if (!stiffness[i]->empty())
            line(kStiffnessNames[i], Written(*stiffness[i]));
    }
    if (source.factors)
        line("factors", Written(*source.factors));
    for (std::size_t i = 0; i < source.customFactors.size(); ++i) {
        if (source.customFactors[i])
            line(kCustomFactorKeys[i], Written(*source.customFactors[i]));
    }
    line("layers", std::to_string(source.layerCount));
    out << "# layer N = bottom [m], unit weight [kN/m3], cohesion [kPa], friction angle [deg], width [m]\n";
    for (int i = 0; i < kMaxLayers; ++i) {
        const LayerTexts& layer = source.layers[static_cast<std::size_t>(i)];
        if (i >= source.layerCount && !source.layerGiven[static_cast<std::size_t>(i)])
            continue;
        out << "layer " << i + 1 << " = " << Written(layer.to) << ", " << Written(layer.gama) << ", "
            << Written(layer.c) << ", " << Written(layer.phi) << ", " << Written(layer.d) << "\n";
    }
    for (const std::string& comment : comments)
        out << "# " << comment << "\n";
    return out.str();
}

} // namespace latcap
