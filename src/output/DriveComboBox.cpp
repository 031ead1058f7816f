#include "output/DriveComboBox.h"

#include <QDir>
#include <QStorageInfo>
#include <QStyle>

namespace {
bool isSystemMount(const QStorageInfo &volume)
{
    static const QStringList pseudo = {
        QStringLiteral("proc"),      QStringLiteral("sysfs"),      QStringLiteral("devtmpfs"),
        QStringLiteral("devpts"),    QStringLiteral("cgroup"),     QStringLiteral("cgroup2"),
        QStringLiteral("mqueue"),    QStringLiteral("securityfs"), QStringLiteral("debugfs"),
        QStringLiteral("tracefs"),   QStringLiteral("pstore"),     QStringLiteral("bpf"),
        QStringLiteral("configfs"),  QStringLiteral("fusectl"),    QStringLiteral("hugetlbfs"),
        QStringLiteral("autofs"),    QStringLiteral("binfmt_misc"), QStringLiteral("efivarfs"),
        QStringLiteral("tmpfs"),     QStringLiteral("squashfs"),   QStringLiteral("nsfs"),
    };
    const QString root = volume.rootPath();
    for (const char *system : {"/proc", "/sys", "/dev", "/run", "/boot", "/snap"}) {
        const QString s = QString::fromLatin1(system);
        if ((root == s || root.startsWith(s + QLatin1Char('/')))
            && !root.startsWith(QStringLiteral("/run/media/")))
            return true;
    }
    return pseudo.contains(QString::fromLatin1(volume.fileSystemType()));
}

bool isUnder(const QString &folder, const QString &top)
{
    return folder == top || top == QLatin1String("/")
        || folder.startsWith(top + QLatin1Char('/'));
}
} // namespace

TDriveComboBox::TDriveComboBox(QWidget *parent) : QComboBox(parent)
{
    const QIcon drive = style()->standardIcon(QStyle::SP_DriveHDIcon);
    const QIcon home = style()->standardIcon(QStyle::SP_DirHomeIcon);
    const QString homePath = QDir::cleanPath(QDir::homePath());
    for (const QString &path : Drives())
        addItem(path == homePath ? home : drive, path, path);
}

QStringList TDriveComboBox::Drives()
{
    QStringList drives{QStringLiteral("/")};
    const QString home = QDir::cleanPath(QDir::homePath());
    if (!drives.contains(home))
        drives << home;
    QStringList volumes;
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady() || isSystemMount(volume))
            continue;
        const QString root = QDir::cleanPath(volume.rootPath());
        if (!drives.contains(root) && !volumes.contains(root))
            volumes << root;
    }
    volumes.sort();
    return drives + volumes;
}

void TDriveComboBox::SelectDriveOf(const QString &folder)
{
    const QString clean = QDir::cleanPath(QDir(folder).absolutePath());
    int best = -1;
    int bestLength = -1;
    for (int i = 0; i < count(); ++i) {
        const QString drive = itemData(i).toString();
        if (isUnder(clean, drive) && drive.size() > bestLength) {
            best = i;
            bestLength = int(drive.size());
        }
    }
    if (best >= 0)
        setCurrentIndex(best);
}
