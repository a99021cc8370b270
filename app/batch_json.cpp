#include "batch_json.h"

#include "batch_study.h"

#include "NumberText.h"

#include <QJsonArray>

#include <cmath>

namespace latcap::batch {
namespace {

    QJsonValue Carried(float value) { return CarriedValue(value); }

    QJsonValue Read(const std::string& text) { return ReadNumber(text); }

    QJsonArray Strings(const std::vector<std::string>& texts)
    {
        QJsonArray array;
        for (const std::string& text : texts)
            array.append(QString::fromStdString(text));
        return array;
    }

} // namespace

float MaxMomentDepth(const AnalysisState& state)
{
    for (int i = 1; i <= std::min<int>(state.NoSlices, kMaxSlices); ++i) {
        if (state.Slice[static_cast<std::size_t>(i)].Moment == state.MaxMoment)
            return state.Slice[static_cast<std::size_t>(i)].Z;
    }
    return 0.0f;
}

float MaxShearDepth(const AnalysisState& state)
{
    for (int i = 1; i <= std::min<int>(state.NoSlices, kMaxSlices); ++i) {
        if (state.Slice[static_cast<std::size_t>(i)].Shear == state.MaxShear)
            return state.Slice[static_cast<std::size_t>(i)].Z;
    }
    return 0.0f;
}

QJsonObject CalculationJson(const Calculation& calc, const QString& casePath, bool slices)
{
    const InputTexts& in = calc.inputs;
    QJsonArray layers;
    for (int i = 0; i < calc.layerCount; ++i) {
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
    QJsonObject json {
        { QStringLiteral("case"), casePath },
        { QStringLiteral("command"), QString::fromLatin1(CommandName(calc.command)) },
        { QStringLiteral("inputs"),
            QJsonObject { { QStringLiteral("CSF"), Read(in.csf) }, { QStringLiteral("H"), Read(in.h) },
                { QStringLiteral("M"), Read(in.m) }, { QStringLiteral("L"), Read(in.l) },
                { QStringLiteral("layers"), layers } } },
        { QStringLiteral("converged"), calc.Converged() },
        { QStringLiteral("messages"), Strings(calc.messages) },
        { QStringLiteral("exitStatus"), calc.ExitStatus() },
    };
    if (!calc.HasResults())
        return json;

    const AnalysisState& state = *calc.state;
    const float answer = calc.command == Command::CalcL ? state.LCalc : static_cast<float>(double(state.CSF) * state.M);
    json.insert(QString::fromLatin1(AnswerKey(calc.command)), Carried(answer));
    json.insert(QStringLiteral("Zr"), Carried(state.Zr));
    json.insert(QStringLiteral("maxMoment"), Carried(ShownMaxMoment(state)));
    json.insert(QStringLiteral("maxMomentDepth"), Carried(MaxMomentDepth(state)));
    json.insert(QStringLiteral("maxShear"), Carried(ShownMaxShear(state)));
    json.insert(QStringLiteral("maxShearDepth"), Carried(MaxShearDepth(state)));
    json.insert(QStringLiteral("shown"), Strings(calc.OutputLines()));
    if (slices) {
        QJsonArray table;
        for (int i = 1; i <= std::min<int>(state.NoSlices, kMaxSlices); ++i) {
            const SliceType& s = state.Slice[static_cast<std::size_t>(i)];
            table.append(QJsonObject {
                { QStringLiteral("z"), Carried(s.Z) },
                { QStringLiteral("weightAbove"), Carried(s.WeightAbove) },
                { QStringLiteral("Kq"), Carried(s.Kq) },
                { QStringLiteral("Kc"), Carried(s.Kc) },
                { QStringLiteral("dz"), Carried(s.dZ) },
                { QStringLiteral("soilPressure"), Carried(s.SoilPressure) },
                { QStringLiteral("soilForce"), Carried(s.SoilForce) },
                { QStringLiteral("shear"), Carried(static_cast<float>(double(state.CSF) * s.Shear)) },
                { QStringLiteral("moment"), Carried(static_cast<float>(double(state.CSF) * s.Moment)) },
            });
        }
        json.insert(QStringLiteral("slices"), table);
    }
    return json;
}

} // namespace latcap::batch
