#pragma once

#include "shell/zustand.h"

#include <QDialog>
#include <functional>

class QComboBox;
class QLabel;
class QPushButton;

namespace qk {

// The library chooser: lists LibListe, adds a Library chosen with the folder dialog and makes
// the combo box's text the current Library. `menüs_Freigeben` enables the main window's Edit
// and View menus once a Library is known.
class Libraries_frm1 : public QDialog {
    Q_OBJECT
public:
    Libraries_frm1(Zustand& z, std::function<void()> menüs_Freigeben, QWidget* parent = nullptr);

    void Werte_In_ComboBox_Übertragen();

    void cbo_Libraries_Click();
    void cmd_Wählen_Click();
    void cmd_OK_Click();
    void cmd_Abbrechen_Click();

private:
    void Form_Load();

    Zustand& m_z;
    std::function<void()> m_menüs_Freigeben;
    QLabel* m_Label1;
    QComboBox* m_cbo_Libraries;
    QPushButton* m_cmd_Wählen;
    QPushButton* m_cmd_OK;
    QPushButton* m_cmd_Abbrechen;
};

// Shows the library chooser modally and discards it when it closes.
void Libraries_Zeigen(Zustand& z, QWidget* parent, std::function<void()> menüs_Freigeben);

} // namespace qk
