#pragma once

#include "../idmap/idmap_bau.h"
#include "platform/dateien.h"
#include "shell/zustand.h"
#include "temp_ordner.h"
#include "test_plattform.h"

#include <QApplication>
#include <QList>
#include <QStringList>
#include <QTest>
#include <QTreeWidget>
#include <QWidget>

namespace qk::test {

// A Global Directory and a Library on disk, the settings that name them, and the state of a
// fresh run.
struct Umgebung {
    TempOrdner t;
    TestPlattform p;
    Zustand z{p};
    QString global = t.Ordner(QStringLiteral("global"));
    QString lib = t.Ordner(QStringLiteral("lib"));

    // Users "U<id>" on "PC<id>" with local directory "C:\L<id>\".
    void Map(const QList<int>& ids, const QString& ordner = QStringLiteral("global")) const {
        QByteArray bytes;
        for (int id : ids) {
            const QByteArray n = QByteArray::number(id);
            bytes += Idmap_Satz(static_cast<quint8>(id), "U" + n, "PC" + n, "C:\\L" + n + "\\");
        }
        t.Datei(ordner + QStringLiteral("/QK_IDMAP.NET"), bytes);
    }

    void Library() const { t.Datei(QStringLiteral("lib/LIBINFO.SYS"), {}); }

    void Speichern(const QString& global_, const QString& lib_) {
        if (!global_.isNull())
            p.einstellungen.insert(QStringLiteral("Pathname/GlobalPath"), global_);
        if (!lib_.isNull())
            p.einstellungen.insert(QStringLiteral("Pathname/LibPath"), lib_);
    }

    // A Global Directory with five users and a valid Library, both stored.
    void Vollständig() {
        Map({1, 7, 12, 23, 254});
        Library();
        Speichern(global, lib);
    }

    static void Zeigen(QWidget& w) {
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
    }

    // Clicks the row of a list as a user would.
    static void Klicken(QTreeWidget* l, int zeile) {
        const QRect r = l->visualItemRect(l->topLevelItem(zeile));
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, r.center());
    }

    static QStringList Spalte(const QTreeWidget* l, int spalte = 0) {
        QStringList texte;
        for (int i = 0; i < l->topLevelItemCount(); ++i)
            texte.append(l->topLevelItem(i)->text(spalte));
        return texte;
    }
};

// After each test of a window: fault injection off, windows closed since deleted, none left.
inline void Nachräumen() {
    datei::Fehlerhaken_Setzen({});
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QStringList offen;
    for (QWidget* w : QApplication::topLevelWidgets())
        offen << QString::fromLatin1(w->metaObject()->className()) + ':' + w->objectName();
    QCOMPARE(offen, QStringList());
}

} // namespace qk::test
