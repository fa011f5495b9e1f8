#include "platform/dateien.h"

#include "platform/ansi.h"
#include "platform/fehler.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <memory>
#include <mutex>
#ifndef Q_OS_WIN
#include <unistd.h>
#endif

namespace qk::datei {
namespace {

// The walks of the booking store call the file layer from several threads at once: the hook
// is taken under a lock and called outside it, so a test may set it while no walk runs.
struct Hakenplatz {
    std::mutex m;
    std::shared_ptr<const Fehlerhaken> haken;
};

Hakenplatz& Haken() {
    static Hakenplatz platz;
    return platz;
}

void Prüfen(Vorgang v, const QString& pfad) {
    std::shared_ptr<const Fehlerhaken> haken;
    {
        std::lock_guard<std::mutex> g(Haken().m);
        haken = Haken().haken;
    }
    if (haken)
        (*haken)(v, pfad);
}

QString Normalisieren(QString pfad) {
#ifndef Q_OS_WIN
    pfad.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (pfad.contains(QLatin1String("//")))
        pfad.replace(QLatin1String("//"), QLatin1String("/"));
#endif
    return pfad;
}

// The name as it is spelled in the folder, or an empty text; `gelistet` tells whether the
// folder listed anything at all (a folder that is not there lists nothing).
QString Fallvariante(const QString& ordner, const QString& name, bool* gelistet = nullptr) {
    const QStringList einträge = QDir(ordner).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
    if (gelistet != nullptr)
        *gelistet = !einträge.isEmpty();
    for (const QString& e : einträge) {
        if (e.compare(name, Qt::CaseInsensitive) == 0)
            return e;
    }
    return {};
}

// Which of the numbers a failed open stands for.
int Öffnungsfehler(const QString& pfad, bool lesen) {
    const QFileInfo info(pfad);
    if (!QFileInfo(info.absolutePath()).isDir())
        return FEHLER_PFAD;
    if (lesen && !info.exists())
        return FEHLER_DATEI_NICHT_GEFUNDEN;
    return FEHLER_ZUGRIFF;
}

int Fehlernummer(int err) {
    return err == ENOSPC ? FEHLER_DATENTRAEGER_VOLL : FEHLER_ZUGRIFF;
}

int Schreibfehler() {
    return Fehlernummer(errno);
}

void Alles_Schreiben(QFileDevice& f, const QByteArray& inhalt, const QString& pfad) {
    errno = 0;
    if (f.write(inhalt) != inhalt.size())
        throw Fehler(Schreibfehler(), pfad);
}

void Schließen(QFile& f, const QString& pfad) {
    errno = 0;
    if (!f.flush())
        throw Fehler(Schreibfehler(), pfad);
    // A share's client may hold written bytes back until the close and only then learn that
    // the server refused them; QFile tells that through error() once it has closed.
    errno = 0;
    f.close();
    if (f.error() != QFileDevice::NoError)
        throw Fehler(Schreibfehler(), pfad);
}

// 0 once the bytes written through `handle` are on the disk, else the number of the error.
int Festschreiben([[maybe_unused]] int handle) {
#ifndef Q_OS_WIN
    // Closing a second descriptor makes a share's client send what it holds back, as the last
    // close would, but while a failure can still keep the temporary file from its place.
    const int kopie = ::dup(handle);
    if (kopie < 0 || ::close(kopie) != 0)
        return Fehlernummer(errno);
    // A file system that cannot sync at all has lost nothing by it.
    if (::fsync(handle) != 0 && errno != EINVAL && errno != ENOTSUP && errno != EROFS)
        return Fehlernummer(errno);
#endif
    return 0;
}

QStringList Auflisten(const QString& ordner, QDir::Filters art) {
    const QString p = Auflösen(ordner);
    Prüfen(Vorgang::Auflisten, p);
    QDir dir(p);
    if (!dir.exists())
        throw Fehler(FEHLER_PFAD, p);
    if (!QFileInfo(p).isReadable())
        throw Fehler(FEHLER_ZUGRIFF, p);
    return dir.entryList(art | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
}

// A file that does not exist under the name as given, about to be created: its folder is
// looked through once for the name in another letter case. Only when the folder is not found
// either is the whole path resolved.
QString Neu_Auflösen(const QString& roh) {
    const QString pfad = Normalisieren(roh);
    const qsizetype schnitt = pfad.lastIndexOf(QLatin1Char('/'));
    if (schnitt > 0 && schnitt + 1 < pfad.size()) {
        const QString ordner = pfad.left(schnitt + 1);
        bool gelistet = false;
        const QString variante = Fallvariante(ordner, pfad.mid(schnitt + 1), &gelistet);
        if (!variante.isEmpty())
            return QDir::toNativeSeparators(ordner + variante);
        if (gelistet)
            return QDir::toNativeSeparators(pfad);
    }
    return Auflösen(roh);
}

} // namespace

QString Trenner() {
    return QString(QDir::separator());
}

QString Auflösen(const QString& roh) {
    const QString pfad = Normalisieren(roh);
    if (pfad.isEmpty() || QFileInfo::exists(pfad))
        return pfad;
    // Most often only the file itself is missing (a backup made for the first time): when the
    // folder is there as spelled, only the file's name needs looking for.
    const QChar trenner = QLatin1Char('/');
    const qsizetype schnitt = pfad.lastIndexOf(trenner);
    if (schnitt > 0 && schnitt + 1 < pfad.size()) {
        const QString ordner = pfad.left(schnitt + 1);
        if (QFileInfo(ordner).isDir()) {
            const QString name = pfad.mid(schnitt + 1);
            const QString variante = Fallvariante(ordner, name);
            return QDir::toNativeSeparators(ordner + (variante.isEmpty() ? name : variante));
        }
    }
    const QChar sep = QLatin1Char('/');
    const bool endetMitTrenner = pfad.endsWith(sep) || pfad.endsWith(QLatin1Char('\\'));
    QStringList teile = QDir::fromNativeSeparators(pfad).split(sep);
    QString ergebnis;
    int i = 0;
    if (pfad.startsWith(sep)) {
        ergebnis = sep;
        i = 1;
    } else if (teile.size() > 1 && teile[0].endsWith(QLatin1Char(':'))) {
        ergebnis = teile[0] + sep; // a drive of a Windows path
        i = 1;
    }
    bool vorhanden = true;
    for (; i < teile.size(); ++i) {
        const QString& teil = teile[i];
        if (teil.isEmpty())
            continue;
        QString kandidat = ergebnis + teil;
        if (vorhanden && !QFileInfo::exists(kandidat)) {
            const QString variante =
                Fallvariante(ergebnis.isEmpty() ? QStringLiteral(".") : ergebnis, teil);
            if (variante.isEmpty())
                vorhanden = false;
            else
                kandidat = ergebnis + variante;
        }
        ergebnis = kandidat;
        if (i + 1 < teile.size())
            ergebnis += sep;
    }
    if (endetMitTrenner && !ergebnis.endsWith(sep))
        ergebnis += sep;
    return QDir::toNativeSeparators(ergebnis);
}

bool Existiert(const QString& pfad) {
    const QFileInfo info(Auflösen(pfad));
    return info.exists() && !info.isDir();
}

bool Ordner_Existiert(const QString& pfad) {
    return QFileInfo(Auflösen(pfad)).isDir();
}

QByteArray Lesen(const QString& roh) {
    // The name as given is tried first: when it opens, it is what Auflösen would give, and the
    // look-up saved counts when thousands of booking files are read. Opening to read changes
    // nothing, so the hook still comes before the first byte is read.
    QString pfad = Normalisieren(roh);
    QFile f(pfad);
    // QFile refuses to open a folder, so the open itself tells files from folders.
    if (!f.open(QIODevice::ReadOnly)) {
        pfad = Auflösen(roh);
        Prüfen(Vorgang::Lesen, pfad);
        f.setFileName(pfad);
        if (!f.open(QIODevice::ReadOnly))
            throw Fehler(Öffnungsfehler(pfad, true), pfad);
    } else {
        Prüfen(Vorgang::Lesen, pfad);
    }
    QByteArray inhalt = f.readAll();
    if (f.error() != QFileDevice::NoError)
        throw Fehler(FEHLER_ZUGRIFF, pfad);
    return inhalt;
}

QStringList Zeilen_Lesen(const QString& pfad) {
    const QByteArray inhalt = Lesen(pfad);
    QStringList zeilen;
    qsizetype anfang = 0;
    for (qsizetype i = 0; i < inhalt.size(); ++i) {
        const char c = inhalt[i];
        if (c != '\r' && c != '\n')
            continue;
        zeilen.append(Von_Ansi(inhalt.mid(anfang, i - anfang)));
        if (c == '\r' && i + 1 < inhalt.size() && inhalt[i + 1] == '\n')
            ++i;
        anfang = i + 1;
    }
    if (anfang < inhalt.size())
        zeilen.append(Von_Ansi(inhalt.mid(anfang)));
    return zeilen;
}

void Schreiben(const QString& roh, const QByteArray& inhalt) {
    const QString pfad = Auflösen(roh);
    Prüfen(Vorgang::Schreiben, pfad);
    QFile f(pfad);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw Fehler(Öffnungsfehler(pfad, false), pfad);
    Alles_Schreiben(f, inhalt, pfad);
    Schließen(f, pfad);
}

void Ersetzen(const QString& roh, const QByteArray& inhalt) {
    const QString pfad = Auflösen(roh);
    Prüfen(Vorgang::Ersetzen, pfad);
    QSaveFile f(pfad);
    f.setDirectWriteFallback(false);
    // Unbuffered, so that a write fails here, where it is counted: a buffered one would fail
    // only inside commit(), which puts the short temporary file in place all the same.
    if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw Fehler(Öffnungsfehler(pfad, false), pfad);
    // Without commit() the temporary file is removed as `f` goes.
    errno = 0;
    if (f.write(inhalt) != inhalt.size() || !f.flush())
        throw Fehler(Schreibfehler(), pfad);
    if (const int nummer = Festschreiben(f.handle()))
        throw Fehler(nummer, pfad);
    errno = 0;
    if (!f.commit())
        throw Fehler(Schreibfehler(), pfad);
}

void Überschreiben(const QString& roh, const QByteArray& inhalt) {
    // As in Lesen, the name as given first; an open that may not create anything changes
    // nothing, so the hook still comes first where it matters.
    QString pfad = Normalisieren(roh);
    QFile f(pfad);
    // ReadWrite neither truncates nor replaces: the bytes go into the existing file.
    const auto art = QIODevice::ReadWrite | QIODevice::Unbuffered;
    if (f.open(art | QIODevice::ExistingOnly)) {
        Prüfen(Vorgang::Schreiben, pfad);
    } else {
        pfad = Neu_Auflösen(roh);
        Prüfen(Vorgang::Schreiben, pfad);
        f.setFileName(pfad);
        if (!f.open(art))
            throw Fehler(Öffnungsfehler(pfad, false), pfad);
    }
    Alles_Schreiben(f, inhalt, pfad);
    if (f.size() > inhalt.size() && !f.resize(inhalt.size()))
        throw Fehler(FEHLER_ZUGRIFF, pfad);
    Schließen(f, pfad);
}

Zugriff::Zugriff(const QString& roh) : m_pfad(Normalisieren(roh)), m_datei(new QFile(m_pfad)) {
    const auto rw = QIODevice::ReadWrite | QIODevice::Unbuffered | QIODevice::ExistingOnly;
    // A file that may only be read is still read; writing into it fails later, when asked.
    const auto öffnen = [&] {
        m_schreibbar = m_datei->open(rw);
        return m_schreibbar || m_datei->open(QIODevice::ReadOnly);
    };
    if (öffnen())
        return;
    m_pfad = Auflösen(roh);
    m_datei->setFileName(m_pfad);
    if (öffnen())
        return;
    Prüfen(Vorgang::Lesen, m_pfad);
    throw Fehler(Öffnungsfehler(m_pfad, true), m_pfad);
}

Zugriff::~Zugriff() = default;

QByteArray Zugriff::Lesen() {
    Prüfen(Vorgang::Lesen, m_pfad);
    if (!m_datei->seek(0))
        throw Fehler(FEHLER_ZUGRIFF, m_pfad);
    QByteArray inhalt = m_datei->readAll();
    if (m_datei->error() != QFileDevice::NoError)
        throw Fehler(FEHLER_ZUGRIFF, m_pfad);
    return inhalt;
}

Geschrieben Zugriff::Stellen_Schreiben(const std::vector<Stelle>& stellen) {
    Geschrieben g;
    QFile& f = *m_datei;
    try {
        Prüfen(Vorgang::Schreiben, m_pfad);
        if (!m_schreibbar)
            throw Fehler(FEHLER_ZUGRIFF, m_pfad);
        for (int i = 0; i < int(stellen.size()); ++i) {
            const Stelle& s = stellen[size_t(i)];
            // The hook comes before the comparison, so that nothing of the program's own lies
            // between the comparison and the write.
            Prüfen(Vorgang::Schreiben, m_pfad);
            if (!f.seek(s.offset))
                throw Fehler(FEHLER_ZUGRIFF, m_pfad);
            // Between this comparison and the write another program may still change the
            // bytes; without a lock that the workstations honour, this is as narrow as it gets.
            // A read that fails says nothing about the bytes: taking it for a workstation's
            // change would lose track of the pieces written before.
            const QByteArray da = f.read(s.vorher.size());
            if (da.size() != s.vorher.size() || f.error() != QFileDevice::NoError)
                throw Fehler(FEHLER_ZUGRIFF, m_pfad);
            if (da != s.vorher)
                continue;
            if (!f.seek(s.offset))
                throw Fehler(FEHLER_ZUGRIFF, m_pfad);
            // From here on the file may hold the piece, even when the write reports a failure.
            g.stellen.push_back(i);
            g.unsicher = i;
            errno = 0;
            if (f.write(s.neu) != s.neu.size())
                throw Fehler(Schreibfehler(), m_pfad);
            g.unsicher = -1;
        }
    } catch (const Fehler& e) {
        g.fehler = e.Nummer();
    }
    return g;
}

void Anhängen(const QString& roh, const QByteArray& inhalt) {
    const QString pfad = Auflösen(roh);
    Prüfen(Vorgang::Anhaengen, pfad);
    QFile f(pfad);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append))
        throw Fehler(Öffnungsfehler(pfad, false), pfad);
    Alles_Schreiben(f, inhalt, pfad);
    Schließen(f, pfad);
}

