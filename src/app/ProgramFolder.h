#pragma once

#include <QString>

// The folder that holds everything the diary reads and writes: QUILLARY_HOME
// when it is set and not empty, otherwise the folder of the running
// executable.  Always ends in '/'.
QString ProgramFolder();

// Pins the program folder for this process (tests); an empty text lets
// QUILLARY_HOME and the executable's folder decide again.
void SetProgramFolder(const QString &folder);

// Finds a file of the program by a name spelt the Windows way
// ("ICONS\\MISC1.ICL"): backslashes are folder separators and each part of
// the path matches without regard to case.  Relative names are taken from
// ProgramFolder().  When nothing matches, the name is returned with '/'
// separators, so a caller can still create it.
QString ResolveProgramPath(const QString &windowsName);
