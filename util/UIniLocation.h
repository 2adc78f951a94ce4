#pragma once

#include <QString>

// Where the program reads KORVALMeridal.ini, its read-only settings file.
//
// The file beside the program file is the rule: the service technician keeps
// it there. An installed program's folder (/usr/bin) is not the user's to
// edit, so the file in the install's configuration folder (/etc for the
// Debian package) is read instead, but only while none lies beside the
// program: the file beside the program always wins.

// The INI file of this program run.
QString IniFilePath();

// The rule for a program folder and a configuration folder (empty: the
// platform has none): the file beside the program, unless only the one in the
// configuration folder exists.
QString IniFilePath(const QString& programFolder, const QString& configFolder);
