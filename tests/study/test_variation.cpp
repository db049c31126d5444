#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "study/case_list.h"
#include "study/variation.h"

namespace tesmo {

namespace {
std::vector<std::string> texts(const char* nameAndSpec) {
    const VariationResult r = parseVariation(nameAndSpec);
    EXPECT_TRUE(r.ok) << nameAndSpec << ": " << r.error;
    return r.variation.texts;
}
using V = std::vector<std::string>;
}  // namespace

TEST(Variation, RangesRunInclusiveWithTheWidestDecimals) {
    EXPECT_EQ(texts("txt_Lufttemp=30:70:10"), (V{"30", "40", "50", "60", "70"}));
    EXPECT_EQ(texts("txt_Dicke=10,0:30,0:5"), (V{"10,0", "15,0", "20,0", "25,0", "30,0"}));
    EXPECT_EQ(texts("txt_Dicke=10:12:0,5"), (V{"10,0", "10,5", "11,0", "11,5", "12,0"}));
    EXPECT_EQ(texts("txt_XAnf=0,2:0,3:0,05"), (V{"0,20", "0,25", "0,30"}));
    EXPECT_EQ(texts("txt_Lufttemp=80:40:-20"), (V{"80", "60", "40"}));
    EXPECT_EQ(texts("txt_AussenluftTemp=-5:5:5"), (V{"-5", "0", "5"}));
    EXPECT_EQ(texts("txt_AussenluftTemp=-0,5:0,5:0,25"),
              (V{"-0,50", "-0,25", "0,00", "0,25", "0,50"}));
    EXPECT_EQ(texts("txt_mue=20:20:1"), (V{"20"}));
    EXPECT_EQ(texts("txt_deltaT = 0.5 : 1.0 : 0.25"), (V{"0,50", "0,75", "1,00"}));
    // The end counts when the last value lies within a thousandth of a step of it, no further.
    EXPECT_EQ(texts("txt_XAnf=0:0,9999:0,1").back(), "1,0000");
    EXPECT_EQ(texts("txt_XAnf=0:0,9989:0,1").back(), "0,9000");
    EXPECT_EQ(texts("txt_Dicke=0:1:0,3"), (V{"0,0", "0,3", "0,6", "0,9"}));
}

TEST(Variation, ListsAndSingleValuesKeepTheirTexts) {
    EXPECT_EQ(texts("txt_Lufttemp=30;45,5; 60 "), (V{"30", "45,5", "60"}));
    EXPECT_EQ(texts("txt_Lufttemp=35"), (V{"35"}));
    EXPECT_EQ(texts("txt_Dicke=20 mm;1E1"), (V{"20 mm", "1E1"}));
}

TEST(Variation, MalformedRangesAndListsAreRefusedInGerman) {
    for (const char* bad :
         {"txt_Lufttemp", "txt_Zeit=1:2:1", "txt_lufttemp=1:2:1", "=1:2:1",
          "txt_Lufttemp=", "txt_Lufttemp=30:70", "txt_Lufttemp=30:70:5:1", "txt_Lufttemp=30:70:0",
          "txt_Lufttemp=70:30:5", "txt_Lufttemp=30:70:-5", "txt_Lufttemp=3E1:70:5",
          "txt_Lufttemp=30:70:abc", "txt_Lufttemp=30,:70:5", "txt_Lufttemp=30;;40",
          "txt_Lufttemp=0:1000000000000:1", "txt_Lufttemp=0:1:0,0000000001",
          "txt_Lufttemp=0:10000000:0,001"}) {
        const VariationResult r = parseVariation(bad);
        EXPECT_FALSE(r.ok) << bad;
        EXPECT_FALSE(r.error.empty()) << bad;
    }
    EXPECT_NE(parseVariation("txt_Lufttemp=30:70:0").error.find("SCHRITT ist 0"),
              std::string::npos);
    EXPECT_NE(parseVariation("txt_Lufttemp=0:10000000:0,001").error.find("1000000"),
              std::string::npos);
}

TEST(CaseList, TheLastVariationVariesFastest) {
    const CaseList cases(defaultInputTexts(), {{Control::txt_Lufttemp, {"30", "40"}},
                                               {Control::txt_Dicke, {"10", "20", "30"}}});
    ASSERT_EQ(cases.size(), 6u);
    const char* expected[6][2] = {{"30", "10"}, {"30", "20"}, {"30", "30"},
                                  {"40", "10"}, {"40", "20"}, {"40", "30"}};
    for (std::size_t i = 0; i < 6; ++i) {
        const InputTexts t = cases.texts(i);
        EXPECT_EQ(t[Control::txt_Lufttemp], expected[i][0]) << i;
        EXPECT_EQ(t[Control::txt_Dicke], expected[i][1]) << i;
        EXPECT_EQ(t[Control::txt_rhos], "1850");  // the base text elsewhere
    }
    EXPECT_EQ(cases.variedFields(),
              (std::vector<Control>{Control::txt_Lufttemp, Control::txt_Dicke}));

    // A product that no counter holds is recognised, not wrapped around.
    std::vector<Variation> many;
    for (int i = 0; i < 5; ++i)
        many.push_back({controlAt(i), std::vector<std::string>(kMaxVariationValues, "1")});
    EXPECT_TRUE(CaseList(defaultInputTexts(), many).tooLarge());
}

TEST(CaseList, ShardsSplitTheCasesWithoutGapOrOverlap) {
    for (std::size_t count : {0u, 1u, 7u, 10u}) {
        for (std::size_t n = 1; n <= 4; ++n) {
            std::vector<int> seen(count, 0);
            for (std::size_t k = 1; k <= n; ++k) {
                const CaseSelection s = selectShard(count, {k, n});
                for (std::size_t j = 0; j < s.count; ++j)
                    ++seen.at(s.caseIndex(j));
            }
            for (std::size_t i = 0; i < count; ++i)
                EXPECT_EQ(seen[i], 1) << count << " " << n << " " << i;
        }
    }
    EXPECT_TRUE(parseShard("3/8").ok);
    for (const char* bad : {"0/8", "9/8", "3", "3/", "/8", "a/b", "3/8x", "-1/8", "1/0"})
        EXPECT_FALSE(parseShard(bad).ok) << bad;
}

// Shards as large as a count holds: computed without overflow; larger numbers are refused as
// too large rather than read as something else.
TEST(CaseList, ShardsAtTheLimitsOfACount) {
    constexpr std::size_t kMax = std::numeric_limits<std::size_t>::max();
    const ShardResult widest = parseShard("1/18446744073709551615");
    ASSERT_TRUE(widest.ok) << widest.error;
    EXPECT_EQ(widest.shard.n, kMax);
    for (std::size_t count : {std::size_t{1}, std::size_t{10}, kMax}) {
        const CaseSelection s = selectShard(count, widest.shard);
        EXPECT_EQ(s.count, 1u) << count;
        EXPECT_EQ(s.caseIndex(0), 0u);
    }
    EXPECT_EQ(selectShard(kMax, {kMax, kMax}).count, 1u);
    EXPECT_EQ(selectShard(kMax, {kMax, kMax}).caseIndex(0), kMax - 1);
    EXPECT_EQ(selectShard(kMax - 1, {kMax, kMax}).count, 0u);
    EXPECT_EQ(selectShard(kMax, {1, 2}).count, kMax / 2 + 1);

    for (const char* large : {"2/99999999999999999999", "99999999999999999999/3"}) {
        const ShardResult r = parseShard(large);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.error, std::string("--shard ") + large +
                               ": 99999999999999999999 ist zu groß (höchstens "
                               "18446744073709551615)");
    }
}

}  // namespace tesmo
