// Replays through every fuzz body its seeds and the inputs kept in fuzz/regression/<target>/
// (each one once made a fuzzer fail), so that a fault found once stays fixed in every build.
#include "ziele.h"

#include <QDir>
#include <QtTest>

namespace {

// What the body says is broken, or an empty text.
QString Abspielen(void (*ziel)(const QByteArray&), const QByteArray& eingabe) {
    try {
        ziel(eingabe);
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    }
    return {};
}

} // namespace

class TestFuzzEingaben : public QObject {
    Q_OBJECT
private slots:
    void replay() {
        const QDir funde(QStringLiteral(QK_FUZZ_FUNDE));
        QVERIFY2(funde.exists(), QK_FUZZ_FUNDE);
        QStringList namen;
        for (const qk::fuzz::Zielangabe& z : qk::fuzz::Alle_Ziele()) {
            namen << QLatin1String(z.name);
            for (size_t i = 0; i < z.saat.size(); ++i) {
                const QString fehler = Abspielen(z.ziel, z.saat[i]);
                QVERIFY2(fehler.isEmpty(),
                         qPrintable(namen.last() + " seed " + QString::number(i) + ": " + fehler));
            }
            const QDir ordner(funde.filePath(namen.last()));
            for (const QString& name : ordner.entryList(QDir::Files)) {
                QFile f(ordner.filePath(name));
                QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(f.fileName()));
                const QString fehler = Abspielen(z.ziel, f.readAll());
                QVERIFY2(fehler.isEmpty(), qPrintable(f.fileName() + ": " + fehler));
            }
        }
        // A kept input in a folder that names no target would never be replayed.
        for (const QString& ordner : funde.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            QVERIFY2(namen.contains(ordner), qPrintable(ordner));
        // The properties are checked, not only stated: a body that sees a broken one says so.
        const auto kaputt = [](const QByteArray& e) { QK_PRUEFEN(e.isEmpty()); };
        QVERIFY(Abspielen(kaputt, QByteArray()).isEmpty());
        QVERIFY(Abspielen(kaputt, "x").contains(QStringLiteral("e.isEmpty()")));
    }
};

QTEST_GUILESS_MAIN(TestFuzzEingaben)
#include "test_fuzz_eingaben.moc"
