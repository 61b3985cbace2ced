// The Hands window's files: the folder's games listed, one file read by the reader its content
// calls for, and the game shown exported.
#include "ui/review/HandsWindow.h"

#include "interchange/Interchange.h"
#include "lineformat/GameLines.h"
#include "safefile/SafeWrite.h"
#include "ui/review/GameListText.h"
#include "ui/review/HandListModel.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTableView>
#include <QTimer>

#include <algorithm>

namespace {

// One spelling per file ("a/./b.txt", a link and the path the folder search gives are the
// same entry of the game list).
QString FileKey(const QString &path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

// A list entry's data: the file, and after a line break the table for files of several.
QString EntryData(const QString &path, int table)
{
    return table == 0 ? path : path + QLatin1Char('\n') + QString::number(table);
}

} // namespace

void CHandsWindow::reload()
{
    m_games->clear();
    std::string error;
    const std::vector<std::string> files =
        history::FindHistoryFiles(m_outputFolder.toStdString(), error);
    // Newest first: the game being played heads the list. The window opens on the newest game
    // with a hand: a game stopped before its first hand ended has nothing to show.
    int shown = -1;
    for (auto it = files.rbegin(); it != files.rend(); ++it) {
        const QString path = FileKey(QString::fromStdString(*it));
        bool hasHands = false;
        m_games->addItem(GameListTextOfFile(path, &hasHands), path);
        m_games->setItemData(m_games->count() - 1, QFileInfo(path).fileName(), Qt::ToolTipRole);
        if (hasHands && shown < 0)
            shown = m_games->count() - 1;
    }
    if (files.empty()) {
        m_model->setGame({}, 0);
        startVerdicts();
        m_replay.reset();
        setStep(0);
        showMessage(
            tr("No hand histories in %1 yet: play a game first, or open a file.")
                .arg(QDir::toNativeSeparators(
                    QDir(m_outputFolder).filePath(QLatin1String(gamelines::kHistoryFolder)))),
            true);
        return;
    }
    showGameAt(std::max(shown, 0));
}

void CHandsWindow::showGameAt(int comboIndex)
{
    const QString entry = m_games->itemData(comboIndex).toString();
    if (!entry.isEmpty())
        openTable(entry.section(QLatin1Char('\n'), 0, 0),
                  entry.section(QLatin1Char('\n'), 1, 1).toInt());
}

bool CHandsWindow::openFile(const QString &path)
{
    return openTable(path, 0);
}

bool CHandsWindow::exportTo(const QString &path)
{
    const history::Game &shown = m_model->game();
    if (shown.hands.empty()) {
        showMessage(tr("There is no hand to export."), true);
        return false;
    }
    const bool phh = path.endsWith(QLatin1String(".phh"), Qt::CaseInsensitive) ||
                     path.endsWith(QLatin1String(".phhs"), Qt::CaseInsensitive);
    std::vector<std::string> leftOut;
    const std::string text = interchange::ExportReadable(
        {shown}, phh ? interchange::Format::Phh : interchange::Format::PokerStars, leftOut);
    if (text.empty()) {
        showMessage(tr("No hand was exported: %1").arg(QString::fromStdString(leftOut.front())),
                    true);
        return false;
    }
    // Qt's own save file says "Unknown error" for a full disk: the system's reason instead.
    std::string reason;
    if (!safefile::WriteFileReplacing(QFile::encodeName(path).toStdString(), text, reason)) {
        showMessage(tr("Cannot write %1: %2")
                        .arg(QDir::toNativeSeparators(path), QString::fromLocal8Bit(reason)),
                    true);
        return false;
    }
    const int written = static_cast<int>(shown.hands.size() - leftOut.size());
    QString message =
        tr("Exported %n hand(s) to %1", nullptr, written).arg(QDir::toNativeSeparators(path));
    if (!leftOut.empty())
        message += tr("; %n left out, as they would not read back: %1", nullptr,
                      static_cast<int>(leftOut.size()))
                       .arg(QString::fromStdString(leftOut.front()));
    showMessage(message, !leftOut.empty());
    return true;
}

bool CHandsWindow::openTable(const QString &file, int table)
{
    const QString path = FileKey(file);
    if (m_timer->isActive())
        togglePlay();
    if (m_games->findData(EntryData(path, table)) < 0)
        m_games->addItem(GameListTextOfFile(path), EntryData(path, table));

    interchange::FileGames read;
    std::string error;
    const bool ok = interchange::ReadFileGames(path.toStdString(), read, error);
    if (ok && read.imported)
        listTables(path, table, read.games);
    m_games->setCurrentIndex(m_games->findData(EntryData(path, table)));
    m_replay.reset();
    m_hand = -1;
    if (!ok) {
        m_model->setGame({}, 0);
        startVerdicts();
        setStep(0);
        showMessage(QString::fromStdString(error), true);
        return false;
    }
    history::Game game = std::move(
        read.games[static_cast<size_t>(std::clamp(table, 0, int(read.games.size()) - 1))]);
    if (read.skipped > 0)
        game.warnings.insert(
            game.warnings.begin(),
            tr("%n hand(s) could not be read and were skipped (%1)", nullptr, read.skipped)
                .arg(QString::fromStdString(read.warnings.front()))
                .toStdString());
    showGame(path, std::move(game));
    return true;
}

// Files of another program may hold several tables: one entry each, where the entry of
// `table` stands.
void CHandsWindow::listTables(const QString &path, int table,
                              const std::vector<history::Game> &games)
{
    const int index = m_games->findData(EntryData(path, table));
    const int count = static_cast<int>(games.size());
    const int first = index - std::min(table, index);
    for (int t = 0; t < count; ++t) {
        QString text = GameListText(games[static_cast<size_t>(t)]);
        if (count > 1)
            text = tr("%1 · table %2 of %3").arg(text).arg(t + 1).arg(count);
        if (m_games->findData(EntryData(path, t)) < 0)
            m_games->insertItem(first + t, text, EntryData(path, t));
        const int at = m_games->findData(EntryData(path, t));
        m_games->setItemText(at, text);
        m_games->setItemData(at, QFileInfo(path).fileName(), Qt::ToolTipRole);
    }
}

void CHandsWindow::showGame(const QString &path, history::Game game)
{
    const int player = replay::PlayerSeat(game);
    const bool empty = game.hands.empty();
    QString note;
    if (empty)
        note = tr("%1 holds no complete hand yet.").arg(QFileInfo(path).fileName());
    else if (!game.warnings.empty())
        note = tr("Read with %n remark(s); the first: %1", nullptr,
                  static_cast<int>(game.warnings.size()))
                   .arg(QString::fromStdString(game.warnings.front()));
    m_model->setGame(std::move(game), player);
    startVerdicts();
    m_list->resizeColumnsToContents();
    fitListWidth();
    showMessage(note, empty);
    setWindowTitle(tr("Hands - %1").arg(QFileInfo(path).fileName()));
    if (!empty)
        selectRow(0);
    else
        setStep(0);
}
