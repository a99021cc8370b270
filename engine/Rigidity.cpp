#include "Rigidity.h"

#include "DisplayFormats.h"
#include "NumberText.h"

#include <algorithm>
#include <cmath>

namespace latcap {

bool Rigidity::Rigid() const
{
    return std::all_of(criteria.begin(), criteria.end(), [](const StiffnessCriterion& c) { return c.Holds(); });
}

Rigidity JudgeRigidity(const InputTexts& inputs, const AnalysisState& state, float depth)
{
    Rigidity rigidity;
    const NumberReading ei = ReadNumberText(inputs.ei);
    if (ei.empty)
        return rigidity;
    rigidity.ei = static_cast<float>(ei.value);
    rigidity.depth = depth;
    // The widest pile the soil meets: layer 1 and every layer above the toe.
    double width = state.Layer[1].D;
    for (int i = 2; i <= std::min<int>(state.NoLayers, kMaxLayers); ++i) {
        const LayerType& layer = state.Layer[static_cast<std::size_t>(i)];
        if (layer.ZFrom < depth)
            width = std::max(width, double(layer.D));
    }
    for (const bool cohesive : { true, false }) {
        const NumberReading modulus = ReadNumberText(cohesive ? inputs.k : inputs.nh);
        if (modulus.empty)
            continue;
        StiffnessCriterion criterion;
        criterion.cohesive = cohesive;
        criterion.modulus = static_cast<float>(modulus.value);
        if (cohesive) {
            criterion.width = width;
            criterion.factor = std::pow(double(criterion.modulus) * width / (4.0 * double(rigidity.ei)), 0.25);
            criterion.limit = 1.5;
        } else {
            criterion.factor = std::pow(double(criterion.modulus) / double(rigidity.ei), 0.2);
            criterion.limit = 2.0;
        }
        criterion.length = criterion.factor * double(depth);
        rigidity.criteria.push_back(criterion);
    }
    rigidity.checked = !rigidity.criteria.empty();
    return rigidity;
}

std::string CriterionText(const StiffnessCriterion& criterion)
{
    return std::string(criterion.cohesive ? "\u03B2L = " : "\u03B7L = ") + FormatMask(criterion.length, mask::kRatio)
        + (criterion.Holds() ? " <= " : " > ") + ShortestText(criterion.limit);
}

std::string NotRigidReason(const Rigidity& rigidity)
{
    std::string failing;
    for (const StiffnessCriterion& criterion : rigidity.criteria) {
        if (!criterion.Holds())
            failing += (failing.empty() ? "" : " and ") + CriterionText(criterion);
    }
    if (failing.empty())
        return {};
    return "the pile is not rigid: " + failing + "; the rigid-pile capacity overstates it";
}

std::string RigiditySummary(const Rigidity& rigidity)
{
    if (!rigidity.checked)
        return "stiffness not checked: no EI given";
    std::string summary;
    for (const StiffnessCriterion& criterion : rigidity.criteria)
        summary += (summary.empty() ? "" : "; ") + CriterionText(criterion);
    return summary;
}

} // namespace latcap
