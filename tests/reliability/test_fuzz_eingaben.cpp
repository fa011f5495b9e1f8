// Replays through every fuzz body its seeds and the inputs kept in fuzz/regression/<target>/
// (each one once made a fuzzer fail), so that a fault found once stays fixed in every build.
#include "ziele.h"

#include <QDir>
#include <QFile>
#include <QtTest>

using qk::fuzz::Zielangabe;

Q_DECLARE_METATYPE(const Zielangabe*)

namespace {

const QString FUNDE = QStringLiteral(QK_FUZZ_FUNDE);

QString Abspielen(const Zielangabe& ziel, const QByteArray& eingabe) {
    try {
        ziel.ziel(eingabe);
    } catch (const qk::fuzz::Verletzung& v) {
        return QString::fromUtf8(v.what());
    } catch (const std::exception& e) {
        return QStringLiteral("exception escaped: ") + QString::fromUtf8(e.what());
    }
    return {};
}

} // namespace

class TestFuzzEingaben : public QObject {
    Q_OBJECT
private slots:
    void replay_data() {
        QTest::addColumn<const Zielangabe*>("ziel");
        for (const Zielangabe& z : qk::fuzz::Alle_Ziele())
            QTest::newRow(z.name) << &z;
    }
    void replay() {
        QFETCH(const Zielangabe*, ziel);
        const std::vector<QByteArray> saat = ziel->saat();
        QVERIFY(!saat.empty());
        for (size_t i = 0; i < saat.size(); ++i) {
            const QString fehler = Abspielen(*ziel, saat[i]);
            QVERIFY2(fehler.isEmpty(), qPrintable(QStringLiteral("seed %1: ").arg(i) + fehler));
        }
        const QDir ordner(FUNDE + QLatin1Char('/') + QLatin1String(ziel->name));
        for (const QString& name : ordner.entryList(QDir::Files, QDir::Name)) {
            QFile f(ordner.filePath(name));
            QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(f.fileName()));
            const QString fehler = Abspielen(*ziel, f.readAll());
            QVERIFY2(fehler.isEmpty(), qPrintable(name + QStringLiteral(": ") + fehler));
        }
    }

    // A kept input in a folder that names no target would never be replayed.
    void everyKeptInputHasItsTarget() {
        QStringList namen;
        for (const Zielangabe& z : qk::fuzz::Alle_Ziele())
            namen << QLatin1String(z.name);
        const QDir funde(FUNDE);
        QVERIFY2(funde.exists(), qPrintable(FUNDE));
        for (const QString& ordner : funde.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            QVERIFY2(namen.contains(ordner), qPrintable(ordner));
    }

    // The properties are checked, not only stated: a body that sees a broken one says so.
    void brokenPropertyIsReported() {
        const Zielangabe kaputt{"kaputt", [](const QByteArray& e) { QK_PRUEFEN(e.isEmpty()); },
                                nullptr};
        QVERIFY(Abspielen(kaputt, QByteArray()).isEmpty());
        QVERIFY(Abspielen(kaputt, "x").contains(QStringLiteral("e.isEmpty()")));
    }
};

QTEST_GUILESS_MAIN(TestFuzzEingaben)
#include "test_fuzz_eingaben.moc"
