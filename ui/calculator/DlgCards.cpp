#include "ui/calculator/DlgCards.h"

#include "pokerlib/CardCodes.h"
#include "pokerlib/Carrowby.h"
#include "ui/pictures/Pictures.h"

#include <QPushButton>

namespace {

// Dialog units to pixels (the base units of an 8-point dialog font).
QRect dlu(int x, int y, int w, int h)
{
    return QRect(x * 3 / 2, y * 13 / 8, w * 3 / 2, h * 13 / 8);
}

const int kRowTop[4] = {7, 60, 114, 167};
const int kColumnLeft[13] = {6, 49, 92, 135, 178, 221, 264, 306, 349, 391, 434, 476, 518};
// Button ids by rank index, deuce first; the ids of each suit start at these bases.
const int kRankOffset[13] = {2, 0, 1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
const int kSuitBase[4] = {1002, 1028, 1041, 1054};

} // namespace

int CDlgCards::ButtonId(int c)
{
    return kSuitBase[brisquel::SuitOf(c)] + kRankOffset[brisquel::RankOf(c)];
}

QString CDlgCards::CardName(int c)
{
    return QString::fromStdWString(CCard(c).GetName2());
}

CDlgCards::CDlgCards(QString &text, QList<int> &cards, QList<int> &pictures, QWidget *parent,
                     int maxCards)
    : QDialog(parent)
    , m_maxCards(maxCards)
    , m_text(text)
    , m_cards(cards)
    , m_pictures(pictures)
{
    setWindowTitle(tr("Cards"));
    setFixedSize(dlu(0, 0, 568, 246).size());

    // Suits from the top (clubs, diamonds, hearts, spades), aces at the left.
    for (int r = 0; r < 4; ++r) {
        for (int k = 0; k < 13; ++k) {
            const int c = 13 * r + 12 - k;
            auto *b = new QPushButton(this);
            b->setObjectName(QStringLiteral("card%1").arg(ButtonId(c)));
            b->setGeometry(dlu(kColumnLeft[k], kRowTop[r], 43, 55));
            b->setIcon(Pictures::card(c, true));
            b->setIconSize(QSize(Pictures::kLargeCardWidth, Pictures::kLargeCardHeight));
            b->setFlat(true);
            b->setToolTip(CardName(c));
            connect(b, &QPushButton::clicked, this, [this, c] { OnCard(c); });
            m_buttons[c] = b;
        }
    }
    m_ok = new QPushButton(Pictures::button(Pictures::ButtonPicture::Ok), tr("OK"), this);
    m_ok->setGeometry(dlu(214, 225, 50, 14));
    m_cancel =
        new QPushButton(Pictures::button(Pictures::ButtonPicture::Cancel), tr("Cancel"), this);
    m_cancel->setGeometry(dlu(272, 225, 50, 14));
    for (QPushButton *b : {m_ok, m_cancel}) {
        b->setIconSize(QSize(14, 14));
        b->setCursor(Qt::PointingHandCursor);
    }
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &CDlgCards::OnOK);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void CDlgCards::OnCard(int c)
{
    if (c < 0 || c >= 52)
        return;
    const int picture = c; // faces are indexed by the card integer
    if (m_selected[c]) {
        m_selectedCards.removeOne(c);
        m_pictureIds.removeOne(picture);
        m_selected[c] = 0;
        m_buttons[c]->setIcon(Pictures::card(c, true));
        --m_count;
    } else if (m_count < m_maxCards) {
        m_selectedCards.append(c);
        m_selected[c] = 1;
        m_buttons[c]->setIcon(Pictures::cardSelected(c));
        m_pictureIds.append(picture);
        ++m_count;
    }
}

void CDlgCards::Preselect(const QList<int> &picked, const QList<int> &unavailable)
{
    for (int c : unavailable)
        if (c >= 0 && c < 52 && !m_selected[c])
            m_buttons[c]->setEnabled(false);
    for (int c : picked)
        if (c >= 0 && c < 52 && !m_selected[c] && m_buttons[c]->isEnabled())
            OnCard(c);
}

void CDlgCards::OnOK()
{
    QString text;
    for (int c : std::as_const(m_selectedCards)) {
        text += CardName(c);
        text += u' ';
        m_cards.append(c);
    }
    m_text = text;
    m_pictures = m_pictureIds;
    accept();
}
