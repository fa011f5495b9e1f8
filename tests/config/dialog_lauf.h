#pragma once

#include <QAbstractButton>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <functional>

namespace qk::test {

struct DialogLauf {
    int ergebnis = -1;
    bool offenGeblieben = false; // still open after the steps
};

// Runs the dialog modally and does the steps from inside its event loop, as a user would.
// A dialog that the steps left open is closed afterwards, so a test never hangs.
inline DialogLauf Modal_Ausführen(QDialog& dialog, const std::function<void()>& schritte) {
    DialogLauf lauf;
    QTimer::singleShot(0, &dialog, [&] {
        schritte();
        lauf.offenGeblieben = dialog.isVisible();
        if (lauf.offenGeblieben)
            dialog.done(-2);
    });
    lauf.ergebnis = dialog.exec();
    return lauf;
}

inline void Klicken(QDialog& dialog, const char* name) {
    auto* knopf = dialog.findChild<QAbstractButton*>(QString::fromUtf8(name));
    QVERIFY2(knopf != nullptr, name);
    QTest::mouseClick(knopf, Qt::LeftButton);
}

} // namespace qk::test
