#pragma once

#include <QByteArray>
#include <QString>

namespace qk {

// The booking system's single-byte texts are Windows-1252. Characters that the code page
// cannot hold become '?', as the system's own conversion does.
QByteArray Ansi(const QString& text);
QString Von_Ansi(const QByteArray& bytes);

// Whether the text comes back unchanged from its way through the code page.
bool Ansi_Darstellbar(const QString& text);

} // namespace qk
