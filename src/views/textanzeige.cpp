#include "views/textanzeige.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <climits>

namespace qk {
Textanzeige::Textanzeige(QWidget* parent) : QAbstractScrollArea(parent) {
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    Bereiche_Anpassen();
}

void Textanzeige::Inhalt_Setzen(QByteArray ansi) {
    m_zeilen = Textzeilen(std::move(ansi));
    m_anker = m_ende = Textstelle{};
    Bereiche_Anpassen();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    viewport()->update();
}

void Textanzeige::Alles_Auswählen() {
    m_anker = Textstelle{};
    m_ende = Textstelle{m_zeilen.Anzahl(), 0};
    viewport()->update();
}

int Textanzeige::Zeilenhöhe() const {
    return std::max(1, fontMetrics().lineSpacing());
}

int Textanzeige::Zeichenbreite() const {
    return std::max(1, fontMetrics().horizontalAdvance(QLatin1Char('M')));
}

qsizetype Textanzeige::Sichtbare_Zeilen() const {
    return std::max(1, (viewport()->height() - RAND) / Zeilenhöhe());
}

void Textanzeige::Bereiche_Anpassen() {
    const qsizetype sichtbar = Sichtbare_Zeilen();
    QScrollBar* v = verticalScrollBar();
    v->setRange(0, static_cast<int>(std::clamp<qsizetype>(Zeilenzahl() - sichtbar, 0, INT_MAX)));
    v->setPageStep(static_cast<int>(sichtbar));
    v->setSingleStep(1);
    const int breite = (m_zeilen.Breite() + 1) * Zeichenbreite() + 2 * RAND;
    QScrollBar* h = horizontalScrollBar();
    h->setRange(0, std::max(0, breite - viewport()->width()));
    h->setPageStep(viewport()->width());
    h->setSingleStep(Zeichenbreite());
}

void Textanzeige::resizeEvent(QResizeEvent* e) {
    QAbstractScrollArea::resizeEvent(e);
    Bereiche_Anpassen();
}

void Textanzeige::changeEvent(QEvent* e) {
    QAbstractScrollArea::changeEvent(e);
    if (e->type() == QEvent::FontChange)
        Bereiche_Anpassen();
}

void Textanzeige::scrollContentsBy(int, int) {
    viewport()->update();
}

void Textanzeige::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    const QFontMetrics fm = fontMetrics();
    const int höhe = Zeilenhöhe();
    const int x0 = RAND - horizontalScrollBar()->value();
    const Textstelle von = std::min(m_anker, m_ende);
    const Textstelle bis = std::max(m_anker, m_ende);
    const QPalette& farben = palette();
    int y = RAND;
    for (qsizetype i = verticalScrollBar()->value(); i < Zeilenzahl() && y < viewport()->height();
         ++i, y += höhe) {
        const QByteArray roh = m_zeilen.Roh(i);
        const QString anzeige = Textzeilen::Anzeigetext(m_zeilen.Zeile(i));
        p.setPen(farben.color(QPalette::Text));
        p.drawText(x0, y + fm.ascent(), anzeige);
        if (von == bis || i < von.zeile || i > bis.zeile)
            continue;
        const int a = i == von.zeile ? Textzeilen::Spalte(roh, von.zeichen) : 0;
        const qsizetype b = i == bis.zeile ? Textzeilen::Spalte(roh, bis.zeichen) : -1;
        const int xa = x0 + fm.horizontalAdvance(anzeige.left(a));
        // A selected line break shows as one blank after the line.
        const int xb = b < 0 ? x0 + fm.horizontalAdvance(anzeige) + Zeichenbreite()
                             : x0 + fm.horizontalAdvance(anzeige.left(b));
        if (xb <= xa)
            continue;
        const QRect markiert(xa, y, xb - xa, höhe);
        p.fillRect(markiert, farben.color(QPalette::Highlight));
        p.save();
        p.setClipRect(markiert);
        p.setPen(farben.color(QPalette::HighlightedText));
        p.drawText(x0, y + fm.ascent(), anzeige);
        p.restore();
    }
}

void Textanzeige::keyPressEvent(QKeyEvent* e) {
    if (e == QKeySequence::SelectAll) {
        Alles_Auswählen();
    } else if (e == QKeySequence::Copy) {
        if (m_anker != m_ende)
            emit kopieren(Auswahl());
    } else if (e == QKeySequence::MoveToStartOfDocument) {
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
    } else if (e == QKeySequence::MoveToEndOfDocument) {
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
    } else if (e == QKeySequence::MoveToStartOfLine) {
        horizontalScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
    } else if (e == QKeySequence::MoveToEndOfLine) {
        horizontalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
    } else {
        QAbstractScrollArea::keyPressEvent(e);
        return;
    }
    e->accept();
}

Textstelle Textanzeige::Stelle_Bei(QPoint punkt) const {
    const qsizetype zeile = std::clamp<qsizetype>(
        verticalScrollBar()->value() + (punkt.y() - RAND) / Zeilenhöhe(), 0, m_zeilen.Anzahl());
    const int x = punkt.x() - RAND + horizontalScrollBar()->value();
    // The nearer edge of a character cell decides, as in every text box.
    const int spalte = std::max(0, (x + Zeichenbreite() / 2) / Zeichenbreite());
    return {zeile, Textzeilen::Zeichen(m_zeilen.Roh(zeile), spalte)};
}

void Textanzeige::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(e);
        return;
    }
    m_ende = Stelle_Bei(e->position().toPoint());
    if (!(e->modifiers() & Qt::ShiftModifier))
        m_anker = m_ende;
    viewport()->update();
    e->accept();
}

void Textanzeige::mouseMoveEvent(QMouseEvent* e) {
    if (!(e->buttons() & Qt::LeftButton)) {
        QAbstractScrollArea::mouseMoveEvent(e);
        return;
    }
    Auswahl_Ziehen(e->position().toPoint());
    e->accept();
}

void Textanzeige::Auswahl_Ziehen(QPoint punkt) {
    // Dragging past an edge scrolls one step towards it.
    QScrollBar* v = verticalScrollBar();
    if (punkt.y() < 0)
        v->triggerAction(QAbstractSlider::SliderSingleStepSub);
    else if (punkt.y() >= viewport()->height())
        v->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QScrollBar* h = horizontalScrollBar();
    if (punkt.x() < 0)
        h->triggerAction(QAbstractSlider::SliderSingleStepSub);
    else if (punkt.x() >= viewport()->width())
        h->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    m_ende = Stelle_Bei(punkt);
    viewport()->update();
}

} // namespace qk
