#include "bookdata/bookdata.h"
#include "bookdata_bau.h"
#include "platform/dateien.h"
#include "platform/fehler.h"
#include "temp_ordner.h"
#include "test_plattform.h"

#include <QtTest>

using namespace qk;
using qk::test::Bookdata;
using qk::test::Freigegeben;

namespace {

// What the index commands do before deleting: the bookings of one folder for UserNr.
void Index_Lesen(Zustand& z, const QString& lib, const QString& index) {
    BookdataListe_Zurücksetzen(z);
    z.Ordner_Nr = 0;
    Bookdata_Öffnen(z, lib, index, z.UserNr);
    z.Anzahl_Buchungen = Buchungen_Zählen(z);
}

} // namespace

class TestLoeschen : public QObject {
    Q_OBJECT
private slots:
    void allUsersOfOneFolder() {
        test::TempOrdner t;
        const QByteArray alt = Bookdata({{5, 3, 9}, {17, 7, 1}, {200, 0, 4}});
        t.Datei("Lib/IDX00012/BOOKDATA.NET", alt);
        const QString lib = t.Pfad() + "Lib/";
        test::TestPlattform p;
        Zustand z(p);
        z.UserNr = 0;
        z.Summe_Buchungen = 10;
        z.Summe_Dateien = 2;
        Index_Lesen(z, lib, "idx00012");
        Buchungen_Löschen(z, lib);

        QVERIFY(p.meldungen.isEmpty());
        QCOMPARE(t.Lesen("Lib/IDX00012/BOOKDATA.NET"), Freigegeben(alt, {5, 17, 200}));
        QCOMPARE(t.Lesen("Lib/IDX00012/BOOKDATA.BAK"), alt);
        QCOMPARE(z.Buchungen_Gelöscht, 3);
        QCOMPARE(z.Datensätze_Geschrieben, 256);
        QCOMPARE(z.Dateien_Bearbeitet, 1);
        QCOMPARE(z.Anzahl_Buchungen, 3);
        QCOMPARE(z.Status_Löschen, QStringLiteral("OK"));
        QCOMPARE(z.Status_Schreiben, QStringLiteral("OK"));
        QCOMPARE(z.Summe_Buchungen, 13);
        QCOMPARE(z.Summe_Dateien, 3);
        QCOMPARE(
            t.Lesen("Lib/_!bookdata.txt"),
            QByteArray("idx00012\t5\t3\t9\r\nidx00012\t17\t7\t1\r\nidx00012\t200\t0\t4\r\n\r\n"));
    }

    void oneUserLeavesTheOthers() {
        test::TempOrdner t;
        const QByteArray alt = Bookdata({{1, 7, 3}, {2, 8, 4}, {3, 70, 5}, {9, 7, 12}});
        t.Datei("Lib/IDX00012/BOOKDATA.NET", alt);
        const QString lib = t.Pfad() + "Lib/";
        test::TestPlattform p;
        Zustand z(p);
        z.UserNr = 7;
        Index_Lesen(z, lib, "IDX00012");
        Buchungen_Löschen(z, lib);
        QCOMPARE(t.Lesen("Lib/IDX00012/BOOKDATA.NET"), Freigegeben(alt, {1, 9}));
        QCOMPARE(z.Buchungen_Gelöscht, 2);
        QCOMPARE(z.Status_Löschen, QStringLiteral("OK"));
    }

