// The chart window in a whole session: F2 and the View menu open and close
// it, it follows the log and the fix list at once, a click on a fix's dot
// selects its row, the picture it saves shows what it draws, and its place
// and projection are saved in their own section.
#include "session_support.h"

#include <QImage>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
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

bool near(const QColor& A, const QColor& B) {
  return std::abs(A.red() - B.red()) + std::abs(A.green() - B.green()) + std::abs(A.blue() - B.blue()) < 60;
}

// Whether a pixel within radius of (X, Y) has colour C.
bool colourNear(const QImage& image, QPointF at, const QColor& C, int radius = 2) {
  for (int dy = -radius; dy <= radius; ++dy)
    for (int dx = -radius; dx <= radius; ++dx) {
      const QPoint p(qRound(at.x()) + dx, qRound(at.y()) + dy);
      if (image.rect().contains(p) && near(image.pixelColor(p), C)) return true;
    }
  return false;
}

QPointF pixel(const PixelPoint& P) { return {static_cast<double>(P.u), static_cast<double>(P.v)}; }

}  // namespace

class ChartTest : public QObject {
  Q_OBJECT

  std::unique_ptr<Session> s_;

  ChartWindow* chart() { return s_->controller().chart(); }
  int count(ChartMarkerKind kind) {
    int n = 0;
    for (const ChartMarker& m : chart()->scene().Markers()) n += m.kind == kind ? 1 : 0;
    return n;
  }
  // Draws the chart now, as the next paint would.
  void draw() {
    QImage scratch(chart()->size(), QImage::Format_RGB32);
    chart()->render(&scratch);
  }

 private slots:
  void init() {
    s_ = std::make_unique<Session>();
    QVERIFY(s_->start(Fixes, History));
  }
  void cleanup() {
    s_->verifyAllAnswered();
    s_.reset();
  }

  void f2AndTheViewMenuOpenAndCloseIt() {
    QCOMPARE(chart(), nullptr);
    s_->press(Qt::Key_F2);
    QVERIFY(chart() != nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(chart()));
    QCOMPARE(chart()->windowTitle(), QStringLiteral("Navorix Chart"));
    QVERIFY(!chart()->isModal());
    QTest::keyClick(chart(), Qt::Key_F2);
    QVERIFY(!chart()->isVisible());
    s_->menu().chartAction->trigger();
    QVERIFY(chart()->isVisible());
    s_->menu().chartAction->trigger();
    QVERIFY(!chart()->isVisible());
    QCOMPARE(s_->menu().viewMenu->title(), QStringLiteral("&View"));
    QCOMPARE(s_->menu().chartAction->text(), QStringLiteral("&Chart"));
  }

  void itFollowsTheLogAndSavesWhatItShows() {
    s_->press(Qt::Key_F2);
    QVERIFY(QTest::qWaitForWindowExposed(chart()));
    draw();
    // The last record, the Intersection: four operands and its point.
    QCOMPARE(count(ChartMarkerKind::Operand), 4);
    QCOMPARE(count(ChartMarkerKind::Result), 1);
    QCOMPARE(chart()->scene().FigureDashed().Count() > 0, true);
    s_->press(Qt::Key_Left);
    draw();
    QCOMPARE(count(ChartMarkerKind::Operand), 2);
    QCOMPARE(count(ChartMarkerKind::Result), 0);
    QCOMPARE(chart()->scene().FigureDashed().Count(), 0u);
    s_->press(Qt::Key_Right);
    draw();
    QCOMPARE(count(ChartMarkerKind::Result), 1);

    const QString png = QDir(QDir::tempPath()).filePath(QStringLiteral("navorix_chart_test.png"));
    QVERIFY(chart()->savePicture(png));
    QImage saved(png);
    QCOMPARE(saved.size(), chart()->size());
    for (const ChartMarker& m : chart()->scene().Markers()) {
      if (m.kind == ChartMarkerKind::Result) QVERIFY(colourNear(saved, pixel(m.at), Aqua, 1));
    }
    QFile::remove(png);
    const QString svg = QDir(QDir::tempPath()).filePath(QStringLiteral("navorix_chart_test.svg"));
    QVERIFY(chart()->savePicture(svg));
    const std::string text = readBytes(svg);
    QVERIFY(text.find("<svg") != std::string::npos);
    QVERIFY(text.find("<polyline") != std::string::npos);
    QFile::remove(svg);
    QVERIFY(!chart()->savePicture(QStringLiteral("/nonexistent-folder/x.png")));
  }

