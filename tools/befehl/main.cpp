// qk_befehl --settings FILE.ini COMMAND [ARGS] [COMMAND [ARGS]]...
//
// The user commands of the main window without a window, for the crash campaign
// (scripts/crash): the share kills this process at a chosen request, and what it leaves behind
// is judged against a copy of the site taken before. The commands run one after another in one
// process, as an administrator clicks them in one session:
//
//   remove USER_ID                     Edit > Remove User
//   delete-index LIBRARY INDEX [USER]  Edit > Delete all bookings (for a User) for Index
//   undo                               Edit > Undo, then Save when the user came back
//   save                               File > Save
//   arm FILE TEXT                      writes TEXT (and a line end) to FILE: the share's control
//                                      file, so that a fault hits the commands that follow only
//   list                               users not logged in with bookings, and index folders with
//                                      bookings: the campaign's choice
//   check SNAPSHOT_DIR                 every freed booking journalled, the map old or new
//   check-back SNAPSHOT_DIR            every booking of the copy back after the Undo
//
// The settings file is a QSettings ini file with group Pathname (GlobalPath, LibPath, Undo).
// Message boxes print "title|text" lines and answer Yes; the window's results print the same way.
#include "bookdata/bookdata.h"
#include "idmap/idmap_datei.h"
#include "idmap/library_gang.h"
#include "idmap/logins.h"
#include "idmap/undo_merker.h"
#include "platform/fehler.h"
#include "shell/fehlerbericht.h"
#include "shell/routinen.h"
#include "shell/texte.h"
#include "shell/zustand.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>
#include <cstdio>
#include <memory>

namespace {

using namespace qk;

void Zeile(const QString& text) {
    // Each line at once: the share may kill the process at the next request.
    std::fputs(qPrintable(text + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
}

QString Einzeilig(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" / "));
    text.replace(QLatin1Char('\n'), QStringLiteral(" / "));
    return text;
}

class Befehlsplattform : public Plattform {
public:
    explicit Befehlsplattform(const QString& datei) : m_settings(datei, QSettings::IniFormat) {}

