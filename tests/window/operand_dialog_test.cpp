// The operation input dialog driven by keys from the operation buttons:
// name completion with the blank, the character filters, the checks of OK,
// Esc, the Tab order, and the texts a layout keeps for the next time.
#include "session_support.h"

#include <QElapsedTimer>

using namespace navorix;
using namespace navorix::test;

namespace {

constexpr const char* Fixes =
    "10 10 ALPHA\r\n"
    "20 20 ALBANY\r\n"
    "-30 40 BETA\r\n"
    "40 -50 ABCDEFGHIJKLMNOP\r\n";

// A field's look: its text, the caret, the selected text and its colour.
struct Look {
  QString text;
  int caret = -1;
  QString selected;
  QColor colour;
  friend bool operator==(const Look&, const Look&) = default;
};

Look lookOf(const QLineEdit* field) {
  return {field->text(), field->cursorPosition(), field->selectedText(), ground(field)};
}

}  // namespace

namespace QTest {
template <>
inline char* toString(const Look& L) {
  return qstrdup(qPrintable(QStringLiteral("\"%1\" caret %2 selected \"%3\" %4")
                                .arg(L.text)
                                .arg(L.caret)
                                .arg(L.selected, L.colour.name())));
}
}  // namespace QTest

class OperandDialogTest : public QObject {
  Q_OBJECT

  std::unique_ptr<Session> s_;

  OperandDialog& pan() { return s_->controller().operandDialog(); }
  void click(OperationTag tag) { QTest::mouseClick(s_->opButton(tag), Qt::LeftButton); }
  int logCount() { return s_->bench().Log().Count(); }

 private slots:
  void initTestCase() { QApplication::setStyle(new NavorixStyle); }

  void init() {
    s_ = std::make_unique<Session>();
    QVERIFY(s_->start(Fixes));
  }
  void cleanup() {
    s_->verifyAllAnswered();
    s_.reset();
  }

  void blanksStepThroughTheMatchingNames() {
    QList<Look> looks;
    Look afterFlash, fourth;
    s_->answers().then([&](QWidget* modal) {
      auto* pan = qobject_cast<OperandDialog*>(modal);
      QLineEdit* field = pan->fieldAt(1);
      type(QStringLiteral("AL"));
      for (int i = 0; i < 3; ++i) {
        type(QStringLiteral(" "));
        looks << lookOf(field);
      }
      // After the flash the field, which has the focus, is white with its
      // text selected; a blank then starts again at the first match.
      QTRY_VERIFY(ground(field) != Red);
      afterFlash = lookOf(field);
      type(QStringLiteral(" "));
      fourth = lookOf(field);
      key(Qt::Key_Tab);
      type(QStringLiteral("b "));
      key(Qt::Key_Return);
    });
    click(OperationTag::Midpoint);
    QCOMPARE(s_->answers().seen(), QStringList{"operands: Midpoint between Fixes"});
    QCOMPARE(looks.size(), 3);
    QCOMPARE(looks.at(0), (Look{"ALPHA", 5, "", White}));
    QCOMPARE(looks.at(1), (Look{"ALBANY", 6, "", White}));
    QCOMPARE(looks.at(2), (Look{"ALBANY", 6, "", Red}));
    QCOMPARE(afterFlash, (Look{"ALBANY", 6, "ALBANY", White}));
    QCOMPARE(fourth, (Look{"ALPHA", 5, "", White}));
    QCOMPARE(logCount(), 1);
    QCOMPARE(s_->logLines().at(0), QStringLiteral("Midpoint from ALPHA to BETA"));
  }

  void theCaretStandsAfterTheFifteenthCharacter() {
    Look look;
    s_->answers().then([&look](QWidget* modal) {
      auto* pan = qobject_cast<OperandDialog*>(modal);
      type(QStringLiteral("abc "));
      look = lookOf(pan->fieldAt(1));
      key(Qt::Key_Escape);
      key(Qt::Key_Escape);
    });
    click(OperationTag::Azimuth);
    QCOMPARE(look, (Look{"ABCDEFGHIJKLMNOP", 15, "", White}));
  }

  void smallLettersAreCapitalsABlankNeverEntersAName() {
    QStringList shown;
    s_->answers().then([&shown](QWidget* modal) {
      auto* pan = qobject_cast<OperandDialog*>(modal);
      type(QStringLiteral("al"));
      shown << pan->fieldAt(1)->text();
      // An empty field: the blank finds nothing and flashes.
      key(Qt::Key_Tab);
      type(QStringLiteral(" "));
      shown << pan->fieldAt(3)->text() << ground(pan->fieldAt(3)).name();
      type(QStringLiteral("b,e;t"));
      shown << pan->fieldAt(3)->text();
      // A blank after text completes it.
      type(QStringLiteral(" "));
      shown << pan->fieldAt(3)->text();
      key(Qt::Key_Escape);
      key(Qt::Key_Escape);
    });
    click(OperationTag::FixFix);
    QCOMPARE(shown, (QStringList{"AL", "", Red.name(), "BET", "BETA"}));
    QCOMPARE(logCount(), 0);
  }

