#include "batch_output.h"

#include "Broms.h"
#include "CaseFile.h"
#include "Diagrams.h"
#include "DisplayFormats.h"
#include "NumberText.h"
#include "Rigidity.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace latcap::batch {
namespace {

    // The shortest decimal text that reads back as the same float, as a
    // double: what a single-precision result carries, without the noise of
    // widening it.
    QJsonValue Carried(float value)
    {
        if (!std::isfinite(value))
            return double(value);
        char buffer[32];
        const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
        double widened = 0;
        std::from_chars(buffer, end, widened);
        return ec == std::errc() ? widened : double(value);
    }

    QJsonValue Read(const std::string& text) { return ReadNumber(text); }

    QJsonArray Strings(const std::vector<std::string>& texts)
    {
        QJsonArray array;
        for (const std::string& text : texts)
            array.append(QString::fromStdString(text));
        return array;
    }

    std::string Joined(const std::vector<std::string>& texts)
    {
        std::string out;
        for (const std::string& text : texts)
            out += (out.empty() ? "" : "; ") + text;
        return out;
    }

    // A CSV field, quoted when it holds a comma, a quote or a line break.
    std::string CsvField(const std::string& text)
    {
        if (text.find_first_of(",\"\r\n") == std::string::npos)
            return text;
        std::string quoted = "\"";
        for (const char c : text)
            quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
        return quoted + "\"";
    }

    std::string CsvJoined(const std::vector<std::string>& values)
    {
        std::string out;
        for (const std::string& value : values)
            out += (out.empty() ? "" : ",") + value;
        return out;
    }

    // The stiffness column of a sweep: the criteria, or why not checked;
    // empty without results.
    std::string StiffnessField(const Calculation& calc)
    {
        return calc.HasResults() ? CsvField(RigiditySummary(calc.rigidity)) : std::string();
    }

    // The rigidity of a calculation's pile when EI, nh or k is given.
    void InsertRigidity(QJsonObject& json, const Calculation& calc)
    {
        const InputTexts& in = calc.inputs;
        if (in.ei.empty() && in.nh.empty() && in.k.empty())
            return;
        const Rigidity& rigidity = calc.rigidity;
        QJsonObject object { { QStringLiteral("checked"), rigidity.checked } };
        if (!rigidity.checked) {
            object.insert(QStringLiteral("reason"), QString::fromStdString(RigiditySummary(rigidity)));
        } else {
            object.insert(QStringLiteral("EI"), Carried(rigidity.ei));
            object.insert(QStringLiteral("L"), Carried(static_cast<float>(rigidity.depth)));
            QJsonArray criteria;
            for (const StiffnessCriterion& c : rigidity.criteria) {
                QJsonObject criterion {
                    { QStringLiteral("criterion"), c.cohesive ? QStringLiteral("betaL") : QStringLiteral("etaL") },
                    { c.cohesive ? QStringLiteral("k") : QStringLiteral("nh"), Carried(c.modulus) },
                    { c.cohesive ? QStringLiteral("beta") : QStringLiteral("eta"), c.factor },
                    { QStringLiteral("value"), c.length },
                    { QStringLiteral("limit"), c.limit },
                    { QStringLiteral("holds"), c.Holds() },
                    { QStringLiteral("shown"), QString::fromStdString(CriterionText(c)) },
                };
                if (c.cohesive)
                    criterion.insert(QStringLiteral("D"), Carried(static_cast<float>(c.width)));
                criteria.append(criterion);
            }
            object.insert(QStringLiteral("criteria"), criteria);
            object.insert(QStringLiteral("rigid"), rigidity.Rigid());
        }
        json.insert(QStringLiteral("rigidity"), object);
    }

    // The varied keys as column heads, each with its unit.
    std::string KeyColumns(const std::vector<std::string>& keys)
    {
        std::vector<std::string> heads;
        for (const std::string& key : keys) {
            const std::string unit = CaseKeyUnit(key);
            heads.push_back(CsvField(key + (unit.empty() ? "" : " [" + unit + "]")));
        }
        return CsvJoined(heads);
    }

} // namespace

