#pragma once

#include "shell/zustand.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <vector>

namespace qk {

// The rows of the bookings window, read straight from BookdataListe as the list paints them:
// index folder, box, user and revision. Showing a list of any length costs the same.
class BookdataModell : public QAbstractTableModel {
public:
    BookdataModell(const std::vector<BookdataEintrag>& liste, QStringList überschriften,
                   QObject* parent = nullptr);

    // Shows the first `anzahl` entries of the list (never more than it holds); 0 empties it.
    void Zeilen_Setzen(qsizetype anzahl);

    int rowCount(const QModelIndex& eltern = {}) const override;
    int columnCount(const QModelIndex& eltern = {}) const override;
    QVariant data(const QModelIndex& index, int rolle) const override;
    QVariant headerData(int abschnitt, Qt::Orientation richtung, int rolle) const override;

private:
    const std::vector<BookdataEintrag>& m_liste;
    QStringList m_überschriften;
    int m_zeilen = 0;
};

} // namespace qk
