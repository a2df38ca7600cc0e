// The dispatcher: which dialog entry each button asks, the conversion and
// range checks of typed values and their order, cancelling, Next Fix.
#include <gtest/gtest.h>

#include <limits>

#include "geometry/error.h"
#include "op_fixture.h"
#include "operations/catalogue.h"
#include "operations/conversion.h"
#include "operations/dispatch.h"
#include "operations/messages.h"
#include "operations/operand_source.h"

namespace navorix::test {
namespace {

using std::string;

// Answers every entry with the same operands, or cancels; records the call.
struct TScriptedSource : TOperandSource {
  bool Confirm = true;
  std::uint16_t Fix[4] = {1, 2, 3, 4};
  long double Distance = 0.0L, Azimuth = 0.0L;
  string Entry, Title;

  bool Answer(const char* Name, std::string_view T) {
    Entry = Name;
    Title = string(T);
    return Confirm;
  }
  bool AskOneFix(std::string_view T, std::uint16_t& F) override {
    if (!Answer("OneFix", T)) return false;
    F = Fix[0];
    return true;
  }
  bool AskTwoFixes(std::string_view T, std::uint16_t& F1, std::uint16_t& F2) override {
    if (!Answer("TwoFixes", T)) return false;
    F1 = Fix[0];
    F2 = Fix[1];
    return true;
  }
  bool AskFixDistAzim(std::string_view T, std::uint16_t& F, long double& D,
                      long double& Az) override {
    if (!Answer("FixDistAzim", T)) return false;
    F = Fix[0];
    D = Distance;
    Az = Azimuth;
    return true;
  }
  bool AskArcDist(std::string_view T, std::uint16_t& F1, std::uint16_t& F2,
                  long double& D) override {
    if (!Answer("ArcDist", T)) return false;
    F1 = Fix[0];
    F2 = Fix[1];
    D = Distance;
    return true;
  }
  bool AskArcFixDist(std::string_view T, std::uint16_t& F1, std::uint16_t& F2, std::uint16_t& F3,
                     long double& D) override {
    if (!Answer("ArcFixDist", T)) return false;
    F1 = Fix[0];
    F2 = Fix[1];
    F3 = Fix[2];
    D = Distance;
    return true;
  }
  bool AskArcFix(std::string_view T, std::uint16_t& F1, std::uint16_t& F2,
                 std::uint16_t& F3) override {
    if (!Answer("ArcFix", T)) return false;
    F1 = Fix[0];
    F2 = Fix[1];
    F3 = Fix[2];
    return true;
  }
  bool AskTwoArcs(std::string_view T, std::uint16_t& F1, std::uint16_t& F2, std::uint16_t& F3,
                  std::uint16_t& F4) override {
    if (!Answer("TwoArcs", T)) return false;
    F1 = Fix[0];
    F2 = Fix[1];
    F3 = Fix[2];
    F4 = Fix[3];
    return true;
  }
};

class DispatchTest : public OperationsTest {
 protected:
  void SetUp() override {
    OperationsTest::SetUp();
    Add("A", 0, 0);
    Add("B", 0, 90);
    Add("C", 10, 45);
    Add("D", -10, 45);
  }
  // The message of the Error that RunOperation raises, "" when none.
  string Failure(std::uint8_t Tag) {
    try {
      RunOperation(Tag, Source, Ex);
    } catch (const Error& e) {
      return e.what();
    }
    return "";
  }
  TScriptedSource Source;
};

TEST_F(DispatchTest, EachButtonAsksItsLayoutUnderItsTitle) {
  Source.Confirm = false;
  Ex.SetNextFixEnabled(true);
  const char* expected[12][2] = {
      {"", ""},
      {"TwoFixes", "Distance from Fix to Fix"},
      {"ArcFix", "Distance from Arc to Fix"},
      {"TwoArcs", "Distance between two Arcs"},
      {"TwoFixes", "Midpoint between Fixes"},
      {"TwoFixes", "Azimuth from Fix to Fix"},
      {"FixDistAzim", "Fix at Distance and Azimuth"},
      {"ArcFix", "Projection of Fix on Arc"},
      {"TwoArcs", "Intersection of two Arcs"},
      {"OneFix", "Accumulated distance"},
      {"ArcFixDist", "Arc to Fix Proximity"},
      {"ArcDist", "Fix at Distance along Arc"},
  };
  for (std::uint8_t tag = 1; tag <= 11; ++tag) {
    EXPECT_FALSE(RunOperation(tag, Source, Ex)) << int(tag);
    EXPECT_EQ(Source.Entry, expected[tag][0]) << int(tag);
    EXPECT_EQ(Source.Title, expected[tag][1]) << int(tag);
    EXPECT_EQ(FindOperation(tag)->Tag, tag);
  }
  // Cancelling changed nothing.
  EXPECT_EQ(Log.Count(), 0);
  EXPECT_FALSE(Ex.PendingFix.Valid);
  EXPECT_TRUE(Ex.NextFixEnabled());
}

TEST_F(DispatchTest, TagsOutsideTheCatalogueDoNothing) {
  for (const std::uint8_t tag : {std::uint8_t{0}, std::uint8_t{12}, std::uint8_t{255}}) {
    Source.Entry.clear();
    EXPECT_FALSE(RunOperation(tag, Source, Ex));
    EXPECT_EQ(Source.Entry, "");
  }
}

TEST_F(DispatchTest, ConfirmedOperandsReachTheExecutorInOrder) {
  Source.Fix[0] = 3;  // C, D: a Fix-Fix from C to D
  Source.Fix[1] = 4;
  EXPECT_TRUE(RunOperation(1, Source, Ex));
  EXPECT_EQ(Line(1), "Distance from C to D");
  // Next Fix is now enabled and continues to its one fix.
  Source.Fix[0] = 1;
  EXPECT_TRUE(RunOperation(9, Source, Ex));
  EXPECT_EQ(Source.Title, "Accumulated distance");
  EXPECT_EQ(Line(1), "Accumulated distance from C");
  EXPECT_EQ(Line(2), "to A");
}

TEST_F(DispatchTest, NextFixWhileDisabledIsRefusedBeforeAsking) {
  Source.Entry.clear();
  EXPECT_EQ(Failure(9), msg::NextFixDisabled);
  EXPECT_EQ(Source.Entry, "");
}

TEST_F(DispatchTest, DistanceIsCheckedBeforeTheAzimuth) {
  DisplayOptions.DistUnits = 3;
  Source.Distance = 180;
  Source.Azimuth = 360;
  EXPECT_EQ(Failure(6), msg::DistanceTooLarge);
  Source.Distance = 179.9L;
  EXPECT_EQ(Failure(6), msg::IllegalAzimuth);
  Source.Azimuth = -359.99L;
  EXPECT_EQ(Failure(6), "");
  EXPECT_EQ(Log.Count(), 1);
  // The distance check also guards Fixes at D and Fix at D.
  Source.Distance = 180;
  EXPECT_EQ(Failure(10), msg::DistanceTooLarge);
  EXPECT_EQ(Failure(11), msg::DistanceTooLarge);
  EXPECT_EQ(Log.Count(), 1);
}

TEST_F(DispatchTest, NegativeDistanceIsPassedOn) {
  Source.Distance = -100;  // km
  Source.Azimuth = 90;
  ASSERT_TRUE(RunOperation(6, Source, Ex));
  EXPECT_EQ(Line(1), "Fix at distance -100 km");
  EXPECT_LT(PosLon(Ex.PendingFix.Position), 0.0L);  // went West on an East course
}

TEST(ConversionTest, DistanceLimitsInDegreesAndKilometres) {
  DisplayOptions = TDisplayOptions{};
  SetEarthModel(DefaultSpherRadius, DefaultPolarRadius, DefaultEquatRadius);
  DisplayOptions.DistUnits = 3;
  EXPECT_THROW(CheckedDistance(180), Error);
  EXPECT_EQ(CheckedDistance(179.9L), 179.9L * DegToRad);
  DisplayOptions.DistUnits = 0;  // half the circumference is 20003.89 km
  EXPECT_EQ(CheckedDistance(20003), 20003 / DefaultSpherRadius);
  EXPECT_THROW(CheckedDistance(20004), Error);
  EXPECT_EQ(CheckedDistance(-100), -100 / DefaultSpherRadius);
  DisplayOptions.DistUnits = 1;
  EXPECT_EQ(DistanceToAngle(10), 16.09344L / DefaultSpherRadius);
  DisplayOptions.DistUnits = 2;
  EXPECT_EQ(DistanceToAngle(10), 18.52L / DefaultSpherRadius);
  EXPECT_THROW(CheckedDistance(std::numeric_limits<long double>::infinity()), Error);
  EXPECT_THROW(CheckedDistance(std::numeric_limits<long double>::quiet_NaN()), Error);
  // The radius in force is used, not the default.
  DisplayOptions.DistUnits = 0;
  SetEarthModel(1000, DefaultPolarRadius, DefaultEquatRadius);
  EXPECT_THROW(CheckedDistance(3142), Error);
  EXPECT_EQ(CheckedDistance(3141), 3141 / 1000.0L);
  SetEarthModel(DefaultSpherRadius, DefaultPolarRadius, DefaultEquatRadius);
}

TEST(ConversionTest, AzimuthLimits) {
  for (long double bad : {360.0L, -360.0L, 1e30L}) {
    try {
      CheckedAzimuth(bad);
      FAIL() << static_cast<double>(bad);
    } catch (const Error& e) {
      EXPECT_STREQ(e.what(), msg::IllegalAzimuth);
    }
  }
  EXPECT_EQ(CheckedAzimuth(359.99L), 359.99L * DegToRad);
  EXPECT_EQ(CheckedAzimuth(-359.99L), -359.99L * DegToRad);
}

}  // namespace
}  // namespace navorix::test
