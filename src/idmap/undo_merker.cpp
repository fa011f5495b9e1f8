#include "idmap/undo_merker.h"

#include "bookdata/bookdata.h"

#include <QByteArray>

namespace qk {
namespace {

const QString GRUPPE = QStringLiteral("Pathname");
const QString SCHLÜSSEL = QStringLiteral("Undo");
const QString FORMAT = QStringLiteral("1");

// Fields are percent-encoded and joined by '|': paths and names may hold any character, and the
// settings file keeps the value as it is.
QString Feld(const QString& text) {
    return QString::fromLatin1(text.toUtf8().toPercentEncoding());
}

QString Text(const QString& feld) {
    return QString::fromUtf8(QByteArray::fromPercentEncoding(feld.toLatin1()));
}

QString Undo_Merker_Lesen(Zustand& z) {
    return z.plattform.Einstellung_Lesen(GRUPPE, SCHLÜSSEL);
}

void Undo_Merker_Setzen(Zustand& z, const QString& wert) {
    z.plattform.Einstellung_Schreiben(GRUPPE, SCHLÜSSEL, wert);
}

} // namespace

void Undo_Merken(Zustand& z) {
    if (z.Gelöscht_LibListe.isEmpty()) {
        Undo_Vergessen(z);
        return;
    }
    const IdmapEintrag& e = z.Gelöscht_Eintrag;
    QStringList felder{FORMAT,
                       Feld(z.Gelöscht_GlobalPath),
                       QString::number(z.Gelöscht_UserNr),
                       QString::number(e.ID),
                       Feld(e.UserName),
                       Feld(e.PCName),
                       Feld(e.LocalPath),
                       Feld(z.Gelöscht_Indexordner),
                       QString::number(z.Gelöscht_IndexUser)};
    for (const QString& lib : std::as_const(z.Gelöscht_LibListe))
        felder.append(Feld(lib));
    Undo_Merker_Setzen(z, felder.join(QLatin1Char('|')));
}

void Undo_Vergessen(Zustand& z) {
    if (!Undo_Merker_Lesen(z).isEmpty())
        Undo_Merker_Setzen(z, QString());
}

bool Undo_Übernehmen(Zustand& z) {
    const QStringList felder = Undo_Merker_Lesen(z).split(QLatin1Char('|'));
    if (felder.size() < 10 || felder[0] != FORMAT || z.GlobalPath.isEmpty())
        return false;
    // Only on the Global Directory of the command: its users and Libraries.
    if (Library_Kennung(Text(felder[1])) != Library_Kennung(z.GlobalPath))
        return false;
    bool gut = true;
    const auto zahl = [&gut](const QString& f) {
        bool ok = false;
        const uint n = f.toUInt(&ok);
        gut = gut && ok && n <= 255;
        return quint8(n);
    };
    const quint8 user = zahl(felder[2]);
    IdmapEintrag e;
    e.ID = zahl(felder[3]);
    e.UserName = Text(felder[4]);
    e.PCName = Text(felder[5]);
    e.LocalPath = Text(felder[6]);
    const QString index = Text(felder[7]);
    const quint8 indexUser = zahl(felder[8]);
    QStringList libraries;
    for (qsizetype i = 9; i < felder.size(); ++i)
        libraries.append(Text(felder[i]));
    if (!gut || user == 255 || (user == 0 && !Ist_Indexordner(index)))
        return false;

    z.Gelöscht_UserNr = user;
    z.Gelöscht_Eintrag = e;
    z.Gelöscht_GlobalPath = Text(felder[1]);
    z.Gelöscht_Indexordner = index;
    z.Gelöscht_IndexUser = indexUser;
    z.Gelöscht_LibListe = libraries;
    z.Gelöscht_Gemeldet = true;
    z.Gelöscht_Unterbrochen = true;
    z.Gelöscht_Index = 0;
    for (qsizetype i = 0; i < z.IdmapListe.size(); ++i) {
        if (z.IdmapListe[i].ID == user && user != 0) {
            z.Gelöscht_Index = quint8(i);
            break;
        }
    }
    return true;
}

} // namespace qk
