// The error box: the text it shows, its size, and what closes it.
#include "window/boxes/error_box.h"
#include "window_test_support.h"

#include <QLabel>
#include <QTest>

using navorix::ErrorBox;
using navorix::test::whenModal;

class ErrorBoxTest : public QObject {
  Q_OBJECT

 private slots:
  void textIsCutAt64Characters() {
    const std::string seventy(70, 'x');
    QCOMPARE(navorix::errBoxText(seventy), std::string(64, 'x'));
    QCOMPARE(navorix::errBoxText(std::string(64, 'y')), std::string(64, 'y'));
    QCOMPARE(navorix::errBoxText("Same or opposing fixes"), std::string("Same or opposing fixes"));
  }

  void accessViolationBecomesAPlea() {
    QCOMPARE(navorix::errBoxText("Access violation at address 0040A1B2 in module 'x'"),
             std::string("Impossible! Please send in a problem report."));
    // Only the exact words count.
    QCOMPARE(navorix::errBoxText("access violation"), std::string("access violation"));
  }

  void showTextAt70CharactersAndItsWidth() {
    ErrorBox box;
    box.setFontFamily(QStringLiteral("Lucida Console"));
    const std::string text = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ+-*/()=<>";
    QVERIFY(text.size() >= 70);
    box.prepare(text.substr(0, 70));
    const QString shown = QString::fromStdString(text.substr(0, 64));
    QCOMPARE(box.textLabel()->text(), shown);
    const int textWidth = QFontMetrics(box.font()).horizontalAdvance(shown);
    QCOMPARE(box.textLabel()->geometry(), QRect(61, 20, textWidth, QFontMetrics(box.font()).height()));
    QCOMPARE(box.width(), 61 + textWidth + 18);
    QCOMPARE(box.height(), 57);
    // A shorter text gives a narrower box.
    box.prepare("Same or opposing fixes");
    QCOMPARE(box.width(),
             61 + QFontMetrics(box.font()).horizontalAdvance(QStringLiteral("Same or opposing fixes")) + 18);
  }

  // A report: its lines one under the other, each cut as a message is,
  // the box a line taller for each line more.
  void aReportShowsItsLinesInOneBox() {
    ErrorBox box;
    box.setFontFamily(QStringLiteral("Lucida Console"));
    const std::vector<std::string> lines = {"Fix file: 1 unreadable line shown as an empty row",
                                            std::string(70, 'z'), "and 3 more"};
    box.prepare(lines);
    const QFontMetrics fm(box.font());
    QCOMPARE(box.textLabel()->text(),
             QString::fromStdString(lines[0] + "\n" + std::string(64, 'z') + "\nand 3 more"));
    const int widest = std::max(fm.horizontalAdvance(QString::fromStdString(lines[0])),
                                fm.horizontalAdvance(QString(64, QLatin1Char('z'))));
    QCOMPARE(box.width(), 61 + widest + 18);
    // Every line is drawn whole: the label is as high as its text needs.
    const int high = box.textLabel()->sizeHint().height();
    QVERIFY(high >= 3 * fm.lineSpacing());
    QCOMPARE(box.textLabel()->geometry(), QRect(61, 20, widest, high));
    QCOMPARE(box.height(), 57 + high - fm.height());
    // One line is the box of a message.
    box.prepare(std::vector<std::string>{"Same or opposing fixes"});
    QCOMPARE(box.height(), 57);
    QCOMPARE(box.textLabel()->text(), QStringLiteral("Same or opposing fixes"));
  }

  void lookOfTheBox() {
    ErrorBox box;
    QVERIFY(box.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(box.windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(box.palette().color(QPalette::Window), QColor(Qt::black));
    QCOMPARE(box.textLabel()->palette().color(QPalette::WindowText), QColor(Qt::red));
    QVERIFY(box.textLabel()->alignment() & Qt::AlignHCenter);
    auto* icon = box.findChild<QLabel*>(QStringLiteral("Img"));
    QVERIFY(icon != nullptr);
    QCOMPARE(icon->pixmap().size(), QSize(32, 32));
    QVERIFY(icon->x() < 61);
    box.setFontFamily(QStringLiteral("Lucida Console"));
    QCOMPARE(box.font().family(), QStringLiteral("Lucida Console"));
    QVERIFY(!box.font().bold());
  }

  void anyKeyCloses() {
    ErrorBox box;
    whenModal([](QWidget* modal, QWidget*) { QTest::keyClick(modal, Qt::Key_Shift); });
    box.showText("Distance too large (>pi)");
    QVERIFY(!box.isVisible());
    whenModal([](QWidget* modal, QWidget*) { QTest::keyClick(modal, Qt::Key_A); });
    box.showText("Illegal azimuth value (>2pi)");
    QVERIFY(!box.isVisible());
  }

  void mousePressCloses() {
    ErrorBox box;
    whenModal([](QWidget* modal, QWidget*) { QTest::mousePress(modal, Qt::RightButton, {}, QPoint(5, 5)); });
    box.showText("This fix name is already in use");
    QVERIFY(!box.isVisible());
  }
};

QTEST_MAIN(ErrorBoxTest)
#include "error_box_test.moc"
