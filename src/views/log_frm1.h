#pragma once

#include "shell/zustand.h"

#include <QDialog>

namespace qk {

class Textanzeige;

// The viewer of the current Library's BOOKDATA.LOG. Each window reads the log afresh when it
// is created; the caller opens it modal with exec() and discards it afterwards:
//     Log_frm1 f(z, hauptfenster);
//     f.exec();
class Log_frm1 : public QDialog {
    Q_OBJECT
public:
    explicit Log_frm1(Zustand& z, QWidget* parent = nullptr);

private:
    void Form_Load();
    void Auswahl_Kopieren(const QString& text);

    Zustand& m_z;
    Textanzeige* txt_Log;
};

} // namespace qk
