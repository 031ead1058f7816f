#include "store/PasswordChange.h"

#include "app/IniFile.h"
#include "app/Preferences.h"
#include "store/Crypt.h"
#include "store/EntryFiles.h"
#include "store/PasswordCodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {
const QString kJournal = QStringLiteral("PASSWORD.JNL");
const QString kNew = QStringLiteral(".newpw");
const QString kOld = QStringLiteral(".oldpw");
const QByteArray kJournalTitle = "Quillary password change 1";

std::function<ChangeStep(int)> &stepHook()
{
    static std::function<ChangeStep(int)> hook;
    return hook;
}

QStringList entryNames()
{
    return QDir(EntriesFolder())
        .entryList({QStringLiteral("*.QYE")},
                   QDir::Files | QDir::Dirs | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                   QDir::Name);
}

// One change run, forward or back, or the recovery of one.
class Change
{
public:
    QString folder = EntriesFolder();
    QStringList files;
    QString oldStored; // the two passwords as QY.INI stores them
    QString newStored;
    QString error;
    bool crashed = false;

    QString path(const QString &name) const { return folder + name; }

    // Runs before every change on disk: false when the test hook stops the
    // run (crashed) or fails this change (error).
    bool before(const QString &failure)
    {
        if (crashed)
            return false; // nothing more happens after a crash
        if (!stepHook())
            return true;
        switch (stepHook()(step_++)) {
        case ChangeStep::Continue:
            return true;
        case ChangeStep::Crash:
            crashed = true;
            return false;
        case ChangeStep::Fail:
            error = failure + QStringLiteral(": the test made it fail");
            return false;
        }
        return true;
    }

    bool writeNew(const QString &name, const QByteArray &bytes)
    {
        const QString failure = QStringLiteral("%1 could not be written").arg(name + kNew);
        if (!before(failure))
            return false;
        // No atomic write needed: without a journal a ".newpw" file is never
        // used, and the journal is written only once all of them are synced.
        QFile file(path(name + kNew));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()
            || !file.flush() || ::fsync(file.handle()) != 0) {
            error = failure + QStringLiteral(": ") + file.errorString();
            file.close();
            QFile::remove(path(name + kNew));
            return false;
        }
        return true;
    }

    bool renameOver(const QString &from, const QString &to)
    {
        const QString failure = QStringLiteral("%1 could not be renamed to %2").arg(from, to);
        if (!before(failure))
            return false;
        if (std::rename(QFile::encodeName(path(from)).constData(),
                        QFile::encodeName(path(to)).constData())
            != 0) {
            error = failure + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
            return false;
        }
        return true;
    }

    bool remove(const QString &name)
    {
        const QString failure = QStringLiteral("%1 could not be removed").arg(name);
        if (!before(failure))
            return false;
        QFile file(path(name));
        if (file.exists() && !file.remove()) {
            error = failure + QStringLiteral(": ") + file.errorString();
            return false;
        }
        return true;
    }

    bool writeIni(const QString &stored)
    {
        IniFile ini(IniFileName());
        if (!before(QStringLiteral("QY.INI could not be written")))
            return false;
        if (!ini.WriteString(QStringLiteral("Security"), QStringLiteral("Password"), stored)) {
            error = ini.ErrorString();
            return false;
        }
        return true;
    }

    bool writeJournal(bool forward)
    {
        const QString failure = QStringLiteral("%1 could not be written").arg(kJournal);
        if (!before(failure))
            return false;
        QByteArray text = kJournalTitle + '\n';
        text += QByteArray("direction=") + (forward ? "forward" : "back") + '\n';
        text += "old=" + oldStored.toLatin1().toHex() + '\n';
        text += "new=" + newStored.toLatin1().toHex() + '\n';
        for (const QString &name : files)
            text += "file=" + name.toUtf8() + '\n';
        text += "end\n";
        if (!WriteFileAtomically(path(kJournal), text, &error)) {
            error = failure + QStringLiteral(": ") + error;
            return false;
        }
        syncFolder();
        return true;
    }

    // The journal on disk: false (error set) when it is not complete.
    bool readJournal(bool *forward)
    {
        QFile file(path(kJournal));
        const QString damaged = QStringLiteral("%1 in the Entries folder is damaged").arg(kJournal);
        if (!file.open(QIODevice::ReadOnly)) {
            error = QStringLiteral("%1 cannot be read: %2").arg(kJournal, file.errorString());
            return false;
        }
        const QList<QByteArray> lines = file.readAll().split('\n');
        if (lines.size() < 5 || lines.first() != kJournalTitle || !lines.contains("end")) {
            error = damaged;
            return false;
        }
        for (const QByteArray &line : lines.mid(1)) {
            if (line == "end")
                return true;
            const qsizetype eq = line.indexOf('=');
            const QByteArray key = line.left(eq);
            const QByteArray value = line.mid(eq + 1);
            if (key == "direction") {
                *forward = value == "forward";
            } else if (key == "old") {
                oldStored = QString::fromLatin1(QByteArray::fromHex(value));
            } else if (key == "new") {
                newStored = QString::fromLatin1(QByteArray::fromHex(value));
            } else if (key == "file") {
                const QString name = QString::fromUtf8(value);
                // Only plain entry names in this folder.
                if (name.contains(QLatin1Char('/')) || name.startsWith(QLatin1Char('.'))
                    || !name.endsWith(QStringLiteral(".QYE"), Qt::CaseInsensitive)) {
                    error = damaged;
                    return false;
                }
                files << name;
            } else {
                error = damaged;
                return false;
            }
        }
        error = damaged;
        return false;
    }

    bool exists(const QString &name) const { return QFileInfo::exists(path(name)); }

    // One entry towards the new password.  Its names go through
    // {X, X.newpw} -> {X.oldpw, X.newpw} -> {X.oldpw, X}, so the state on disk
    // always tells how far it got.
    bool forwardFile(const QString &name)
    {
        if (exists(name + kNew)) {
            if (exists(name) && !renameOver(name, name + kOld))
                return false;
            if (!renameOver(name + kNew, name))
                return false;
        }
        return true;
    }

    // The same entry back to the old password, from any of those states.
    bool backwardFile(const QString &name)
    {
        if (exists(name + kOld) && !renameOver(name + kOld, name))
            return false;
        return !exists(name + kNew) || remove(name + kNew);
    }

    bool undo()
    {
        if (!writeJournal(false))
            return false;
        for (const QString &name : files) {
            if (!backwardFile(name))
                return false;
        }
        if (!writeIni(oldStored))
            return false;
        syncFolder();
        return true;
    }

    bool finishForward()
    {
        for (const QString &name : files) {
            if (!forwardFile(name))
                return false;
        }
        if (!writeIni(newStored))
            return false;
        syncFolder();
        return true;
    }

    // Once every entry holds the new password, the old copies go.
    bool cleanUpForward()
    {
        for (const QString &name : files) {
            if (!remove(name + kOld))
                return false;
        }
        return true;
    }

    // Leftovers of a run that never wrote its journal.
    bool removeLeftovers()
    {
        const QStringList names = QDir(folder).entryList(
            {QLatin1Char('*') + kNew, QLatin1Char('*') + kOld}, QDir::Files | QDir::Hidden | QDir::System);
        for (const QString &name : names) {
            if (!remove(name))
                return false;
        }
        return true;
    }

    void syncFolder() const
    {
        // Renames are durable only once the folder itself is on disk.
        const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
        if (fd >= 0) {
            ::fsync(fd);
            ::close(fd);
        }
    }