void Kopieren(const QString& rohVon, const QString& rohNach) {
    const QString von = Auflösen(rohVon);
    const QString nach = Auflösen(rohNach);
    Prüfen(Vorgang::Kopieren, nach);
    // The copy is complete or absent: a failure never leaves half a backup behind.
    Ersetzen(nach, Lesen(von));
}

void Löschen(const QString& roh) {
    const QString pfad = Auflösen(roh);
    Prüfen(Vorgang::Loeschen, pfad);
    const QFileInfo info(pfad);
    if (!info.exists() || info.isDir())
        throw Fehler(Öffnungsfehler(pfad, true), pfad);
    // A read-only file is not forced.
    if (!info.isWritable() || !QFile::remove(pfad))
        throw Fehler(FEHLER_ZUGRIFF, pfad);
}

QStringList Unterordner(const QString& ordner) {
    return Auflisten(ordner, QDir::Dirs);
}

QStringList Dateien(const QString& ordner) {
    return Auflisten(ordner, QDir::Files);
}

void Fehlerhaken_Setzen(Fehlerhaken haken) {
    auto neu = haken ? std::make_shared<const Fehlerhaken>(std::move(haken)) : nullptr;
    std::lock_guard<std::mutex> g(Haken().m);
    Haken().haken = std::move(neu);
}

} // namespace qk::datei
