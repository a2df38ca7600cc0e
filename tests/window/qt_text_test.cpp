// Text at the edge of the toolkit: Windows-1252 bytes to QString and back.
#include "window/look/qt_text.h"

#include <QTest>

class QtTextTest : public QObject {
  Q_OBJECT

 private slots:
  void degreeSignAndHighBytes() {
    const std::string text =
        "29\xB0"
        "33'10\"N \x80 \x9F";
    const QString q = navorix::toQString(text);
    QCOMPARE(q, QString::fromUtf8("29\u00B033'10\"N \u20AC \u0178"));
    QCOMPARE(navorix::fromQString(q), text);
  }

  void everyByteSurvivesTheRoundTrip() {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    const QString q = navorix::toQString(all);
    QCOMPARE(q.size(), qsizetype{255});
    QCOMPARE(navorix::fromQString(q), all);
  }

  void charactersOutsideTheCodePageBecomeQuestionMarks() {
    QCOMPARE(navorix::fromQString(QString::fromUtf8("A\u4E2DB")), std::string("A?B"));
  }
};

QTEST_MAIN(QtTextTest)
#include "qt_text_test.moc"
