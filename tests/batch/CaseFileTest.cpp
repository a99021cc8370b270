#include "CaseFile.h"

#include <gtest/gtest.h>

#include <string>

namespace latcap {
namespace {

    // Rows are named after what they show.
    struct RowName {
        template <typename Row> std::string operator()(const ::testing::TestParamInfo<Row>& row) const
        {
            return row.param.name;
        }
    };

    // The rows as the window would hold them: top, bottom, unit weight,
    // cohesion, friction angle, width of each layer, and the four top boxes.
    std::string Describe(const InputTexts& texts, int layerCount)
    {
        std::string out = "csf=" + texts.csf + " h=" + texts.h + " m=" + texts.m + " l=" + texts.l
            + " layers=" + std::to_string(layerCount);
        for (int i = 0; i < layerCount; ++i) {
            const LayerTexts& row = texts.layers[static_cast<std::size_t>(i)];
            out += " | " + row.from + "," + row.to + "," + row.gama + "," + row.c + "," + row.phi + "," + row.d;
        }
        return out;
    }

    struct GoodRow {
        std::string name;
        std::string content;
        std::string expected;
    };

    class CaseFileReads : public ::testing::TestWithParam<GoodRow> { };

    TEST_P(CaseFileReads, AsTheWindowWouldHoldIt)
    {
        Case read;
        std::string error;
        ASSERT_TRUE(ReadCase(GetParam().content, "case.txt", read, error)) << error;
        EXPECT_EQ(Describe(CaseInputs(read, "0.75"), read.layerCount), GetParam().expected);
    }

    // clang-format off
    INSTANTIATE_TEST_SUITE_P(Rows, CaseFileReads, ::testing::Values(
        GoodRow { "EmptyFileIsEmptyBoxesWithTheStartCsf", "", "csf=0.75 h= m= l= layers=1 | 0,100,,,," },
        GoodRow { "CommentsAndBlankLinesAreSkipped", "# a pile\n\n   \nH = 50   # at the head\n#M = 7\nlayer 1 = 100, 18, 0, 30, 0.6\n", "csf=0.75 h=50 m= l= layers=1 | 0,100,18,0,30,0.6" },
        GoodRow { "KeysInAnyCase", "cSf = 1\nh = 2\nM=3\nl = 4\nLaYeRs = 1\nLAYER 1 = 9, 8, 7, 6, 5\n", "csf=1 h=2 m=3 l=4 layers=1 | 0,100,8,7,6,5" },
        GoodRow { "EmptyValueIsAnEmptyBox", "CSF =\nL =\nM = 20\n", "csf= h= m=20 l= layers=1 | 0,100,,,," },
        GoodRow { "TextsAreKeptForTheNumberRule", "H = 1 000 kN\nM = 2.5E1\n", "csf=0.75 h=1 000 kN m=2.5E1 l= layers=1 | 0,100,,,," },
        GoodRow { "TopsFollowTheBottomsAbove", "layers = 3\nlayer 1 = 1.5, 17, 40, 0, 0.6\nlayer 2 = 4, 19, 0, 34, 0.6\nlayer 3 = 100, 20, 0, 36, 0.9\n", "csf=0.75 h= m= l= layers=3 | 0,1.5,17,40,0,0.6 | 1.5,4,19,0,34,0.6 | 4,100,20,0,36,0.9" },
        GoodRow { "DeepestBottomIsAlways100", "layers = 2\nlayer 1 = 2, 1, 1, 1, 1\nlayer 2 = 12, 2, 2, 2, 2\n", "csf=0.75 h= m= l= layers=2 | 0,2,1,1,1,1 | 2,100,2,2,2,2" },
        GoodRow { "DeepestBottomIs100WhenLeftEmpty", "layers = 2\nlayer 1 = 2, 1, 1, 1, 1\nlayer 2 = , 2, 2, 2, 2\n", "csf=0.75 h= m= l= layers=2 | 0,2,1,1,1,1 | 2,100,2,2,2,2" },
        GoodRow { "LayersBeyondTheCountAreIgnored", "layers = 1\nlayer 1 = 3, 18, 0, 30, 0.6\nlayer 2 = 5, 1, 1, 1, 1\nlayer 5 = 9, 1, 1, 1, 1\n", "csf=0.75 h= m= l= layers=1 | 0,100,18,0,30,0.6" },
        GoodRow { "MissingLayerLineIsAnEmptyRow", "layers = 2\nlayer 1 = 3, 18, 0, 30, 0.6\n", "csf=0.75 h= m= l= layers=2 | 0,3,18,0,30,0.6 | 3,100,,,," },
        GoodRow { "LayerCountMayFollowTheLayers", "layer 2 = 7, 2, 2, 2, 2\nlayer 1 = 3, 1, 1, 1, 1\nlayers = 2\n", "csf=0.75 h= m= l= layers=2 | 0,3,1,1,1,1 | 3,100,2,2,2,2" },
        GoodRow { "CarriageReturnsAndByteOrderMark", "\xEF\xBB\xBFH = 5\r\nlayer 1 = 1, 2, 3, 4, 5\r\n", "csf=0.75 h=5 m= l= layers=1 | 0,100,2,3,4,5" },
        GoodRow { "BlanksInsideTheLayerKey", "  Layer   1  =  1 ,2,3 , 4,5  \n", "csf=0.75 h= m= l= layers=1 | 0,100,2,3,4,5" }),
        RowName());
    // clang-format on

