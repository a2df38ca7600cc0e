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
QString altChars() {
  QString chars;
  for (char c = 'a'; c <= 'z'; ++c) {
    if (c == 'o' || c == 'c') continue;
    chars += QLatin1Char(c);
    chars += QLatin1Char(static_cast<char>(c - 'a' + 'A'));
  }
  chars += QStringLiteral("0123456789 !\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~");
  return chars;
}

// The characters of AltChars that, held with Alt, changed field's text.
QString typedWithAlt(QLineEdit* field) {
  QString changed;
  field->setFocus(Qt::TabFocusReason);
  field->selectAll();
  for (const QChar c : altChars()) {
    const QString before = field->text();
    QTest::keyClick(field, c.toLatin1(), Qt::AltModifier);
    if (field->text() != before) {
      changed += c;
      field->setText(before);
    }
    field->selectAll();
  }
  return changed;
}

// Commits text into field as an input method (a compose key, a dead key)
// does.
void commit(QLineEdit* field, const QString& text) {
  field->setFocus(Qt::TabFocusReason);
  QInputMethodEvent event;
  event.setCommitString(text);
  QApplication::sendEvent(field, &event);
}

}  // namespace

class TypingTest : public QObject {
  Q_OBJECT

  std::unique_ptr<Session> s_;

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

  // Alt+Z on the selected name once replaced MOSCOW by "z", stored by OK.
  void altKeysTypeNothingInTheFixDialog() {
    const FixRecord before = s_->bench().Fixes().Get(1);
    QStringList typed;
    QStringList texts;
    s_->answers().then([&](QWidget* modal) {
      auto* d = qobject_cast<FixDialog*>(modal);
      QVERIFY(d != nullptr);
      for (int n = 1; n <= FixDialog::FieldCount; ++n) {
        typed << typedWithAlt(d->fieldAt(n));
        texts << d->fieldAt(n)->text();
      }
      key(Qt::Key_Return);
    });
    s_->select(0);
    s_->press(Qt::Key_Return);
    QCOMPARE(typed, (QStringList{"", "", ""}));
    QCOMPARE(texts.at(0), QStringLiteral("MOSCOW"));
    const FixRecord after = s_->bench().Fixes().Get(1);
    QCOMPARE(QString::fromStdString(after.name.Str()), QStringLiteral("MOSCOW"));
    QVERIFY(after.position == before.position);
  }

  void altKeysTypeNothingInTheOperationDialog() {
    QStringList typed;
    s_->answers().then([&](QWidget* modal) {
      auto* pan = qobject_cast<OperandDialog*>(modal);
      QVERIFY(pan != nullptr);
      // A name, a distance and an azimuth field, empty and with text.
      for (const int n : {1, 5, 6}) {
        typed << typedWithAlt(pan->fieldAt(n));
        pan->fieldAt(n)->setText(n == 1 ? QStringLiteral("MOS") : QStringLiteral("12"));
        typed << typedWithAlt(pan->fieldAt(n));
      }
      key(Qt::Key_C, Qt::AltModifier);  // the accelerator of Cancel
    });
    QTest::mouseClick(s_->opButton(OperationTag::FixAtDistAz), Qt::LeftButton);
    QCOMPARE(typed, (QStringList{"", "", "", "", "", ""}));
    QCOMPARE(s_->bench().Log().Count(), 0);
  }

  // Plain keys still go through the filter of their field.
  void plainKeysAreFiltered() {
    QStringList texts;
    s_->answers().then([&](QWidget* modal) {
      auto* d = qobject_cast<FixDialog*>(modal);
      QVERIFY(d != nullptr);
      for (int n = 1; n <= FixDialog::FieldCount; ++n) {
        d->fieldAt(n)->setFocus(Qt::TabFocusReason);
        type(QStringLiteral("z1%d"));
        texts << d->fieldAt(n)->text();
      }
      key(Qt::Key_Escape);
      key(Qt::Key_Escape);
    });
    s_->press(Qt::Key_Insert);
    // The name takes capitals and digits; the coordinates the digit and
    // "d" as the degree sign.
    QCOMPARE(texts, (QStringList{"Z1D", QString::fromUtf8("1°"), QString::fromUtf8("1°")}));
  }

  void composedCharactersAreFiltered() {
    QStringList texts;
    s_->answers().then([&](QWidget* modal) {
      auto* pan = qobject_cast<OperandDialog*>(modal);
      QVERIFY(pan != nullptr);
      commit(pan->fieldAt(1), QString::fromUtf8("mé1"));
      commit(pan->fieldAt(5), QString::fromUtf8("é2°x"));
      commit(pan->fieldAt(6), QString::fromUtf8("-3,5"));
      for (const int n : {1, 5, 6}) texts << pan->fieldAt(n)->text();
      key(Qt::Key_C, Qt::AltModifier);
    });
    QTest::mouseClick(s_->opButton(OperationTag::FixAtDistAz), Qt::LeftButton);
    QCOMPARE(texts, (QStringList{"M1", QString::fromUtf8("2°"), "-35"}));
  }
};

QTEST_MAIN(TypingTest)
#include "typing_test.moc"