QJsonValue VariedJson(const std::vector<std::string>& keys, const std::vector<std::string>& values)
{
    QJsonArray varied;
    for (std::size_t i = 0; i < keys.size(); ++i)
        varied.append(QJsonObject { { QStringLiteral("key"), QString::fromStdString(keys[i]) },
            { QStringLiteral("value"), ReadNumber(values[i]) } });
    return varied.size() == 1 ? QJsonValue(varied.first()) : QJsonValue(varied);
}

std::string JsonArrayElement(const QJsonObject& object)
{
    const QByteArray text = QJsonDocument(object).toJson(QJsonDocument::Indented);
    std::string element;
    for (const QByteArray& line : text.split('\n')) {
        if (!line.isEmpty())
            element += (element.empty() ? "    " : "\n    ") + line.toStdString();
    }
    return element;
}

std::string SweepCsvHeader(Command command, const std::vector<std::string>& keys, bool factors, bool stiffness)
{
    return KeyColumns(keys) + "," + AnswerKey(command) + (command == Command::CalcL ? " [m]" : " [kNm]")
        + ",Zr [m],Moment [kNm],Shear [kN]," + (command == Command::CalcL ? "Broms L [m]" : "Broms M [kNm]")
        + (factors ? ",Factors" : "") + (stiffness ? ",Stiffness" : "") + ",Status,Messages";
}

std::string FactorsLine(const FactorSet& set, const FactorCombination& governing)
{
    return "Factors = " + FactorsInUse(set, governing);
}

std::vector<std::string> ErrorLines(const Calculation& calc)
{
    std::vector<std::string> lines = calc.messages;
    if (!calc.reason.empty())
        lines.push_back(calc.reason);
    return lines;
}

std::string CheckCsvHeader(const std::vector<std::string>& keys, bool factors, bool stiffness)
{
    return KeyColumns(keys) + ",Load factor,Hu [kN],e [m],Utilisation,L required [m],M carried [kNm],Verdict"
        + (factors ? ",Factors" : "") + (stiffness ? ",Stiffness" : "") + ",Status,Messages";
}

std::string CheckCsvRow(const std::vector<std::string>& values, const DesignCheck& check, bool factors, bool stiffness)
{
    std::string row = CsvJoined(values) + ",";
    if (check.judged) {
        const CheckTexts shown = ShownCheck(check);
        row += CsvJoined({ shown.loadFactor, shown.ultimateLoad, shown.loadHeight, shown.utilisation,
            check.depthRequired > 0 ? shown.depthRequired : std::string(), shown.momentCarried, shown.verdict });
    } else {
        row += ",,,,,,";
    }
    if (factors)
        row += "," + CsvField(check.factors.name);
    if (stiffness)
        row += "," + StiffnessField(*check.atDepth);
    return row + "," + StatusWord(check.Status()) + "," + CsvField(Joined(CheckMessages(check)));
}

namespace {

    QJsonObject FactorsJson(const FactorSet& set, const Calculation& calc)
    {
        const PartialFactors& f = calc.factors.factors;
        const double csf = ReadNumber(calc.given.csf);
        QJsonArray layers;
        for (int i = 0; i < calc.given.layerCount && i < kMaxLayers; ++i) {
            const LayerTexts& row = calc.inputs.layers[static_cast<std::size_t>(i)];
            layers.append(QJsonObject {
                { QStringLiteral("layer"), i + 1 },
                { QStringLiteral("unitWeight"), Read(row.gama) },
                { QStringLiteral("cohesion"), Read(row.c) },
                { QStringLiteral("frictionAngle"), Read(row.phi) },
                { QStringLiteral("strength"),
                    ReadNumber(calc.given.layers[static_cast<std::size_t>(i)].phi) == 0.0 ? QStringLiteral("cu")
                                                                                          : QStringLiteral("c'") },
            });
        }
        return QJsonObject {
            { QStringLiteral("set"), QString::fromStdString(set.name) },
            { QStringLiteral("combination"), QString::fromStdString(calc.factors.name) },
            { QStringLiteral("source"), QString::fromStdString(calc.factors.source) },
            { QStringLiteral("load"), f.load },
            { QStringLiteral("resistance"), f.resistance },
            { QStringLiteral("tanPhi"), f.tanPhi },
            { QStringLiteral("cohesion"), f.cohesion },
            { QStringLiteral("undrainedStrength"), f.undrained },
            { QStringLiteral("unitWeight"), f.unitWeight },
            { QStringLiteral("onLoads"), csf > 0 ? QJsonValue(f.OnLoads() / csf) : QJsonValue() },
            { QStringLiteral("design"), layers },
        };
    }

} // namespace

