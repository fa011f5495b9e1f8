#include "views/bookdata_modell.h"

#include <algorithm>
#include <climits>

namespace qk {

BookdataModell::BookdataModell(const std::vector<BookdataEintrag>& liste, QStringList überschriften,
                               QObject* parent)
    : QAbstractTableModel(parent), m_liste(liste), m_überschriften(std::move(überschriften)) {}

void BookdataModell::Zeilen_Setzen(qsizetype anzahl) {
    beginResetModel();
    m_zeilen = static_cast<int>(
        std::clamp<qsizetype>(anzahl, 0, std::min<qsizetype>(m_liste.size(), INT_MAX)));
    endResetModel();
}

int BookdataModell::rowCount(const QModelIndex& eltern) const {
    return eltern.isValid() ? 0 : m_zeilen;
}

int BookdataModell::columnCount(const QModelIndex& eltern) const {
    return eltern.isValid() ? 0 : static_cast<int>(m_überschriften.size());
}

QVariant BookdataModell::data(const QModelIndex& index, int rolle) const {
    // The list may have changed since the rows were set; never read past its end.
    if (!index.isValid() || index.row() >= m_zeilen ||
        static_cast<std::size_t>(index.row()) >= m_liste.size())
        return {};
    if (rolle == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    if (rolle != Qt::DisplayRole)
        return {};
    const BookdataEintrag& e = m_liste[static_cast<std::size_t>(index.row())];
    switch (index.column()) {
    case 0:
        return e.Index;
    case 1:
        return QString::number(e.BoxNr);
    case 2:
        return QString::number(e.UserID);
    case 3:
        return QString::number(e.RevNr);
    default:
        return {};
    }
}

QVariant BookdataModell::headerData(int abschnitt, Qt::Orientation richtung, int rolle) const {
    if (richtung != Qt::Horizontal || abschnitt < 0 || abschnitt >= m_überschriften.size())
        return {};
    if (rolle == Qt::DisplayRole)
        return m_überschriften[abschnitt];
    if (rolle == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    return {};
}

} // namespace qk
