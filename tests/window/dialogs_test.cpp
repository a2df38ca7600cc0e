// The look of the two input dialogs: fields, labels, sizes, Tab order and
// field colours.
#include "window/dialogs/fix_dialog.h"
#include "window/dialogs/operand_layout.h"
#include "window/dialogs/operand_dialog.h"
#include "window/look/navorix_style.h"
#include "window_test_support.h"

#include <QApplication>
#include <QFontInfo>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using navorix::TDialogEntry;
using navorix::TFieldColour;
using navorix::TFixInp;
using navorix::TInPan;
using navorix::test::Ground;
using navorix::test::Normal;
using navorix::test::Red;
using navorix::test::White;

namespace {

QList<int> VisibleFieldNumbers(const TInPan& Pan) {
  QList<int> out;
  for (int n = 1; n <= 6; ++n) {
    if (Pan.Field(n)->isVisibleTo(&Pan)) out << n;
  }
  return out;
}

}  // namespace

class DialogsTest : public QObject {
  Q_OBJECT

  // Tab from the focused widget Count times; the field numbers visited.
  template <typename Dialog>
  QList<int> TabWalk(Dialog& D, int Fields, int Count) {
    QList<int> out;
    for (int i = 0; i < Count; ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      int number = 0;
      for (int n = 1; n <= Fields; ++n) {
        if (QApplication::focusWidget() == D.Field(n)) number = n;
      }
      out << number;
    }
    return out;
  }

 private slots:
  void initTestCase() { QApplication::setStyle(new navorix::TNavorixStyle); }

  void FixInputFieldsAndLabels() {
    TFixInp d;
    const char* names[] = {"xEName", "xELat", "xELon"};
    const char* labels[] = {"Fix Name:", "Latitude:", "Longitude:"};
    for (int n = 1; n <= 3; ++n) {
      QCOMPARE(d.Field(n)->objectName(), QString::fromLatin1(names[n - 1]));
      QCOMPARE(d.FieldLabel(n)->text(), QString::fromLatin1(labels[n - 1]));
      QCOMPARE(d.Field(n)->maxLength(), 16);
      QVERIFY(QFontInfo(d.Field(n)->font()).fixedPitch());
      QCOMPARE(Ground(d.Field(n)), Normal);
      QVERIFY(d.FieldLabel(n)->geometry().right() < d.Field(n)->x());
      // Sixteen capitals fit.
      d.Field(n)->setText(QString(16, QLatin1Char('W')));
      QVERIFY(d.Field(n)->fontMetrics().horizontalAdvance(d.Field(n)->text()) < d.Field(n)->width() - 4);
    }
    QVERIFY(d.Field(1)->y() < d.Field(2)->y());
    QVERIFY(d.Field(2)->y() < d.Field(3)->y());
    QVERIFY(d.ButtonStrip()->y() > d.Field(3)->geometry().bottom());
    QCOMPARE(d.OkButton()->text(), QStringLiteral("&OK"));
    QCOMPARE(d.CancelButton()->text(), QStringLiteral("&Cancel"));
    QCOMPARE(d.minimumSize(), d.maximumSize());
    QVERIFY(!(d.windowFlags() & Qt::WindowCloseButtonHint));
    QVERIFY(!(d.windowFlags() & Qt::WindowMinMaxButtonsHint));
  }

