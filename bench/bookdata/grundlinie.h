#pragma once

#include <QString>
#include <QStringList>

// The plain loops that the booking store is measured against: what a program without any of
// the store's care would do with the same files, with `gleichzeitig` folders in flight (1: one
// after the other, without threads).
namespace qk::bench {

// Lists the Library and reads every index folder's BOOKDATA.NET in one go; returns the bytes.
long long Grundlinie_Lesen(const QString& lib, int gleichzeitig = 1);

// In each folder: reads BOOKDATA.NET, writes it to `sicherung` (none when empty; created when
// missing, else replaced), and writes the same bytes back over BOOKDATA.NET.
void Grundlinie_Umschreiben(const QString& lib, const QStringList& ordner, int gleichzeitig = 1,
                            const QString& sicherung = {});

// In each folder: reads BOOKDATA.BAK and writes it over BOOKDATA.NET.
void Grundlinie_Zurückkopieren(const QString& lib, const QStringList& ordner, int gleichzeitig);

} // namespace qk::bench
