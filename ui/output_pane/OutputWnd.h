#pragma once
// The bottom pane: a toolbar with the chat box, the "Chat" tab with the running game text, and
// the action panel in a cell of its own beside it.
//
// Threads: created and used on the UI thread, except AppendOutputLine, which any thread may
// call (it queues the line to the UI thread and never blocks, so the engine may call it while
// holding the game's state mutex).

#include "engine/EngineInterfaces.h"

#include <QListWidget>
#include <QWidget>

#include <deque>
#include <functional>
#include <mutex>

class CDunmereGame;
class CDlgPlayerChoose;
class QLineEdit;
class QSplitter;
class QTabWidget;
class QToolBar;
class QAction;

inline constexpr int kMaxChatLines = 1000; // a new line is added once the list holds <= 1000
inline const char *const kChatPlaceholder = QT_TRANSLATE_NOOP("COutputWnd", "<enter text>");

// The owner-drawn list that holds the lines (dark background, white text, "HERO:" in green).
class COutputList : public QListWidget
{
    Q_OBJECT
public:
    explicit COutputList(QWidget *parent = nullptr);

    // Shows a message box; tests replace it so that nothing modal opens.
    std::function<void(const QString &)> m_showMessage;

    void OnEditCopy();   // "Copy output"
    void OnEditClear();  // "Clear output"
    void OnViewOutput(); // hides the pane

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
};

class COutputWnd : public QWidget, public IOutputPane
{
    Q_OBJECT
public:
    explicit COutputWnd(CDunmereGame &game, QWidget *parent = nullptr);
    ~COutputWnd() override;

    // Any thread. Keeps at most kMaxChatLines + 1 lines and selects the last one.
    void AppendOutputLine(const QString &text);
    void AppendOutputLine(const std::wstring &line) override
    {
        AppendOutputLine(QString::fromStdWString(line));
    }
    // UI thread: a line that wraps at the list's width (the coach's, which can be long), kept
    // and selected like the others.
    void AppendWrappedLine(const QString &text);
    // UI thread: the label and the text as two lines, no limit, no selection.
    void AppendChatLines(const QString &label, const QString &text);
    void UpdateHorizontalExtent();

    // Command 32804: the chat box's text as a "HERO:" chat line.
    void OnSendChat();

    CDlgPlayerChoose *actionPanel() const { return m_panel; }
    COutputList *chatList() const { return m_chatList; }
    QLineEdit *chatEdit() const { return m_chatEdit; }
    QAction *sendAction() const { return m_sendAction; }

signals:
    // Another thread queued lines in m_queued (connected queued to takeQueuedLines).
    void linesQueued();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void appendOnUiThread(const QString &text, bool wrap = false);
    void takeQueuedLines();
    void widenExtent(const QString &text);
    void updatePlaceholder();

    QToolBar *m_toolBar = nullptr;
    QLineEdit *m_chatEdit = nullptr;
    QAction *m_sendAction = nullptr;
    QSplitter *m_splitter = nullptr;
    QTabWidget *m_tabs = nullptr;
    COutputList *m_lists[3] = {};
    COutputList *m_chatList = nullptr;   // the second list, the only one shown
    CDlgPlayerChoose *m_panel = nullptr; // a child of the splitter
    std::mutex m_queuedMutex;            // guards m_queued
    std::deque<QString> m_queued;        // lines from other threads, in their order
};
