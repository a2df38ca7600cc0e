// The chart window in a whole session: F2 and the View menu open and close
// it, it follows the log and the fix list at once, a click on a fix's dot
// selects its row, the picture it saves shows what it draws, and its place
// and projection are saved in their own section.
#include "session_support.h"

#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QMouseEvent>
#include <QPicture>

#include <random>
#include <utility>
#include <vector>

#include "text/fix_names.h"
#include "window/chart/chart_painter.h"
#include "window/chart/chart_window.h"

using namespace navorix;
using namespace navorix::test;

namespace {

constexpr const char* Fixes =
    "0 0 ZERO\r\n"
    "10 -30 A\r\n"
    "40 60 B\r\n"
    "-20 10 C\r\n"
    "30 20 D\r\n";

// A Fix-Fix of A and B, then an Intersection of A-B and C-D.
constexpr const char* History =
    "Distance from A to B\r\n"
    "\r\n"
    "(S) 9461 km\r\n"
    "Intersection of A-B\r\n"
    "and C-D\r\n"
    "21.44\xB0N 8.05\xB0W +*\r\n";

const QColor Lime(0, 255, 0);
const QColor Aqua(0, 255, 255);

bool Near(const QColor& A, const QColor& B) {
  return std::abs(A.red() - B.red()) + std::abs(A.green() - B.green()) + std::abs(A.blue() - B.blue()) < 60;
}

// Whether a pixel within Radius of (X, Y) has colour C.
bool ColourNear(const QImage& Image, QPointF At, const QColor& C, int Radius = 2) {
  for (int dy = -Radius; dy <= Radius; ++dy)
    for (int dx = -Radius; dx <= Radius; ++dx) {
      const QPoint p(qRound(At.x()) + dx, qRound(At.y()) + dy);
      if (Image.rect().contains(p) && Near(Image.pixelColor(p), C)) return true;
    }
  return false;
}

QPointF Pixel(const PixelPoint& P) { return {static_cast<double>(P.u), static_cast<double>(P.v)}; }

}  // namespace

class ChartTest : public QObject {
  Q_OBJECT

  std::unique_ptr<TSession> s_;

  TChartWindow* Chart() { return s_->Controller().Chart(); }
  int Count(ChartMarkerKind Kind) {
    int n = 0;
    for (const ChartMarker& m : Chart()->Scene().Markers()) n += m.kind == Kind ? 1 : 0;
    return n;
  }
  // Draws the chart now, as the next paint would.
  void Draw() {
    QImage scratch(Chart()->size(), QImage::Format_RGB32);
    Chart()->render(&scratch);
  }

 private slots:
  void init() {
    s_ = std::make_unique<TSession>();
    QVERIFY(s_->Start(Fixes, History));
  }
  void cleanup() {
    s_->VerifyAllAnswered();
    s_.reset();
  }

  void F2AndTheViewMenuOpenAndCloseIt() {
    QCOMPARE(Chart(), nullptr);
    s_->Press(Qt::Key_F2);
    QVERIFY(Chart() != nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(Chart()));
    QCOMPARE(Chart()->windowTitle(), QStringLiteral("Navorix Chart"));
    QVERIFY(!Chart()->isModal());
    QTest::keyClick(Chart(), Qt::Key_F2);
    QVERIFY(!Chart()->isVisible());
    s_->Menu().mChart->trigger();
    QVERIFY(Chart()->isVisible());
    s_->Menu().mChart->trigger();
    QVERIFY(!Chart()->isVisible());
    QCOMPARE(s_->Menu().mView->title(), QStringLiteral("&View"));
    QCOMPARE(s_->Menu().mChart->text(), QStringLiteral("&Chart"));
  }

