// What reaches the fields of the two input dialogs: every key held with Alt
// that is no accelerator types nothing in any kind of field, a prefilled
// and selected text stays, and characters an input method commits go
// through the field's filter like typed ones.
#include "session_support.h"

#include <QInputMethodEvent>

using namespace navorix;
using namespace navorix::test;

namespace {

constexpr const char* Fixes =
    "55.7558 37.6173 MOSCOW\r\n"
    "59.9343 30.3351 PETERSBURG\r\n";

// Every letter but the accelerators O (OK) and C (Cancel) of both dialogs,
// in both cases, the digits, the blank and every punctuation character.
QString AltChars() {
  QString chars;
  for (char c = 'a'; c <= 'z'; ++c) {
    if (c == 'o' || c == 'c') continue;
    chars += QLatin1Char(c);
    chars += QLatin1Char(static_cast<char>(c - 'a' + 'A'));
  }
  chars += QStringLiteral("0123456789 !\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~");
  return chars;
}

// The characters of AltChars that, held with Alt, changed Field's text.
QString TypedWithAlt(QLineEdit* Field) {
  QString changed;
  Field->setFocus(Qt::TabFocusReason);
  Field->selectAll();
  for (const QChar c : AltChars()) {
    const QString before = Field->text();
    QTest::keyClick(Field, c.toLatin1(), Qt::AltModifier);
    if (Field->text() != before) {
      changed += c;
      Field->setText(before);
    }
    Field->selectAll();
  }
  return changed;
}

// Commits Text into Field as an input method (a compose key, a dead key)
// does.
void Commit(QLineEdit* Field, const QString& Text) {
  Field->setFocus(Qt::TabFocusReason);
  QInputMethodEvent event;
  event.setCommitString(Text);
  QApplication::sendEvent(Field, &event);
}

}  // namespace

class TypingTest : public QObject {
  Q_OBJECT

  std::unique_ptr<TSession> s_;

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

  // Alt+Z on the selected name once replaced MOSCOW by "z", stored by OK.
  void AltKeysTypeNothingInTheFixDialog() {
    const FixRecord before = s_->Bench().Fixes().Get(1);
    QStringList typed;
    QStringList texts;
    s_->Answers().Then([&](QWidget* Modal) {
      auto* d = qobject_cast<TFixInp*>(Modal);
      QVERIFY(d != nullptr);
      for (int n = 1; n <= TFixInp::FieldCount; ++n) {
        typed << TypedWithAlt(d->Field(n));
        texts << d->Field(n)->text();
      }
      Key(Qt::Key_Return);
    });
    s_->Select(0);
    s_->Press(Qt::Key_Return);
    QCOMPARE(typed, (QStringList{"", "", ""}));
    QCOMPARE(texts.at(0), QStringLiteral("MOSCOW"));
    const FixRecord after = s_->Bench().Fixes().Get(1);
    QCOMPARE(QString::fromStdString(after.Name.Str()), QStringLiteral("MOSCOW"));
    QVERIFY(after.Position == before.Position);
  }

  void AltKeysTypeNothingInTheOperationDialog() {
    QStringList typed;
    s_->Answers().Then([&](QWidget* Modal) {
      auto* pan = qobject_cast<TInPan*>(Modal);
      QVERIFY(pan != nullptr);
      // A name, a distance and an azimuth field, empty and with text.
      for (const int n : {1, 5, 6}) {
        typed << TypedWithAlt(pan->Field(n));
        pan->Field(n)->setText(n == 1 ? QStringLiteral("MOS") : QStringLiteral("12"));
        typed << TypedWithAlt(pan->Field(n));
      }
      Key(Qt::Key_C, Qt::AltModifier);  // the accelerator of Cancel
    });
    QTest::mouseClick(s_->OpButton(TOpTag::FixAtDistAz), Qt::LeftButton);
    QCOMPARE(typed, (QStringList{"", "", "", "", "", ""}));
    QCOMPARE(s_->Bench().Log().Count(), 0);
  }

  // Plain keys still go through the filter of their field.
  void PlainKeysAreFiltered() {
    QStringList texts;
    s_->Answers().Then([&](QWidget* Modal) {
      auto* d = qobject_cast<TFixInp*>(Modal);
      QVERIFY(d != nullptr);
      for (int n = 1; n <= TFixInp::FieldCount; ++n) {
        d->Field(n)->setFocus(Qt::TabFocusReason);
        Type(QStringLiteral("z1%d"));
        texts << d->Field(n)->text();
      }
      Key(Qt::Key_Escape);
      Key(Qt::Key_Escape);
    });
    s_->Press(Qt::Key_Insert);
    // The name takes capitals and digits; the coordinates the digit and
    // "d" as the degree sign.
    QCOMPARE(texts, (QStringList{"Z1D", QString::fromUtf8("1°"), QString::fromUtf8("1°")}));
  }

  void ComposedCharactersAreFiltered() {
    QStringList texts;
    s_->Answers().Then([&](QWidget* Modal) {
      auto* pan = qobject_cast<TInPan*>(Modal);
      QVERIFY(pan != nullptr);
      Commit(pan->Field(1), QString::fromUtf8("mé1"));
      Commit(pan->Field(5), QString::fromUtf8("é2°x"));
      Commit(pan->Field(6), QString::fromUtf8("-3,5"));
      for (const int n : {1, 5, 6}) texts << pan->Field(n)->text();
      Key(Qt::Key_C, Qt::AltModifier);
    });
    QTest::mouseClick(s_->OpButton(TOpTag::FixAtDistAz), Qt::LeftButton);
    QCOMPARE(texts, (QStringList{"M1", QString::fromUtf8("2°"), "-35"}));
  }
};

QTEST_MAIN(TypingTest)
#include "typing_test.moc"