private:
    int step_ = 0;
};

QString storedForm(const QString &password)
{
    return password.isEmpty() ? QString() : EncryptString(password);
}
} // namespace

int CountEntryFiles()
{
    return int(entryNames().size());
}

void SetPasswordChangeHook(std::function<ChangeStep(int step)> hook)
{
    stepHook() = std::move(hook);
}

PasswordChangeResult ChangeEntryPassword(const QString &oldPassword, const QString &newPassword,
                                         const std::function<void(int, int)> &progress,
                                         QString *error)
{
    CreateFolderPath(EntriesFolder());
    Change change;
    change.oldStored = storedForm(oldPassword);
    change.newStored = storedForm(newPassword);
    const QStringList names = entryNames();
    auto result = [&](PasswordChangeResult r) {
        if (error)
            *error = change.error;
        return change.crashed ? PasswordChangeResult::Interrupted : r;
    };

    // 1. Every entry under the new password beside its file.
    auto discard = [&] {
        const QString failure = change.error;
        for (const QString &name : std::as_const(change.files)) {
            if (!change.remove(name + kNew))
                break; // left for the next start to remove
        }
        change.error = failure;
        return result(PasswordChangeResult::NotChanged);
    };
    for (const QString &name : names) {
        // Deciphered and enciphered in memory: no plain copy reaches the disk.
        QFile file(change.path(name));
        QByteArray stored;
        if (file.open(QIODevice::ReadOnly))
            stored = file.readAll();
        if (!file.isOpen() || file.error() != QFileDevice::NoError) {
            change.error = QStringLiteral("%1 could not be read: %2").arg(name, file.errorString());
            return discard();
        }
        const QByteArray plain = oldPassword.isEmpty() ? stored : DecipherBytes(stored, oldPassword);
        const QByteArray bytes = newPassword.isEmpty() ? plain : EncipherBytes(plain, newPassword);
        if (!change.writeNew(name, bytes))
            return change.crashed ? result(PasswordChangeResult::Interrupted) : discard();
        change.files << name;
        if (progress)
            progress(int(change.files.size()), int(names.size()));
    }
    change.syncFolder();

    // 2. The journal: from here on the change is completed, or undone.
    if (!change.writeJournal(true))
        return change.crashed ? result(PasswordChangeResult::Interrupted) : discard();

    // 3. and 4.
    if (!change.finishForward()) {
        if (change.crashed)
            return result(PasswordChangeResult::Interrupted);
        const QString failure = change.error;
        const bool undone = change.undo();
        const bool crashed = change.crashed;
        if (undone)
            change.remove(kJournal); // a journal left here only repeats the undo
        change.error = failure;
        change.crashed = crashed || change.crashed;
        return result(undone ? PasswordChangeResult::NotChanged : PasswordChangeResult::Pending);
    }
    // Everything holds the new password now.  What cannot be cleaned up stays
    // with its journal for the next start to finish.
    if (change.cleanUpForward())
        change.remove(kJournal);
    return result(PasswordChangeResult::Changed);
}

bool RecoverPasswordChange(QString *error)
{
    Change change;
    bool done = true;
    if (!QFileInfo::exists(change.path(kJournal))) {
        done = change.removeLeftovers();
    } else {
        bool forward = false;
        done = change.readJournal(&forward)
            && (forward ? change.finishForward() && change.cleanUpForward() : change.undo())
            && change.removeLeftovers() && change.remove(kJournal);
    }
    if (!done && error)
        *error = change.crashed ? QStringLiteral("interrupted") : change.error;
    return done;
}
