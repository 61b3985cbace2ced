#pragma once
// The options of one decision drawn as bars: one row per option with its label, a bar from
// zero to its value in big blinds (right for a gain, left for a loss) and "value ± error";
// the best option is marked "best", the one taken "you" (or "you ≈" for a bet size that was
// not valued and counts as the nearest one). Without values the widget shows a message.
//
// Threads: UI thread only.

#include "playout/Advice.h"

#include <QString>
#include <QWidget>

class COptionBars : public QWidget
{
    Q_OBJECT
public:
    explicit COptionBars(QWidget *parent = nullptr);

    // `advice` with `chosen` set (or -1) and settled; `exactChoice` false when the move made
    // only counts as the chosen option.
    void setAdvice(const playout::Advice &advice, bool exactChoice = true);
    // No bars, one line of text instead (empty: nothing at all).
    void setMessage(const QString &text);

    // What the widget shows, for the tests: the message, or one text per bar as drawn
    // ("raise to 60  +1.2 ± 0.3 bb"), and where each bar is.
    QString message() const { return m_message; }
    int barCount() const { return m_advice.valid ? static_cast<int>(m_advice.options.size()) : 0; }
    QString barText(int bar) const;
    QString barMark(int bar) const; // "best", "you", "best · you", "you ≈" or empty
    double barValue(int bar) const;
    // The bar's rectangle in the widget's pixels at its current size (zero width for 0 bb).
    QRectF barRect(int bar) const;
    // "Best vs Maniac_3: call +2.1 bb · vs a typical player: raise to 60" under the bars, where
    // the two best options differ; else empty.
    QString exploitNote() const;
    int bestBar() const { return m_advice.valid ? m_advice.best : -1; }
    int chosenBar() const { return m_advice.valid ? m_advice.chosen : -1; }
    const playout::Advice &advice() const { return m_advice; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    struct Columns
    {
        double labelRight = 0; // the labels end here
        double zero = 0;       // x of 0 bb
        double scale = 0;      // pixels per big blind
        double valueLeft = 0;  // the value texts start here
    };
    Columns columns() const;
    QRectF rowRect(int bar) const;

    playout::Advice m_advice;
    bool m_exactChoice = true;
    QString m_message;
};
