// The dispatcher: which dialog entry each button asks, the conversion and
// range checks of typed values and their order, cancelling, Next Fix.
#include <gtest/gtest.h>

#include <limits>
#include <optional>

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

// Answers every request with the same operands, or cancels; records the
// layout and the title asked for.
struct ScriptedSource : OperandSource {
  bool confirm = true;
  std::uint16_t fix[4] = {1, 2, 3, 4};
  long double distance = 0.0L, azimuth = 0.0L;
  string entry, title;

  bool Ask(const DialogLayout& layout, std::string_view T, Operands& operands) override {
    static const char* const Names[] = {"OneFix",     "TwoFixes", "FixDistAzim", "ArcDist",
                                        "ArcFixDist", "ArcFix",   "TwoArcs"};
    entry = Names[static_cast<int>(layout.entry)];
    title = string(T);
    if (!confirm) return false;
    for (int i = 0; i < 4; ++i) operands.fix[i] = fix[i];
    operands.distance = distance;
    operands.azimuth = azimuth;
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
  // Runs the operation of tag as the owner does; true when it was logged.
  bool Run(std::uint8_t tag) {
    const std::optional<OperationResult> result =
        Dispatch(static_cast<OperationTag>(tag), source, ex.MakeExecutors(), ex.NextFixEnabled());
    if (result) ex.Keep(*result);
    return result.has_value();
  }
  // The message of the Error that Dispatch raises, "" when none.
  string Failure(std::uint8_t tag) {
    try {
      Run(tag);
    } catch (const Error& e) {
      return e.what();
    }
    return "";
  }
  ScriptedSource source;
};

TEST_F(DispatchTest, EachButtonAsksItsLayoutUnderItsTitle) {
  source.confirm = false;
  ex.SetNextFixEnabled(true);
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
    EXPECT_FALSE(Run(tag)) << int(tag);
    EXPECT_EQ(source.entry, expected[tag][0]) << int(tag);
    EXPECT_EQ(source.title, expected[tag][1]) << int(tag);
    EXPECT_EQ(static_cast<int>(FindOperation(tag)->tag), tag);
  }
  // Cancelling changed nothing.
  EXPECT_EQ(log.Count(), 0);
  EXPECT_FALSE(ex.pendingFix.valid);
  EXPECT_TRUE(ex.NextFixEnabled());
}

TEST_F(DispatchTest, TagsOutsideTheCatalogueAreNotOperations) {
  for (const std::uint8_t tag : {std::uint8_t{0}, std::uint8_t{12}, std::uint8_t{255}}) {
    EXPECT_EQ(FindOperation(tag), nullptr) << int(tag);
  }
}

TEST_F(DispatchTest, LayoutsNumberTheirFieldsInOperandOrder) {
  // Twenty remembered texts: one per field of each layout, without overlap.
  int texts = 0;
  for (int entry = 0; entry < LayoutCount; ++entry) {
    const DialogLayout& layout = Layout(static_cast<DialogEntry>(entry));
    EXPECT_EQ(static_cast<int>(layout.entry), entry);
    EXPECT_EQ(layout.firstText, texts) << entry;
    texts += layout.fieldCount;
    for (std::size_t i = 1; i < layout.fieldCount; ++i) {
      EXPECT_LT(layout.fields[i - 1].field, layout.fields[i].field) << entry;
    }
  }
  EXPECT_EQ(texts, LayoutTextCount);
  // Fixes at D asks "Fix:" in field 4 after the distance's field 5 in Tab
  // order, but its fix still comes third.
  const DialogLayout& proximity = Layout(DialogEntry::ArcFixDist);
  EXPECT_EQ(proximity.fields[2].field, 4);
  EXPECT_EQ(proximity.fields[2].label, "Fix:");
  EXPECT_EQ(proximity.fields[3].kind, FieldKind::Distance);
}

TEST_F(DispatchTest, ConfirmedOperandsReachTheExecutorInOrder) {
  source.fix[0] = 3;  // C, D: a Fix-Fix from C to D
  source.fix[1] = 4;
  EXPECT_TRUE(Run(1));
  EXPECT_EQ(Line(1), "Distance from C to D");
  // Next Fix is now enabled and continues to its one fix.
  source.fix[0] = 1;
  EXPECT_TRUE(Run(9));
  EXPECT_EQ(source.title, "Accumulated distance");
  EXPECT_EQ(Line(1), "Accumulated distance from C");
  EXPECT_EQ(Line(2), "to A");
}

TEST_F(DispatchTest, NextFixWhileDisabledIsRefusedBeforeAsking) {
  source.entry.clear();
  EXPECT_EQ(Failure(9), msg::NextFixDisabled);
  EXPECT_EQ(source.entry, "");
}

TEST_F(DispatchTest, DistanceIsCheckedBeforeTheAzimuth) {
  Set(options.distUnits, 3);
  source.distance = 180;
  source.azimuth = 360;
  EXPECT_EQ(Failure(6), msg::DistanceTooLarge);
  source.distance = 179.9L;
  EXPECT_EQ(Failure(6), msg::IllegalAzimuth);
  source.azimuth = -359.99L;
  EXPECT_EQ(Failure(6), "");
  EXPECT_EQ(log.Count(), 1);
  // The distance check also guards Fixes at D and Fix at D.
  source.distance = 180;
  EXPECT_EQ(Failure(10), msg::DistanceTooLarge);
  EXPECT_EQ(Failure(11), msg::DistanceTooLarge);
  EXPECT_EQ(log.Count(), 1);
}

TEST_F(DispatchTest, NegativeDistanceIsPassedOn) {
  source.distance = -100;  // km
  source.azimuth = 90;
  ASSERT_TRUE(Run(6));
  EXPECT_EQ(Line(1), "Fix at distance -100 km");
  EXPECT_LT(PosLon(ex.pendingFix.position), 0.0L);  // went West on an East course
}

TEST(ConversionTest, DistanceLimitsInDegreesAndKilometres) {
  const long double R = DefaultSpherRadius;
  using U = DistUnits;
  EXPECT_THROW(CheckedDistance(U::Degrees, R, 180), Error);
  EXPECT_EQ(CheckedDistance(U::Degrees, R, 179.9L), 179.9L * DegToRad);
  // Half the circumference is 20003.89 km.
  EXPECT_EQ(CheckedDistance(U::Kilometers, R, 20003), 20003 / DefaultSpherRadius);
  EXPECT_THROW(CheckedDistance(U::Kilometers, R, 20004), Error);
  EXPECT_EQ(CheckedDistance(U::Kilometers, R, -100), -100 / DefaultSpherRadius);
  EXPECT_EQ(DistanceToAngle(U::Miles, R, 10), 16.09344L / DefaultSpherRadius);
  EXPECT_EQ(DistanceToAngle(U::NautMiles, R, 10), 18.52L / DefaultSpherRadius);
  EXPECT_THROW(CheckedDistance(U::Kilometers, R, std::numeric_limits<long double>::infinity()), Error);
  EXPECT_THROW(CheckedDistance(U::Kilometers, R, std::numeric_limits<long double>::quiet_NaN()), Error);
  // The radius given is used, not the default.
  EXPECT_THROW(CheckedDistance(U::Kilometers, 1000, 3142), Error);
  EXPECT_EQ(CheckedDistance(U::Kilometers, 1000, 3141), 3141 / 1000.0L);
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
