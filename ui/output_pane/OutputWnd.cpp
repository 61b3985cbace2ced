#include "ui/output_pane/OutputWnd.h"

#include "engine/Game.h"
#include "ui/action_panel/DlgPlayerChoose.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QDockWidget>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QResizeEvent>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QThread>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QColor kListBackground(35, 35, 35);
const QColor kHeroColour(0, 100, 0);
constexpr int kCellSize = 700; // initial width of each of the pane's two cells

QFont lineFont()
{
    QFont f(QStringLiteral("Times New Roman"));
    f.setPointSize(12);
    return f;
}

// A speech bubble for the toolbar's first button.
QIcon chatIcon()
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 90, 160), 1.2));
    p.setBrush(QColor(225, 235, 250));
    QPainterPath bubble;
    bubble.addRoundedRect(QRectF(1.5, 1.5, 13, 9.5), 3, 3);
    QPainterPath tail;
    tail.moveTo(4, 10);
    tail.lineTo(3.5, 14.5);
    tail.lineTo(8, 10);
    tail.closeSubpath();
    p.drawPath(bubble.united(tail));
    return QIcon(pm);
}

// Lines marked with this role wrap at the list's width instead of widening it.
constexpr int kWrapRole = Qt::UserRole + 1;

bool isHeroLine(const QString &text)
{
    return text.compare(QStringLiteral("HERO:"), Qt::CaseInsensitive) == 0;
}

// Draws every line alike on the dark background, selected or not: white text, "HERO:" in green.
class COutputLineDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    int m_extent = 0; // width of the widest line, set by UpdateHorizontalExtent

    int ListWidth() const { return static_cast<QListWidget *>(parent())->viewport()->width(); }

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        const QString text = index.data(Qt::DisplayRole).toString();
        painter->save();
        painter->fillRect(option.rect, kListBackground);
        painter->setFont(lineFont());
        painter->setPen(isHeroLine(text) ? kHeroColour : QColor(Qt::white));
        // One line at the item's top-left: several engine lines end in a line feed, which
        // would otherwise lay the text out as two lines centred on the item, the top one cut.
        QRect area = option.rect.adjusted(2, 0, 0, 0);
        int flags = Qt::TextSingleLine;
        if (index.data(kWrapRole).toBool()) {
            // Within the visible width, as sizeHint measured it (the item may be wider).
            area.setWidth(std::max(ListWidth() - 2, 40));
            flags = Qt::TextWordWrap;
        }
        painter->drawText(area, Qt::AlignLeft | Qt::AlignTop | flags, text);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem &, const QModelIndex &index) const override
    {
        const QFontMetrics metrics(lineFont());
        if (!index.data(kWrapRole).toBool())
            return QSize(m_extent, metrics.height() + 2);
        // As wide as the list shows, as high as the words need at that width.
        const int width = ListWidth();
        const QRect words = metrics.boundingRect(QRect(0, 0, std::max(width - 2, 40), 1 << 20),
                                                 Qt::TextWordWrap, index.data().toString());
        return QSize(width, words.height() + 2);
    }
};

} // namespace

// ---------------------------------------------------------------------------------------------
// COutputList

COutputList::COutputList(QWidget *parent)
    : QListWidget(parent)
{
    setItemDelegate(new COutputLineDelegate(this));

    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFont(lineFont());
    QPalette pal = palette();
    pal.setColor(QPalette::Base, kListBackground);
    pal.setColor(QPalette::Text, Qt::white);
    setPalette(pal);
    m_showMessage = [this](const QString &text) {
        QMessageBox::information(this, QString(), text);
    };
}

void COutputList::resizeEvent(QResizeEvent *event)
{
    QListWidget::resizeEvent(event);
    // Wrapped lines take the new width.
    if (event->size().width() != event->oldSize().width())
        scheduleDelayedItemsLayout();
}

void COutputList::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    menu.addAction(tr("&Копировать"), this, &COutputList::OnEditCopy);
    menu.addAction(tr("&Очистить"), this, &COutputList::OnEditClear);
    menu.addSeparator();
    menu.addAction(tr("&Скрыть")); // no command behind it
    menu.exec(event->globalPos());
    setFocus();
}

void COutputList::OnEditCopy()
{
    m_showMessage(tr("Copy output"));
}

void COutputList::OnEditClear()
{
    m_showMessage(tr("Clear output"));
}

