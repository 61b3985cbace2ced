#pragma once
// The action panel's colours, and its amount slider.
//
// Threads: UI thread.

#include <QSlider>

inline constexpr QRgb kPanelColour = 0xFF232323;        // RGB(35, 35, 35)
inline constexpr QRgb kFocusColour = 0xFFF6B24C;        // the ring round the focused control
inline constexpr QRgb kThumbColour = 0xFFCBCBCB;        // RGB(203, 203, 203)
inline constexpr QRgb kThumbPressedColour = 0xFF989898; // RGB(152, 152, 152)

class CDlgPlayerChoose;

// The amount slider: a flat thumb in two greys and a sunken channel over the dark panel. Each
// paint first runs the panel's slider rule, which rounds the offered amount.
class CMySliderControl : public QSlider
{
    Q_OBJECT
public:
    explicit CMySliderControl(CDlgPlayerChoose *panel, QWidget *parent = nullptr);

    void SetThumbColours(QColor normal, QColor pressed);
    QString m_label;   // the amount the slider offers, in decimal
    int m_lastPos = 0; // the position the panel last set
    int m_offered = 0; // the value the panel currently offers on the slider

    // Moves the thumb and remembers the position as the last one the panel set.
    void SetPosRemembered(int pos);

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;

private:
    CDlgPlayerChoose *m_panel;
    QColor m_thumb;
    QColor m_thumbPressed;
};
