#include "output/DirectoryListBox.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QStyle>

namespace {
constexpr int kPathRole = Qt::UserRole;

QString cleanFolder(const QString &folder)
{
    return QDir::cleanPath(QDir(folder).absolutePath());
}

bool isUnder(const QString &folder, const QString &top)
{
    return folder == top || top == QLatin1String("/")
        || folder.startsWith(top + QLatin1Char('/'));
}
} // namespace

TDirectoryListBox::TDirectoryListBox(QWidget *parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::itemActivated, this, &TDirectoryListBox::enter);
    fill();
}

void TDirectoryListBox::SetDrive(const QString &drive)
{
    drive_ = cleanFolder(drive);
    directory_ = drive_;
    fill();
    emit DirectoryChanged(directory_);
}

void TDirectoryListBox::SetDirectory(const QString &folder)
{
    const QString clean = cleanFolder(folder);
    if (!isUnder(clean, drive_))
        drive_ = QStringLiteral("/");
    directory_ = clean;
    fill();
    emit DirectoryChanged(directory_);
}

void TDirectoryListBox::enter(QListWidgetItem *item)
{
    if (!item)
        return;
    const QString folder = item->data(kPathRole).toString();
    if (folder == directory_)
        return;
    directory_ = folder;
    fill();
    emit DirectoryChanged(directory_);
}

void TDirectoryListBox::fill()
{
    clear();
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);

    // The chain from the drive down to the current folder.
    QStringList chain{drive_};
    if (directory_ != drive_) {
        const QString rest = drive_ == QLatin1String("/") ? directory_.mid(1)
                                                           : directory_.mid(drive_.size() + 1);
        QString path = drive_;
        for (const QString &part : rest.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
            path = path == QLatin1String("/") ? path + part : path + QLatin1Char('/') + part;
            chain << path;
        }
    }
    int depth = 0;
    QListWidgetItem *current = nullptr;
    for (const QString &path : chain) {
        const QString name = depth == 0 ? path : QFileInfo(path).fileName();
        auto *item = new QListWidgetItem(open, QString(depth * 2, QLatin1Char(' ')) + name, this);
        item->setData(kPathRole, path);
        current = item;
        ++depth;
    }
    const QStringList subfolders = QDir(directory_).entryList(
        QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString &name : subfolders) {
        auto *item = new QListWidgetItem(closed, QString(depth * 2, QLatin1Char(' ')) + name, this);
        item->setData(kPathRole, directory_ == QLatin1String("/") ? directory_ + name
                                                                  : directory_ + QLatin1Char('/') + name);
    }
    setCurrentItem(current);
}
