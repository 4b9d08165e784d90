// The random patch driven by scripted 31-bit draws: the Gaussian sampler's
// acceptance rules, the patch's draw order, and where the patch lands.
#include <gtest/gtest.h>

#include <deque>
#include <vector>

#include "editor/RandomPatch.h"
#include "effect/ZeltoBass.h"

namespace {

constexpr int32_t kHalf = 1 << 30; // a draw of 2^30 maps to 0 in [-1, 1)

// Hands out the scripted draws and counts them.
struct Script {
    std::deque<int32_t> draws;
    int used = 0;
    RandomSource source()
    {
        return [this] {
            EXPECT_FALSE(draws.empty()) << "more draws than scripted";
            int32_t d = draws.empty() ? 0 : draws.front();
            if (!draws.empty())
                draws.pop_front();
            used++;
            return d;
        };
    }
};

TEST(RandomGaussian, UnitCircleEdgeGivesTheMean)
{
    Script s;
    // u = 0, v = -1: s = 1 exactly, m = 0, x = mean.
    s.draws = {kHalf, 0};
    RandomPatch patch(s.source());
    EXPECT_EQ(patch.RandomGaussian(0.25f, 1.5f, 0.0f, 1.0f), 0.25f);
    EXPECT_EQ(s.used, 2);
}

TEST(RandomGaussian, RejectsOutsideTheCircleAndTheBoundsAndTheCentre)
{
    Script s;
    s.draws = {
        0,     0,     // u = v = -1: s = 2, outside the circle
        kHalf, kHalf, // s = 0: the log would be of 0, drawn again
        0,     kHalf, // u = -1, v = 0: s = 1, accepted as the mean... of 0.5
    };
    RandomPatch patch(s.source());
    EXPECT_EQ(patch.RandomGaussian(0.5f, 1.0f, 0.0f, 1.0f), 0.5f);
    EXPECT_EQ(s.used, 6);
}

TEST(RandomGaussian, BoundsAreInclusiveAndOutsideIsRedrawn)
{
    // u = 0.5, v = 0: s = 0.25, m = sqrt(-2 ln 0.25 / 0.25) = 3.330218...
    const int32_t half = kHalf + kHalf / 2;
    Script s;
    s.draws = {half, kHalf, kHalf, 0};
    RandomPatch patch(s.source());
    // x = 3.33 * 0.5 * 0.1 = 0.1665 > 0.1: rejected; then the mean.
    EXPECT_EQ(patch.RandomGaussian(0.0f, 0.1f, -0.1f, 0.1f), 0.0f);
    EXPECT_EQ(s.used, 4);

    // An accepted value exactly at the upper bound is returned as is.
    Script t;
    t.draws = {half, kHalf};
    RandomPatch exact(t.source());
    const float x = exact.RandomGaussian(0.0f, 1.0f, -10.0f, 10.0f);
    EXPECT_NEAR(x, 1.665109f, 1e-5);
    t.draws = {half, kHalf};
    EXPECT_EQ(exact.RandomGaussian(0.0f, 1.0f, 0.0f, x), x);
}

TEST(RandomPatchOrder, DrawsCompressorTubeCoinMix)
{
    ZeltoBass effect{nullptr};
    Script s;
    s.draws = {
        2147483647,    // compressor: just under 1, limited to 0.99
        0,          0, // tube: rejected (outside the circle)
        kHalf,      0, // tube: s = 1, mean 0
        kHalf + 1,     // coin just above 0.5: Mix is drawn
        kHalf,      0, // mix: s = 1, mean 1.0
    };
    RandomPatch patch(s.source());
    patch.makeRandomPatch(effect);
    EXPECT_EQ(s.used, 8);
    EXPECT_TRUE(s.draws.empty());
    EXPECT_EQ(effect.getParameter(kCompressor), 0.99f);
    EXPECT_EQ(effect.getParameter(kTubeDist), 0.0f);
    EXPECT_EQ(effect.getParameter(kMix), 1.0f);
}

TEST(RandomPatchOrder, CoinOfExactlyOneHalfSetsMixToOneWithoutMoreDraws)
{
    ZeltoBass effect{nullptr};
    effect.setParameter(kMix, 0.4f);
    Script s;
    s.draws = {kHalf, kHalf, 0, kHalf}; // compressor 0.5, tube mean 0, coin 0.5
    RandomPatch patch(s.source());
    patch.makeRandomPatch(effect);
    EXPECT_EQ(s.used, 4);
    EXPECT_EQ(effect.getParameter(kMix), 1.0f);
    EXPECT_EQ(effect.getParameter(kCompressor), 0.5f);
}

TEST(RandomPatchOrder, LandsInTheCurrentProgramOnly)
{
    ZeltoBass effect{nullptr};
    effect.setProgram(3);
    RandomPatch patch; // the real source
    for (int i = 0; i < 200; i++) {
        patch.makeRandomPatch(effect);
        const float t = effect.getParameter(kTubeDist);
        const float m = effect.getParameter(kMix);
        EXPECT_GE(t, 0.0f);
        EXPECT_LE(t, 1.0f);
        EXPECT_TRUE(m == 1.0f || (m >= 0.3f && m <= 1.0f)) << m;
        EXPECT_LE(effect.getParameter(kCompressor), 0.99f);
    }
    const float tube = effect.getParameter(kTubeDist);
    effect.setProgram(1);
    EXPECT_EQ(effect.getParameter(kTubeDist), 0.03f);
    effect.setProgram(3);
    EXPECT_EQ(effect.getParameter(kTubeDist), tube);
}

TEST(ClampParam, LimitsToTheUnitRange)
{
    EXPECT_EQ(RandomPatch::ClampParam(-0.2f), 0.0f);
    EXPECT_EQ(RandomPatch::ClampParam(1.7f), 1.0f);
    EXPECT_EQ(RandomPatch::ClampParam(0.4f), 0.4f);
}

} // namespace
