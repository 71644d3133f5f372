// System variables through result buffers, and numbers as the drawing shows
// them.
#include "host/api/HostVariables.h"

#include <cstdlib>

#include "tests/host/api/HostFixture.h"

using namespace kestrin;

namespace {

class Variables : public test::HostTest {
protected:
    int setReal(const char* name, double value) {
        resbuf rb{};
        rb.restype = RTREAL;
        rb.resval.rreal = value;
        return acedSetVar(name, &rb);
    }
    int setString(const char* name, const char* value) {
        resbuf rb{};
        rb.restype = RTSTR;
        rb.resval.rstring = const_cast<char*>(value);
        return acedSetVar(name, &rb);
    }
    std::string rtos(double value, int unit = -1, int precision = 1) {
        char buffer[64] = "unchanged";
        EXPECT_EQ(acdbRToS(value, unit, precision, buffer), RTNORM) << value;
        return buffer;
    }
};

TEST_F(Variables, ReadWithTheirTypes) {
    resbuf rb{};
    ASSERT_EQ(acedGetVar("TEXTSIZE", &rb), RTNORM);
    EXPECT_EQ(rb.restype, RTREAL);
    EXPECT_DOUBLE_EQ(rb.resval.rreal, 2.5);
    ASSERT_EQ(acedGetVar("textstyle", &rb), RTNORM);
    ASSERT_EQ(rb.restype, RTSTR);
    EXPECT_STREQ(rb.resval.rstring, "Standard");
    std::free(rb.resval.rstring);
    ASSERT_EQ(acedGetVar("osmode", &rb), RTNORM);
    EXPECT_EQ(rb.restype, RTSHORT);
    EXPECT_EQ(rb.resval.rint, 37);
    ASSERT_EQ(acedGetVar("INSBASE", &rb), RTNORM);
    EXPECT_EQ(rb.restype, RT3DPOINT);
    EXPECT_EQ(acedGetVar("NOSUCHVAR", &rb), RTERROR);
    EXPECT_EQ(acedGetVar(nullptr, &rb), RTERROR);
}

TEST_F(Variables, NumbersAreWrittenAsRealsAndRefusalsChangeNothing) {
    EXPECT_EQ(setReal("orthomode", 1.0), RTNORM);
    resbuf rb{};
    acedGetVar("ORTHOMODE", &rb);
    EXPECT_EQ(rb.restype, RTSHORT);
    EXPECT_EQ(rb.resval.rint, 1);
    EXPECT_EQ(setReal("ORTHOMODE", 0.5), RTERROR);
    EXPECT_EQ(setReal("TEXTSIZE", 0), RTERROR);
    EXPECT_EQ(setReal("TEXTSIZE", -1), RTERROR);
    EXPECT_EQ(setReal("NOSUCHVAR", 1), RTERROR);
    EXPECT_EQ(setString("TEXTSTYLE", "NO SUCH STYLE"), RTERROR);
    EXPECT_EQ(setString("TEXTSIZE", "3"), RTERROR);
    acedGetVar("TEXTSIZE", &rb);
    EXPECT_DOUBLE_EQ(rb.resval.rreal, 2.5);
    EXPECT_EQ(setReal("textsize", 3.5), RTNORM);
    EXPECT_DOUBLE_EQ(db().textsize(), 3.5);
    EXPECT_EQ(setString("TEXTSTYLE", "standard"), RTNORM);
    host::HostState::instance().working = nullptr;
    EXPECT_EQ(acedGetVar("TEXTSIZE", &rb), RTERROR);
    EXPECT_EQ(setReal("TEXTSIZE", 1), RTERROR);
}

TEST_F(Variables, NumberTextFollowsUnitsAndTrailingZeros) {
    // DIMZIN 8 drops trailing zeros: what the palette shows.
    EXPECT_EQ(rtos(2.5), "2.5");
    EXPECT_EQ(rtos(1.8), "1.8");
    EXPECT_EQ(rtos(5), "5");
    EXPECT_EQ(rtos(0.6), "0.6");
    EXPECT_EQ(rtos(0.04), "0");
    EXPECT_EQ(rtos(-0.04), "0");
    EXPECT_EQ(rtos(2.25, 2, 3), "2.25");
    resbuf rb{};
    rb.restype = RTSHORT;
    rb.resval.rint = 0;
    ASSERT_EQ(acedSetVar("DIMZIN", &rb), RTNORM);
    EXPECT_EQ(rtos(5), "5.0");
    EXPECT_EQ(rtos(5, 2, -1), "5.0000");  // LUPREC 4
    rb.resval.rint = 4;
    ASSERT_EQ(acedSetVar("DIMZIN", &rb), RTNORM);
    EXPECT_EQ(rtos(0.6), ".6");
    EXPECT_EQ(rtos(1234.5, 1, 2), "1.23E+03");
    EXPECT_EQ(rtos(15.5, 5, 2), "15 1/2");
    EXPECT_EQ(rtos(15.5, 4, 2), "1'-3 1/2\"");
    char buffer[64];
    EXPECT_EQ(acdbRToS(1, 6, 1, buffer), RTERROR);
    EXPECT_EQ(acdbRToS(1, 2, 9, buffer), RTERROR);
    EXPECT_EQ(acdbRToS(1e300, 2, 8, buffer), RTNORM);  // too long for decimals: scientific
    EXPECT_LT(std::string(buffer).size(), 64u);
    char tiny[3];
    EXPECT_EQ(host::realToString(1234, 2, 0, tiny, sizeof tiny), RTERROR);
}

}  // namespace
