#pragma once

#include "shell/zustand.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace qk {

// Creates a workstation's QK_LOCAL.NET wherever the save dialog points.
class Local_frm1 : public QDialog {
    Q_OBJECT
public:
    explicit Local_frm1(Zustand& z, QWidget* parent = nullptr);

    // The save dialog; the chosen file name, or an empty text when the user cancelled or the
    // dialog failed (which is reported).
    QString Speichern();
    // Writes the file from the fields; a failure is reported. Returns whether it was written.
    bool Local_Schreiben(const QString& dateiname);

    void cmd_OK_Click();
    void cmd_Abbrechen_Click();

private:
    void Form_Load();

    Zustand& m_z;
    QLabel* m_Label1;
    QLineEdit* m_txt_UserNumber;
    QLabel* m_Label2;
    QLineEdit* m_txt_DirPath;
    QLabel* m_Label4;
    QLineEdit* m_txt_ProgPath;
    QPushButton* m_cmd_OK;
    QPushButton* m_cmd_Abbrechen;
};

// Shows the workstation file dialog modally with empty fields and discards it when it closes.
void Local_Zeigen(Zustand& z, QWidget* parent);

} // namespace qk
