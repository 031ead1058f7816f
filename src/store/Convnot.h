#pragma once

#include <QWidget>

class QLabel;

// The small progress window of the long runs over many entries (conversion,
// search, export): what is being done, and on which entry.  Always on top,
// centred on the screen, no buttons.
class TConvertNotify : public QWidget
{
    Q_OBJECT
public:
    explicit TConvertNotify(QWidget *parent = nullptr);

    QLabel *WhatAmIdoing = nullptr;
    QLabel *Status = nullptr;
};
