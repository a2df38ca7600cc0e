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
struct TScriptedSource : TOperandSource {
  bool Confirm = true;
  std::uint16_t Fix[4] = {1, 2, 3, 4};
  long double Distance = 0.0L, Azimuth = 0.0L;
  string Entry, Title;

  bool Ask(const TDialogLayout& Layout, std::string_view T, TOperands& Operands) override {
    static const char* const Names[] = {"OneFix",     "TwoFixes", "FixDistAzim", "ArcDist",
                                        "ArcFixDist", "ArcFix",   "TwoArcs"};
    Entry = Names[static_cast<int>(Layout.Entry)];
    Title = string(T);
    if (!Confirm) return false;
    for (int i = 0; i < 4; ++i) Operands.Fix[i] = Fix[i];
    Operands.Distance = Distance;
    Operands.Azimuth = Azimuth;
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
  // Runs the operation of Tag as the owner does; true when it was logged.
  bool Run(std::uint8_t Tag) {
    const std::optional<TOpResult> result =
        Dispatch(static_cast<TOpTag>(Tag), Source, Ex.Executors(), Ex.NextFixEnabled());
    if (result) Ex.Keep(*result);
    return result.has_value();
  }
  // The message of the Error that Dispatch raises, "" when none.
  string Failure(std::uint8_t Tag) {
    try {
      Run(Tag);
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
    EXPECT_FALSE(Run(tag)) << int(tag);
    EXPECT_EQ(Source.Entry, expected[tag][0]) << int(tag);
    EXPECT_EQ(Source.Title, expected[tag][1]) << int(tag);
    EXPECT_EQ(static_cast<int>(FindOperation(tag)->Tag), tag);
  }
  // Cancelling changed nothing.
  EXPECT_EQ(Log.Count(), 0);
  EXPECT_FALSE(Ex.PendingFix.Valid);
  EXPECT_TRUE(Ex.NextFixEnabled());
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
    const TDialogLayout& layout = Layout(static_cast<TDialogEntry>(entry));
    EXPECT_EQ(static_cast<int>(layout.Entry), entry);
    EXPECT_EQ(layout.FirstText, texts) << entry;
    texts += layout.FieldCount;
    for (std::size_t i = 1; i < layout.FieldCount; ++i) {
      EXPECT_LT(layout.Fields[i - 1].Field, layout.Fields[i].Field) << entry;
    }
  }
  EXPECT_EQ(texts, LayoutTextCount);
  // Fixes at D asks "Fix:" in field 4 after the distance's field 5 in Tab
  // order, but its fix still comes third.
  const TDialogLayout& proximity = Layout(TDialogEntry::ArcFixDist);
  EXPECT_EQ(proximity.Fields[2].Field, 4);
  EXPECT_EQ(proximity.Fields[2].Label, "Fix:");
  EXPECT_EQ(proximity.Fields[3].Kind, TFieldKind::Distance);
}

TEST_F(DispatchTest, ConfirmedOperandsReachTheExecutorInOrder) {
  Source.Fix[0] = 3;  // C, D: a Fix-Fix from C to D
  Source.Fix[1] = 4;
  EXPECT_TRUE(Run(1));
  EXPECT_EQ(Line(1), "Distance from C to D");
  // Next Fix is now enabled and continues to its one fix.
  Source.Fix[0] = 1;
  EXPECT_TRUE(Run(9));
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
  Set(Options.DistUnits, 3);
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
  ASSERT_TRUE(Run(6));
  EXPECT_EQ(Line(1), "Fix at distance -100 km");
  EXPECT_LT(PosLon(Ex.PendingFix.Position), 0.0L);  // went West on an East course
}

TEST(ConversionTest, DistanceLimitsInDegreesAndKilometres) {
  const long double R = DefaultSpherRadius;
  using U = TDistUnits;
  EXPECT_THROW(CheckedDistance(U::Degrees, R, 180), Error);
  EXPECT_EQ(CheckedDistance(U::Degrees, R, 179.9L), 179.9L * DegToRad);
  // Half the circumference is 20003.89 km.
  EXPECT_EQ(CheckedDistance(U::Kilometers, R, 20003), 20003 / DefaultSpherRadius);
  EXPECT_THROW(CheckedDistance(U::Kilometers, R, 20004), Error);
  EXPECT_EQ(CheckedDistance(U::Kilometers, R, -100), -100 / DefaultSpherRadius);
  EXPECT_EQ(DistanceToAngle(U::Miles, R, 10), 16.09344L / DefaultSpherRadius);
  EXPECT_EQ(DistanceToAngle(U::NautMiles, R, 10), 18.52L / DefaultSpherRadius);
  EXPECT_THROW(CheckedDistance(U::Kilometers, R, std::numeric_limits<long double>::infinity()), Error);
  EXPECT_THROW(CheckedDistance(U::Kilometers, R, std::numeric_limits<long double>::quiet_NaN()),
               Error);
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
