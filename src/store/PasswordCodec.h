#pragma once

#include <QString>

// The stored form of the password in QY.INI: each character shifted by the
// text's length and 100, down at odd positions and up at even ones, modulo
// 256 ("abc" becomes the codes 194, 201, 196).  Characters are taken as their
// codes 0-255.
QString EncryptString(const QString &text);
QString Decryptstring(const QString &text);
