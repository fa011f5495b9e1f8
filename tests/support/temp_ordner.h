#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace qk::test {

// A temporary folder for one test, with helpers that build files in it. Paths end with '/'.
class TempOrdner {
public:
    TempOrdner();
    QString Pfad() const;
    // Creates the subfolder (and its parents) and returns its path ending with '/'.
    QString Ordner(const QString& relativ) const;
    // Writes a file (creating its folders) and returns its full path.
    QString Datei(const QString& relativ, const QByteArray& inhalt) const;
    QByteArray Lesen(const QString& relativ) const;
    bool Existiert(const QString& relativ) const;

private:
    QTemporaryDir m_dir;
};

} // namespace qk::test
