#pragma once

#include <QDialog>

class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;

namespace qk {

// The program's help: the topics of every menu item on the left, the chosen one on the right.
// It is a window of its own beside the main window and stays open while work goes on.
class Hilfe_frm1 : public QDialog {
    Q_OBJECT
public:
    explicit Hilfe_frm1(QWidget* parent = nullptr);

    // Shows the topic of the help context number; for an item without one (0), the topic of
    // the menu item named `name`; the contents when neither is known.
    void Thema_Zeigen(int kontext, const QString& name = {});

    // Name of the menu item whose topic is shown.
    QString Aktuelles_Thema() const;

    QTreeWidget* lst_Themen = nullptr;
    QTextBrowser* txt_Hilfe = nullptr;

private:
    void Thema_Anzeigen(QTreeWidgetItem* eintrag);
};

} // namespace qk
