#pragma once

#include <QString>

// One copy of the diary at a time, per user: the first copy holds a lock
// file in the user's runtime folder for its whole life.  A lock left behind
// by a copy that died does not count.
bool AlreadyRunning();

// Lets go of the lock (the process's end does the same).
void ReleaseInstanceLock();

// The lock file's name; tests point it elsewhere.
QString InstanceLockFile();
void SetInstanceLockFile(const QString &fileName);
