// The look of the two input dialogs: fields, labels, sizes, Tab order and
// field colours.
#include "window/dialogs/fix_dialog.h"
#include "window/dialogs/operand_dialog.h"
#include "window/dialogs/operand_layout.h"
#include "window/look/navorix_style.h"
#include "window_test_support.h"

#include <QApplication>
#include <QFontInfo>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using navorix::DialogEntry;
using navorix::FieldColour;
using navorix::FixDialog;
using navorix::OperandDialog;
using navorix::test::ground;
using navorix::test::Normal;
using navorix::test::Red;
using navorix::test::White;

namespace {

QList<int> visibleFieldNumbers(const OperandDialog& pan) {
  QList<int> out;
  for (int n = 1; n <= 6; ++n) {
    if (pan.fieldAt(n)->isVisibleTo(&pan)) out << n;
  }
  return out;
}

}  // namespace

class DialogsTest : public QObject {
  Q_OBJECT

  // Tab from the focused widget count times; the field numbers visited.
  template <typename Dialog>
  QList<int> tabWalk(Dialog& D, int fields, int count) {
    QList<int> out;
    for (int i = 0; i < count; ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      int number = 0;
      for (int n = 1; n <= fields; ++n) {
        if (QApplication::focusWidget() == D.fieldAt(n)) number = n;
      }
      out << number;
    }
    return out;
  }

 private slots:
  void initTestCase() { QApplication::setStyle(new navorix::NavorixStyle); }

  void fixInputFieldsAndLabels() {
    FixDialog d;
    const char* names[] = {"fixNameField", "latitudeField", "longitudeField"};
    const char* labels[] = {"Fix Name:", "Latitude:", "Longitude:"};
    for (int n = 1; n <= 3; ++n) {
      QCOMPARE(d.fieldAt(n)->objectName(), QString::fromLatin1(names[n - 1]));
      QCOMPARE(d.fieldLabel(n)->text(), QString::fromLatin1(labels[n - 1]));
      QCOMPARE(d.fieldAt(n)->maxLength(), 16);
      QVERIFY(QFontInfo(d.fieldAt(n)->font()).fixedPitch());
      QCOMPARE(ground(d.fieldAt(n)), Normal);
      QVERIFY(d.fieldLabel(n)->geometry().right() < d.fieldAt(n)->x());
      // Sixteen capitals fit.
      d.fieldAt(n)->setText(QString(16, QLatin1Char('W')));
      QVERIFY(d.fieldAt(n)->fontMetrics().horizontalAdvance(d.fieldAt(n)->text()) <
              d.fieldAt(n)->width() - 4);
    }
    QVERIFY(d.fieldAt(1)->y() < d.fieldAt(2)->y());
    QVERIFY(d.fieldAt(2)->y() < d.fieldAt(3)->y());
    QVERIFY(d.buttonStrip()->y() > d.fieldAt(3)->geometry().bottom());
    QCOMPARE(d.okButton()->text(), QStringLiteral("&OK"));
    QCOMPARE(d.cancelButton()->text(), QStringLiteral("&Cancel"));
    QCOMPARE(d.minimumSize(), d.maximumSize());
    QVERIFY(!(d.windowFlags() & Qt::WindowCloseButtonHint));
    QVERIFY(!(d.windowFlags() & Qt::WindowMinMaxButtonsHint));
  }