  void ItFollowsTheLogAndSavesWhatItShows() {
    s_->Press(Qt::Key_F2);
    QVERIFY(QTest::qWaitForWindowExposed(Chart()));
    Draw();
    // The last record, the Intersection: four operands and its point.
    QCOMPARE(Count(ChartMarkerKind::Operand), 4);
    QCOMPARE(Count(ChartMarkerKind::Result), 1);
    QCOMPARE(Chart()->Scene().FigureDashed().Count() > 0, true);
    s_->Press(Qt::Key_Left);
    Draw();
    QCOMPARE(Count(ChartMarkerKind::Operand), 2);
    QCOMPARE(Count(ChartMarkerKind::Result), 0);
    QCOMPARE(Chart()->Scene().FigureDashed().Count(), 0u);
    s_->Press(Qt::Key_Right);
    Draw();
    QCOMPARE(Count(ChartMarkerKind::Result), 1);

    const QString png = QDir(QDir::tempPath()).filePath(QStringLiteral("navorix_chart_test.png"));
    QVERIFY(Chart()->SavePicture(png));
    QImage saved(png);
    QCOMPARE(saved.size(), Chart()->size());
    for (const ChartMarker& m : Chart()->Scene().Markers()) {
      if (m.kind == ChartMarkerKind::Result) QVERIFY(ColourNear(saved, Pixel(m.at), Aqua, 1));
    }
    QFile::remove(png);
    const QString svg = QDir(QDir::tempPath()).filePath(QStringLiteral("navorix_chart_test.svg"));
    QVERIFY(Chart()->SavePicture(svg));
    const std::string text = ReadBytes(svg);
    QVERIFY(text.find("<svg") != std::string::npos);
    QVERIFY(text.find("<polyline") != std::string::npos);
    QFile::remove(svg);
    QVERIFY(!Chart()->SavePicture(QStringLiteral("/nonexistent-folder/x.png")));
  }

