#pragma once

#include "views/textzeilen.h"

#include <QAbstractScrollArea>

namespace qk {

// A read-only multi-line text box for long single-byte texts: it paints only the lines in
// view, so showing a log of many megabytes costs little more than reading it. Both scroll
// bars are always shown. Text is selected with the mouse (Shift extends) or with Select All;
// the Copy key hands the selection to whoever listens to `kopieren`, so that the window
// decides how the clipboard is reached.
class Textanzeige : public QAbstractScrollArea {
    Q_OBJECT
public:
    // Space between the frame and the text, in pixels.
    static constexpr int RAND = 3;

    explicit Textanzeige(QWidget* parent = nullptr);

    // Replaces the text with these Windows-1252 bytes; nothing is selected afterwards.
    void Inhalt_Setzen(QByteArray ansi);
    const Textzeilen& Zeilen() const { return m_zeilen; }
    // The whole text, each line followed by CR LF.
    QString Text() const { return m_zeilen.Text(); }
    QString Auswahl() const { return m_zeilen.Ausschnitt(m_anker, m_ende); }
    void Alles_Auswählen();

signals:
    void kopieren(const QString& text);

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    // Number of rows shown: every line and the empty one after the last line break.
    qsizetype Zeilenzahl() const { return m_zeilen.Anzahl() + 1; }
    int Zeilenhöhe() const;
    int Zeichenbreite() const;
    qsizetype Sichtbare_Zeilen() const;
    void Bereiche_Anpassen();
    Textstelle Stelle_Bei(QPoint punkt) const;
    void Auswahl_Ziehen(QPoint punkt);

    Textzeilen m_zeilen;
    Textstelle m_anker;
    Textstelle m_ende;
};

} // namespace qk