QJsonObject CheckJson(
    const DesignCheck& check, const FactorSet& factors, const QString& casePath, const std::string& title, bool slices)
{
    QJsonObject json {
        { QStringLiteral("case"), casePath },
        { QStringLiteral("title"), QString::fromStdString(title) },
        { QStringLiteral("command"), QStringLiteral("Check") },
        { QStringLiteral("calcM"), CalculationJson(*check.atDepth, casePath, title, slices) },
        { QStringLiteral("status"), QString::fromLatin1(StatusWord(check.Status())) },
        { QStringLiteral("messages"), Strings(CheckMessages(check)) },
        { QStringLiteral("exitStatus"), ExitStatus(check) },
    };
    if (!check.reason.empty())
        json.insert(QStringLiteral("reason"), QString::fromStdString(check.reason));
    if (!factors.None())
        json.insert(QStringLiteral("factors"), FactorsJson(factors, *check.atDepth));
    if (check.ultimate)
        json.insert(QStringLiteral("ultimate"), CalculationJson(*check.ultimate, casePath, title, slices));
    if (check.required)
        json.insert(QStringLiteral("required"), CalculationJson(*check.required, casePath, title, slices));
    if (check.judged) {
        json.insert(QStringLiteral("loadFactor"), check.loadFactor);
        json.insert(QStringLiteral("ultimateLoad"), check.ultimateLoad);
        json.insert(QStringLiteral("loadHeight"), check.loadHeight);
        json.insert(QStringLiteral("utilisation"), check.utilisation);
        json.insert(
            QStringLiteral("depthRequired"), check.depthRequired > 0 ? QJsonValue(check.depthRequired) : QJsonValue());
        json.insert(QStringLiteral("momentCarried"), Carried(check.atDepth->Answer()));
        json.insert(QStringLiteral("verdict"), QString::fromLatin1(VerdictWord(check)));
    }
    return json;
}

std::string SweepCsvRow(const std::vector<std::string>& values, const Calculation& calc, bool factors, bool stiffness)
{
    std::string row = CsvJoined(values) + ",";
    if (calc.HasResults()) {
        const AnalysisState& state = *calc.state;
        row += FormatMask(calc.Answer(), calc.command == Command::CalcL ? mask::kDepth : mask::kMoment) + ","
            + FormatMask(state.Zr, mask::kZr) + "," + FormatMask(ShownMaxMoment(state), mask::kLargest) + ","
            + FormatMask(ShownMaxShear(state), mask::kLargest);
    } else {
        row += ",,,";
    }
    const BromsResult broms = BromsCrossCheck(calc);
    row += ",";
    if (broms.applicable)
        row += calc.command == Command::CalcL ? FormatMask(broms.depth, mask::kDepth)
                                              : FormatMask(broms.moment, mask::kMoment);
    if (factors)
        row += "," + CsvField(calc.factors.name);
    if (stiffness)
        row += "," + StiffnessField(calc);
    return row + "," + StatusWord(calc.Status()) + "," + CsvField(Joined(ErrorLines(calc)));
}