  void aClickOnADotSelectsItsRowAndTheListMovesTheMark() {
    s_->press(Qt::Key_F2);
    QVERIFY(QTest::qWaitForWindowExposed(chart()));
    draw();
    const ChartDot* c = nullptr;
    for (const ChartDot& dot : chart()->scene().Dots())
      if (dot.fix == 4) c = &dot;
    QVERIFY(c != nullptr);
    const QPoint at = pixel(c->at).toPoint();
    QTest::mouseClick(chart(), Qt::LeftButton, Qt::NoModifier, at);
    QCOMPARE(s_->bench().CurrentRow(), 3);
    QCOMPARE(s_->listRow(), 3);
    draw();
    QVERIFY(chart()->scene().Current().has_value());
    QVERIFY(std::abs(chart()->scene().Current()->u - c->at.u) < 1e-9L);
    // A drag moves the view and selects nothing.
    const ChartView before = chart()->view();
    QTest::mousePress(chart(), Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    QMouseEvent move(QEvent::MouseMove, QPointF(160, 130), chart()->mapToGlobal(QPointF(160, 130)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(chart(), &move);
    QTest::mouseRelease(chart(), Qt::LeftButton, Qt::NoModifier, QPoint(160, 130));
    QVERIFY(chart()->view().centreLon < before.centreLon);
    QVERIFY(chart()->view().centreLat > before.centreLat);
    QCOMPARE(s_->bench().CurrentRow(), 3);
    // Selecting in the list marks that fix.
    s_->select(1);
    draw();
    QCOMPARE(chart()->scene().FixAt(*chart()->scene().Current(), 0.1L), 2);
  }

  void keysZoomRecentreAndChooseTheProjectionWhichIsSaved() {
    s_->press(Qt::Key_F2);
    QVERIFY(QTest::qWaitForWindowExposed(chart()));
    const long double zoom = chart()->view().zoom;
    QTest::keyClick(chart(), Qt::Key_Plus);
    QVERIFY(chart()->view().zoom > zoom);
    QTest::keyClick(chart(), Qt::Key_Minus);
    QTest::keyClick(chart(), Qt::Key_Minus);
    QVERIFY(chart()->view().zoom < zoom);
    QTest::keyClick(chart(), Qt::Key_M);
    QCOMPARE(chart()->view().kind, ProjectionKind::Mercator);
    chart()->resize(500, 400);
    QVERIFY(s_->bench().SaveStatus());
    const std::string ini = readBytes(s_->path(QStringLiteral("navorix.ini")));
    QVERIFY2(ini.find("Width=500\r\nHeight=400\r\nProjection=1\r\n") != std::string::npos, ini.c_str());
  }
};

// A fix at 0N 0E on a globe centred there is drawn at the picture's centre,
// and a known arc passes through its end points, in the picture as saved.
class ChartPictureTest : public QObject {
  Q_OBJECT

 private slots:
  void theCentreFixAndAnArcsEndsInThePixels() {
    EarthModel earth;
    FixDatabase fixes;
    FixRecord zero, west, east;
    MakeFix(zero, PosFromLatLon(earth, 0, 0), "ZERO");
    MakeFix(west, PosFromLatLon(earth, 0.3L, -0.6L), "W");
    MakeFix(east, PosFromLatLon(earth, -0.2L, 0.7L), "E");
    fixes.Add(zero);
    fixes.Add(west);
    fixes.Add(east);
    Figure shown;
    shown.operation = OperationTag::FixFix;
    shown.lines.push_back({FigureLineKind::Segment, west.position, east.position});
    for (ProjectionKind kind : {ProjectionKind::Globe, ProjectionKind::Mercator}) {
      ChartScene scene;
      ChartView view;
      view.kind = kind;
      scene.Build(view, 400, 300, fixes, 3, shown, earth, {});
      QImage image(400, 300, QImage::Format_RGB32);
      QPainter painter(&image);
      paintChart(painter, scene);
      painter.end();
      QVERIFY(colourNear(image, QPointF(200, 150), Lime, 1));
      // The arc is drawn white through the pixels of its ends, as the
      // projection puts them, and through its middle.
      PixelPoint w, e, middle;
      QVERIFY(scene.Projection().Forward(west.position, w));
      QVERIFY(scene.Projection().Forward(east.position, e));
      Vector3 half = TriAdd(west.position, east.position);
      TriNormalize(half);
      QVERIFY(scene.Projection().Forward(half, middle));
      QVERIFY(colourNear(image, pixel(w), Qt::white, 1));
      QVERIFY(colourNear(image, pixel(e), Qt::white, 1));
      QVERIFY(colourNear(image, pixel(middle), Qt::white, 1));
      QVERIFY(!colourNear(image, QPointF(200, 30), Qt::white, 3));  // and not elsewhere
    }
  }

  // On a raster device the dots are set into a layer; on any other they are
  // drawn as rectangles. Both give the same pixels, dots on the picture's
  // edges and corners (partly outside it) included.
  void theDotsAreTheSameOnEveryDevice() {
    EarthModel earth;
    earth.ellipticLat = false;
    FixDatabase fixes;
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
      ChartScene scene;
      ChartView view;
      view.kind = kind;
      scene.Build(view, 400, 300, fixes, -1, Figure{}, earth, noNames);
      QVERIFY(scene.Labels().empty());
      QImage direct(400, 300, QImage::Format_RGB32);
      {
        QPainter painter(&direct);
        paintChart(painter, scene);
      }
      QPicture recorded;
      {
        QPainter painter(&recorded);
        paintChart(painter, scene);
      }
      QImage replayed(400, 300, QImage::Format_RGB32);
      {
        QPainter painter(&replayed);
        recorded.play(&painter);
      }
      QCOMPARE(direct, replayed);
      QVERIFY(colourNear(direct, QPointF(0, 0), Lime, 0) || kind == ProjectionKind::Globe);
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
