#include "platform/qt_plattform.h"

#include "platform/fehler.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QSettings>

namespace qk {
namespace {

// Pending events are let through at most this often; more often costs more than the work.
constexpr qint64 EREIGNIS_ABSTAND_MS = 20;

QMessageBox::Icon Qt_Symbol(Symbol s) {
    switch (s) {
    case Symbol::Stopp:
        return QMessageBox::Critical;
    case Symbol::Ausruf:
        return QMessageBox::Warning;
    case Symbol::Information:
        return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons Qt_Knöpfe(Knöpfe k) {
    switch (k) {
    case Knöpfe::OK:
        return QMessageBox::Ok;
    case Knöpfe::OKAbbrechen:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case Knöpfe::JaNein:
        return QMessageBox::Yes | QMessageBox::No;
    case Knöpfe::JaNeinAbbrechen:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

// The settings live in the per-user store of the organization alone, with no application
// name: Admin-Quorvik.conf in the user's configuration folder.
QSettings Einstellungen() {
    return QSettings(QStringLiteral("Admin-Quorvik"), QString());
}

} // namespace

QtPlattform::QtPlattform() {
    m_seitEreignissen.start();
}

Antwort QtPlattform::Meldung(const QString& text, const QString& titel, Symbol symbol,
                             Knöpfe knöpfe) {
    QMessageBox box(Qt_Symbol(symbol), titel, text, Qt_Knöpfe(knöpfe),
                    QApplication::activeWindow());
    switch (box.exec()) {
    case QMessageBox::Cancel:
        return Antwort::Abbrechen;
    case QMessageBox::Yes:
        return Antwort::Ja;
    case QMessageBox::No:
        return Antwort::Nein;
    default:
        // The close box of a Yes/No/Cancel question means Cancel, of an OK box OK.
        return knöpfe == Knöpfe::JaNeinAbbrechen || knöpfe == Knöpfe::OKAbbrechen
                   ? Antwort::Abbrechen
                   : Antwort::OK;
    }
}

QString QtPlattform::Ordner_Dialog(const QString& hinweis) {
    const QString ordner = QFileDialog::getExistingDirectory(QApplication::activeWindow(), hinweis,
                                                             QString(), QFileDialog::ShowDirsOnly);
    if (ordner.isEmpty())
        return {};
    return QDir::toNativeSeparators(ordner);
}

QString QtPlattform::Speichern_Dialog(const QString& filter) {
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), QString(), QString(), filter,
                                        nullptr, QFileDialog::DontConfirmOverwrite);
}

void QtPlattform::Zwischenablage_Setzen(const QString& text) {
    QClipboard* c = QApplication::clipboard();
    if (c == nullptr)
        throw Fehler(FEHLER_OBJEKT);
    c->clear();
    c->setText(text);
    if (c->text() != text)
        throw Fehler(FEHLER_ZUGRIFF);
}

QString QtPlattform::Einstellung_Lesen(const QString& gruppe, const QString& name) {
    return Einstellungen().value(gruppe + QLatin1Char('/') + name).toString();
}

void QtPlattform::Einstellung_Schreiben(const QString& gruppe, const QString& name,
                                        const QString& wert) {
    QSettings s = Einstellungen();
    s.setValue(gruppe + QLatin1Char('/') + name, wert);
    s.sync();
    if (s.status() != QSettings::NoError)
        throw Fehler(FEHLER_ZUGRIFF);
}

QDateTime QtPlattform::Jetzt() {
    return QDateTime::currentDateTime();
}

void QtPlattform::Ereignisse_Verarbeiten() {
    if (m_seitEreignissen.elapsed() < EREIGNIS_ABSTAND_MS)
        return;
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    m_seitEreignissen.restart();
}

} // namespace qk
