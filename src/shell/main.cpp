#include "platform/qt_plattform.h"
#include "shell/zustand.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    qk::QtPlattform plattform;
    qk::Zustand zustand(plattform);
    return 0;
}
