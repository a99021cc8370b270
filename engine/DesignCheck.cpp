#include "DesignCheck.h"

#include "DisplayFormats.h"
#include "NumberText.h"

namespace latcap {

DesignCheck CheckDesign(const InputTexts& inputs, int layerCount)
{
    DesignCheck check;
    check.atDepth = std::make_shared<const Calculation>(Calculate(Command::CalcM, inputs, layerCount));
    check.forLoads = std::make_shared<const Calculation>(Calculate(Command::CalcL, inputs, layerCount));
    check.designMoment = ReadNumber(inputs.m);
    check.judged = check.atDepth->HasResults() && check.forLoads->HasResults();
    if (!check.judged)
        return check;
    // The figures as shown, so that the check can be followed from them.
    check.momentCarried = ReadNumber(check.atDepth->outcome.answer);
    check.depthRequired = ReadNumber(check.forLoads->outcome.answer);
    check.hasUtilisation = check.momentCarried > 0;
    if (check.hasUtilisation)
        check.utilisation = check.designMoment / check.momentCarried;
    check.ok = check.hasUtilisation && check.utilisation <= 1.0 && check.atDepth->Status() == CalcStatus::Converged
        && check.forLoads->Status() == CalcStatus::Converged;
    return check;
}

const char* VerdictWord(const DesignCheck& check) { return check.ok ? "OK" : "NOT OK"; }

std::vector<std::string> CheckLines(const DesignCheck& check)
{
    if (!check.judged)
        return {};
    return { "Moment carried = " + check.atDepth->outcome.answer + " kNm",
        "Depth required = " + check.forLoads->outcome.answer + " m",
        "Utilisation = " + (check.hasUtilisation ? FormatMask(check.utilisation, mask::kRatio) : std::string("-")),
        std::string("Verdict = ") + VerdictWord(check) };
}

} // namespace latcap
