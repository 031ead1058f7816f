#pragma once

#include <QListWidget>
#include <QString>

// A folder chooser in the manner of a classic directory list: the folders
// from the drive's top down to the current folder, each one step further
// in, then the current folder's own subfolders.  Activating a folder (double
// click or Enter) makes it the current one.
class TDirectoryListBox : public QListWidget
{
    Q_OBJECT
public:
    explicit TDirectoryListBox(QWidget *parent = nullptr);

    // The current folder, without a trailing separator ("/" for the root).
    QString Directory() const { return directory_; }
    // A folder outside the drive shown so far makes "/" the drive.
    void SetDirectory(const QString &folder);

    // The top the list starts at: the file system root, the home folder or
    // a mounted volume.  Setting it makes it the current folder.
    QString Drive() const { return drive_; }
    void SetDrive(const QString &drive);

signals:
    void DirectoryChanged(const QString &folder);

private:
    void fill();
    void enter(QListWidgetItem *item);

    QString drive_ = QStringLiteral("/");
    QString directory_ = QStringLiteral("/");
};
