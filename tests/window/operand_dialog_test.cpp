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
struct TLook {
  QString Text;
  int Caret = -1;
  QString Selected;
  QColor Colour;
  friend bool operator==(const TLook&, const TLook&) = default;
};

TLook LookOf(const QLineEdit* Field) {
  return {Field->text(), Field->cursorPosition(), Field->selectedText(), Ground(Field)};
}

}  // namespace

namespace QTest {
template <>
inline char* toString(const TLook& L) {
  return qstrdup(qPrintable(QStringLiteral("\"%1\" caret %2 selected \"%3\" %4")
                                .arg(L.Text)
                                .arg(L.Caret)
                                .arg(L.Selected, L.Colour.name())));
}
}  // namespace QTest

class OperandDialogTest : public QObject {
  Q_OBJECT

  std::unique_ptr<TSession> s_;

  TInPan& Pan() { return s_->Controller().OperandDialog(); }
  void Click(TOpTag Tag) { QTest::mouseClick(s_->OpButton(Tag), Qt::LeftButton); }
  int LogCount() { return s_->Bench().Log().Count(); }

 private slots:
  void initTestCase() { QApplication::setStyle(new TNavorixStyle); }

  void init() {
    s_ = std::make_unique<TSession>();
    QVERIFY(s_->Start(Fixes));
  }
  void cleanup() {
    s_->VerifyAllAnswered();
    s_.reset();
  }

  void BlanksStepThroughTheMatchingNames() {
    QList<TLook> looks;
    TLook after_flash, fourth;
    s_->Answers().Then([&](QWidget* Modal) {
      auto* pan = qobject_cast<TInPan*>(Modal);
      QLineEdit* field = pan->Field(1);
      Type(QStringLiteral("AL"));
      for (int i = 0; i < 3; ++i) {
        Type(QStringLiteral(" "));
        looks << LookOf(field);
      }
      // After the flash the field, which has the focus, is white with its
      // text selected; a blank then starts again at the first match.
      QTRY_VERIFY(Ground(field) != Red);
      after_flash = LookOf(field);
      Type(QStringLiteral(" "));
      fourth = LookOf(field);
      Key(Qt::Key_Tab);
      Type(QStringLiteral("b "));
      Key(Qt::Key_Return);
    });
    Click(TOpTag::Midpoint);
    QCOMPARE(s_->Answers().Seen(), QStringList{"operands: Midpoint between Fixes"});
    QCOMPARE(looks.size(), 3);
    QCOMPARE(looks.at(0), (TLook{"ALPHA", 5, "", White}));
    QCOMPARE(looks.at(1), (TLook{"ALBANY", 6, "", White}));
    QCOMPARE(looks.at(2), (TLook{"ALBANY", 6, "", Red}));
    QCOMPARE(after_flash, (TLook{"ALBANY", 6, "ALBANY", White}));
    QCOMPARE(fourth, (TLook{"ALPHA", 5, "", White}));
    QCOMPARE(LogCount(), 1);
    QCOMPARE(s_->LogLines().at(0), QStringLiteral("Midpoint from ALPHA to BETA"));
  }

  void TheCaretStandsAfterTheFifteenthCharacter() {
    TLook look;
    s_->Answers().Then([&look](QWidget* Modal) {
      auto* pan = qobject_cast<TInPan*>(Modal);
      Type(QStringLiteral("abc "));
      look = LookOf(pan->Field(1));
      Key(Qt::Key_Escape);
      Key(Qt::Key_Escape);
    });
    Click(TOpTag::Azimuth);
    QCOMPARE(look, (TLook{"ABCDEFGHIJKLMNOP", 15, "", White}));
  }

  void SmallLettersAreCapitalsABlankNeverEntersAName() {
    QStringList shown;
    s_->Answers().Then([&shown](QWidget* Modal) {
      auto* pan = qobject_cast<TInPan*>(Modal);
      Type(QStringLiteral("al"));
      shown << pan->Field(1)->text();
      // An empty field: the blank finds nothing and flashes.
      Key(Qt::Key_Tab);
      Type(QStringLiteral(" "));
      shown << pan->Field(3)->text() << Ground(pan->Field(3)).name();
      Type(QStringLiteral("b,e;t"));
      shown << pan->Field(3)->text();
      // A blank after text completes it.
      Type(QStringLiteral(" "));
      shown << pan->Field(3)->text();
      Key(Qt::Key_Escape);
      Key(Qt::Key_Escape);
    });
    Click(TOpTag::FixFix);
    QCOMPARE(shown, (QStringList{"AL", "", Red.name(), "BET", "BETA"}));
    QCOMPARE(LogCount(), 0);
  }