  void distanceAndAzimuthFieldsTakeNumbersAndMarks() {
    QStringList shown;
    s_->answers().then([&shown](QWidget* modal) {
      auto* pan = qobject_cast<OperandDialog*>(modal);
      type(QStringLiteral("ALPHA"));
      key(Qt::Key_Tab);
      // Letters and blanks are dropped: 1E3 cannot be typed.
      type(QStringLiteral("1E3 -x5"));
      shown << pan->fieldAt(5)->text();
      key(Qt::Key_Tab);
      type(QString::fromUtf8("+45°30'15.5\"N"));
      shown << pan->fieldAt(6)->text();
      QTest::mouseClick(pan->cancelButton(), Qt::LeftButton);
    });
    click(OperationTag::FixAtDistAz);
    QCOMPARE(shown, (QStringList{"13-5", QString::fromUtf8("+45°30'15.5\"")}));
  }

  void aBadFieldKeepsTheDialogOpenWithTheFocusThere() {
    // Confirmed texts first, so that the cancelled ones could replace them.
    s_->answers().then(fillOperands({"ALPHA", "BETA"}));
    click(OperationTag::Midpoint);
    QCOMPARE(logCount(), 1);
    const FixRecord pending = s_->bench().PendingFix();
    const bool nextFix = s_->opButton(OperationTag::NextFix)->isEnabled();

    int focus = 0;
    QList<QColor> atOk, afterFlash;
    bool openAfterOk = false;
    s_->answers().then([&](QWidget* modal) {
      auto* pan = qobject_cast<OperandDialog*>(modal);
      type(QStringLiteral("ALBANY"));
      key(Qt::Key_Tab);
      type(QStringLiteral("BET"));
      key(Qt::Key_Return);
      openAfterOk = pan->isVisible();
      for (int n = 1; n <= 3; n += 2) {
        if (QApplication::focusWidget() == pan->fieldAt(n)) focus = n;
        atOk << ground(pan->fieldAt(n));
      }
      QCOMPARE(pan->fieldAt(3)->cursorPosition(), 3);
      QTRY_VERIFY(ground(pan->fieldAt(3)) != Red);
      afterFlash << ground(pan->fieldAt(1)) << ground(pan->fieldAt(3));
      QCOMPARE(pan->fieldAt(3)->selectedText(), QStringLiteral("BET"));
      QTest::mouseClick(pan->cancelButton(), Qt::LeftButton);
    });
    click(OperationTag::Midpoint);
    QVERIFY(openAfterOk);
    QCOMPARE(focus, 3);
    QCOMPARE(atOk, (QList<QColor>{Normal, Red}));
    QCOMPARE(afterFlash, (QList<QColor>{Normal, White}));
    // Nothing changed, and the layout offers the texts confirmed before.
    QCOMPARE(logCount(), 1);
    QVERIFY(s_->bench().PendingFix().position == pending.position);
    QCOMPARE(s_->opButton(OperationTag::NextFix)->isEnabled(), nextFix);
    QStringList offered;
    s_->answers().then([&offered](QWidget* modal) {
      auto* pan = qobject_cast<OperandDialog*>(modal);
      offered << pan->fieldAt(1)->text() << pan->fieldAt(3)->text();
      key(Qt::Key_Escape);
      key(Qt::Key_Escape);
    });
    click(OperationTag::Midpoint);
    QCOMPARE(offered, (QStringList{"ALPHA", "BETA"}));
  }

  void aFailedCompletionDoesNotBlockOk() {
    s_->answers().then([](QWidget* modal) {
      auto* pan = qobject_cast<OperandDialog*>(modal);
      type(QStringLiteral("BETA  "));  // BETA, then no further match
      QCOMPARE(ground(pan->fieldAt(1)), Red);
      key(Qt::Key_Tab);
      type(QStringLiteral("ALPHA"));
      key(Qt::Key_Return);
    });
    click(OperationTag::Azimuth);
    QCOMPARE(logCount(), 1);
    QCOMPARE(s_->logLines().at(0), QStringLiteral("Azimuth from BETA to ALPHA"));
  }