    struct BadRow {
        std::string name;
        std::string content;
        std::string error;
    };

    class CaseFileRejects : public ::testing::TestWithParam<BadRow> { };

    TEST_P(CaseFileRejects, NamingFileLineAndFault)
    {
        Case read;
        std::string error;
        EXPECT_FALSE(ReadCase(GetParam().content, "dir/case.txt", read, error));
        EXPECT_EQ(error, GetParam().error);
    }

    // clang-format off
    INSTANTIATE_TEST_SUITE_P(Rows, CaseFileRejects, ::testing::Values(
        BadRow { "UnknownKey", "H = 1\nLoad = 5\n", "dir/case.txt:2: unknown key \"Load\"" },
        BadRow { "LineWithoutEquals", "# the load\n\nH 50\n", "dir/case.txt:3: expected \"key = value\", found \"H 50\"" },
        BadRow { "MissingKey", " = 5\n", "dir/case.txt:1: a key is missing before \"=\"" },
        BadRow { "DuplicateKeyInOtherCase", "H = 1\nM = 2\nh = 3\n", "dir/case.txt:3: duplicate key \"h\"" },
        BadRow { "DuplicateLayerLine", "layer 2 = 1,2,3,4,5\nLayer  2 = 1,2,3,4,5\n", "dir/case.txt:2: duplicate key \"Layer  2\"" },
        BadRow { "DuplicateCsfEvenWhenEmpty", "CSF =\nCSF = 1\n", "dir/case.txt:2: duplicate key \"CSF\"" },
        BadRow { "TooFewLayerFields", "layer 1 = 100, 18, 0, 30\n", "dir/case.txt:1: layer 1 has 4 fields but needs 5: bottom, unit weight, cohesion, friction angle, width" },
        BadRow { "TooManyLayerFields", "layer 3 = 100, 18, 0, 30, 0.6, 1\n", "dir/case.txt:1: layer 3 has 6 fields but needs 5: bottom, unit weight, cohesion, friction angle, width" },
        BadRow { "EmptyLayerLine", "layer 1 =\n", "dir/case.txt:1: layer 1 has 1 field but needs 5: bottom, unit weight, cohesion, friction angle, width" },
        BadRow { "LayerZero", "layer 0 = 1,2,3,4,5\n", "dir/case.txt:1: layer number 0 is outside 1 to 5" },
        BadRow { "LayerSix", "layer 6 = 1,2,3,4,5\n", "dir/case.txt:1: layer number 6 is outside 1 to 5" },
        BadRow { "LayerWithoutNumber", "layer = 1,2,3,4,5\n", "dir/case.txt:1: unknown key \"layer\"" },
        BadRow { "LayerFieldIsNoFileKey", "layer 1.cohesion = 5\n", "dir/case.txt:1: unknown key \"layer 1.cohesion\"" },
        BadRow { "LayerCountZero", "layers = 0\n", "dir/case.txt:1: layers must be a whole number from 1 to 5, not \"0\"" },
        BadRow { "LayerCountEmpty", "layers =\n", "dir/case.txt:1: layers must be a whole number from 1 to 5, not \"\"" },
        BadRow { "LayerCountNotWhole", "layers = 2.0\n", "dir/case.txt:1: layers must be a whole number from 1 to 5, not \"2.0\"" },
        BadRow { "FirstFaultIsReported", "H = 1\nX = 2\nY = 3\n", "dir/case.txt:2: unknown key \"X\"" }),
        RowName());
    // clang-format on

