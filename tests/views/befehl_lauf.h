#pragma once

#include "../bookdata/bookdata_bau.h"
#include "../shell/umgebung.h"
#include "shell/idmap_frm1.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <functional>

namespace qk::test {

using Schritt = std::function<void(QDialog&)>;

// Runs a command of the main window while a script answers the modal windows it opens, one
// step per window, as a user at the screen would. Gives "objectName: caption" of every window
// met, in order; a window that no step closed is cancelled and marked with a leading '!', and
// so are a command that did not run and steps left over.
inline QStringList Befehl_Mit_Dialogen(Idmap_frm1& f, QAction* punkt, QList<Schritt> schritte) {
    QStringList fenster;
    QPointer<QDialog> letztes;
    QTimer takt;
    QObject::connect(&takt, &QTimer::timeout, [&] {
        auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (d == nullptr || d == letztes || !d->isVisible())
            return;
        letztes = d;
        fenster.append(d->objectName() + QStringLiteral(": ") + d->windowTitle());
        if (!schritte.isEmpty())
            schritte.takeFirst()(*d);
        if (d->isVisible()) {
            fenster.last().prepend(QLatin1Char('!'));
            d->reject();
        }
    });
    takt.start(5);
    if (!f.Befehl_Ausführen(punkt))
        fenster.append(QStringLiteral("!not run"));
    if (!schritte.isEmpty())
        fenster.append(QStringLiteral("!steps left"));
    return fenster;
}

template <typename T> T* Kind(QWidget& w, const char* name) {
    T* k = w.findChild<T*>(QString::fromUtf8(name));
    if (k == nullptr)
        qFatal("missing child %s", name);
    return k;
}

inline Schritt Knopf(const char* name) {
    return
        [name](QDialog& d) { QTest::mouseClick(Kind<QAbstractButton>(d, name), Qt::LeftButton); };
}

// The index dialog: keeps its prompt, types the number and presses its OK.
inline Schritt Index_Eingeben(const QString& nummer, QString* aufforderung = nullptr) {
    return [nummer, aufforderung](QDialog& d) {
        if (aufforderung != nullptr)
            *aufforderung = Kind<QLabel>(d, "lbl_Messages")->text();
        Kind<QLineEdit>(d, "txt_Eingabe")->clear();
        QTest::keyClicks(Kind<QLineEdit>(d, "txt_Eingabe"), nummer);
        Knopf("cmd_OK")(d);
    };
}

// "caption|text" of every message box, the Library's path as <lib>; a box that is not an
// exclamation with OK is marked.
inline QStringList Meldungen(const Umgebung& u) {
    QStringList m;
    for (const GezeigteMeldung& g : u.p.meldungen)
        m.append(g.titel + QLatin1Char('|') +
                 QString(g.text).replace(u.lib, QStringLiteral("<lib>")) +
                 (g.symbol == Symbol::Ausruf && g.knöpfe == Knöpfe::OK ? "" : "|not OK!"));
    return m;
}

// Five users and a Library with index folders: IDX00003 (box 0 user 7 rev 2, box 4 user 12
// rev 9), IDX00012 (boxes 5, 9, 17, 40, 255 of users 7, 23, 7, 12, 0), IDX00020 (nothing
// booked), IDX00031 (no BOOKDATA.NET).
struct Standort : Umgebung {
    QByteArray idx3 = Bookdata({{0, 7, 2}, {4, 12, 9}});
    QByteArray idx12 = Bookdata({{5, 7, 3}, {9, 23, 0}, {17, 7, 1}, {40, 12, 6}, {255, 0, 4}});

    Standort() {
        Vollständig();
        t.Datei(QStringLiteral("lib/IDX00003/BOOKDATA.NET"), idx3);
        t.Datei(QStringLiteral("lib/IDX00012/BOOKDATA.NET"), idx12);
        t.Datei(QStringLiteral("lib/IDX00020/BOOKDATA.NET"), Bookdata());
        t.Ordner(QStringLiteral("lib/IDX00031"));
    }
};

// Shows the main window and clicks the row of the user with that ID, if there is one.
inline void Anwender_Wählen(Idmap_frm1& f, int id) {
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    const auto zeilen = f.lstv_Idmap->findItems(QString::number(id), Qt::MatchExactly);
    if (!zeilen.isEmpty())
        QTest::mouseClick(f.lstv_Idmap->viewport(), Qt::LeftButton, {},
                          f.lstv_Idmap->visualItemRect(zeilen.first()).center());
}

} // namespace qk::test
