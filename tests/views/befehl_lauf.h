#pragma once

#include "../bookdata/bookdata_bau.h"
#include "../shell/umgebung.h"
#include "shell/idmap_frm1.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>
#include <functional>

// Runs a command of the main window while a script answers the modal windows it opens, one
// step per window, in the order they appear, as a user at the screen would.
namespace qk::test {

using Schritt = std::function<void(QDialog&)>;

struct Befehlslauf {
    bool gelaufen = false;
    // "objectName: caption" of every modal window met, in order.
    QStringList fenster;
    // Windows that a step left open, or that no step was left for; they were cancelled.
    QStringList nichtBeantwortet;
    int übrigeSchritte = 0;
};

inline Befehlslauf Befehl_Mit_Dialogen(Idmap_frm1& f, QAction* punkt, QList<Schritt> schritte) {
    Befehlslauf lauf;
    QPointer<QDialog> letztes;
    QTimer takt;
    takt.setInterval(5);
    QObject::connect(&takt, &QTimer::timeout, [&] {
        auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (d == nullptr || d == letztes || !d->isVisible())
            return;
        letztes = d;
        const QString name = d->objectName() + QStringLiteral(": ") + d->windowTitle();
        lauf.fenster.append(name);
        if (schritte.isEmpty()) {
            lauf.nichtBeantwortet.append(name);
            d->reject();
            return;
        }
        const Schritt schritt = schritte.takeFirst();
        schritt(*d);
        if (d->isVisible()) {
            lauf.nichtBeantwortet.append(name);
            d->reject();
        }
    });
    // A window that never becomes the active modal one would hang the test: after a while
    // every dialog still on screen is cancelled and counted as not answered.
    QTimer wächter;
    wächter.setSingleShot(true);
    QObject::connect(&wächter, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* d = qobject_cast<QDialog*>(w);
            if (d != nullptr && d->isVisible()) {
                lauf.nichtBeantwortet.append(d->objectName() + QStringLiteral(" (timeout)"));
                d->reject();
            }
        }
    });
    takt.start();
    wächter.start(15000);
    lauf.gelaufen = f.Befehl_Ausführen(punkt);
    takt.stop();
    wächter.stop();
    lauf.übrigeSchritte = int(schritte.size());
    return lauf;
}

template <typename T> T* Kind(QWidget& w, const char* name) {
    T* k = w.findChild<T*>(QString::fromUtf8(name));
    if (k == nullptr)
        qFatal("missing child %s", name);
    return k;
}

inline void Drücken(QWidget& w, const char* name) {
    QTest::mouseClick(Kind<QAbstractButton>(w, name), Qt::LeftButton);
}

// The index dialog: types the number into txt_Eingabe and presses its OK.
inline Schritt Index_Eingeben(const QString& nummer, QString* aufforderung = nullptr) {
    return [nummer, aufforderung](QDialog& d) {
        if (aufforderung != nullptr)
            *aufforderung = Kind<QLabel>(d, "lbl_Messages")->text();
        QLineEdit* feld = Kind<QLineEdit>(d, "txt_Eingabe");
        feld->clear();
        QTest::keyClicks(feld, nummer);
        Drücken(d, "cmd_OK");
    };
}

inline Schritt Abbrechen() {
    return [](QDialog& d) { Drücken(d, "cmd_Abbrechen"); };
}

// What the bookings window showed.
struct Buchungsfenster {
    QString titel;
    QStringList zeilen; // cells joined by '|'
    QString entries;
    QString info;
};

inline Buchungsfenster Buchungsfenster_Lesen(QDialog& d) {
    Buchungsfenster b;
    b.titel = d.windowTitle();
    const QAbstractItemModel* m = Kind<QTreeView>(d, "lstv_Bookdata")->model();
    for (int r = 0; r < m->rowCount(); ++r) {
        QStringList zellen;
        for (int c = 0; c < m->columnCount(); ++c)
            zellen.append(m->index(r, c).data().toString());
        b.zeilen.append(zellen.join(QLatin1Char('|')));
    }
    b.entries = Kind<QLabel>(d, "lbl_Entries")->text();
    b.info = Kind<QLabel>(d, "lbl_Info")->text();
    return b;
}

// Reads the bookings window, then closes it with Exit.
inline Schritt Buchungen_Ablesen(Buchungsfenster& ziel) {
    return [&ziel](QDialog& d) {
        ziel = Buchungsfenster_Lesen(d);
        Drücken(d, "cmd_Beenden");
    };
}

// A site with five users and a Library with index folders:
//   IDX00003: box 0 user 7 rev 2, box 4 user 12 rev 9
//   IDX00012: box 5 user 7 rev 3, box 9 user 23 rev 0, box 17 user 7 rev 1, box 40 user 12
//             rev 6, box 255 user 0 rev 4
//   IDX00020: no booked box
//   IDX00031: no BOOKDATA.NET
struct Standort : Umgebung {
    QByteArray idx3 = Bookdata({{0, 7, 2}, {4, 12, 9}});
    QByteArray idx12 = Bookdata({{5, 7, 3}, {9, 23, 0}, {17, 7, 1}, {40, 12, 6}, {255, 0, 4}});
    QByteArray idx20 = Bookdata();

    Standort() {
        Vollständig();
        t.Datei(QStringLiteral("lib/IDX00003/BOOKDATA.NET"), idx3);
        t.Datei(QStringLiteral("lib/IDX00012/BOOKDATA.NET"), idx12);
        t.Datei(QStringLiteral("lib/IDX00020/BOOKDATA.NET"), idx20);
        t.Ordner(QStringLiteral("lib/IDX00031"));
    }
};

// Shows the main window and clicks the row of the user with that ID.
inline void Anwender_Wählen(Idmap_frm1& f, int id) {
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    for (int i = 0; i < f.lstv_Idmap->topLevelItemCount(); ++i) {
        QTreeWidgetItem* zeile = f.lstv_Idmap->topLevelItem(i);
        if (zeile->text(0) == QString::number(id)) {
            const QRect r = f.lstv_Idmap->visualItemRect(zeile);
            QTest::mouseClick(f.lstv_Idmap->viewport(), Qt::LeftButton, {}, r.center());
            return;
        }
    }
    QFAIL("no row for that user");
}

} // namespace qk::test
