// Times the bookings window and the log viewer against reading the same data from disk.
// Prints "name: value" lines; ratios must stay at or below the limits printed with them.

#include "platform/dateien.h"
#include "platform/qt_plattform.h"
#include "shell/zustand.h"
#include "views/bookdata_frm1.h"
#include "views/log_frm1.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTreeView>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int BUCHUNGEN = 100000;
constexpr qsizetype LOGGRÖSSE = 20 * 1024 * 1024;
constexpr int DURCHLÄUFE = 7;

double Median_ms(const std::function<void()>& lauf) {
    std::vector<double> zeiten;
    for (int i = 0; i < DURCHLÄUFE; ++i) {
        QElapsedTimer t;
        t.start();
        lauf();
        zeiten.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
    }
    std::sort(zeiten.begin(), zeiten.end());
    return zeiten[zeiten.size() / 2];
}

// A Library whose index folders hold `anzahl` bookings in all, every box booked.
void Bibliothek_Anlegen(const QString& lib, int anzahl) {
    for (int ordner = 1; anzahl > 0; ++ordner) {
        QByteArray datei(4096, '\0');
        for (int box = 0; box < 256; ++box) {
            char* satz = datei.data() + box * 16;
            satz[0] = anzahl-- > 0 ? static_cast<char>(1 + box % 254) : static_cast<char>(255);
            satz[1] = static_cast<char>(box % 7);
        }
        const QString name = QStringLiteral("IDX%1").arg(ordner, 5, 10, QLatin1Char('0'));
        QDir().mkpath(lib + name);
        qk::datei::Schreiben(lib + name + QStringLiteral("/BOOKDATA.NET"), datei);
    }
}

// The bookings of every index folder, read the plainest way: each file whole, then its records.
std::vector<qk::BookdataEintrag> Bookings_Lesen(const QString& lib) {
    std::vector<qk::BookdataEintrag> liste;
    for (const QString& ordner : qk::datei::Unterordner(lib)) {
        const QByteArray d = qk::datei::Lesen(lib + ordner + QStringLiteral("/BOOKDATA.NET"));
        for (int box = 0; box < 256 && box * 16 + 16 <= d.size(); ++box) {
            const auto* satz = reinterpret_cast<const quint8*>(d.constData() + box * 16);
            if (satz[0] != 255)
                liste.push_back(
                    {ordner, static_cast<quint8>(box), satz[0], satz[1], satz[2], satz[15]});
        }
    }
    return liste;
}

// Shows the window and waits until `fläche` has been painted completely once.
void Zeigen_Bis_Gemalt(QWidget& fenster, QWidget* fläche) {
    struct Maler : QObject {
        bool gemalt = false;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Paint)
                gemalt = true;
            return false;
        }
    } maler;
    fläche->installEventFilter(&maler);
    fenster.show();
    QElapsedTimer grenze;
    grenze.start();
    while (!maler.gemalt && grenze.elapsed() < 10000)
        QCoreApplication::processEvents();
    fläche->removeEventFilter(&maler);
    if (!maler.gemalt)
        std::fprintf(stderr, "window was never painted\n");
}

QByteArray Logblock(int block) {
    QByteArray b = QByteArray(56, '*') +
                   "\r\n*                     BOOKDATA.LOG                     *\r\n" +
                   QByteArray(56, '*') +
                   "\r\n\r\nGlobal Directory:  C:\\QK\\GLOBAL\\\r\nLibrary: C:\\QK\\LIB\\\r\n"
                   "Date: 06.12.2026\t09:30:15\r\nFunction: &Remove User\r\n\r\n\r\n"
                   "******************* Bookings for User-ID 7 ******************\r\n\r\n"
                   "Index\t\tBoxNr\tUser-ID\tRev.-Nr\r\n" +
                   QByteArray(51, '-') + "\r\n";
    for (int box = 0; box < 256; ++box)
        b += "IDX" + QByteArray::number(10000 + block % 90000).right(5) + '\t' +
             QByteArray::number(box) + "\t7\t\t3\r\n";
    b += "\r\n\r\n************ All bookings for User-ID 7 deleted! ************\r\n\r\n"
         "Deleted: 256Booking(s): \r\nStatus: OK\r\nWritten: 4096 Bytes in 1 file(s) "
         "(BOOKDATA.NET)\r\nStatus: OK\r\n\r\n\r\n";
    return b;
}

void Zeile(const char* name, double wert) {
    std::printf("%s: %.3f\n", name, wert);
}
void Zeile(const char* name, long long wert) {
    std::printf("%s: %lld\n", name, wert);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    qk::QtPlattform plattform;
    qk::Zustand z(plattform);
    QTemporaryDir tmp;
    const QString lib = tmp.path() + QStringLiteral("/Lib/");

    // The bookings window with 100,000 rows.
    Bibliothek_Anlegen(lib, BUCHUNGEN);
    std::vector<qk::BookdataEintrag> gelesen;
    const double lesen_ms = Median_ms([&] { gelesen = Bookings_Lesen(lib); });
    z.BookdataListe = gelesen;
    z.Anzahl_Einträge = static_cast<qint32>(z.BookdataListe.size());
    int zeilen = 0;
    const double fenster_ms = Median_ms([&] {
        qk::Bookdata_frm1 f(z);
        f.setWindowTitle(QStringLiteral("All bookings for User-ID 0"));
        auto* liste = f.findChild<QTreeView*>(QStringLiteral("lstv_Bookdata"));
        Zeigen_Bis_Gemalt(f, liste->viewport());
        zeilen = liste->model()->rowCount();
    });

    // The log viewer on a 20 MB log.
    QByteArray log;
    for (int block = 0; log.size() < LOGGRÖSSE; ++block)
        log += Logblock(block);
    z.LibPath = lib;
    qk::datei::Schreiben(lib + QStringLiteral("BOOKDATA.LOG"), log);
    const double log_lesen_ms =
        Median_ms([&] { (void)qk::datei::Lesen(lib + QStringLiteral("BOOKDATA.LOG")); });
    const double log_fenster_ms = Median_ms([&] {
        qk::Log_frm1 f(z);
        auto* text = f.findChild<QAbstractScrollArea*>(QStringLiteral("txt_Log"));
        Zeigen_Bis_Gemalt(f, text->viewport());
    });

    Zeile("bookings_rows", static_cast<long long>(zeilen));
    Zeile("bookings_read_ms", lesen_ms);
    Zeile("bookings_window_first_paint_ms", fenster_ms);
    Zeile("bookings_window_ratio", fenster_ms / lesen_ms);
    Zeile("bookings_window_ratio_limit", 1.0);
    Zeile("log_bytes", static_cast<long long>(log.size()));
    Zeile("log_read_ms", log_lesen_ms);
    Zeile("log_viewer_show_ms", log_fenster_ms);
    Zeile("log_viewer_ratio", log_fenster_ms / log_lesen_ms);
    Zeile("log_viewer_ratio_limit", 5.0);
    return 0;
}
