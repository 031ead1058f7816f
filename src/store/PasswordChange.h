#pragma once

#include <QString>
#include <functional>

// Rewriting every entry file under a new password, so that a failure or a
// crash at any point leaves a diary under one password:
//
//  1. every entry is deciphered and enciphered in memory and written beside
//     its file as "<name>.newpw" (nothing else changes yet); a failure here
//     removes those files and nothing has changed;
//  2. the journal Entries/PASSWORD.JNL records the change (both stored
//     passwords, every file) - from here on the change is completed;
//  3. QY.INI gets the new password;
//  4. each entry is swapped: "<name>" becomes "<name>.oldpw", then
//     "<name>.newpw" becomes "<name>";
//  5. the ".oldpw" files and the journal are removed.
// A failure in steps 3 and 4 turns the journal round ("back") and undoes the
// swaps.  At start-up RecoverPasswordChange finishes whatever a journal says,
// or removes the leftovers of a change that never reached step 2.

// The number of "*.QYE" files in Entries (any letter case).
int CountEntryFiles();

enum class PasswordChangeResult {
    Changed,     // every entry and QY.INI hold the new password
    NotChanged,  // a failure was undone: everything holds the old password
    Pending,     // a failure could not be undone now; the next start undoes it
    Interrupted, // stopped by the test hook, as a crash would stop it
};

// Rewrites every entry file from oldPassword to newPassword and stores
// newPassword in QY.INI.  progress(done, total) is called after each entry is
// prepared.  On any result but Changed, error says which file failed and why.
PasswordChangeResult ChangeEntryPassword(const QString &oldPassword, const QString &newPassword,
                                         const std::function<void(int, int)> &progress,
                                         QString *error);

// Completes or undoes a change that a crash left behind; does nothing when
// there is none.  False (error set) when it cannot; the diary must not be
// opened then.
bool RecoverPasswordChange(QString *error);

// For tests: called before each change on disk with its number (from 0);
// Crash stops the run there, Fail makes that change fail.
enum class ChangeStep { Continue, Crash, Fail };
void SetPasswordChangeHook(std::function<ChangeStep(int step)> hook);