  void escClearsTheFieldThenCancels() {
    QStringList texts;
    bool openAfterFirst = false;
    s_->answers().then([&](QWidget* modal) {
      auto* pan = qobject_cast<OperandDialog*>(modal);
      type(QStringLiteral("ALPHA"));
      key(Qt::Key_Tab);
      type(QStringLiteral("BETA"));
      key(Qt::Key_Escape);
      openAfterFirst = pan->isVisible();
      texts << pan->fieldAt(1)->text() << pan->fieldAt(3)->text();
      key(Qt::Key_Escape);
    });
    click(OperationTag::FixFix);
    QVERIFY(openAfterFirst);
    QCOMPARE(texts, (QStringList{"ALPHA", ""}));
    QVERIFY(!pan().isVisible());
    QCOMPARE(logCount(), 0);
    QVERIFY(!s_->bench().PendingFix().valid);
  }

  void tabInAskArcFixDistGoesToTheDistanceBeforeTheFix() {
    QList<int> walk;
    QString title;
    s_->answers().then([&](QWidget* modal) {
      auto* pan = qobject_cast<OperandDialog*>(modal);
      title = pan->windowTitle();
      for (int i = 0; i < 5; ++i) {
        for (int n = 1; n <= 6; ++n) {
          if (QApplication::focusWidget() == pan->fieldAt(n)) walk << n;
        }
        key(Qt::Key_Tab);
      }
      QTest::mouseClick(pan->cancelButton(), Qt::LeftButton);
    });
    click(OperationTag::FixesAtDistance);
    QCOMPARE(title, QStringLiteral(" Arc to Fix Proximity"));
    QCOMPARE(walk, (QList<int>{1, 2, 5, 4, 1}));
  }

  void operationsThatShareALayoutShareItsTexts() {
    s_->answers().then(fillOperands({"alp ", "be "}));
    click(OperationTag::Midpoint);
    QStringList offered;
    const auto noteAndCancel = [&offered](QWidget* modal) {
      auto* pan = qobject_cast<OperandDialog*>(modal);
      offered.clear();
      for (int n = 1; n <= 6; ++n) {
        if (pan->fieldAt(n)->isVisible()) offered << pan->fieldAt(n)->text();
      }
      // The first field comes with its whole text selected.
      offered << pan->fieldAt(1)->selectedText();
      QTest::mouseClick(pan->cancelButton(), Qt::LeftButton);
    };
    s_->answers().then(noteAndCancel);
    click(OperationTag::FixFix);
    QCOMPARE(offered, (QStringList{"ALPHA", "BETA", "ALPHA"}));
    // Another layout keeps its own texts.
    s_->answers().then(noteAndCancel);
    click(OperationTag::ArcFix);
    QCOMPARE(offered, (QStringList{"", "", "", ""}));
  }

  void altAcceleratorsOpenTheDialogAndNextFixFollowsFixFix() {
    QVERIFY(s_->opButton(OperationTag::NextFix)->isEnabled());  // km
    s_->answers().then(fillOperands({"alph ", "bet "}));
    s_->press(Qt::Key_X, Qt::AltModifier);
    QTRY_COMPARE(logCount(), 1);
    QCOMPARE(s_->answers().seen().last(), QStringLiteral("operands: Distance from Fix to Fix"));
    s_->answers().then(fillOperands({"alb "}));
    s_->press(Qt::Key_N, Qt::AltModifier);
    QTRY_COMPARE(logCount(), 2);
    QCOMPARE(s_->answers().seen().last(), QStringLiteral("operands: Accumulated distance"));
    QCOMPARE(s_->logLines().mid(0, 2), (QStringList{"Accumulated distance from ALPHA", "to ALBANY"}));
    QTRY_COMPARE(QApplication::focusWidget(), s_->list());
  }

  void rangeErrorsAreShownAndNothingIsLogged() {
    s_->answers().then(fillOperands({"ALPHA", "20004", "360"}));
    s_->answers().then(closeErrorBox());
    click(OperationTag::FixAtDistAz);
    s_->answers().then(fillOperands({"ALPHA", "100", "-360"}));
    s_->answers().then(closeErrorBox());
    click(OperationTag::FixAtDistAz);
    s_->answers().then(fillOperands({"ALPHA", "ALPHA", "BETA"}));
    s_->answers().then(closeErrorBox());
    click(OperationTag::ArcFix);
    QCOMPARE(s_->answers().seen(),
             (QStringList{"operands: Fix at Distance and Azimuth", "error: Distance too large (>pi)",
                          "operands: Fix at Distance and Azimuth", "error: Illegal azimuth value (>2pi)",
                          "operands: Distance from Arc to Fix", "error: Same or opposing fixes"}));
    QCOMPARE(logCount(), 0);
    QVERIFY(!s_->bench().PendingFix().valid);
  }
};

QTEST_MAIN(OperandDialogTest)
#include "operand_dialog_test.moc"
