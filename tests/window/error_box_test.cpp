// The error box: the text it shows, its size, and what closes it.
#include "window/boxes/error_box.h"
#include "window_test_support.h"

#include <QLabel>
#include <QTest>

using navorix::TErrBox;
using navorix::test::WhenModal;

class ErrorBoxTest : public QObject {
  Q_OBJECT

 private slots:
  void TextIsCutAt64Characters() {
    const std::string seventy(70, 'x');
    QCOMPARE(navorix::ErrBoxText(seventy), std::string(64, 'x'));
    QCOMPARE(navorix::ErrBoxText(std::string(64, 'y')), std::string(64, 'y'));
    QCOMPARE(navorix::ErrBoxText("Same or opposing fixes"), std::string("Same or opposing fixes"));
  }

  void AccessViolationBecomesAPlea() {
    QCOMPARE(navorix::ErrBoxText("Access violation at address 0040A1B2 in module 'x'"),
             std::string("Impossible! Please send in a problem report."));
    // Only the exact words count.
    QCOMPARE(navorix::ErrBoxText("access violation"), std::string("access violation"));
  }

  void ShowTextAt70CharactersAndItsWidth() {
    TErrBox box;
    box.Set_Font(QStringLiteral("Lucida Console"));
    const std::string text = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ+-*/()=<>";
    QVERIFY(text.size() >= 70);
    box.Prepare(text.substr(0, 70));
    const QString shown = QString::fromStdString(text.substr(0, 64));
    QCOMPARE(box.TextLabel()->text(), shown);
    const int text_width = QFontMetrics(box.font()).horizontalAdvance(shown);
    QCOMPARE(box.TextLabel()->geometry(), QRect(61, 20, text_width, QFontMetrics(box.font()).height()));
    QCOMPARE(box.width(), 61 + text_width + 18);
    QCOMPARE(box.height(), 57);
    // A shorter text gives a narrower box.
    box.Prepare("Same or opposing fixes");
    QCOMPARE(box.width(), 61 + QFontMetrics(box.font()).horizontalAdvance(QStringLiteral("Same or opposing fixes")) + 18);
  }

  // A report: its lines one under the other, each cut as a message is,
  // the box a line taller for each line more.
  void AReportShowsItsLinesInOneBox() {
    TErrBox box;
    box.Set_Font(QStringLiteral("Lucida Console"));
    const std::vector<std::string> lines = {"Fix file: 1 unreadable line shown as an empty row",
                                            std::string(70, 'z'), "and 3 more"};
    box.Prepare(lines);
    const QFontMetrics fm(box.font());
    QCOMPARE(box.TextLabel()->text(),
             QString::fromStdString(lines[0] + "\n" + std::string(64, 'z') + "\nand 3 more"));
    const int widest = std::max(fm.horizontalAdvance(QString::fromStdString(lines[0])),
                                fm.horizontalAdvance(QString(64, QLatin1Char('z'))));
    QCOMPARE(box.width(), 61 + widest + 18);
    // Every line is drawn whole: the label is as high as its text needs.
    const int high = box.TextLabel()->sizeHint().height();
    QVERIFY(high >= 3 * fm.lineSpacing());
    QCOMPARE(box.TextLabel()->geometry(), QRect(61, 20, widest, high));
    QCOMPARE(box.height(), 57 + high - fm.height());
    // One line is the box of a message.
    box.Prepare(std::vector<std::string>{"Same or opposing fixes"});
    QCOMPARE(box.height(), 57);
    QCOMPARE(box.TextLabel()->text(), QStringLiteral("Same or opposing fixes"));
  }

  void LookOfTheBox() {
    TErrBox box;
    QVERIFY(box.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(box.windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(box.palette().color(QPalette::Window), QColor(Qt::black));
    QCOMPARE(box.TextLabel()->palette().color(QPalette::WindowText), QColor(Qt::red));
    QVERIFY(box.TextLabel()->alignment() & Qt::AlignHCenter);
    auto* icon = box.findChild<QLabel*>(QStringLiteral("Img"));
    QVERIFY(icon != nullptr);
    QCOMPARE(icon->pixmap().size(), QSize(32, 32));
    QVERIFY(icon->x() < 61);
    box.Set_Font(QStringLiteral("Lucida Console"));
    QCOMPARE(box.font().family(), QStringLiteral("Lucida Console"));
    QVERIFY(!box.font().bold());
  }

  void AnyKeyCloses() {
    TErrBox box;
    WhenModal([](QWidget* Modal, QWidget*) { QTest::keyClick(Modal, Qt::Key_Shift); });
    box.Show_Text("Distance too large (>pi)");
    QVERIFY(!box.isVisible());
    WhenModal([](QWidget* Modal, QWidget*) { QTest::keyClick(Modal, Qt::Key_A); });
    box.Show_Text("Illegal azimuth value (>2pi)");
    QVERIFY(!box.isVisible());
  }

  void MousePressCloses() {
    TErrBox box;
    WhenModal([](QWidget* Modal, QWidget*) { QTest::mousePress(Modal, Qt::RightButton, {}, QPoint(5, 5)); });
    box.Show_Text("This fix name is already in use");
    QVERIFY(!box.isVisible());
  }
};

QTEST_MAIN(ErrorBoxTest)
#include "error_box_test.moc"
