#include "views/textzeilen.h"

#include "platform/ansi.h"

#include <algorithm>

namespace qk {
namespace {

const QString ZEILENENDE = QStringLiteral("\r\n");

int Nächster_Tabstopp(int spalte) {
    return (spalte / TABWEITE + 1) * TABWEITE;
}

} // namespace

Textzeilen::Textzeilen(QByteArray ansi) : m_bytes(std::move(ansi)) {
    const char* p = m_bytes.constData();
    const qsizetype n = m_bytes.size();
    m_anfang.clear();
    m_anfang.reserve(static_cast<std::size_t>(n / 24 + 2));
    qsizetype anfang = 0;
    int spalte = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const auto c = static_cast<unsigned char>(p[i]);
        if (c > '\r') { // nearly every byte: an ordinary character
            ++spalte;
            continue;
        }
        if (c == '\t') {
            spalte = Nächster_Tabstopp(spalte);
        } else if (c == '\n' || c == '\r') {
            m_anfang.push_back(anfang);
            m_breite = std::max(m_breite, spalte);
            spalte = 0;
            if (c == '\r' && i + 1 < n && p[i + 1] == '\n')
                ++i;
            anfang = i + 1;
        } else {
            ++spalte;
        }
    }
    if (anfang < n) {
        m_anfang.push_back(anfang);
        m_breite = std::max(m_breite, spalte);
    }
    m_anfang.push_back(n);
}

qsizetype Textzeilen::Länge(qsizetype i) const {
    if (i < 0 || i >= Anzahl())
        return 0;
    const char* p = m_bytes.constData();
    const qsizetype a = m_anfang[static_cast<std::size_t>(i)];
    qsizetype e = m_anfang[static_cast<std::size_t>(i) + 1];
    // A line holds no CR or LF of its own, so what it ends with is its line end.
    if (e > a && p[e - 1] == '\n')
        --e;
    if (e > a && p[e - 1] == '\r')
        --e;
    return e - a;
}

QByteArray Textzeilen::Roh(qsizetype i) const {
    if (i < 0 || i >= Anzahl())
        return {};
    return QByteArray::fromRawData(m_bytes.constData() + m_anfang[static_cast<std::size_t>(i)],
                                   Länge(i));
}

QString Textzeilen::Zeile(qsizetype i) const {
    return Von_Ansi(Roh(i));
}

QString Textzeilen::Text() const {
    return Ausschnitt({0, 0}, {Anzahl(), 0});
}

QString Textzeilen::Ausschnitt(Textstelle a, Textstelle b) const {
    if (b < a)
        std::swap(a, b);
    a.zeile = std::clamp<qsizetype>(a.zeile, 0, Anzahl());
    b.zeile = std::clamp<qsizetype>(b.zeile, 0, Anzahl());
    QString text;
    for (qsizetype i = a.zeile; i <= b.zeile; ++i) {
        const qsizetype von = i == a.zeile ? std::clamp<qsizetype>(a.zeichen, 0, Länge(i)) : 0;
        const qsizetype bis =
            i == b.zeile ? std::clamp<qsizetype>(b.zeichen, 0, Länge(i)) : Länge(i);
        if (bis > von)
            text += Von_Ansi(Roh(i).mid(von, bis - von));
        if (i < b.zeile)
            text += ZEILENENDE;
    }
    return text;
}

int Textzeilen::Spalte(const QByteArray& zeile, qsizetype zeichen) {
    int spalte = 0;
    const qsizetype ende = std::min(zeichen, zeile.size());
    for (qsizetype k = 0; k < ende; ++k)
        spalte = zeile[k] == '\t' ? Nächster_Tabstopp(spalte) : spalte + 1;
    return spalte + static_cast<int>(std::max<qsizetype>(0, zeichen - ende));
}

qsizetype Textzeilen::Zeichen(const QByteArray& zeile, int spalte) {
    int s = 0;
    for (qsizetype k = 0; k < zeile.size(); ++k) {
        if (s >= spalte)
            return k;
        s = zeile[k] == '\t' ? Nächster_Tabstopp(s) : s + 1;
    }
    return zeile.size();
}

QString Textzeilen::Anzeigetext(const QString& zeile) {
    if (!zeile.contains(QLatin1Char('\t')))
        return zeile;
    QString anzeige;
    anzeige.reserve(zeile.size() + TABWEITE);
    for (QChar c : zeile) {
        if (c == QLatin1Char('\t'))
            anzeige += QString(Nächster_Tabstopp(static_cast<int>(anzeige.size())) - anzeige.size(),
                               QLatin1Char(' '));
        else
            anzeige += c;
    }
    return anzeige;
}

} // namespace qk
