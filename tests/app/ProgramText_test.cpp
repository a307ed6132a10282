// Texts between Qt and the program: the program's side is the ANSI code page,
// which is UTF-8 here, so the expected bytes below are UTF-8.
#include <QtTest>
#include <vector>

#include "app/ProgramText.h"

class ProgramTextTest : public QObject {
  Q_OBJECT

 private slots:
  void convertsBothWays_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << QString() << QByteArray();
    QTest::newRow("ASCII") << QStringLiteral("C:/Program Files/OUTLOOK.EXE")
                           << QByteArray("C:/Program Files/OUTLOOK.EXE");
    QTest::newRow("two-byte characters") << QStringLiteral("Ärger für Øre")
                                         << QByteArray("\xC3\x84rger f\xC3\xBCr \xC3\x98re");
    QTest::newRow("three-byte characters") << QStringLiteral("日本 €") << QByteArray("\xE6\x97\xA5\xE6\x9C\xAC \xE2\x82\xAC");
    // Outside the basic plane: a surrogate pair on Qt's side, four bytes here.
    QTest::newRow("surrogate pair") << QStringLiteral("note \U0001F4DD")
                                    << QByteArray("note \xF0\x9F\x93\x9D");
  }

  void convertsBothWays() {
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    const QByteArray program = ToProgramText(text);
    QCOMPARE(program, bytes);
    // What the program keeps is a zero-terminated text.
    QCOMPARE(program.constData()[program.size()], '\0');
    QCOMPARE(FromProgramText(bytes.constData()), text);
  }

  void nullTextIsEmpty() {
    QVERIFY(FromProgramText(nullptr).isEmpty());
    QVERIFY(FromProgramText(nullptr, 10).isEmpty());
  }

  void readsNoFurtherThanItsField_data() {
    QTest::addColumn<QByteArray>("field");  // the whole field, zeros included
    QTest::addColumn<int>("maxBytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("ends at its zero") << QByteArray("ab\0cd", 5) << 5 << "ab";
    QTest::newRow("full field without a zero") << QByteArray("abcd") << 4 << "abcd";
    QTest::newRow("limit inside the text") << QByteArray("abcd") << 2 << "ab";
    QTest::newRow("no bytes") << QByteArray("abcd") << 0 << "";
    // A limit inside a character leaves a broken sequence: it reads as U+FFFD.
    QTest::newRow("limit inside a character") << QByteArray("a\xC3\xA9") << 2 << QStringLiteral("a\uFFFD");
  }

  void readsNoFurtherThanItsField() {
    QFETCH(QByteArray, field);
    QFETCH(int, maxBytes);
    QFETCH(QString, text);
    // A copy of exactly the field's bytes, so a read past it is caught.
    std::vector<char> bytes(field.begin(), field.end());
    QCOMPARE(FromProgramText(bytes.data(), static_cast<size_t>(maxBytes)), text);
  }

  void fieldTextTakesTheFieldsSize() {
    const char szField[3] = {'x', 'y', 'z'};
    QCOMPARE(FieldText(szField), QStringLiteral("xyz"));
  }

  // Bytes that are no character of the code page each become one U+FFFD per
  // broken sequence (its longest valid start), and the rest reads on.
  void brokenSequencesReadAsReplacement_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("byte never used") << QByteArray("a\xFF" "b") << QStringLiteral("a\uFFFDb");
    QTest::newRow("lone continuation") << QByteArray("\x80x") << QStringLiteral("\uFFFDx");
    QTest::newRow("character cut short") << QByteArray("\xE2\x82" "x") << QStringLiteral("\uFFFDx");
    QTest::newRow("overlong form") << QByteArray("\xC0\xAF") << QStringLiteral("\uFFFD\uFFFD");
    QTest::newRow("encoded surrogate") << QByteArray("\xED\xA0\x80")
                                       << QStringLiteral("\uFFFD\uFFFD\uFFFD");
  }

  void brokenSequencesReadAsReplacement() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(FromProgramText(bytes.constData()), text);
  }

  // An unpaired surrogate has no encoding: it becomes the default character.
  void unpairedSurrogatesBecomeTheDefaultCharacter_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("high alone") << QString(QChar(0xD83D)) << QByteArray("?");
    QTest::newRow("low between letters")
        << QStringLiteral("a") + QChar(0xDCDD) + QStringLiteral("b") << QByteArray("a?b");
    QTest::newRow("high before a letter") << QChar(0xD83D) + QStringLiteral("x") << QByteArray("?x");
  }

  void unpairedSurrogatesBecomeTheDefaultCharacter() {
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(ToProgramText(text), bytes);
  }
};

QTEST_APPLESS_MAIN(ProgramTextTest)
#include "ProgramText_test.moc"
