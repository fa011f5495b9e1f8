#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class QFile;

// All file access of the program. Paths may use '\' as separator on every system, and every
// name is resolved without regard to letter case (an exact match first), because the booking
// system's files come from workstations whose file system ignores case. Failures throw
// qk::Fehler with the number that the callers' error handlers tell apart.
namespace qk::datei {

// The native separator that ends every directory path of the program.
QString Trenner();

// The path as it lies on disk: each component that does not exist under its own spelling
// takes the first case variant that does. Components that exist in no spelling stay as given,
// so a file is created under the program's spelling only when no case variant exists.
QString Auflösen(const QString& pfad);

bool Existiert(const QString& pfad);        // a file (not a folder)
bool Ordner_Existiert(const QString& pfad); // a folder

QByteArray Lesen(const QString& pfad);
// Lines of a single-byte text file; CR LF, LF and CR all end a line; a last line without
// its end counts.
QStringList Zeilen_Lesen(const QString& pfad);

// Every write below throws unless each byte reached the file: a write, flush or close that
// fails (a share's client may report a failed write only at the close) is an error, 61 for a
// full disk, else 75.
void Schreiben(const QString& pfad, const QByteArray& inhalt); // create or replace in place
// Writes the whole content to a temporary file in the same folder, syncs it to the disk, then
// puts it in the place of the old file; on any failure the temporary file is removed and the
// old file stays as it was.
void Ersetzen(const QString& pfad, const QByteArray& inhalt);
// Writes the content over the file from its first byte and then cuts it to the content's
// length, so the file stays the same file for every program that holds it open (a rename
// would leave those programs writing into the old one); creates the file when missing.
void Überschreiben(const QString& pfad, const QByteArray& inhalt);
// One piece of a change in place: the bytes `neu` at `offset`, where the file held `vorher`.
struct Stelle {
    qint64 offset = 0;
    QByteArray vorher;
    QByteArray neu;
};
// What a change in place did (Zugriff::Stellen_Schreiben).
struct Geschrieben {
    std::vector<int> stellen; // pieces whose new bytes the file may hold now: each one written,
                              // and the one whose write failed
    int fehler = 0;           // the number of the error that stopped the writes; 0 when none
    int unsicher = -1;        // the piece whose write failed, -1 when none
};
// A file kept open from its reading to the writes of a change in place: on a network share
// every open costs round trips to the server, and a rewrite reads and writes the same file.
class Zugriff {
public:
    // Opens the existing file for reading and, where it may be written, for writing too.
    // Throws qk::Fehler as Lesen does.
    explicit Zugriff(const QString& pfad);
    ~Zugriff();
    Zugriff(const Zugriff&) = delete;
    Zugriff& operator=(const Zugriff&) = delete;

    QByteArray Lesen(); // the whole content; the hook sees it as Lesen

    using Geschrieben = datei::Geschrieben;
    // Writes each piece right after comparing the file's bytes at its offset with `vorher` (a
    // piece whose bytes differ is left out: another program changed them). Stops at the first
    // failure and reports it in `fehler` instead of throwing; nothing already written is put
    // back, so the caller can list every piece the file may hold. A compare read that fails or
    // comes back short is a failure too (not a changed piece). The fault hook sees the start and
    // each piece as Schreiben.
    Geschrieben Stellen_Schreiben(const std::vector<Stelle>& stellen);

private:
    QString m_pfad;
    std::unique_ptr<QFile> m_datei;
    bool m_schreibbar = false;
};
void Anhängen(const QString& pfad, const QByteArray& inhalt); // creates the file when missing
void Kopieren(const QString& von, const QString& nach);       // replaces an existing target
void Löschen(const QString& pfad);

// Names of the direct subfolders and files, in the order the file system lists them.
QStringList Unterordner(const QString& ordner);
QStringList Dateien(const QString& ordner);

// Fault injection for tests: the hook sees each operation before it touches the disk and may
// throw qk::Fehler to make it fail. An empty hook turns injection off. The hook may be called
// from several threads at once.
enum class Vorgang { Lesen, Schreiben, Ersetzen, Anhaengen, Kopieren, Loeschen, Auflisten };
using Fehlerhaken = std::function<void(Vorgang, const QString& pfad)>;
void Fehlerhaken_Setzen(Fehlerhaken haken);

} // namespace qk::datei
