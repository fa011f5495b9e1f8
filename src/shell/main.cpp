#include "platform/qt_plattform.h"
#include "shell/idmap_frm1.h"
#include "shell/zustand.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    qk::QtPlattform plattform;
    qk::Zustand zustand(plattform);
    qk::Idmap_frm1 fenster(zustand);
    fenster.show();
    return app.exec();
}