  void AClickOnADotSelectsItsRowAndTheListMovesTheMark() {
    s_->Press(Qt::Key_F2);
    QVERIFY(QTest::qWaitForWindowExposed(Chart()));
    Draw();
    const ChartDot* c = nullptr;
    for (const ChartDot& dot : Chart()->Scene().Dots())
      if (dot.fix == 4) c = &dot;
    QVERIFY(c != nullptr);
    const QPoint at = Pixel(c->at).toPoint();
    QTest::mouseClick(Chart(), Qt::LeftButton, Qt::NoModifier, at);
    QCOMPARE(s_->Bench().CurrentRow(), 3);
    QCOMPARE(s_->ListRow(), 3);
    Draw();
    QVERIFY(Chart()->Scene().Current().has_value());
    QVERIFY(std::abs(Chart()->Scene().Current()->u - c->at.u) < 1e-9L);
    // A drag moves the view and selects nothing.
    const ChartView before = Chart()->View();
    QTest::mousePress(Chart(), Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    QMouseEvent move(QEvent::MouseMove, QPointF(160, 130), Chart()->mapToGlobal(QPointF(160, 130)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Chart(), &move);
    QTest::mouseRelease(Chart(), Qt::LeftButton, Qt::NoModifier, QPoint(160, 130));
    QVERIFY(Chart()->View().centreLon < before.centreLon);
    QVERIFY(Chart()->View().centreLat > before.centreLat);
    QCOMPARE(s_->Bench().CurrentRow(), 3);
    // Selecting in the list marks that fix.
    s_->Select(1);
    Draw();
    QCOMPARE(Chart()->Scene().FixAt(*Chart()->Scene().Current(), 0.1L), 2);
  }

  void KeysZoomRecentreAndChooseTheProjectionWhichIsSaved() {
    s_->Press(Qt::Key_F2);
    QVERIFY(QTest::qWaitForWindowExposed(Chart()));
    const long double zoom = Chart()->View().zoom;
    QTest::keyClick(Chart(), Qt::Key_Plus);
    QVERIFY(Chart()->View().zoom > zoom);
    QTest::keyClick(Chart(), Qt::Key_Minus);
    QTest::keyClick(Chart(), Qt::Key_Minus);
    QVERIFY(Chart()->View().zoom < zoom);
    QTest::keyClick(Chart(), Qt::Key_M);
    QCOMPARE(Chart()->View().kind, ProjectionKind::Mercator);
    Chart()->resize(500, 400);
    QVERIFY(s_->Bench().SaveStatus());
    const std::string ini = ReadBytes(s_->Path(QStringLiteral("navorix.ini")));
    QVERIFY2(ini.find("Width=500\r\nHeight=400\r\nProjection=1\r\n") != std::string::npos, ini.c_str());
  }
};

// A fix at 0N 0E on a globe centred there is drawn at the picture's centre,
// and a known arc passes through its end points, in the picture as saved.
class ChartPictureTest : public QObject {
  Q_OBJECT

 private slots:
  void TheCentreFixAndAnArcsEndsInThePixels() {
    TEarthModel earth;
    TFixDB fixes;
    FixRecord zero, west, east;
    MakeFix(zero, PosFromLatLon(earth, 0, 0), "ZERO");
    MakeFix(west, PosFromLatLon(earth, 0.3L, -0.6L), "W");
    MakeFix(east, PosFromLatLon(earth, -0.2L, 0.7L), "E");
    fixes.Add(zero);
    fixes.Add(west);
    fixes.Add(east);
    Figure shown;
    shown.operation = TOpTag::FixFix;
    shown.lines.push_back({FigureLineKind::Segment, west.Position, east.Position});
    for (ProjectionKind kind : {ProjectionKind::Globe, ProjectionKind::Mercator}) {
      TChartScene scene;
      ChartView view;
      view.kind = kind;
      scene.Build(view, 400, 300, fixes, 3, shown, earth, {});
      QImage image(400, 300, QImage::Format_RGB32);
      QPainter painter(&image);
      PaintChart(painter, scene);
      painter.end();
      QVERIFY(ColourNear(image, QPointF(200, 150), Lime, 1));
      // The arc is drawn white through the pixels of its ends, as the
      // projection puts them, and through its middle.
      PixelPoint w, e, middle;
      QVERIFY(scene.Projection().Forward(west.Position, w));
      QVERIFY(scene.Projection().Forward(east.Position, e));
      TTriV half = TriAdd(west.Position, east.Position);
      TriNormalize(half);
      QVERIFY(scene.Projection().Forward(half, middle));
      QVERIFY(ColourNear(image, Pixel(w), Qt::white, 1));
      QVERIFY(ColourNear(image, Pixel(e), Qt::white, 1));
      QVERIFY(ColourNear(image, Pixel(middle), Qt::white, 1));
      QVERIFY(!ColourNear(image, QPointF(200, 30), Qt::white, 3));  // and not elsewhere
    }
  }

  // On a raster device the dots are set into a layer; on any other they are
  // drawn as rectangles. Both give the same pixels, dots on the picture's
  // edges and corners (partly outside it) included.
  void TheDotsAreTheSameOnEveryDevice() {
    TEarthModel earth;
    earth.EllipticLat = false;
    TFixDB fixes;
    std::mt19937 random(11);
    std::uniform_real_distribution<double> lat(-1.4, 1.4), lon(-3.1, 3.1);
    for (int i = 0; i < 3000; ++i) {
      FixRecord fix;
      MakeFix(fix, PosFromLatLon(earth, lat(random), lon(random)), "F");
      fixes.Add(fix);
    }
    // Mercator at zoom 1: u = W/2 + W/(2 pi) lam, v = H/2 - W/(2 pi) psi.
    const long double s = 400.0L / TwoPi;
    for (const auto& [u, v] : std::vector<std::pair<long double, long double>>{
             {0, 0}, {-1, 150}, {1, 150}, {399, 150}, {400, 150}, {401, 299}, {200, 300}, {200, -1}}) {
      FixRecord fix;
      const long double psi = (150 - v) / s;
      MakeFix(fix, PosFromLatLon(earth, std::atan(std::sinh(psi)), (u - 200) / s), "EDGE");
      fixes.Add(fix);
    }
    LabelMetrics noNames;
    noNames.charWidth = 1e6L;  // no name fits: only the dots differ
    for (ProjectionKind kind : {ProjectionKind::Globe, ProjectionKind::Mercator}) {
      TChartScene scene;
      ChartView view;
      view.kind = kind;
      scene.Build(view, 400, 300, fixes, -1, Figure{}, earth, noNames);
      QVERIFY(scene.Labels().empty());
      QImage direct(400, 300, QImage::Format_RGB32);
      {
        QPainter painter(&direct);
        PaintChart(painter, scene);
      }
      QPicture recorded;
      {
        QPainter painter(&recorded);
        PaintChart(painter, scene);
      }
      QImage replayed(400, 300, QImage::Format_RGB32);
      {
        QPainter painter(&replayed);
        recorded.play(&painter);
      }
      QCOMPARE(direct, replayed);
      QVERIFY(ColourNear(direct, QPointF(0, 0), Lime, 0) || kind == ProjectionKind::Globe);
    }
  }
};

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  int failed = 0;
  {
    ChartTest t;
    failed += QTest::qExec(&t, argc, argv);
  }
  {
    ChartPictureTest t;
    failed += QTest::qExec(&t, argc, argv);
  }
  return failed;
}

#include "chart_test.moc"
