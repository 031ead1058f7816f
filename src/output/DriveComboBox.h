#pragma once

#include <QComboBox>
#include <QStringList>

// The places a folder can be chosen from: the file system root, the home
// folder and the mounted volumes that hold files (no system pseudo file
// systems).
class TDriveComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit TDriveComboBox(QWidget *parent = nullptr);

    static QStringList Drives();

    QString Drive() const { return currentData().toString(); }
    // Shows the drive that holds the folder: the longest drive path it lies
    // under.
    void SelectDriveOf(const QString &folder);
};
