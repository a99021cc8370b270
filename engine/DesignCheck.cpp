#include "DesignCheck.h"

#include "DisplayFormats.h"
#include "Messages.h"
#include "NumberText.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace latcap {
namespace {

    constexpr std::int64_t kDeepestMm = 100000; // the deepest layer ends at 100 m

    // Calc M of a pile on the design inputs with the load raised by a factor
    // (1: the inputs as they are) or another depth.
    class Pile {
    public:
        explicit Pile(const InputTexts& design)
            : design_(design)
            , load_(ReadNumber(design.h))
            , moment_(ReadNumber(design.m))
        {
        }

        std::shared_ptr<const Calculation> At(double factor, const std::string& depth) const
        {
            InputTexts texts = design_;
            if (factor != 1.0)
                texts.h = ShortestText(factor * load_);
            texts.l = depth;
            return std::make_shared<const Calculation>(Calculate(Command::CalcM, texts));
        }

        // The pile carries the load raised by the factor: Calc M converged
        // within the method with a moment of at least factor x M.
        bool Carries(const Calculation& calc, double factor) const
        {
            return calc.Status() == CalcStatus::Converged && MomentCarried(calc) >= factor * moment_;
        }

        static double MomentCarried(const Calculation& calc) { return double(calc.state->CSF) * calc.state->M; }

        static std::string Depth(std::int64_t mm) { return ShortestText(double(mm) / 1000.0); }

        const std::string& GivenDepth() const { return design_.l; }

    private:
        InputTexts design_;
        double load_;
        double moment_;
    };

    // The greatest factor at which the pile of depth L carries the raised
    // loads, by bisection between a factor it carries and one it does not,
    // and the calculation there. The bracket is anchored at 1, so lambda >= 1
    // exactly when the pile carries the loads themselves.
    struct Ultimate {
        double factor = 0;
        std::shared_ptr<const Calculation> calc;
    };

    Ultimate FindUltimate(const Pile& pile, const std::shared_ptr<const Calculation>& atLoads)
    {
        const std::string& depth = pile.GivenDepth();
        double carried = 0; // a factor that is carried (0: none found yet)
        double failed = 0; // a factor that is not (0: none found yet)
        std::shared_ptr<const Calculation> best;
        if (pile.Carries(*atLoads, 1.0)) {
            carried = 1;
            best = atLoads;
            for (double factor = 2; factor < 1e12; factor *= 2) {
                auto calc = pile.At(factor, depth);
                if (!pile.Carries(*calc, factor)) {
                    failed = factor;
                    break;
                }
                carried = factor;
                best = calc;
            }
        } else {
            failed = 1;
            for (double factor = 0.5; factor > 1e-12; factor /= 2) {
                auto calc = pile.At(factor, depth);
                if (pile.Carries(*calc, factor)) {
                    carried = factor;
                    best = calc;
                    break;
                }
                failed = factor;
            }
        }
        if (!best || failed == 0)
            return { carried, best };
        while (failed - carried > 1e-10 * failed) {
            const double mid = 0.5 * (carried + failed);
            auto calc = pile.At(mid, depth);
            if (pile.Carries(*calc, mid)) {
                carried = mid;
                best = std::move(calc);
            } else {
                failed = mid;
            }
        }
        return { carried, best };
    }

    // The smallest depth in whole millimetres at which the pile carries the
    // loads, searched from a first guess outwards and then by bisection; 0
    // when no depth up to 100 m does.
    std::int64_t FindDepthRequired(const Pile& pile, std::int64_t guess)
    {
        const auto passes = [&pile](std::int64_t mm) { return pile.Carries(*pile.At(1.0, Pile::Depth(mm)), 1.0); };
        guess = std::clamp<std::int64_t>(guess, 1, kDeepestMm);
        std::int64_t fail = 0; // a depth that does not pass (0: the ground)
        std::int64_t pass = 0; // a depth that passes (0: none found)
        if (passes(guess)) {
            pass = guess;
            for (std::int64_t step = 1; pass > 1; step *= 2) {
                const std::int64_t mm = std::max<std::int64_t>(pass - step, 1);
                if (!passes(mm)) {
                    fail = mm;
                    break;
                }
                pass = mm;
            }
        } else {
            fail = guess;
            for (std::int64_t step = 1; fail < kDeepestMm; step *= 2) {
                const std::int64_t mm = std::min(fail + step, kDeepestMm);
                if (passes(mm)) {
                    pass = mm;
                    break;
                }
                fail = mm;
            }
            if (pass == 0)
                return 0;
        }
        while (pass - fail > 1) {
            const std::int64_t mid = fail + (pass - fail) / 2;
            (passes(mid) ? pass : fail) = mid;
        }
        return pass;
    }

