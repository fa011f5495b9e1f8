#include "platform/dateien.h"
#include "platform/fehler.h"
#include "temp_ordner.h"

#include <QtTest>

using namespace qk;

class TestUeberschreiben : public QObject {
    Q_OBJECT

    static int Nummer(const std::function<void()>& f) {
        try {
            f();
        } catch (const Fehler& e) {
            return e.Nummer();
        }
        return 0;
    }

private slots:
    void staysTheSameFileForOpenHandles() {
        test::TempOrdner t;
        const QString p = t.Datei("BOOKDATA.NET", "alt-alt-alt");
        QFile offen(p);
        QVERIFY(offen.open(QIODevice::ReadOnly));
        datei::Überschreiben(p, "neu-neu-neu");
        QVERIFY(offen.seek(0));
        QCOMPARE(offen.readAll(), QByteArray("neu-neu-neu"));
    }

    void lengthFollowsTheContent() {
        test::TempOrdner t;
        const QString p = t.Datei("f", "0123456789");
        datei::Überschreiben(p, "abc");
        QCOMPARE(t.Lesen("f"), QByteArray("abc"));
        datei::Überschreiben(p, "abcdefghijkl");
        QCOMPARE(t.Lesen("f"), QByteArray("abcdefghijkl"));
        datei::Überschreiben(t.Pfad() + "neu", "x");
        QCOMPARE(t.Lesen("neu"), QByteArray("x"));
    }

    void caseVariantAndHook() {
        test::TempOrdner t;
        t.Datei("IDX00012/bookdata.bak", "alt");
        QStringList gesehen;
        datei::Fehlerhaken_Setzen([&](datei::Vorgang v, const QString& pfad) {
            gesehen.append(QString::number(int(v)) + ' ' + pfad.mid(t.Pfad().size()));
        });
        datei::Überschreiben(t.Pfad() + "idx00012\\BOOKDATA.BAK", "neu");
        const QByteArray gelesen = datei::Lesen(t.Pfad() + "IDX00012/BOOKDATA.BAK");
        datei::Lesen(t.Pfad() + "IDX00012/bookdata.bak");
        datei::Fehlerhaken_Setzen({});
        QCOMPARE(gelesen, QByteArray("neu"));
        QCOMPARE(QDir(t.Pfad() + "IDX00012").entryList(QDir::Files), QStringList{"bookdata.bak"});
        const QString s = QString::number(int(datei::Vorgang::Schreiben));
        const QString l = QString::number(int(datei::Vorgang::Lesen));
        QCOMPARE(gesehen, QStringList({s + " IDX00012/bookdata.bak", l + " IDX00012/bookdata.bak",
                                       l + " IDX00012/bookdata.bak"}));
    }

    void failures() {
        test::TempOrdner t;
        t.Ordner("ordner");
        QCOMPARE(Nummer([&] { datei::Überschreiben(t.Pfad() + "ordner", "x"); }),
                 int(FEHLER_ZUGRIFF));
        QCOMPARE(Nummer([&] { datei::Überschreiben(t.Pfad() + "fehlt/f", "x"); }),
                 int(FEHLER_PFAD));
        QCOMPARE(Nummer([&] { datei::Lesen(t.Pfad() + "ordner"); }), int(FEHLER_ZUGRIFF));
        const QString p = t.Datei("f", "alt");
        datei::Fehlerhaken_Setzen(
            [](datei::Vorgang, const QString&) { throw Fehler(FEHLER_DATENTRAEGER_VOLL); });
        QCOMPARE(Nummer([&] { datei::Überschreiben(p, "neu"); }), int(FEHLER_DATENTRAEGER_VOLL));
        QCOMPARE(Nummer([&] { datei::Lesen(p); }), int(FEHLER_DATENTRAEGER_VOLL));
        datei::Fehlerhaken_Setzen({});
        QCOMPARE(t.Lesen("f"), QByteArray("alt"));
    }
};

QTEST_APPLESS_MAIN(TestUeberschreiben)
#include "test_ueberschreiben.moc"
