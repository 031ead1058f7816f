#include "app/SingleInstance.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>
#include <memory>

namespace {
QString lockName;
std::unique_ptr<QLockFile> held;
} // namespace

QString InstanceLockFile()
{
    if (!lockName.isEmpty())
        return lockName;
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder + QStringLiteral("/Quillary.lock");
}

void SetInstanceLockFile(const QString &fileName)
{
    lockName = fileName;
}

bool AlreadyRunning()
{
    auto lock = std::make_unique<QLockFile>(InstanceLockFile());
    // Only a lock whose process is gone is stale, however old it is.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        held = std::move(lock);
        return false;
    }
    // Another copy holds it; a lock that cannot be made at all does not stop
    // the program.
    return lock->error() == QLockFile::LockFailedError;
}

void ReleaseInstanceLock()
{
    held.reset();
}