    DesignCheck CheckCombination(
        const InputTexts& given, const FactorCombination& combination, const std::string& reason)
    {
        DesignCheck check;
        check.factors = combination;
        check.designLoad = ReadNumber(given.h);
        check.designMoment = ReadNumber(given.m);
        const InputTexts design = DesignInputs(given, combination.factors);
        const Pile pile(design);
        auto atDepth = std::make_shared<Calculation>(Calculate(Command::CalcM, design));
        atDepth->factors = combination;
        atDepth->given = given;
        atDepth->misread = MisreadBoxes(given);
        check.atDepth = atDepth;
        check.reason = !reason.empty() ? reason : FactorProblem(combination);
        if (check.reason.empty())
            check.reason = atDepth->reason;
        if (!check.reason.empty() || !atDepth->HasResults())
            return check;

        check.loadHeight = check.designMoment / check.designLoad;
        check.momentCarried = Pile::MomentCarried(*atDepth);
        const Ultimate ultimate = FindUltimate(pile, check.atDepth);
        check.ultimate = ultimate.calc;
        check.judged = ultimate.calc != nullptr;
        if (!check.judged)
            return check;
        check.loadFactor = ultimate.factor;
        check.ultimateLoad = ultimate.factor * check.designLoad;
        check.utilisation = 1.0 / ultimate.factor;
        check.ok = ultimate.factor >= 1.0 && atDepth->Status() == CalcStatus::Converged;

        // Calc L's depth is a close first guess of the check's own.
        const Calculation calcL = Calculate(Command::CalcL, design);
        const double guess
            = calcL.HasResults() && calcL.state->LCalc > 0 ? double(calcL.state->LCalc) : ReadNumber(design.l);
        const std::int64_t mm = FindDepthRequired(pile, static_cast<std::int64_t>(std::ceil(guess * 1000.0)));
        if (mm > 0) {
            check.depthRequired = double(mm) / 1000.0;
            auto required = std::make_shared<Calculation>(*pile.At(1.0, Pile::Depth(mm)));
            required->factors = combination;
            required->given = given;
            check.required = required;
        }
        return check;
    }

    // Why the check cannot be made of what was given, in the order of the boxes.
    std::string CheckReason(const InputTexts& given)
    {
        const double h = ReadNumber(given.h);
        if (!(h > 0.0))
            return "The design check needs a lateral load H greater than 0";
        if (ReadNumberText(given.m).empty)
            return "The design check needs a design moment M";
        if (!(ReadNumber(given.m) >= 0.0))
            return "The design check needs a design moment M that is not negative";
        if (!(ReadNumber(given.l) > 0.0))
            return "The design check needs a depth L greater than 0";
        return {};
    }

} // namespace

CalcStatus DesignCheck::Status() const
{
    if (!reason.empty() || !atDepth)
        return CalcStatus::NotEnoughData;
    if (!ultimate)
        return std::max(atDepth->Status(), CalcStatus::ArithmeticProblem);
    return std::max(atDepth->Status(), ultimate->Status());
}

DesignCheck CheckDesign(const InputTexts& given, const FactorSet& factors)
{
    const std::string reason = CheckReason(given);
    DesignCheck governing;
    bool first = true;
    double deepest = 0;
    std::shared_ptr<const Calculation> deepestCalc;
    bool everyDepth = true;
    for (const FactorCombination& combination : Combinations(factors)) {
        DesignCheck check = CheckCombination(given, combination, reason);
        everyDepth = everyDepth && check.depthRequired > 0;
        if (check.depthRequired > deepest) {
            deepest = check.depthRequired;
            deepestCalc = check.required;
        }
        // A combination without numbers to judge governs, else the smaller load factor.
        const bool worse = check.judged != governing.judged ? !check.judged
            : !check.judged                                 ? check.Status() > governing.Status()
                                                            : check.loadFactor < governing.loadFactor;
        if (first || worse)
            governing = std::move(check);
        first = false;
    }
    if (governing.judged) {
        governing.depthRequired = everyDepth ? deepest : 0;
        governing.required = everyDepth ? deepestCalc : nullptr;
    }
    return governing;
}

const char* VerdictWord(const DesignCheck& check) { return check.ok ? "OK" : "NOT OK"; }

double RoundedUp(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    return std::ceil(value * scale) / scale;
}

double RoundedDown(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    return std::floor(value * scale) / scale;
}

CheckTexts ShownCheck(const DesignCheck& check)
{
    if (!check.judged)
        return {};
    return { VerdictWord(check), FormatMask(RoundedDown(check.loadFactor, 3), mask::kRatio),
        FormatMask(RoundedDown(check.ultimateLoad, 2), mask::kMoment), FormatMask(check.loadHeight, mask::kDepth),
        FormatMask(RoundedUp(check.utilisation, 3), mask::kRatio),
        check.depthRequired > 0 ? FormatMask(check.depthRequired, mask::kDepth) : std::string("-"),
        check.atDepth->outcome.answer };
}

std::vector<std::string> CheckLines(const DesignCheck& check)
{
    if (!check.judged)
        return {};
    const CheckTexts shown = ShownCheck(check);
    return { "Verdict = " + shown.verdict, "Load factor = " + shown.loadFactor,
        "Ultimate load = " + shown.ultimateLoad + " kN at " + shown.loadHeight + " m above the ground",
        "Utilisation = " + shown.utilisation,
        "Depth required = " + (check.depthRequired > 0 ? shown.depthRequired + " m" : "more than 100 m"),
        "Moment carried at L with H = " + shown.momentCarried + " kNm" };
}

std::vector<std::string> CheckMessages(const DesignCheck& check)
{
    if (!check.reason.empty())
        return { text::kNotEnoughData, check.reason };
    std::vector<std::string> lines;
    for (const auto& [name, part] :
        { std::pair { "Calc M", check.atDepth.get() }, std::pair { "Ultimate state", check.ultimate.get() },
            std::pair { "Depth required", check.required.get() } }) {
        if (part == nullptr)
            continue;
        for (const std::string& line : part->messages)
            lines.push_back(std::string(name) + ": " + line);
    }
    if (check.atDepth && check.atDepth->HasResults() && !check.judged)
        lines.emplace_back("No ultimate state found: the pile carries no raised or lowered load within the method");
    return lines;
}

} // namespace latcap