    void twoFoldersOneUndoList() {
        test::TempOrdner t;
        const QByteArray a = Bookdata({{5, 7, 3}, {9, 7, 12}, {10, 8, 1}});
        const QByteArray b = Bookdata({{0, 7, 200}});
        t.Datei("Lib/IDX00012/BOOKDATA.NET", a);
        t.Datei("Lib/IDX00013/BOOKDATA.NET", b);
        t.Datei("Lib/IDX00014/BOOKDATA.NET", Bookdata({{1, 8, 1}}));
        t.Datei("Lib/_!bookdata.txt", "IDX00001\t1\t1\t1\r\n\r\n");
        const QString lib = t.Pfad() + "Lib/";
        test::TestPlattform p;
        Zustand z(p);
        z.UserNr = 7;
        z.Anzahl_Ordner = Anzahl_Ordner_Ermitteln(z, lib);
        Bookdata_Einlesen(z, lib, 7);
        Buchungen_Löschen(z, lib);

        QVERIFY(p.meldungen.isEmpty());
        QCOMPARE(t.Lesen("Lib/IDX00012/BOOKDATA.NET"), Freigegeben(a, {5, 9}));
        QCOMPARE(t.Lesen("Lib/IDX00013/BOOKDATA.NET"), Freigegeben(b, {0}));
        QVERIFY(!t.Existiert("Lib/IDX00014/BOOKDATA.BAK")); // nothing of user 7 there
        QCOMPARE(z.Dateien_Bearbeitet, 2);
        QCOMPARE(z.Datensätze_Geschrieben, 512);
        QCOMPARE(z.Buchungen_Gelöscht, 3);
        QByteArray liste;
        for (const BookdataEintrag& e : z.BookdataListe)
            liste += QStringLiteral("%1\t%2\t7\t%3\r\n")
                         .arg(e.Index)
                         .arg(e.BoxNr)
                         .arg(e.RevNr)
                         .toLatin1();
        QCOMPARE(t.Lesen("Lib/_!bookdata.txt"), liste + "\r\n");
        QVERIFY(liste.contains("IDX00012\t5\t7\t3\r\nIDX00012\t9\t7\t12\r\n"));
        QVERIFY(liste.contains("IDX00013\t0\t7\t200\r\n"));
    }

    void nothingListedTouchesNothing() {
        test::TempOrdner t;
        const QByteArray alt = Bookdata({{5, 7, 3}});
        t.Datei("Lib/IDX00012/BOOKDATA.NET", alt);
        t.Datei("Lib/_!bookdata.txt", "IDX00001\t1\t1\t1\r\n\r\n");
        const QString lib = t.Pfad() + "Lib/";
        test::TestPlattform p;
        Zustand z(p);
        z.UserNr = 9;
        Index_Lesen(z, lib, "IDX00012");
        QCOMPARE(z.Anzahl_Einträge, 0);
        z.Dateien_Bearbeitet = 4;
        z.Buchungen_Gelöscht = 5;
        z.Status_Löschen = "vorher";
        Buchungen_Löschen(z, lib);
        QCOMPARE(t.Lesen("Lib/IDX00012/BOOKDATA.NET"), alt);
        QVERIFY(!t.Existiert("Lib/IDX00012/BOOKDATA.BAK"));
        QCOMPARE(t.Lesen("Lib/_!bookdata.txt"), QByteArray("IDX00001\t1\t1\t1\r\n\r\n"));
        QCOMPARE(z.Dateien_Bearbeitet, 4);
        QCOMPARE(z.Buchungen_Gelöscht, 5);
        QCOMPARE(z.Status_Löschen, QStringLiteral("vorher"));
    }

    void boxBookedBetweenListingAndDeletion() {
        test::TempOrdner t;
        const QByteArray alt = Bookdata({{5, 7, 3}});
        t.Datei("Lib/IDX00012/BOOKDATA.NET", alt);
        const QString lib = t.Pfad() + "Lib/";
        test::TestPlattform p;
        Zustand z(p);
        z.UserNr = 7;
        Index_Lesen(z, lib, "IDX00012");
        const QByteArray neu = Bookdata({{5, 7, 3}, {6, 7, 1}}); // a workstation books box 6
        t.Datei("Lib/IDX00012/BOOKDATA.NET", neu);
        Buchungen_Löschen(z, lib);
        QCOMPARE(t.Lesen("Lib/IDX00012/BOOKDATA.NET"), Freigegeben(neu, {5, 6}));
        QCOMPARE(t.Lesen("Lib/IDX00012/BOOKDATA.BAK"), neu); // the bytes the rewrite began from
        QCOMPARE(z.Anzahl_Buchungen, 1);
        QCOMPARE(z.Buchungen_Gelöscht, 2);
        QCOMPARE(z.Status_Löschen, QStringLiteral("Error"));
        QCOMPARE(z.Status_Schreiben, QStringLiteral("OK"));
        QCOMPARE(t.Lesen("Lib/_!bookdata.txt"), QByteArray("IDX00012\t5\t7\t3\r\n\r\n"));
    }