  void DistanceAndAzimuthFieldsTakeNumbersAndMarks() {
    QStringList shown;
    s_->Answers().Then([&shown](QWidget* Modal) {
      auto* pan = qobject_cast<TInPan*>(Modal);
      Type(QStringLiteral("ALPHA"));
      Key(Qt::Key_Tab);
      // Letters and blanks are dropped: 1E3 cannot be typed.
      Type(QStringLiteral("1E3 -x5"));
      shown << pan->Field(5)->text();
      Key(Qt::Key_Tab);
      Type(QString::fromUtf8("+45°30'15.5\"N"));
      shown << pan->Field(6)->text();
      QTest::mouseClick(pan->CancelButton(), Qt::LeftButton);
    });
    Click(TOpTag::FixAtDistAz);
    QCOMPARE(shown, (QStringList{"13-5", QString::fromUtf8("+45°30'15.5\"")}));
  }

  void ABadFieldKeepsTheDialogOpenWithTheFocusThere() {
    // Confirmed texts first, so that the cancelled ones could replace them.
    s_->Answers().Then(FillOperands({"ALPHA", "BETA"}));
    Click(TOpTag::Midpoint);
    QCOMPARE(LogCount(), 1);
    const FixRecord pending = s_->Bench().PendingFix();
    const bool next_fix = s_->OpButton(TOpTag::NextFix)->isEnabled();

    int focus = 0;
    QList<QColor> at_ok, after_flash;
    bool open_after_ok = false;
    s_->Answers().Then([&](QWidget* Modal) {
      auto* pan = qobject_cast<TInPan*>(Modal);
      Type(QStringLiteral("ALBANY"));
      Key(Qt::Key_Tab);
      Type(QStringLiteral("BET"));
      Key(Qt::Key_Return);
      open_after_ok = pan->isVisible();
      for (int n = 1; n <= 3; n += 2) {
        if (QApplication::focusWidget() == pan->Field(n)) focus = n;
        at_ok << Ground(pan->Field(n));
      }
      QCOMPARE(pan->Field(3)->cursorPosition(), 3);
      QTRY_VERIFY(Ground(pan->Field(3)) != Red);
      after_flash << Ground(pan->Field(1)) << Ground(pan->Field(3));
      QCOMPARE(pan->Field(3)->selectedText(), QStringLiteral("BET"));
      QTest::mouseClick(pan->CancelButton(), Qt::LeftButton);
    });
    Click(TOpTag::Midpoint);
    QVERIFY(open_after_ok);
    QCOMPARE(focus, 3);
    QCOMPARE(at_ok, (QList<QColor>{Normal, Red}));
    QCOMPARE(after_flash, (QList<QColor>{Normal, White}));
    // Nothing changed, and the layout offers the texts confirmed before.
    QCOMPARE(LogCount(), 1);
    QVERIFY(s_->Bench().PendingFix().Position == pending.Position);
    QCOMPARE(s_->OpButton(TOpTag::NextFix)->isEnabled(), next_fix);
    QStringList offered;
    s_->Answers().Then([&offered](QWidget* Modal) {
      auto* pan = qobject_cast<TInPan*>(Modal);
      offered << pan->Field(1)->text() << pan->Field(3)->text();
      Key(Qt::Key_Escape);
      Key(Qt::Key_Escape);
    });
    Click(TOpTag::Midpoint);
    QCOMPARE(offered, (QStringList{"ALPHA", "BETA"}));
  }

  void AFailedCompletionDoesNotBlockOk() {
    s_->Answers().Then([](QWidget* Modal) {
      auto* pan = qobject_cast<TInPan*>(Modal);
      Type(QStringLiteral("BETA  "));  // BETA, then no further match
      QCOMPARE(Ground(pan->Field(1)), Red);
      Key(Qt::Key_Tab);
      Type(QStringLiteral("ALPHA"));
      Key(Qt::Key_Return);
    });
    Click(TOpTag::Azimuth);
    QCOMPARE(LogCount(), 1);
    QCOMPARE(s_->LogLines().at(0), QStringLiteral("Azimuth from BETA to ALPHA"));
  }

  void EscClearsTheFieldThenCancels() {
    QStringList texts;
    bool open_after_first = false;
    s_->Answers().Then([&](QWidget* Modal) {
      auto* pan = qobject_cast<TInPan*>(Modal);
      Type(QStringLiteral("ALPHA"));
      Key(Qt::Key_Tab);
      Type(QStringLiteral("BETA"));
      Key(Qt::Key_Escape);
      open_after_first = pan->isVisible();
      texts << pan->Field(1)->text() << pan->Field(3)->text();
      Key(Qt::Key_Escape);
    });
    Click(TOpTag::FixFix);
    QVERIFY(open_after_first);
    QCOMPARE(texts, (QStringList{"ALPHA", ""}));
    QVERIFY(!Pan().isVisible());
    QCOMPARE(LogCount(), 0);
    QVERIFY(!s_->Bench().PendingFix().Valid);
  }