void COutputList::OnViewOutput()
{
    // The pane sits in the main frame's bottom dock; hiding the dock lets the frame re-lay out.
    for (QWidget *w = parentWidget(); w; w = w->parentWidget()) {
        if (auto *dock = qobject_cast<QDockWidget *>(w)) {
            dock->hide();
            return;
        }
        if (qobject_cast<COutputWnd *>(w)) {
            w->hide();
            return;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// COutputWnd

COutputWnd::COutputWnd(CDunmereGame &game, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("OutputWnd"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 0, 1, 1);
    layout->setSpacing(1);

    // Toolbar: an idle button, the chat box labelled "Chat: ", and "send".
    m_toolBar = new QToolBar(this);
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->setIconSize(QSize(16, 16));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_toolBar->addAction(chatIcon(), QString()); // command 32805: a button without a command
    m_toolBar->addWidget(new QLabel(tr("Chat: "), m_toolBar));
    m_chatEdit = new QLineEdit(tr(kChatPlaceholder), m_toolBar);
    m_chatEdit->setObjectName(QStringLiteral("chatEdit"));
    m_chatEdit->setMinimumWidth(240);
    m_chatEdit->setMaximumWidth(420);
    m_chatEdit->installEventFilter(this);
    m_toolBar->addWidget(m_chatEdit);
    m_sendAction = m_toolBar->addAction(tr("send"));
    m_sendAction->setToolTip(tr("send"));
    m_sendAction->setStatusTip(tr("send"));
    connect(m_sendAction, &QAction::triggered, this, &COutputWnd::OnSendChat);
    connect(m_chatEdit, &QLineEdit::returnPressed, this, &COutputWnd::OnSendChat);
    layout->addWidget(m_toolBar);

    // Two cells side by side: the "Chat" tab and the action panel.
    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter->setChildrenCollapsible(false);
    m_tabs = new QTabWidget(m_splitter);
    m_tabs->setTabPosition(QTabWidget::South);
    m_tabs->setDocumentMode(true);
    for (int i = 0; i < 3; ++i) {
        m_lists[i] = new COutputList(m_tabs);
        m_lists[i]->setObjectName(QStringLiteral("outputList%1").arg(i + 2));
        m_lists[i]->hide();
    }
    m_chatList = m_lists[1];
    m_tabs->addTab(m_chatList, tr("Chat"));
    m_chatList->show();

    m_panel = CDlgPlayerChoose::CreatePanel(game, m_splitter);
    m_splitter->addWidget(m_tabs);
    m_splitter->addWidget(m_panel);
    // The chat cell takes what the panel does not need.
    m_splitter->setSizes({kCellSize, m_panel->minimumWidth()});
    m_splitter->setStretchFactor(0, 1);
    m_splitter->setStretchFactor(1, 0);
    layout->addWidget(m_splitter, 1);

    connect(this, &COutputWnd::linesQueued, this, &COutputWnd::takeQueuedLines,
            Qt::QueuedConnection);
    appendOnUiThread(tr("Welcome to Brisquel"));
}

COutputWnd::~COutputWnd() = default;

void COutputWnd::AppendOutputLine(const QString &text)
{
    if (QThread::currentThread() == thread()) {
        appendOnUiThread(text);
        return;
    }
    // Queued, not blocking: the engine may hold its state mutex, which the UI thread takes to
    // paint. The lines wait under a mutex ThreadSanitizer sees, in the order they came.
    {
        std::lock_guard<std::mutex> lock(m_queuedMutex);
        m_queued.push_back(text);
    }
    emit linesQueued();
}

void COutputWnd::takeQueuedLines()
{
    std::deque<QString> lines;
    {
        std::lock_guard<std::mutex> lock(m_queuedMutex);
        lines.swap(m_queued);
    }
    for (const QString &line : lines)
        appendOnUiThread(line);
}

void COutputWnd::appendOnUiThread(const QString &text, bool wrap)
{
    if (!m_chatList)
        return;
    while (m_chatList->count() > kMaxChatLines)
        delete m_chatList->takeItem(0);
    auto *item = new QListWidgetItem(text);
    item->setData(kWrapRole, wrap);
    m_chatList->addItem(item);
    if (!wrap)
        widenExtent(text);
    m_chatList->setCurrentRow(m_chatList->count() - 1);
    m_chatList->scrollToBottom();
}

void COutputWnd::AppendWrappedLine(const QString &text)
{
    appendOnUiThread(text, true);
}

void COutputWnd::AppendChatLines(const QString &label, const QString &text)
{
    if (!m_chatList)
        return;
    m_chatList->addItem(label);
    m_chatList->addItem(text);
    widenExtent(label);
    widenExtent(text);
}

void COutputWnd::UpdateHorizontalExtent()
{
    auto *delegate = static_cast<COutputLineDelegate *>(m_chatList->itemDelegate());
    const QFontMetrics metrics(lineFont());
    int widest = 0;
    for (int i = 0; i < m_chatList->count(); ++i) {
        const QListWidgetItem *item = m_chatList->item(i);
        if (!item->data(kWrapRole).toBool())
            widest = std::max(widest, metrics.horizontalAdvance(item->text()) + 4);
    }
    if (widest != delegate->m_extent) {
        delegate->m_extent = widest;
        m_chatList->doItemsLayout();
    }
}

// Measuring every line for every appended one would cost the UI thread a scan of up to 1001
// lines per engine line; the extent only has to grow with the new line. Lines dropped from the
// top may leave it a little wider than needed until the next full UpdateHorizontalExtent.
void COutputWnd::widenExtent(const QString &text)
{
    auto *delegate = static_cast<COutputLineDelegate *>(m_chatList->itemDelegate());
    const int width = QFontMetrics(lineFont()).horizontalAdvance(text) + 4;
    if (width > delegate->m_extent) {
        delegate->m_extent = width;
        m_chatList->doItemsLayout();
    }
}

void COutputWnd::OnSendChat()
{
    const QString text = m_chatEdit->text();
    if (text != tr(kChatPlaceholder))
        AppendChatLines(QStringLiteral("HERO:"), text);
    m_chatEdit->setText(tr(kChatPlaceholder));
    updatePlaceholder();
}

void COutputWnd::updatePlaceholder()
{
    if (m_chatEdit->hasFocus()) {
        if (m_chatEdit->text() == tr(kChatPlaceholder))
            m_chatEdit->clear();
    } else if (m_chatEdit->text().isEmpty()) {
        m_chatEdit->setText(tr(kChatPlaceholder));
    }
}

bool COutputWnd::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_chatEdit &&
        (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        const bool handled = QWidget::eventFilter(watched, event);
        updatePlaceholder();
        return handled;
    }
    return QWidget::eventFilter(watched, event);
}