    void backupCannotBeWritten() {
        test::TempOrdner t;
        const QByteArray a = Bookdata({{5, 7, 3}});
        const QByteArray b = Bookdata({{6, 7, 4}});
        t.Datei("Lib/IDX00012/BOOKDATA.NET", a);
        t.Ordner("Lib/IDX00012/BOOKDATA.BAK"); // a folder where the backup should go
        t.Datei("Lib/IDX00013/BOOKDATA.NET", b);
        const QString lib = t.Pfad() + "Lib/";
        test::TestPlattform p;
        Zustand z(p);
        z.UserNr = 7;
        z.BookdataListe = {BookdataEintrag{"IDX00012", 5, 7, 3, 0, 0},
                           BookdataEintrag{"IDX00013", 6, 7, 4, 0, 0}};
        z.Anzahl_Einträge = 2;
        Buchungen_Löschen(z, lib);

        QCOMPARE(p.meldungen.size(), 1);
        QCOMPARE(p.meldungen[0].text,
                 "Error when creating ''" + lib + "IDX00012\\BOOKDATA.NET !''\r\nError Nr.: 75");
        QCOMPARE(p.meldungen[0].titel, QStringLiteral("Bookdata_Speichern_Error"));
        QCOMPARE(p.meldungen[0].symbol, Symbol::Ausruf);
        QCOMPARE(t.Lesen("Lib/IDX00012/BOOKDATA.NET"), a); // untouched without its backup
        QCOMPARE(t.Lesen("Lib/IDX00013/BOOKDATA.NET"), Freigegeben(b, {6}));
        QCOMPARE(z.Dateien_Bearbeitet, 2);
        QCOMPARE(z.Datensätze_Geschrieben, 256);
        QCOMPARE(z.Buchungen_Gelöscht, 1);
        QCOMPARE(z.Status_Schreiben, QStringLiteral("Error"));
        QCOMPARE(z.Status_Löschen, QStringLiteral("Error"));
    }

    void backupFailsWhileWriting() {
        test::TempOrdner t;
        const QByteArray a = Bookdata({{5, 7, 3}});
        t.Datei("Lib/IDX00012/BOOKDATA.NET", a);
        const QString lib = t.Pfad() + "Lib/";
        test::TestPlattform p;
        Zustand z(p);
        z.UserNr = 7;
        Index_Lesen(z, lib, "IDX00012");
        QStringList geschrieben;
        datei::Fehlerhaken_Setzen([&](datei::Vorgang v, const QString& pfad) {
            if (v == datei::Vorgang::Schreiben)
                geschrieben.append(QFileInfo(pfad).fileName());
            if (v == datei::Vorgang::Schreiben && pfad.endsWith("BOOKDATA.BAK"))
                throw Fehler(FEHLER_DATENTRAEGER_VOLL);
        });
        Buchungen_Löschen(z, lib);
        datei::Fehlerhaken_Setzen({});
        QCOMPARE(geschrieben, QStringList{"BOOKDATA.BAK"}); // the booking file is not opened
        QCOMPARE(t.Lesen("Lib/IDX00012/BOOKDATA.NET"), a);
        QCOMPARE(p.meldungen.size(), 1);
        QVERIFY(p.meldungen[0].text.endsWith("\r\nError Nr.: 61"));
        QCOMPARE(z.Status_Schreiben, QStringLiteral("Error"));
    }

    void backupHoldsTheBytesThatWereRead() {
        test::TempOrdner t;
        const QByteArray alt = Bookdata({{5, 7, 3}});
        t.Datei("Lib/IDX00012/BOOKDATA.NET", alt);
        const QString lib = t.Pfad() + "Lib/";
        test::TestPlattform p;
        Zustand z(p);
        z.UserNr = 7;
        Index_Lesen(z, lib, "IDX00012");
        // A workstation writes the file as soon as it has been read once: whatever happens
        // next (a second read, the copy, the backup) sees the new bytes.
        int gelesen = 0;
        bool einmal = false;
        datei::Fehlerhaken_Setzen([&](datei::Vorgang v, const QString& pfad) {
            const bool netz = v == datei::Vorgang::Lesen && pfad.endsWith("BOOKDATA.NET");
            if (netz)
                ++gelesen;
            if (!einmal && (gelesen > 1 || pfad.endsWith("BOOKDATA.BAK"))) {
                einmal = true;
                t.Datei("Lib/IDX00012/BOOKDATA.NET", Bookdata({{5, 7, 3}, {6, 9, 9}}));
            }
        });
        Buchungen_Löschen(z, lib);
        datei::Fehlerhaken_Setzen({});
        QVERIFY(einmal);
        QCOMPARE(t.Lesen("Lib/IDX00012/BOOKDATA.BAK"), alt);
        // The workstation's booking of box 6, made after the read, stays.
        QCOMPARE(t.Lesen("Lib/IDX00012/BOOKDATA.NET"),
                 Freigegeben(Bookdata({{5, 7, 3}, {6, 9, 9}}), {5}));
    }