QJsonObject CalculationJson(
    const Calculation& calc, const QString& casePath, const std::string& title, bool slices, const FactorSet* factors)
{
    const InputTexts& in = calc.given;
    QJsonArray layers;
    for (int i = 0; i < calc.given.layerCount; ++i) {
        const LayerTexts& row = in.layers[static_cast<std::size_t>(i)];
        layers.append(QJsonObject {
            { QStringLiteral("layer"), i + 1 },
            { QStringLiteral("top"), Read(row.from) },
            { QStringLiteral("bottom"), Read(row.to) },
            { QStringLiteral("unitWeight"), Read(row.gama) },
            { QStringLiteral("cohesion"), Read(row.c) },
            { QStringLiteral("frictionAngle"), Read(row.phi) },
            { QStringLiteral("width"), Read(row.d) },
        });
    }
    QJsonObject inputs { { QStringLiteral("CSF"), Read(in.csf) }, { QStringLiteral("H"), Read(in.h) },
        { QStringLiteral("M"), Read(in.m) }, { QStringLiteral("L"), Read(in.l) },
        { QStringLiteral("layers"), layers } };
    for (const auto& [name, text] : { std::pair { "EI", &in.ei }, { "nh", &in.nh }, { "k", &in.k } }) {
        if (!text->empty())
            inputs.insert(QString::fromLatin1(name), Read(*text));
    }
    QJsonObject json {
        { QStringLiteral("case"), casePath },
        { QStringLiteral("title"), QString::fromStdString(title) },
        { QStringLiteral("command"), QString::fromLatin1(CommandName(calc.command)) },
        { QStringLiteral("inputs"), inputs },
        { QStringLiteral("status"), QString::fromLatin1(StatusWord(calc.Status())) },
        { QStringLiteral("messages"), Strings(calc.messages) },
        { QStringLiteral("exitStatus"), ExitStatus(calc) },
    };
    if (!calc.reason.empty())
        json.insert(QStringLiteral("reason"), QString::fromStdString(calc.reason));
    if (factors && !factors->None())
        json.insert(QStringLiteral("factors"), FactorsJson(*factors, calc));
    if (!calc.HasResults())
        return json;

    const AnalysisState& state = *calc.state;
    json.insert(QString::fromLatin1(AnswerKey(calc.command)), Carried(calc.Answer()));
    json.insert(QStringLiteral("Zr"), Carried(state.Zr));
    json.insert(QStringLiteral("maxMoment"), Carried(ShownMaxMoment(state)));
    json.insert(QStringLiteral("maxMomentDepth"), Carried(MaxMomentDepth(state)));
    json.insert(QStringLiteral("maxShear"), Carried(ShownMaxShear(state)));
    json.insert(QStringLiteral("maxShearDepth"), Carried(MaxShearDepth(state)));
    json.insert(QStringLiteral("shown"), Strings(calc.OutputLines()));
    const BromsResult broms = BromsCrossCheck(calc);
    QJsonObject cross { { QStringLiteral("applicable"), broms.applicable } };
    if (broms.applicable) {
        if (calc.command == Command::CalcL)
            cross.insert(QStringLiteral("L"), Carried(broms.depth));
        else
            cross.insert(QStringLiteral("M"), Carried(static_cast<float>(broms.moment)));
        cross.insert(QStringLiteral("maxMoment"), Carried(static_cast<float>(broms.maxMoment)));
    } else {
        cross.insert(QStringLiteral("reason"), QString::fromStdString(broms.reason));
    }
    json.insert(QStringLiteral("broms"), cross);
    InsertRigidity(json, calc);
    if (slices) {
        QJsonArray table;
        for (const SliceType& s : Slices(state)) {
            table.append(QJsonObject {
                { QStringLiteral("z"), Carried(s.Z) },
                { QStringLiteral("weightAbove"), Carried(s.WeightAbove) },
                { QStringLiteral("Kq"), Carried(s.Kq) },
                { QStringLiteral("Kc"), Carried(s.Kc) },
                { QStringLiteral("dz"), Carried(s.dZ) },
                { QStringLiteral("soilPressure"), Carried(s.SoilPressure) },
                { QStringLiteral("soilForce"), Carried(s.SoilForce) },
                { QStringLiteral("shear"), Carried(ShownShear(state, s)) },
                { QStringLiteral("moment"), Carried(ShownMoment(state, s)) },
            });
        }
        json.insert(QStringLiteral("slices"), table);
    }
    return json;
}

void PrintJson(std::ostream& out, const QJsonValue& value)
{
    const QJsonDocument document = value.isArray() ? QJsonDocument(value.toArray()) : QJsonDocument(value.toObject());
    out << document.toJson(QJsonDocument::Indented).toStdString();
}

} // namespace latcap::batch