  void fixInputTabOrderSkipsTheButtons() {
    FixDialog d;
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    d.fieldAt(1)->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(d.fieldAt(1)));
    QCOMPARE(tabWalk(d, 3, 4), (QList<int>{2, 3, 1, 2}));
  }

  void fieldsAreWhiteWithTheFocusAndCanBeMarkedRed() {
    FixDialog d;
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    d.fieldAt(2)->setFocus();
    QTRY_COMPARE(ground(d.fieldAt(2)), White);
    QCOMPARE(ground(d.fieldAt(1)), Normal);
    d.fieldAt(3)->setColour(FieldColour::Bad);
    QCOMPARE(ground(d.fieldAt(3)), Red);
    QCOMPARE(d.fieldAt(3)->colour(), FieldColour::Bad);
    d.fieldAt(3)->setFocus();
    QTRY_COMPARE(ground(d.fieldAt(3)), White);
    QCOMPARE(ground(d.fieldAt(2)), Normal);
  }

  void fixInputFollowsThePropFontSize() {
    FixDialog d;
    const int width = d.width();
    d.setPropFontSize(12);
    QCOMPARE(d.font().pointSize(), 12);
    QVERIFY(d.width() > width);
    QVERIFY(d.fieldLabel(3)->geometry().right() < d.fieldAt(3)->x());
  }

  void inPanLayoutArithmetic() {
    navorix::OperandDialogGrid grid;
    grid.leftLabelWidth = 80;
    grid.rightLabelWidth = 20;
    grid.fieldWidth = 160;
    grid.fieldHeight = 22;
    grid.buttonWidth = 75;
    grid.buttonHeight = 25;
    using navorix::fieldBit;
    // One row: field 1 from 8 + 80 + 6 = 94 to 254; panel to 254 + 6.
    const auto one = navorix::layoutOperandDialog(fieldBit(1), grid);
    QCOMPARE(one.rows, 1);
    QCOMPARE(one.field[1].left, 94);
    QCOMPARE(one.panel.width, 260);
    QCOMPARE(one.panel.height, 8 + 22 + 6);
    QCOMPARE(one.clientWidth, 6 + 260 + 6);
    QCOMPARE(one.strip.top, 6 + 36 + 6);
    QCOMPARE(one.strip.left, (272 - 156) / 2);
    QCOMPARE(one.clientHeight, 48 + 25 + 6);
    // Field 2 visible: the panel reaches past it.
    const auto arc = navorix::layoutOperandDialog(fieldBit(1) | fieldBit(2) | fieldBit(3), grid);
    QCOMPARE(arc.rows, 2);
    QCOMPARE(arc.field[2].left, 94 + 160 + 12 + 20 + 6);
    QCOMPARE(arc.panel.width, arc.field[2].left + 160 + 6);
    QCOMPARE(arc.panel.height, 8 + 22 + 8 + 22 + 6);
    // Field 5 alone makes two rows, field 6 three.
    QCOMPARE(navorix::layoutOperandDialog(fieldBit(1) | fieldBit(5), grid).rows, 2);
    const auto three = navorix::layoutOperandDialog(fieldBit(1) | fieldBit(5) | fieldBit(6), grid);
    QCOMPARE(three.rows, 3);
    QCOMPARE(three.panel.height, 8 + 3 * 22 + 2 * 8 + 6);
    QCOMPARE(three.panel.width, 260);
    // Field 5 stands in the place of field 3, field 4 beside them.
    QCOMPARE(three.field[5], three.field[3]);
    QCOMPARE(arc.field[4].top, arc.field[3].top);
    QCOMPARE(arc.field[4].left, arc.field[2].left);
  }

  void inPanShowsEachLayout_data() {
    QTest::addColumn<int>("entry");
    QTest::addColumn<QList<int>>("fields");
    QTest::addColumn<QStringList>("labels");
    using E = DialogEntry;
    QTest::newRow("AskOneFix") << int(E::OneFix) << QList<int>{1} << QStringList{"Next Fix:"};
    QTest::newRow("AskTwoFixes") << int(E::TwoFixes) << QList<int>{1, 3}
                                 << QStringList{"First Fix:", "Second Fix:"};
    QTest::newRow("AskFixDistAzim") << int(E::FixDistAzim) << QList<int>{1, 5, 6}
                                    << QStringList{"From Fix:", "Distance:", "Azimuth:"};
    QTest::newRow("AskArcDist") << int(E::ArcDist) << QList<int>{1, 2, 5}
                                << QStringList{"Arc from:", "to:", "Distance:"};
    QTest::newRow("AskArcFixDist") << int(E::ArcFixDist) << QList<int>{1, 2, 4, 5}
                                   << QStringList{"Arc from:", "to:", "Fix:", "Distance:"};
    QTest::newRow("AskArcFix") << int(E::ArcFix) << QList<int>{1, 2, 3}
                               << QStringList{"Arc from:", "to:", "Fix:"};
    QTest::newRow("AskTwoArcs") << int(E::TwoArcs) << QList<int>{1, 2, 3, 4}
                                << QStringList{"1st Arc from:", "to:", "2nd Arc from:", "to:"};
  }

  void inPanShowsEachLayout() {
    QFETCH(int, entry);
    QFETCH(QList<int>, fields);
    QFETCH(QStringList, labels);
    OperandDialog pan;
    pan.applyLayout(static_cast<DialogEntry>(entry), "Arc to Fix Proximity");
    QCOMPARE(pan.windowTitle(), QStringLiteral(" Arc to Fix Proximity"));
    QCOMPARE(visibleFieldNumbers(pan), fields);
    for (int i = 0; i < fields.size(); ++i) {
      QLabel* label = pan.fieldLabel(fields[i]);
      QVERIFY(label->isVisibleTo(&pan));
      QCOMPARE(label->text(), labels[i]);
      QVERIFY(label->geometry().right() < pan.fieldAt(fields[i])->x());
    }
    // The panel holds the visible fields with 6 pixels to spare at the
    // right of the widest row and below the lowest.
    const QRect panel(QPoint(0, 0), pan.bevel()->size());
    int right = 0, bottom = 0;
    for (int n : fields) {
      QVERIFY(panel.contains(pan.fieldAt(n)->geometry()));
      right = std::max(right, pan.fieldAt(n)->geometry().right() + 1);
      bottom = std::max(bottom, pan.fieldAt(n)->geometry().bottom() + 1);
    }
    QCOMPARE(pan.bevel()->width(), right + 6);
    QCOMPARE(pan.bevel()->height(), bottom + 6);
    QCOMPARE(pan.buttonStrip()->y(), pan.bevel()->geometry().bottom() + 1 + 6);
    QCOMPARE(pan.buttonStrip()->x() * 2 + pan.buttonStrip()->width(),
             pan.width() - (pan.width() - pan.buttonStrip()->width()) % 2);
    QCOMPARE(pan.bevel()->frameShadow(), QFrame::Sunken);
    QCOMPARE(pan.minimumSize(), pan.maximumSize());
  }

  void inPanTabOrderIs123546_data() {
    QTest::addColumn<int>("entry");
    QTest::addColumn<QList<int>>("walk");
    using E = DialogEntry;
    QTest::newRow("AskArcFixDist") << int(E::ArcFixDist) << QList<int>{2, 5, 4, 1, 2};
    QTest::newRow("AskTwoArcs") << int(E::TwoArcs) << QList<int>{2, 3, 4, 1, 2};
    QTest::newRow("AskFixDistAzim") << int(E::FixDistAzim) << QList<int>{5, 6, 1, 5, 6};
    QTest::newRow("AskOneFix") << int(E::OneFix) << QList<int>{1, 1};
  }

  void inPanTabOrderIs123546() {
    QFETCH(int, entry);
    QFETCH(QList<int>, walk);
    OperandDialog pan;
    pan.applyLayout(static_cast<DialogEntry>(entry), "t");
    pan.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pan));
    pan.fieldAt(1)->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(pan.fieldAt(1)));
    QCOMPARE(tabWalk(pan, 6, static_cast<int>(walk.size())), walk);
    QVERIFY(!(pan.okButton()->focusPolicy() & Qt::TabFocus));
    QVERIFY(!(pan.cancelButton()->focusPolicy() & Qt::TabFocus));
  }

  void inPanFieldsAreFixedPitch16Characters() {
    OperandDialog pan;
    for (int n = 1; n <= 6; ++n) {
      QCOMPARE(pan.fieldAt(n)->objectName(), QStringLiteral("operandField%1").arg(n));
      QCOMPARE(pan.fieldLabel(n)->objectName(), QStringLiteral("operandLabel%1").arg(n));
      QCOMPARE(pan.fieldAt(n)->maxLength(), 16);
      QVERIFY(QFontInfo(pan.fieldAt(n)->font()).fixedPitch());
      QCOMPARE(ground(pan.fieldAt(n)), Normal);
    }
    QCOMPARE(pan.bevel()->objectName(), QStringLiteral("fieldPanel"));
    QCOMPARE(pan.okButton()->text(), QStringLiteral("&OK"));
  }

  void inPanKeepsItsLayoutWhenTheFontChanges() {
    OperandDialog pan;
    pan.applyLayout(DialogEntry::TwoArcs, "Intersection of two Arcs");
    const int width = pan.width();
    pan.setPropFontSize(12);
    QVERIFY(pan.width() > width);
    QCOMPARE(visibleFieldNumbers(pan), (QList<int>{1, 2, 3, 4}));
    QCOMPARE(pan.windowTitle(), QStringLiteral(" Intersection of two Arcs"));
  }
};

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