    void shortFileKeepsItsLength() {
        test::TempOrdner t;
        const QByteArray alt = Bookdata({{5, 7, 3}, {62, 7, 1}}).left(62 * 16 + 8);
        t.Datei("Lib/IDX00012/BOOKDATA.NET", alt);
        const QString lib = t.Pfad() + "Lib/";
        test::TestPlattform p;
        Zustand z(p);
        z.UserNr = 7;
        Index_Lesen(z, lib, "IDX00012");
        Buchungen_Löschen(z, lib);
        const QByteArray neu = t.Lesen("Lib/IDX00012/BOOKDATA.NET");
        QCOMPARE(neu.size(), alt.size());
        QCOMPARE(neu, Freigegeben(Bookdata({{5, 7, 3}, {62, 7, 1}}), {5}).left(alt.size()));
        QCOMPARE(t.Lesen("Lib/IDX00012/BOOKDATA.BAK"), alt);
        QCOMPARE(z.Datensätze_Geschrieben, 62);
        QCOMPARE(z.Status_Schreiben, QStringLiteral("Error")); // the file lacked boxes
        QCOMPARE(z.Status_Löschen, QStringLiteral("OK"));
    }

    void caseVariantsAreTheSameFiles() {
        test::TempOrdner t;
        const QByteArray alt = Bookdata({{5, 7, 3}});
        t.Datei("Lib/idx00012/bookdata.net", alt);
        t.Datei("Lib/idx00012/bookdata.bak", "older backup");
        t.Datei("Lib/_!BOOKDATA.TXT", "old list");
        const QString lib = t.Pfad() + "Lib/";
        test::TestPlattform p;
        Zustand z(p);
        z.UserNr = 7;
        Index_Lesen(z, lib, "IDX00012");
        Buchungen_Löschen(z, lib);
        QVERIFY(p.meldungen.isEmpty());
        QCOMPARE(QDir(t.Pfad() + "Lib/idx00012").entryList(QDir::Files),
                 QStringList({"bookdata.bak", "bookdata.net"}));
        QCOMPARE(t.Lesen("Lib/idx00012/bookdata.bak"), alt);
        QCOMPARE(t.Lesen("Lib/idx00012/bookdata.net"), Freigegeben(alt, {5}));
        QCOMPARE(t.Lesen("Lib/_!BOOKDATA.TXT"), QByteArray("IDX00012\t5\t7\t3\r\n\r\n"));
    }

    void undoListFailure() {
        test::TempOrdner t;
        const QByteArray alt = Bookdata({{5, 7, 3}});
        t.Datei("Lib/IDX00012/BOOKDATA.NET", alt);
        t.Datei("Lib/_!bookdata.txt", "IDX00001\t1\t1\t1\r\n\r\n");
        const QString lib = t.Pfad() + "Lib/";
        test::TestPlattform p;
        Zustand z(p);
        z.UserNr = 7;
        Index_Lesen(z, lib, "IDX00012");
        z.Status_Löschen = "vorher";
        datei::Fehlerhaken_Setzen([](datei::Vorgang v, const QString& pfad) {
            if (v == datei::Vorgang::Ersetzen && pfad.endsWith("_!bookdata.txt"))
                throw Fehler(FEHLER_ZUGRIFF);
        });
        Buchungen_Löschen(z, lib);
        datei::Fehlerhaken_Setzen({});
        QCOMPARE(p.meldungen.size(), 1);
        QCOMPARE(p.meldungen[0].text,
                 QStringLiteral("Error when deleting bookings.\r\nError number: 75"));
        QCOMPARE(p.meldungen[0].titel, QStringLiteral("Buchungen_Löschen_Error"));
        QCOMPARE(t.Lesen("Lib/_!bookdata.txt"), QByteArray("IDX00001\t1\t1\t1\r\n\r\n"));
        QCOMPARE(z.Status_Löschen, QStringLiteral("vorher"));
        // Without its undo list nothing is deleted.
        QCOMPARE(z.Dateien_Bearbeitet, 0);
        QCOMPARE(t.Lesen("Lib/IDX00012/BOOKDATA.NET"), alt);
        QVERIFY(!t.Existiert("Lib/IDX00012/BOOKDATA.BAK"));
    }
};

QTEST_APPLESS_MAIN(TestLoeschen)
#include "test_loeschen.moc"