  void FixInputTabOrderSkipsTheButtons() {
    TFixInp d;
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    d.Field(1)->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(d.Field(1)));
    QCOMPARE(TabWalk(d, 3, 4), (QList<int>{2, 3, 1, 2}));
  }

  void FieldsAreWhiteWithTheFocusAndCanBeMarkedRed() {
    TFixInp d;
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    d.Field(2)->setFocus();
    QTRY_COMPARE(Ground(d.Field(2)), White);
    QCOMPARE(Ground(d.Field(1)), Normal);
    d.Field(3)->SetColour(TFieldColour::Bad);
    QCOMPARE(Ground(d.Field(3)), Red);
    QCOMPARE(d.Field(3)->Colour(), TFieldColour::Bad);
    d.Field(3)->setFocus();
    QTRY_COMPARE(Ground(d.Field(3)), White);
    QCOMPARE(Ground(d.Field(2)), Normal);
  }

  void FixInputFollowsThePropFontSize() {
    TFixInp d;
    const int width = d.width();
    d.SetPropFontSize(12);
    QCOMPARE(d.font().pointSize(), 12);
    QVERIFY(d.width() > width);
    QVERIFY(d.FieldLabel(3)->geometry().right() < d.Field(3)->x());
  }

  void InPanLayoutArithmetic() {
    navorix::TInPanGrid grid;
    grid.LeftLabelWidth = 80;
    grid.RightLabelWidth = 20;
    grid.FieldWidth = 160;
    grid.FieldHeight = 22;
    grid.ButtonWidth = 75;
    grid.ButtonHeight = 25;
    using navorix::FieldBit;
    // One row: field 1 from 8 + 80 + 6 = 94 to 254; panel to 254 + 6.
    const auto one = navorix::LayoutInPan(FieldBit(1), grid);
    QCOMPARE(one.Rows, 1);
    QCOMPARE(one.Field[1].Left, 94);
    QCOMPARE(one.Panel.Width, 260);
    QCOMPARE(one.Panel.Height, 8 + 22 + 6);
    QCOMPARE(one.ClientWidth, 6 + 260 + 6);
    QCOMPARE(one.Strip.Top, 6 + 36 + 6);
    QCOMPARE(one.Strip.Left, (272 - 156) / 2);
    QCOMPARE(one.ClientHeight, 48 + 25 + 6);
    // Field 2 visible: the panel reaches past it.
    const auto arc = navorix::LayoutInPan(FieldBit(1) | FieldBit(2) | FieldBit(3), grid);
    QCOMPARE(arc.Rows, 2);
    QCOMPARE(arc.Field[2].Left, 94 + 160 + 12 + 20 + 6);
    QCOMPARE(arc.Panel.Width, arc.Field[2].Left + 160 + 6);
    QCOMPARE(arc.Panel.Height, 8 + 22 + 8 + 22 + 6);
    // Field 5 alone makes two rows, field 6 three.
    QCOMPARE(navorix::LayoutInPan(FieldBit(1) | FieldBit(5), grid).Rows, 2);
    const auto three = navorix::LayoutInPan(FieldBit(1) | FieldBit(5) | FieldBit(6), grid);
    QCOMPARE(three.Rows, 3);
    QCOMPARE(three.Panel.Height, 8 + 3 * 22 + 2 * 8 + 6);
    QCOMPARE(three.Panel.Width, 260);
    // Field 5 stands in the place of field 3, field 4 beside them.
    QCOMPARE(three.Field[5], three.Field[3]);
    QCOMPARE(arc.Field[4].Top, arc.Field[3].Top);
    QCOMPARE(arc.Field[4].Left, arc.Field[2].Left);
  }

  void InPanShowsEachLayout_data() {
    QTest::addColumn<int>("entry");
    QTest::addColumn<QList<int>>("fields");
    QTest::addColumn<QStringList>("labels");
    using E = TDialogEntry;
    QTest::newRow("AskOneFix") << int(E::OneFix) << QList<int>{1} << QStringList{"Next Fix:"};
    QTest::newRow("AskTwoFixes") << int(E::TwoFixes) << QList<int>{1, 3} << QStringList{"First Fix:", "Second Fix:"};
    QTest::newRow("AskFixDistAzim") << int(E::FixDistAzim) << QList<int>{1, 5, 6}
                                    << QStringList{"From Fix:", "Distance:", "Azimuth:"};
    QTest::newRow("AskArcDist") << int(E::ArcDist) << QList<int>{1, 2, 5} << QStringList{"Arc from:", "to:", "Distance:"};
    QTest::newRow("AskArcFixDist") << int(E::ArcFixDist) << QList<int>{1, 2, 4, 5}
                                   << QStringList{"Arc from:", "to:", "Fix:", "Distance:"};
    QTest::newRow("AskArcFix") << int(E::ArcFix) << QList<int>{1, 2, 3} << QStringList{"Arc from:", "to:", "Fix:"};
    QTest::newRow("AskTwoArcs") << int(E::TwoArcs) << QList<int>{1, 2, 3, 4}
                                << QStringList{"1st Arc from:", "to:", "2nd Arc from:", "to:"};
  }

  void InPanShowsEachLayout() {
    QFETCH(int, entry);
    QFETCH(QList<int>, fields);
    QFETCH(QStringList, labels);
    TInPan pan;
    pan.ApplyLayout(static_cast<TDialogEntry>(entry), "Arc to Fix Proximity");
    QCOMPARE(pan.windowTitle(), QStringLiteral(" Arc to Fix Proximity"));
    QCOMPARE(VisibleFieldNumbers(pan), fields);
    for (int i = 0; i < fields.size(); ++i) {
      QLabel* label = pan.FieldLabel(fields[i]);
      QVERIFY(label->isVisibleTo(&pan));
      QCOMPARE(label->text(), labels[i]);
      QVERIFY(label->geometry().right() < pan.Field(fields[i])->x());
    }
    // The panel holds the visible fields with 6 pixels to spare at the
    // right of the widest row and below the lowest.
    const QRect panel(QPoint(0, 0), pan.Bevel()->size());
    int right = 0, bottom = 0;
    for (int n : fields) {
      QVERIFY(panel.contains(pan.Field(n)->geometry()));
      right = std::max(right, pan.Field(n)->geometry().right() + 1);
      bottom = std::max(bottom, pan.Field(n)->geometry().bottom() + 1);
    }
    QCOMPARE(pan.Bevel()->width(), right + 6);
    QCOMPARE(pan.Bevel()->height(), bottom + 6);
    QCOMPARE(pan.ButtonStrip()->y(), pan.Bevel()->geometry().bottom() + 1 + 6);
    QCOMPARE(pan.ButtonStrip()->x() * 2 + pan.ButtonStrip()->width(), pan.width() - (pan.width() - pan.ButtonStrip()->width()) % 2);
    QCOMPARE(pan.Bevel()->frameShadow(), QFrame::Sunken);
    QCOMPARE(pan.minimumSize(), pan.maximumSize());
  }

  void InPanTabOrderIs123546_data() {
    QTest::addColumn<int>("entry");
    QTest::addColumn<QList<int>>("walk");
    using E = TDialogEntry;
    QTest::newRow("AskArcFixDist") << int(E::ArcFixDist) << QList<int>{2, 5, 4, 1, 2};
    QTest::newRow("AskTwoArcs") << int(E::TwoArcs) << QList<int>{2, 3, 4, 1, 2};
    QTest::newRow("AskFixDistAzim") << int(E::FixDistAzim) << QList<int>{5, 6, 1, 5, 6};
    QTest::newRow("AskOneFix") << int(E::OneFix) << QList<int>{1, 1};
  }

  void InPanTabOrderIs123546() {
    QFETCH(int, entry);
    QFETCH(QList<int>, walk);
    TInPan pan;
    pan.ApplyLayout(static_cast<TDialogEntry>(entry), "t");
    pan.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pan));
    pan.Field(1)->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(pan.Field(1)));
    QCOMPARE(TabWalk(pan, 6, static_cast<int>(walk.size())), walk);
    QVERIFY(!(pan.OkButton()->focusPolicy() & Qt::TabFocus));
    QVERIFY(!(pan.CancelButton()->focusPolicy() & Qt::TabFocus));
  }

  void InPanFieldsAreFixedPitch16Characters() {
    TInPan pan;
    for (int n = 1; n <= 6; ++n) {
      QCOMPARE(pan.Field(n)->objectName(), QStringLiteral("xEd%1").arg(n));
      QCOMPARE(pan.FieldLabel(n)->objectName(), QStringLiteral("xLa%1").arg(n));
      QCOMPARE(pan.Field(n)->maxLength(), 16);
      QVERIFY(QFontInfo(pan.Field(n)->font()).fixedPitch());
      QCOMPARE(Ground(pan.Field(n)), Normal);
    }
    QCOMPARE(pan.Bevel()->objectName(), QStringLiteral("xBevel"));
    QCOMPARE(pan.OkButton()->text(), QStringLiteral("&OK"));
  }

  void InPanKeepsItsLayoutWhenTheFontChanges() {
    TInPan pan;
    pan.ApplyLayout(TDialogEntry::TwoArcs, "Intersection of two Arcs");
    const int width = pan.width();
    pan.SetPropFontSize(12);
    QVERIFY(pan.width() > width);
    QCOMPARE(VisibleFieldNumbers(pan), (QList<int>{1, 2, 3, 4}));
    QCOMPARE(pan.windowTitle(), QStringLiteral(" Intersection of two Arcs"));
  }
};

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