    struct SetRow {
        std::string name;
        std::string key;
        std::string value;
        std::string expected; // Describe() of the result, or the error
    };

    class CaseValueIsSet : public ::testing::TestWithParam<SetRow> { };

    TEST_P(CaseValueIsSet, LikeALineOfTheFile)
    {
        Case read;
        std::string error;
        ASSERT_TRUE(ReadCase("CSF = 1\nH = 50\nlayers = 2\nlayer 1 = 2, 17, 40, 0, 0.6\nlayer 2 = 9, 19, 0, 34, 0.6\n",
            "case.txt", read, error));
        if (SetCaseValue(read, GetParam().key, GetParam().value, error))
            EXPECT_EQ(Describe(CaseInputs(read, "0.5"), read.layerCount), GetParam().expected);
        else
            EXPECT_EQ(error, GetParam().expected);
    }

    // clang-format off
    INSTANTIATE_TEST_SUITE_P(Rows, CaseValueIsSet, ::testing::Values(
        SetRow { "TopLevelKey", "h", " 75 ", "csf=1 h=75 m= l= layers=2 | 0,2,17,40,0,0.6 | 2,100,19,0,34,0.6" },
        SetRow { "BottomCarriesIntoTheTopBelow", "layer 1.bottom", "3.5", "csf=1 h=50 m= l= layers=2 | 0,3.5,17,40,0,0.6 | 3.5,100,19,0,34,0.6" },
        SetRow { "GammaIsTheUnitWeight", "Layer 2.Gamma", "21", "csf=1 h=50 m= l= layers=2 | 0,2,17,40,0,0.6 | 2,100,21,0,34,0.6" },
        SetRow { "PhiIsTheFrictionAngle", "layer 2 . phi", "30", "csf=1 h=50 m= l= layers=2 | 0,2,17,40,0,0.6 | 2,100,19,0,30,0.6" },
        SetRow { "FieldNamesInFull", "layer 1.friction angle", "5", "csf=1 h=50 m= l= layers=2 | 0,2,17,40,5,0.6 | 2,100,19,0,34,0.6" },
        SetRow { "WholeLayerLine", "layer 2", "9, 1, 2, 3, 4", "csf=1 h=50 m= l= layers=2 | 0,2,17,40,0,0.6 | 2,100,1,2,3,4" },
        SetRow { "FewerLayers", "layers", "1", "csf=1 h=50 m= l= layers=1 | 0,100,17,40,0,0.6" },
        SetRow { "UnknownField", "layer 1.colour", "5", "unknown layer field \"colour\" (use bottom, unit weight or gamma, cohesion, friction angle or phi, width)" },
        SetRow { "UnknownKey", "Q", "5", "unknown key \"Q\"" },
        SetRow { "BadLayerCount", "layers", "9", "layers must be a whole number from 1 to 5, not \"9\"" }),
        RowName());
    // clang-format on

    TEST(CaseTitle, IsKeptButIsNoInput)
    {
        Case read;
        std::string error;
        ASSERT_TRUE(ReadCase("Title = Sign post, Main Street\nH = 5\n", "case.txt", read, error)) << error;
        EXPECT_EQ(read.title, "Sign post, Main Street");
        EXPECT_EQ(Describe(CaseInputs(read, "0.5"), read.layerCount), "csf=0.5 h=5 m= l= layers=1 | 0,100,,,,");
    }

    TEST(CaseKeys, HaveTheUnitsOfTheirBoxes)
    {
        EXPECT_EQ(CaseKeyUnit("h"), "kN");
        EXPECT_EQ(CaseKeyUnit("M"), "kNm");
        EXPECT_EQ(CaseKeyUnit("L"), "m");
        EXPECT_EQ(CaseKeyUnit("CSF"), "");
        EXPECT_EQ(CaseKeyUnit("layer 2.gamma"), "kN/m3");
        EXPECT_EQ(CaseKeyUnit("layer 2.c"), "kPa");
        EXPECT_EQ(CaseKeyUnit("layer 2.phi"), "deg");
        EXPECT_EQ(CaseKeyUnit("layer 2.bottom"), "m");
        EXPECT_EQ(CaseKeyUnit("layer 2.width"), "m");
    }

} // namespace
} // namespace latcap
