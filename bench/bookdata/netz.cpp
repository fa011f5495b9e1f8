#include "netz.h"

#include "befehle.h"
#include "bibliothek.h"
#include "grundlinie.h"
#include "messen.h"
#include "null_plattform.h"
#include "share_zaehler.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <cstdio>
#include <unistd.h>

namespace qk::bench {
namespace {

using share::Zaehler;

constexpr int ANWENDER = 50;
constexpr int ANTEIL = 5;
constexpr int TEIL = 1000; // folders of the part on which the one-at-a-time walk is timed
constexpr quint8 USER = 7;
constexpr double GRENZE_LESEN = 1.5;
constexpr double GRENZE_LÖSCHEN = 2.0;
constexpr double GRENZE_ZURÜCK = 2.0;
constexpr double GRENZE_MEHR_JE_ORDNER = 1.0;
constexpr double MINDEST_BESCHLEUNIGUNG = 8.0;

// Releases reach qk_share after close() has returned: the counters are taken once nothing
// has arrived for a while.
class Zähler {
public:
    explicit Zähler(const QString& pfad) : m_datei(QFile::encodeName(pfad)) {}
    bool Da() const { return share::lesen(m_datei.constData()).has_value(); }
    Zaehler Ruhig() const {
        Zaehler vorher = share::lesen(m_datei.constData()).value_or(Zaehler{});
        for (;;) {
            QThread::msleep(25);
            const Zaehler jetzt = share::lesen(m_datei.constData()).value_or(Zaehler{});
            if (jetzt.total == vorher.total)
                return jetzt;
            vorher = jetzt;
        }
    }

private:
    QByteArray m_datei;
};

struct Messung {
    double ms = 0;
    double anfragen = 0; // requests that reached the share
};

class Netzlauf {
public:
    Netzlauf(const Netzangaben& a) : zähler(a.stats), z(p) { z.Fortschritt = &fortschritt; }

    template <typename F> Messung Messen(F&& f) {
        const Zaehler vorher = zähler.Ruhig();
        QElapsedTimer uhr;
        uhr.start();
        f();
        Messung m;
        m.ms = double(uhr.nsecsElapsed()) / 1e6;
        m.anfragen = double((zähler.Ruhig() - vorher).total);
        return m;
    }

