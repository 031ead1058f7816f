#pragma once

#include "output/RangeOptions.h"

class TDirectoryListBox;
class TDriveComboBox;

// "Export Options (Export to RTF Format)": which entries to export and the
// folder to write them to.  The folder list starts at the program folder;
// on Ok the caller reads DirectoryListBox1->Directory().
class TSaveOptions : public TDateRangeOptions
{
    Q_OBJECT
public:
    explicit TSaveOptions(QWidget *parent = nullptr);

    QFrame *Panel2 = nullptr;
    QLabel *Label2 = nullptr;
    TDriveComboBox *DriveComboBox1 = nullptr;
    TDirectoryListBox *DirectoryListBox1 = nullptr;
    QLabel *Label3 = nullptr;
};
