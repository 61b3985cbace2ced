#pragma once
// The about box: "Brisquel, Version 1.0", the maker's e-mail and web page, and the folders
// where the program keeps its files.
//
// Threads: UI thread.

#include <QDialog>

class CAboutDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget *parent = nullptr, const QString &filesText = {});
};