    Zähler zähler;
    NullPlattform p;
    Zustand z;
    NullFortschritt fortschritt;
    bool ok = true;
};

double Quote(const std::vector<double>& wir, const std::vector<double>& grund) {
    std::vector<double> q;
    for (size_t i = 0; i < wir.size(); ++i)
        q.push_back(wir[i] / grund[i]);
    return Median(q);
}

// The plain loop's backups of a creating run are not the program's: they go again unmeasured.
void Neue_Sicherungen_Entfernen(const QString& lokal, const QStringList& ordner) {
    for (const QString& o : ordner)
        QFile::remove(lokal + o + QStringLiteral("/BOOKDATA.NEU"));
}

} // namespace

int Netz_Messen(const Netzangaben& a) {
    Netzlauf l(a);
    if (!l.zähler.Da()) {
        Ausgabe(QStringLiteral("the counters of the share cannot be read: ") + a.stats);
        return 2;
    }
    const int n = l.z.Gleichzeitig;
    Ausgabe(QStringLiteral("Building a Library of %1 index folders and a part of %2 in %3 ...")
                .arg(a.ordner)
                .arg(std::min(TEIL, a.ordner))
                .arg(a.lokal));
    const Bibliothek bib =
        Bibliothek_Bauen(a.lokal + QStringLiteral("/Lib"), a.ordner, ANWENDER, ANTEIL, 20261206);
    const Bibliothek teil = Bibliothek_Bauen(a.lokal + QStringLiteral("/Teil"),
                                             std::min(TEIL, a.ordner), ANWENDER, ANTEIL, 7);
    ::sync();
    const QString lib = a.mount + QStringLiteral("/Lib/");
    const QString teilPfad = a.mount + QStringLiteral("/Teil/");
    const double ordner = bib.ordner.size();
    Zustand& z = l.z;

    // Reads: the plain loop and the two reads back to back in every round.
    std::vector<double> grund, einer, alle;
    Messung mGrund, mAlle;
    for (int r = 0; r < a.runden; ++r) {
        mGrund = l.Messen([&] { Grundlinie_Lesen(lib, n); });
        const Messung e = l.Messen([&] { Einlesen(z, lib, USER); });
        mAlle = l.Messen([&] { Einlesen(z, lib, 0); });
        l.ok = l.ok && z.Anzahl_Buchungen == bib.buchungen && z.Anzahl_Dateien == ordner;
        grund.push_back(mGrund.ms);
        einer.push_back(e.ms);
        alle.push_back(mAlle.ms);
    }
    BookdataListe_Zurücksetzen(z);

    // The first deletion of the user creates every backup it needs; the plain loop creates
    // as many new files. Then the undo, and the same deletion with the backups present.
    const qint32 gelistet = Einlesen(z, lib, USER);
    const QStringList ordner7 = Ordner_Der_Liste(z);
    const Messung gErste =
        l.Messen([&] { Grundlinie_Umschreiben(lib, ordner7, n, QStringLiteral("BOOKDATA.NEU")); });
    Neue_Sicherungen_Entfernen(bib.pfad, ordner7);
    const Messung erste = l.Messen([&] { Buchungen_Löschen(z, lib); });
    l.ok = l.ok && z.Buchungen_Gelöscht == gelistet && z.Status_Löschen == QStringLiteral("OK");
    std::vector<double> löschen, gLöschen, zurück, gZurück;
    Messung mLöschen, mZurück, mGLöschen, mGZurück;
    for (int r = 0; r < a.runden; ++r) {
        mZurück = l.Messen([&] { Wiederherstellen(z, lib, USER); });
        l.ok = l.ok && z.Status_Löschen == QStringLiteral("OK") && z.Anzahl_Buchungen == gelistet;
        mGZurück = l.Messen([&] { Grundlinie_Zurückkopieren(lib, ordner7, n); });
        Einlesen(z, lib, USER);
        mGLöschen = l.Messen(
            [&] { Grundlinie_Umschreiben(lib, ordner7, n, QStringLiteral("BOOKDATA.BAK")); });
        mLöschen = l.Messen([&] { Buchungen_Löschen(z, lib); });
        l.ok = l.ok && z.Buchungen_Gelöscht == gelistet;
        zurück.push_back(mZurück.ms);
        gZurück.push_back(mGZurück.ms);
        löschen.push_back(mLöschen.ms);
        gLöschen.push_back(mGLöschen.ms);
    }
    Wiederherstellen(z, lib, USER);
    l.ok = l.ok && z.Status_Löschen == QStringLiteral("OK");
    BookdataListe_Zurücksetzen(z);

    // The one-at-a-time walk against the walk with folders in flight, and the read at other
    // numbers in flight, on the part.
    Ausgabe(QStringLiteral("Reading the part of %1 folders with 1 to 64 folders in flight ...")
                .arg(teil.ordner.size()));
    std::vector<std::pair<int, double>> stufen;
    for (const int k : {1, 4, 8, 16, 32, 64}) {
        z.Gleichzeitig = k;
        stufen.emplace_back(k, l.Messen([&] { Einlesen(z, teilPfad, 0); }).ms);
        l.ok = l.ok && z.Anzahl_Buchungen == teil.buchungen;
    }
    z.Gleichzeitig = n;
    double einzeln = 0, jetzt = 0;
    for (const auto& [k, ms] : stufen) {
        einzeln = k == 1 ? ms : einzeln;
        jetzt = k == n ? ms : jetzt;
    }

    const double qEiner = Quote(einer, grund), qAlle = Quote(alle, grund);
    const double qLöschen = Quote(löschen, gLöschen), qErste = erste.ms / gErste.ms;
    const double qZurück = Quote(zurück, gZurück);
    const double jeOrdner = mAlle.anfragen / ordner, jeOrdnerGrund = mGrund.anfragen / ordner;
    const double beschleunigung = einzeln / jetzt;
    const double dateien = ordner7.size();
    for (const QString& m : l.p.meldungen)
        Ausgabe(QStringLiteral("ERROR shown during the run: ") + m);
    const bool richtig = l.ok && l.p.meldungen.isEmpty();
    const bool innerhalb = qEiner <= GRENZE_LESEN && qAlle <= GRENZE_LESEN &&
                           qLöschen <= GRENZE_LÖSCHEN && qErste <= GRENZE_LÖSCHEN &&
                           qZurück <= GRENZE_ZURÜCK &&
                           jeOrdner <= jeOrdnerGrund + GRENZE_MEHR_JE_ORDNER &&
                           beschleunigung >= MINDEST_BESCHLEUNIGUNG;

    Ausgabe(QString());
    Ausgabe(QStringLiteral("share_folders: %1").arg(bib.ordner.size()));
    Ausgabe(QStringLiteral("share_in_flight: %1").arg(n));
    Ausgabe(QStringLiteral("share_baseline_read_ms: %1").arg(Zahl(Median(grund))));
    Ausgabe(QStringLiteral("share_read_one_user_ms: %1").arg(Zahl(Median(einer))));
    Ausgabe(QStringLiteral("share_read_one_user_ratio: %1").arg(Zahl(qEiner)));
    Ausgabe(QStringLiteral("share_read_all_users_ms: %1").arg(Zahl(Median(alle))));
    Ausgabe(QStringLiteral("share_read_all_users_ratio: %1").arg(Zahl(qAlle)));
    Ausgabe(QStringLiteral("share_ops_per_folder_read: %1").arg(Zahl(jeOrdner)));
    Ausgabe(QStringLiteral("share_ops_per_folder_plain: %1").arg(Zahl(jeOrdnerGrund)));
    Ausgabe(QStringLiteral("share_delete_files: %1").arg(ordner7.size()));
    Ausgabe(QStringLiteral("share_delete_one_user_ms: %1").arg(Zahl(Median(löschen))));
    Ausgabe(QStringLiteral("share_delete_one_user_ratio: %1").arg(Zahl(qLöschen)));
    Ausgabe(QStringLiteral("share_delete_creating_backups_ms: %1").arg(Zahl(erste.ms)));
    Ausgabe(QStringLiteral("share_delete_creating_backups_ratio: %1").arg(Zahl(qErste)));
    Ausgabe(QStringLiteral("share_restore_one_user_ms: %1").arg(Zahl(Median(zurück))));
    Ausgabe(QStringLiteral("share_restore_one_user_ratio: %1").arg(Zahl(qZurück)));
    Ausgabe(QStringLiteral("share_ops_per_file_delete: %1").arg(Zahl(mLöschen.anfragen / dateien)));
    Ausgabe(QStringLiteral("share_ops_per_file_delete_plain: %1")
                .arg(Zahl(mGLöschen.anfragen / dateien)));
    Ausgabe(QStringLiteral("share_ops_per_file_delete_creating_backups: %1")
                .arg(Zahl(erste.anfragen / dateien)));
    Ausgabe(QStringLiteral("share_ops_per_file_delete_creating_backups_plain: %1")
                .arg(Zahl(gErste.anfragen / dateien)));
    Ausgabe(QStringLiteral("share_ops_per_file_restore: %1").arg(Zahl(mZurück.anfragen / dateien)));
    Ausgabe(QStringLiteral("share_ops_per_file_restore_plain: %1")
                .arg(Zahl(mGZurück.anfragen / dateien)));
    for (const auto& [k, ms] : stufen)
        Ausgabe(QStringLiteral("share_part_read_ms_in_flight_%1: %2").arg(k).arg(Zahl(ms)));
    Ausgabe(QStringLiteral("share_speedup_read: %1").arg(Zahl(beschleunigung)));
    Ausgabe(QStringLiteral("share_results_correct: %1").arg(richtig ? "yes" : "no"));
    Ausgabe(QStringLiteral("share_within_limits: %1").arg(innerhalb ? "yes" : "no"));
    return richtig && innerhalb ? 0 : 1;
}

} // namespace qk::bench