    Antwort Meldung(const QString& text, const QString& titel, Symbol, Knöpfe knöpfe) override {
        Zeile(Einzeilig(titel) + QLatin1Char('|') + Einzeilig(text));
        switch (knöpfe) {
        case Knöpfe::OK:
        case Knöpfe::OKAbbrechen:
            return Antwort::OK;
        case Knöpfe::JaNein:
        case Knöpfe::JaNeinAbbrechen:
            break;
        }
        return Antwort::Ja;
    }
    QString Ordner_Dialog(const QString&) override { return {}; }
    QString Speichern_Dialog(const QString&) override { return {}; }
    void Zwischenablage_Setzen(const QString&) override {}
    QString Einstellung_Lesen(const QString& gruppe, const QString& name) override {
        return m_settings.value(gruppe + QLatin1Char('/') + name).toString();
    }
    void Einstellung_Schreiben(const QString& gruppe, const QString& name,
                               const QString& wert) override {
        m_settings.setValue(gruppe + QLatin1Char('/') + name, wert);
        // The pending Undo must be on disk before the command frees anything.
        m_settings.sync();
        if (m_settings.status() != QSettings::NoError)
            throw Fehler(FEHLER_ZUGRIFF);
    }
    QDateTime Jetzt() override { return QDateTime::currentDateTime(); }
    void Ereignisse_Verarbeiten() override {}

private:
    QSettings m_settings;
};

const QString GRUPPE = QStringLiteral("Pathname");

void Ergebnis(const Ergebnistext& e) {
    Zeile(Einzeilig(e.titel) + QLatin1Char('|') + Einzeilig(e.text));
}

// ---- The commands, each ending as the window's command ends ----

void Entfernen(Zustand& z, int id) {
    const QString prozedur = QStringLiteral("mnu_UserLöschen");
    z.LibPath_Alt = z.LibPath;
    try {
        UserLogins_Ermitteln(z);
        qsizetype index = -1;
        for (qsizetype i = 0; i < z.IdmapListe.size(); ++i) {
            if (z.IdmapListe[i].ID == id && z.IdmapListe[i].Status != QLatin1String("DEL")) {
                index = i;
                break;
            }
        }
        if (index < 0 || id == 0 || id == 255)
            throw Fehler(FEHLER_INDEX);
        // The window refuses a user whose workstation runs before it asks.
        if (z.IdmapListe[index].Status == QLatin1String("A")) {
            Zeile(QStringLiteral("refused|user %1 is logged in").arg(id));
            return;
        }
        z.UserIndex = quint8(index);
        z.UserNr = quint8(id);
        z.Gewählt_UserNr = quint8(id);
        const std::optional<Ergebnistext> e = Entfernen_Ausführen(z, {});
        if (e)
            Ergebnis(*e);
        z.LibPath = z.LibPath_Alt;
    } catch (const Fehler& f) {
        z.LibPath = z.LibPath_Alt;
        Fehler_Melden(z.plattform, prozedur, LoadResString(1125), f.Nummer());
    }
}

void Index_Löschen(Zustand& z, const QString& library, const QString& eingabe, int user) {
    const QString prozedur = user == 0 ? QStringLiteral("mnu_AlleBuchungenLöschen")
                                       : QStringLiteral("mnu_BuchungenAufUserLöschen");
    try {
        z.LibPath = library.endsWith(QLatin1Char('/')) ? library : library + QLatin1Char('/');
        z.Index_Eingabe = Index_Ordnername(z, eingabe);
        if (z.Index_Eingabe.isEmpty())
            return;
        z.UserNr = quint8(user);
        if (z.Gelöscht_UserNr == 0)
            z.Buchungen_Entfernt = false;
        z.Buchungen_Gefunden = false;
        z.Ordner_Nr = 0;
        BookdataListe_Zurücksetzen(z);
        Bookdata_Öffnen(z, z.LibPath, z.Index_Eingabe, z.UserNr);
        z.Anzahl_Buchungen = Buchungen_Zählen(z);
        if (z.Anzahl_Buchungen == 0) {
            Zeile(QStringLiteral("none|no bookings in %1%2").arg(z.LibPath, z.Index_Eingabe));
            return;
        }
        if (!Index_Buchungen_Löschen(z, user == 0 ? 126 : 128))
            return;
        z.Buchungen_Entfernt = true;
        const QString titel =
            user == 0 ? LoadResString(1136) + z.Index_Eingabe + LoadResString(1120)
                      : LoadResString(1126) + QString::number(user) + LoadResString(1120);
        Ergebnis({titel, CRLF + QString::number(z.Buchungen_Gelöscht) + LoadResString(1121) +
                             z.Index_Eingabe + LoadResString(1120)});
    } catch (const Fehler& f) {
        Fehler_Melden(z.plattform, prozedur, LoadResString(user == 0 ? 1140 : 1160), f.Nummer());
    }
}

void Zurück(Zustand& z) {
    const QString prozedur = QStringLiteral("mnu_Rückgängig");
    try {
        if (z.Gelöscht_LibListe.isEmpty()) {
            z.Summe_Buchungen = 0;
            z.Summe_Dateien = 0;
            Ergebnis(Rückgängig_Ergebnis(z, z.UserNr, {}));
            return;
        }
        if (z.Gelöscht_UserNr != 0)
            Benutzer_Zurückholen(z, prozedur);
        Ergebnis(Rückgängig_Ausführen(z, prozedur));
    } catch (const Fehler& f) {
        Fehler_Melden(z.plattform, prozedur, LoadResString(1180), f.Nummer());
    }
    // The window leaves Save to the administrator; without one the user comes back on disk now.
    if (z.Geändert && Qk_Idmap_Speichern(z, z.GlobalPath))
        z.Geändert = false;
}

// ---- The judge: plain Qt on both sides, nothing of the program's file layer ----

constexpr int BOX = 16;
constexpr int BOXEN = 256;
const QRegularExpression INDEXNAME(QStringLiteral("^idx[0-9]{5}$"),
                                   QRegularExpression::CaseInsensitiveOption);

// The entry of `ordner` named `name` in any letter case; empty when there is none.
QString Eintrag(const QString& ordner, const QString& name) {
    const QDir d(ordner);
    if (d.exists(name))
        return d.filePath(name);
    for (const QString& e : d.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
        if (e.compare(name, Qt::CaseInsensitive) == 0)
            return d.filePath(e);
    }
    return {};
}

QByteArray Lesen(const QString& pfad) {
    QFile f(pfad);
    if (pfad.isEmpty() || !f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

// A box past the end of a file counts as free, as the program counts it.
QByteArray Box(const QByteArray& datei, int nr) {
    if (datei.size() < (nr + 1) * BOX)
        return {};
    return datei.mid(nr * BOX, BOX);
}

bool Gebucht(const QByteArray& box) {
    return box.size() == BOX && quint8(box[0]) != 255;
}

struct Indexordner {
    QString library; // the Library's folder name under Libraries/
    QString name;    // as spelled in the copy
    QString kopie;   // its path in the copy
    QString site;    // its path in the site; empty when it is not there
};

// Every index folder of the copy, with its counterpart in the site (Global/ and Libraries/ side
// by side in both).
QList<Indexordner> Indexordner_Paaren(const QString& kopie, const QString& site) {
    QList<Indexordner> alle;
    const QDir libs(kopie + QStringLiteral("/Libraries"));
    for (const QString& lib : libs.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QDir l(libs.filePath(lib));
        const QString siteLib = Eintrag(site + QStringLiteral("/Libraries"), lib);
        for (const QString& idx : l.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
            if (!INDEXNAME.match(idx).hasMatch())
                continue;
            alle.append(
                {lib, idx, l.filePath(idx), siteLib.isEmpty() ? QString() : Eintrag(siteLib, idx)});
        }
    }
    return alle;
}

// The lines of a Library's undo list: folder (upper case), box, user, revision.
QSet<QString> Undo_Liste(const QString& libOrdner) {
    QSet<QString> zeilen;
    const QByteArray text = Lesen(Eintrag(libOrdner, QStringLiteral("_!bookdata.txt")));
    for (const QByteArray& zeile : text.split('\n')) {
        const QList<QByteArray> f = zeile.trimmed().split('\t');
        if (f.size() != 4)
            continue;
        zeilen.insert(QString::fromLatin1(f[0]).toUpper() + QLatin1Char('\t') +
                      QString::number(f[1].toInt()) + QLatin1Char('\t') +
                      QString::number(f[2].toInt()) + QLatin1Char('\t') +
                      QString::number(f[3].toInt()));
    }
    return zeilen;
}

QString Siteordner(const Zustand& z) {
    QDir global(z.GlobalPath);
    global.cdUp();
    return global.absolutePath();
}

int Prüfen(const Zustand& z, const QString& kopie) {
    const QString site = Siteordner(z);
    int verluste = 0;
    int frei = 0;
    QHash<QString, QSet<QString>> listen;
    for (const Indexordner& o : Indexordner_Paaren(kopie, site)) {
        const QByteArray vorher = Lesen(Eintrag(o.kopie, QStringLiteral("BOOKDATA.NET")));
        const QByteArray jetzt = o.site.isEmpty()
                                     ? QByteArray()
                                     : Lesen(Eintrag(o.site, QStringLiteral("BOOKDATA.NET")));
        const QByteArray bak = o.site.isEmpty()
                                   ? QByteArray()
                                   : Lesen(Eintrag(o.site, QStringLiteral("BOOKDATA.BAK")));
        for (int nr = 0; nr < BOXEN; ++nr) {
            const QByteArray alt = Box(vorher, nr);
            if (!Gebucht(alt) || Gebucht(Box(jetzt, nr)))
                continue;
            ++frei;
            if (!listen.contains(o.library))
                listen.insert(o.library,
                              Undo_Liste(Eintrag(site + QStringLiteral("/Libraries"), o.library)));
            const QString zeile = o.name.toUpper() + QLatin1Char('\t') + QString::number(nr) +
                                  QLatin1Char('\t') + QString::number(quint8(alt[0])) +
                                  QLatin1Char('\t') + QString::number(quint8(alt[1]));
            const bool gelistet = listen[o.library].contains(zeile);
            const QByteArray gesichert = Box(bak, nr);
            const bool gesichertGut =
                gesichert == alt || (gesichert.size() == BOX && quint8(gesichert[0]) == 255);
            if (gelistet && gesichertGut)
                continue;
            ++verluste;
            Zeile(QStringLiteral("loss %1/%2 box %3 user %4 rev %5:%6%7")
                      .arg(o.library, o.name)
                      .arg(nr)
                      .arg(quint8(alt[0]))
                      .arg(quint8(alt[1]))
                      .arg(gelistet ? QString() : QStringLiteral(" not in the undo list"))
                      .arg(gesichertGut ? QString() : QStringLiteral(" not in BOOKDATA.BAK")));
        }
    }

    // The map: as it was, or as a save writes it without one of its users.
    const QByteArray karteAlt =
        Lesen(Eintrag(kopie + QStringLiteral("/Global"), QStringLiteral("QK_IDMAP.NET")));
    const QByteArray karte = Lesen(Eintrag(z.GlobalPath, QStringLiteral("QK_IDMAP.NET")));
    QString wie;
    if (karte == karteAlt && !karte.isEmpty())
        wie = QStringLiteral("old");
    for (qsizetype i = 0; wie.isEmpty() && (i + 1) * IDMAP_SATZ <= karteAlt.size(); ++i) {
        QByteArray ohne = karteAlt;
        ohne.remove(i * IDMAP_SATZ, IDMAP_SATZ);
        if (ohne == karte)
            wie = QStringLiteral("without user %1").arg(quint8(karteAlt[i * IDMAP_SATZ]));
    }
    if (wie.isEmpty()) {
        ++verluste;
        Zeile(QStringLiteral("loss QK_IDMAP.NET: %1 bytes, neither the old %2 nor one user less")
                  .arg(karte.size())
                  .arg(karteAlt.size()));
    }
    Zeile(QStringLiteral("freed %1, map %2")
              .arg(frei)
              .arg(wie.isEmpty() ? QStringLiteral("damaged") : wie));
    Zeile(QStringLiteral("losses %1").arg(verluste));
    return verluste > 0 ? 1 : 0;
}

int Zurück_Prüfen(const Zustand& z, const QString& kopie) {
    const QString site = Siteordner(z);
    int fehlt = 0;
    int neu = 0;
    int anders = 0;
    for (const Indexordner& o : Indexordner_Paaren(kopie, site)) {
        const QByteArray vorher = Lesen(Eintrag(o.kopie, QStringLiteral("BOOKDATA.NET")));
        const QByteArray jetzt = o.site.isEmpty()
                                     ? QByteArray()
                                     : Lesen(Eintrag(o.site, QStringLiteral("BOOKDATA.NET")));
        for (int nr = 0; nr < BOXEN; ++nr) {
            const QByteArray alt = Box(vorher, nr);
            const QByteArray box = Box(jetzt, nr);
            const auto melden = [&](const char* was, const QByteArray& b) {
                Zeile(QStringLiteral("%1 %2/%3 box %4 user %5 rev %6")
                          .arg(QLatin1String(was), o.library, o.name)
                          .arg(nr)
                          .arg(quint8(b[0]))
                          .arg(quint8(b[1])));
            };
            if (Gebucht(alt) && !Gebucht(box)) {
                ++fehlt;
                melden("not back", alt);
            } else if (!Gebucht(alt) && Gebucht(box)) {
                // Nobody books here meanwhile: a box booked now that was free before came from
                // an undo list that was not this command's.
                ++neu;
                melden("booked anew", box);
            } else if (Gebucht(alt) && box != alt) {
                ++anders;
            }
        }
    }
    Zeile(QStringLiteral("changed %1").arg(anders));
    Zeile(QStringLiteral("booked anew %1").arg(neu));
    Zeile(QStringLiteral("not back %1").arg(fehlt));
    return fehlt + neu > 0 ? 1 : 0;
}

// Candidates for the campaign: users not logged in who hold bookings, and index folders with
// bookings (with the users booked there), read from the site as it is.
void Auflisten(Zustand& z) {
    UserLogins_Ermitteln(z);
    QMap<int, int> jeUser;
    for (const QString& lib : z.LibListe) {
        const QDir l(lib);
        for (const QString& idx : l.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
            if (!INDEXNAME.match(idx).hasMatch())
                continue;
            const QByteArray d = Lesen(Eintrag(l.filePath(idx), QStringLiteral("BOOKDATA.NET")));
            QMap<int, int> hier;
            for (int nr = 0; nr < BOXEN; ++nr) {
                const QByteArray b = Box(d, nr);
                if (Gebucht(b))
                    ++hier[quint8(b[0])];
            }
            if (hier.isEmpty())
                continue;
            QStringList users;
            for (auto it = hier.cbegin(); it != hier.cend(); ++it) {
                users.append(QString::number(it.key()));
                jeUser[it.key()] += it.value();
            }
            Zeile(QStringLiteral("index %1 %2 %3")
                      .arg(lib, idx.mid(3).toUpper(), users.join(QLatin1Char(','))));
        }
    }
    for (const IdmapEintrag& e : z.IdmapListe) {
        if (e.Status != QLatin1String("A") && e.ID != 0 && e.ID != 255 && jeUser.value(e.ID) > 0)
            Zeile(QStringLiteral("user %1 %2").arg(e.ID).arg(jeUser.value(e.ID)));
    }
}

int Benutzung() {
    std::fputs("usage: qk_befehl --settings FILE.ini COMMAND [ARGS] [COMMAND [ARGS]]...\n"
               "  remove USER_ID | delete-index LIBRARY INDEX [USER_ID] | undo | save\n"
               "  arm FILE TEXT | list | check SNAPSHOT_DIR | check-back SNAPSHOT_DIR\n",
               stderr);
    return 2;
}

int Zahl(const QString& text, bool& gut) {
    bool ok = false;
    const int n = text.toInt(&ok);
    gut = gut && ok && n >= 0 && n <= 255;
    return n;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() < 3 || args.at(0) != QLatin1String("--settings"))
        return Benutzung();
    Befehlsplattform plattform(args.at(1));
    args = args.mid(2);
    Zustand z(plattform);

    // Start-up as the main window does it.
    try {
        z.GlobalPath = plattform.Einstellung_Lesen(GRUPPE, QStringLiteral("GlobalPath"));
        if (z.GlobalPath.isEmpty()) {
            Zeile(QStringLiteral("no Global Directory in the settings"));
            return 2;
        }
        Qk_Idmap_Öffnen(z, z.GlobalPath);
        UserLogins_Ermitteln(z);
        LibPaths_Einlesen(z);
        z.LibPath = plattform.Einstellung_Lesen(GRUPPE, QStringLiteral("LibPath"));
        if (Undo_Übernehmen(z))
            Zeile(Einzeilig(LoadResString(1191)) + QLatin1Char('|') +
                  Einzeilig(LoadResString(1190) + CRLF + z.Gelöscht_LibListe.join(CRLF)));
    } catch (const Fehler& f) {
        Fehler_Melden(plattform, QStringLiteral("Form_Load"), LoadResString(2000), f.Nummer());
    }

    int ergebnis = 0;
    while (!args.isEmpty()) {
        const QString befehl = args.takeFirst();
        const auto argument = [&args]() -> std::optional<QString> {
            if (args.isEmpty())
                return std::nullopt;
            return args.takeFirst();
        };
        Zeile(QStringLiteral("> ") + befehl);
        bool gut = true;
        if (befehl == QLatin1String("remove")) {
            const auto id = argument();
            const int n = id ? Zahl(*id, gut) : 0;
            if (!id || !gut)
                return Benutzung();
            Entfernen(z, n);
        } else if (befehl == QLatin1String("delete-index")) {
            const auto lib = argument();
            const auto index = argument();
            int user = 0;
            // The user is optional: a number right after the index is it.
            if (!args.isEmpty() && !args.first().isEmpty() && args.first().at(0).isDigit())
                user = Zahl(args.takeFirst(), gut);
            if (!lib || !index || !gut)
                return Benutzung();
            Index_Löschen(z, *lib, *index, user);
        } else if (befehl == QLatin1String("undo")) {
            Zurück(z);
        } else if (befehl == QLatin1String("save")) {
            if (Qk_Idmap_Speichern(z, z.GlobalPath))
                z.Geändert = false;
        } else if (befehl == QLatin1String("arm")) {
            const auto datei = argument();
            const auto text = argument();
            if (!datei || !text)
                return Benutzung();
            QFile f(*datei);
            if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
                f.write(text->toUtf8() + '\n') < 0 || !f.flush()) {
                Zeile(QStringLiteral("cannot write %1").arg(*datei));
                return 2;
            }
        } else if (befehl == QLatin1String("list")) {
            Auflisten(z);
        } else if (befehl == QLatin1String("check") || befehl == QLatin1String("check-back")) {
            const auto kopie = argument();
            if (!kopie)
                return Benutzung();
            ergebnis =
                befehl == QLatin1String("check") ? Prüfen(z, *kopie) : Zurück_Prüfen(z, *kopie);
        } else {
            return Benutzung();
        }
    }
    return ergebnis;
}
