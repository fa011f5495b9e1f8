#pragma once

#include "shell/zustand.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace qk {

class Idmap_frm1;

// The dialog in which one record of the user map is corrected. OK writes the four fields
// into IdmapListe in memory only; the file changes at the next save.
class User_Info_frm1 : public QDialog {
    Q_OBJECT
public:
    // The record edited is IdmapListe[index]; the caller fills the fields.
    User_Info_frm1(Zustand& z, qsizetype index, QWidget* parent = nullptr);

    // Controls; each one's objectName is its member name.
    QLabel* lbl_ID = nullptr;
    QLineEdit* txt_ID = nullptr;
    QLabel* lbl_Name = nullptr;
    QLineEdit* txt_UserName = nullptr;
    QLabel* lbl_PCName = nullptr;
    QLineEdit* txt_PCName = nullptr;
    QLabel* lbl_LocalPath = nullptr;
    QLineEdit* txt_LocalPath = nullptr;
    QPushButton* cmd_OK = nullptr;
    QPushButton* cmd_Abbrechen = nullptr;

    // Stores the fields and closes the dialog; a value the record cannot take is refused with
    // a message and the dialog stays open.
    void cmd_OK_Click();
    void cmd_Abbrechen_Click();

private:
    void Form_Load();

    Zustand& z;
    qsizetype m_index;
};

// Edit User, and the double click on the list: shows the selected record in the dialog.
// Closing it, by whatever way, enables Save.
void mnu_UserÄndern_Click(Zustand& z, Idmap_frm1& frm);

} // namespace qk