  void TabInAskArcFixDistGoesToTheDistanceBeforeTheFix() {
    QList<int> walk;
    QString title;
    s_->Answers().Then([&](QWidget* Modal) {
      auto* pan = qobject_cast<TInPan*>(Modal);
      title = pan->windowTitle();
      for (int i = 0; i < 5; ++i) {
        for (int n = 1; n <= 6; ++n) {
          if (QApplication::focusWidget() == pan->Field(n)) walk << n;
        }
        Key(Qt::Key_Tab);
      }
      QTest::mouseClick(pan->CancelButton(), Qt::LeftButton);
    });
    Click(TOpTag::FixesAtDistance);
    QCOMPARE(title, QStringLiteral(" Arc to Fix Proximity"));
    QCOMPARE(walk, (QList<int>{1, 2, 5, 4, 1}));
  }

  void OperationsThatShareALayoutShareItsTexts() {
    s_->Answers().Then(FillOperands({"alp ", "be "}));
    Click(TOpTag::Midpoint);
    QStringList offered;
    const auto note_and_cancel = [&offered](QWidget* Modal) {
      auto* pan = qobject_cast<TInPan*>(Modal);
      offered.clear();
      for (int n = 1; n <= 6; ++n) {
        if (pan->Field(n)->isVisible()) offered << pan->Field(n)->text();
      }
      // The first field comes with its whole text selected.
      offered << pan->Field(1)->selectedText();
      QTest::mouseClick(pan->CancelButton(), Qt::LeftButton);
    };
    s_->Answers().Then(note_and_cancel);
    Click(TOpTag::FixFix);
    QCOMPARE(offered, (QStringList{"ALPHA", "BETA", "ALPHA"}));
    // Another layout keeps its own texts.
    s_->Answers().Then(note_and_cancel);
    Click(TOpTag::ArcFix);
    QCOMPARE(offered, (QStringList{"", "", "", ""}));
  }

  void AltAcceleratorsOpenTheDialogAndNextFixFollowsFixFix() {
    QVERIFY(s_->OpButton(TOpTag::NextFix)->isEnabled());  // km
    s_->Answers().Then(FillOperands({"alph ", "bet "}));
    s_->Press(Qt::Key_X, Qt::AltModifier);
    QTRY_COMPARE(LogCount(), 1);
    QCOMPARE(s_->Answers().Seen().last(), QStringLiteral("operands: Distance from Fix to Fix"));
    s_->Answers().Then(FillOperands({"alb "}));
    s_->Press(Qt::Key_N, Qt::AltModifier);
    QTRY_COMPARE(LogCount(), 2);
    QCOMPARE(s_->Answers().Seen().last(), QStringLiteral("operands: Accumulated distance"));
    QCOMPARE(s_->LogLines().mid(0, 2), (QStringList{"Accumulated distance from ALPHA", "to ALBANY"}));
    QTRY_COMPARE(QApplication::focusWidget(), s_->List());
  }

  void RangeErrorsAreShownAndNothingIsLogged() {
    s_->Answers().Then(FillOperands({"ALPHA", "20004", "360"}));
    s_->Answers().Then(CloseErrorBox());
    Click(TOpTag::FixAtDistAz);
    s_->Answers().Then(FillOperands({"ALPHA", "100", "-360"}));
    s_->Answers().Then(CloseErrorBox());
    Click(TOpTag::FixAtDistAz);
    s_->Answers().Then(FillOperands({"ALPHA", "ALPHA", "BETA"}));
    s_->Answers().Then(CloseErrorBox());
    Click(TOpTag::ArcFix);
    QCOMPARE(s_->Answers().Seen(), (QStringList{"operands: Fix at Distance and Azimuth",
                                            "error: Distance too large (>pi)",
                                            "operands: Fix at Distance and Azimuth",
                                            "error: Illegal azimuth value (>2pi)",
                                            "operands: Distance from Arc to Fix",
                                            "error: Same or opposing fixes"}));
    QCOMPARE(LogCount(), 0);
    QVERIFY(!s_->Bench().PendingFix().Valid);
  }
};

QTEST_MAIN(OperandDialogTest)
#include "operand_dialog_test.moc"
