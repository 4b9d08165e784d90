// The base's value-to-text conversions, with expected texts worked out by
// hand from the truncating digit rules.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "plugin/AudioEffect.h"

namespace {

class TextEffect : public AudioEffect {
public:
    TextEffect() : AudioEffect(nullptr, 1, 1) {}
    void process(float**, float**, int32_t) override {}
    std::string f(float v)
    {
        char t[24];
        float2string(v, t);
        return t;
    }
    std::string dB(float v)
    {
        char t[24];
        dB2string(v, t);
        return t;
    }
    std::string Hz(float v)
    {
        char t[24];
        Hz2string(v, t);
        return t;
    }
    std::string ms(float v)
    {
        char t[24];
        ms2string(v, t);
        return t;
    }
    std::string l(int32_t v)
    {
        char t[24];
        long2string(v, t);
        return t;
    }
};

TEST(ValueText, Float2StringTruncatesToEightCharacters)
{
    TextEffect e;
    EXPECT_EQ(e.f(0.0f), "0.000000");
    EXPECT_EQ(e.f(1.5f), "1.500000");
    EXPECT_EQ(e.f(-0.5f), "-0.50000");
    EXPECT_EQ(e.f(123.456f), "123.4560");
    EXPECT_EQ(e.f(-6.02f), "-6.01999");
    EXPECT_EQ(e.f(9999999.0f), "9999999.");
    EXPECT_EQ(e.f(-999999.0f), "-999999.");
}

TEST(ValueText, Float2StringTooLarge)
{
    TextEffect e;
    EXPECT_EQ(e.f(99999999.0f), " Huge!  ");
    EXPECT_EQ(e.f(-10000000.0f), " Huge!  ");
    // Integer parts that would lose their leading digits.
    EXPECT_EQ(e.f(12345678.0f), " Huge!  ");
    EXPECT_EQ(e.f(-1234567.0f), " Huge!  ");
    EXPECT_EQ(e.f(std::numeric_limits<float>::infinity()), " Huge!  ");
    EXPECT_EQ(e.f(-std::numeric_limits<float>::infinity()), " Huge!  ");
    EXPECT_EQ(e.f(std::numeric_limits<float>::quiet_NaN()), "  nan   ");
}

TEST(ValueText, Decibels)
{
    TextEffect e;
    EXPECT_EQ(e.dB(0.0f), "  -oo   ");
    EXPECT_EQ(e.dB(-1.0f), "  -oo   ");
    EXPECT_EQ(e.dB(1.0f), "0.000000");
    EXPECT_EQ(e.dB(10.0f), "20.00000");
    EXPECT_EQ(e.dB(0.5f), "-6.02059");
}

TEST(ValueText, HertzAndMilliseconds)
{
    TextEffect e;
    EXPECT_EQ(e.Hz(0.0f), "0.000000");
    EXPECT_EQ(e.Hz(100.0f), "441.0000");
    EXPECT_EQ(e.ms(441.0f), "10.00000");
    EXPECT_EQ(e.ms(0.0f), "0.000000");
}

TEST(ValueText, Long2String)
{
    TextEffect e;
    EXPECT_EQ(e.l(42), "     42");
    EXPECT_EQ(e.l(100000000), " Huge!  ");
    EXPECT_EQ(e.l(99999999), "99999999");
    EXPECT_EQ(e.l(-123456789), "-1234567");
    EXPECT_EQ(e.l(-5), "     -5");
}

} // namespace
