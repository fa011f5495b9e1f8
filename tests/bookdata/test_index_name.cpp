#include "bookdata/bookdata.h"
#include "platform/fehler.h"
#include "test_plattform.h"

#include <QtTest>

using namespace qk;

class TestIndexName : public QObject {
    Q_OBJECT
private slots:
    void names_data() {
        QTest::addColumn<QString>("eingabe");
        QTest::addColumn<QString>("name"); // empty: invalid, with the message
        QTest::newRow("7") << "7"
                           << "idx00007";
        QTest::newRow("12") << "12"
                            << "idx00012";
        QTest::newRow("12345") << "12345"
                               << "idx12345";
        QTest::newRow("01234") << "01234"
                               << "idx01234";
        QTest::newRow("00000") << "00000"
                               << "idx00000";
        QTest::newRow("00012") << "00012"
                               << "idx00012";
        QTest::newRow("0") << "0"
                           << "";
        QTest::newRow("012") << "012"
                             << "";
        QTest::newRow("0123") << "0123"
                              << "";
        QTest::newRow("123456") << "123456"
                                << "";
        QTest::newRow("letter after digit") << "1a"
                                            << "";
        QTest::newRow("path escape") << "1\\..\\"
                                     << "";
        QTest::newRow("blank after digit") << "12 "
                                           << "";
    }
    void names() {
        QFETCH(QString, eingabe);
        QFETCH(QString, name);
        test::TestPlattform p;
        Zustand z(p);
        QCOMPARE(Index_Ordnername(z, eingabe), name);
        if (name.isEmpty()) {
            QCOMPARE(p.meldungen.size(), 1);
            QCOMPARE(p.meldungen[0].text, QStringLiteral("Please enter a valid Index number."));
            QCOMPARE(p.meldungen[0].titel, "Invalid Index number: " + eingabe);
            QCOMPARE(p.meldungen[0].symbol, Symbol::Ausruf);
        } else {
            QVERIFY(p.meldungen.isEmpty());
        }
    }

    void notANumberIsAnError_data() {
        QTest::addColumn<QString>("eingabe");
        QTest::newRow("empty") << "";
        QTest::newRow("letter") << "a1";
        QTest::newRow("blank") << " 1";
    }
    void notANumberIsAnError() {
        QFETCH(QString, eingabe);
        test::TestPlattform p;
        Zustand z(p);
        try {
            Index_Ordnername(z, eingabe);
            QFAIL("no error");
        } catch (const Fehler& f) {
            QCOMPARE(f.Nummer(), int(FEHLER_TYP));
        }
        QVERIFY(p.meldungen.isEmpty());
    }

    void indexFolders() {
        QVERIFY(Ist_Indexordner("IDX00012"));
        QVERIFY(Ist_Indexordner("idx00002"));
        QVERIFY(Ist_Indexordner("IDX00000"));
        QVERIFY(!Ist_Indexordner("IDX0001"));
        QVERIFY(!Ist_Indexordner("IDX000123"));
        QVERIFY(!Ist_Indexordner("IDX0001a"));
        QVERIFY(!Ist_Indexordner("IDX..\\.."));
        QVERIFY(!Ist_Indexordner("Archiv"));
    }
};

QTEST_GUILESS_MAIN(TestIndexName)
#include "test_index_name.moc"
