// Windows-1252: every byte reads as one character and writes back as the same byte; every
// character writes as one byte, itself or '?'.
#include "platform/ansi.h"
#include "ziele.h"

namespace qk::fuzz {

void Ansi(const QByteArray& eingabe) {
    const QString gelesen = Von_Ansi(eingabe);
    QK_PRUEFEN(gelesen.size() == eingabe.size() && qk::Ansi(gelesen) == eingabe);

    const QString text = Utf16_Text(eingabe);
    const QByteArray bytes = qk::Ansi(text);
    QK_PRUEFEN(bytes.size() == text.size());
    const QString zurück = Von_Ansi(bytes);
    for (qsizetype i = 0; i < text.size(); ++i)
        QK_PRUEFEN(zurück[i] == text[i] || bytes[i] == '?');
}

std::vector<QByteArray> Saat_Ansi() {
    QByteArray alle;
    for (int b = 0; b < 256; ++b)
        alle.append(char(b));
    const QString text = QStringLiteral("Jürgen € – “quoted” ™ ſ 漢 \U0001F600");
    return {alle, QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2)};
}

} // namespace qk::fuzz
