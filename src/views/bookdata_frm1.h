#pragma once

#include "shell/zustand.h"

#include <QDialog>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;

namespace qk {

class BookdataModell;

// The result of a booking query: one row per entry of BookdataListe with its count, the
// information line of a whole-Library read, a copy of the list to the clipboard, and Exit.
// The caller creates the window, sets its caption and opens it modal:
//     Bookdata_frm1 f(z, hauptfenster);
//     f.setWindowTitle(LoadResString(1201) + QString::number(z.UserNr));
//     f.exec();
// Each time the window is shown it lists BookdataListe as it stands then, provided
// Anzahl_Einträge is at least 1.
class Bookdata_frm1 : public QDialog {
    Q_OBJECT
public:
    explicit Bookdata_frm1(Zustand& z, QWidget* parent = nullptr);

    // The information line and the two diagnostic captions of a whole-Library read.
    void Buchungsinfo_Setzen(const QString& info, const QString& label1, const QString& label2);

    void BookdataListe_In_Liste_Übertragen();
    void cmd_Zwischenablage_Click();
    void cmd_Beenden_Click();

protected:
    void showEvent(QShowEvent* e) override;

private:
    void Form_Load();

    Zustand& m_z;
    QTreeView* lstv_Bookdata;
    QPushButton* cmd_Beenden;
    QPushButton* cmd_Zwischenablage;
    QLabel* lbl_Entries;
    QLabel* lbl_Info;
    QLabel* Label1;
    QLabel* Label2;
    QLineEdit* Text1;
    QLineEdit* Text2;
    QLineEdit* Text3;
    BookdataModell* m_modell = nullptr;
};

// While it lives, the summary that a whole-Library read hands over through
// Zustand::Buchungsinfo_Setzen lands in the window; afterwards the previous receiver is back.
//     Bookdata_frm1 f(z, hauptfenster);
//     { Buchungsinfo_Verbindung v(z, f); Bookdata_Einlesen(z, z.LibPath, z.UserNr); }
class Buchungsinfo_Verbindung {
public:
    Buchungsinfo_Verbindung(Zustand& z, Bookdata_frm1& fenster);
    ~Buchungsinfo_Verbindung();
    Buchungsinfo_Verbindung(const Buchungsinfo_Verbindung&) = delete;
    Buchungsinfo_Verbindung& operator=(const Buchungsinfo_Verbindung&) = delete;

private:
    Zustand& m_z;
    std::function<void(const QString&, const QString&, const QString&)> m_vorher;
};

} // namespace qk
