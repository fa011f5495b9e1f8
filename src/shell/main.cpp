#include "platform/qt_plattform.h"
#include "shell/idmap_frm1.h"
#include "shell/zustand.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/admin-quorvik.png")));
    qk::QtPlattform plattform;
    qk::Zustand zustand(plattform);
    qk::Idmap_frm1 fenster(zustand);
    fenster.show();
    return app.exec();
}
