#pragma once

#include "output/RangeOptions.h"

// "Print Options": which entries to print, and whether each entry gets its
// own pages or the entries run on one after the other.
class TPrintOptions : public TDateRangeOptions
{
    Q_OBJECT
public:
    explicit TPrintOptions(QWidget *parent = nullptr);

    QFrame *Panel2 = nullptr;
    QRadioButton *EachPageSeparate = nullptr;
    QRadioButton *MergePages = nullptr;

    bool MergeChosen = false;

    void SetButtons() override;
    void OKButtonClick() override;
};
