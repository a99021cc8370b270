#include "DesignCommands.h"

#include "CaseDocument.h"
#include "DesignCheck.h"
#include "Platform.h"

#include <QStringList>

namespace latcap {
namespace {

    QString Lines(const std::vector<std::string>& lines)
    {
        QStringList shown;
        for (const std::string& line : lines)
            shown.append(QString::fromStdString(line));
        return shown.join(QLatin1Char('\n'));
    }

    QString FactorsText(const FactorSet& set, const FactorCombination& governing)
    {
        const std::string inUse = FactorsInUse(set, governing);
        return inUse.empty() ? QString() : QStringLiteral("Factors: ") + QString::fromStdString(inUse);
    }

} // namespace

void EditDesignSettings(Platform& platform, QWidget* parent, CaseDocument& document)
{
    using Field = CaseDocument::Field;
    QStringList sets;
    for (const std::string& name : FactorSetNames())
        sets.append(QString::fromStdString(name));
    std::vector<Platform::FormField> fields { { QStringLiteral("Partial factors"), document.FactorSetText(), sets,
        QStringLiteral("EN 1997-1:2004 Annex A recommended values, or custom") } };
    for (std::size_t i = 0; i < std::size(kCustomFactorKeys); ++i) {
        QString label = QString::fromLatin1(kCustomFactorKeys[i]);
        label[0] = label[0].toUpper();
        fields.push_back({ label, document.CustomFactor(i), {}, QStringLiteral("With custom factors; 1 when empty") });
    }
    fields.push_back({ QStringLiteral("EI [kNm2]"), document.Text(Field::Ei), {},
        QStringLiteral("The pile's bending stiffness; with it the pile must be rigid") });
    fields.push_back({ QStringLiteral("nh [kN/m3]"), document.Text(Field::Nh), {},
        QStringLiteral("Modulus of subgrade reaction growing with depth (cohesionless soil)") });
    fields.push_back({ QStringLiteral("k [kN/m3]"), document.Text(Field::K), {},
        QStringLiteral("Modulus of subgrade reaction constant with depth (cohesive soil)") });
    if (!platform.editForm(parent, QStringLiteral("Design Settings"), fields))
        return;
    std::array<QString, 5> custom;
    for (std::size_t i = 0; i < custom.size(); ++i)
        custom[i] = fields[i + 1].value;
    document.SetFactors(fields[0].value, custom);
    document.SetText(Field::Ei, 0, fields[6].value);
    document.SetText(Field::Nh, 0, fields[7].value);
    document.SetText(Field::K, 0, fields[8].value);
}

void CheckDesign(Platform& platform, QWidget* parent, CaseDocument& document)
{
    const FactorSet factors = document.Factors();
    auto check = std::make_shared<const DesignCheck>(CheckDesign(document.Inputs(), factors));
    QString text;
    if (check->Status() == CalcStatus::NotEnoughData) {
        const std::string& reason = check->reason.empty() && check->atDepth ? check->atDepth->reason : check->reason;
        text = QStringLiteral("Not Enough Data\n") + QString::fromStdString(reason);
        check.reset();
    } else {
        text = check->judged ? Lines(CheckLines(*check)) : QStringLiteral("There are no numbers to judge.");
        if (const QString set = FactorsText(factors, check->factors); !set.isEmpty())
            text += QLatin1Char('\n') + set;
        if (const std::vector<std::string> messages = CheckMessages(*check); !messages.empty())
            text += QStringLiteral("\n\n") + Lines(messages);
    }
    document.SetLastCheck(check);
    platform.showMessage(parent, QStringLiteral("Design Check"), text, Platform::Buttons::Ok);
}

QString FactorsNote(const CaseDocument& document)
{
    if (const auto& check = document.LastCheck())
        return FactorsText(document.Factors(), check->factors);
    if (const auto& calc = document.LastCalculation())
        return FactorsText(document.Factors(), calc->factors);
    return {};
}

} // namespace latcap
