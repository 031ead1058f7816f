#pragma once

#include <QWidget>

class QLabel;

// The small progress window of long runs over the diary (the conversion of
// the old table, search, export): two texts, no buttons, always on top,
// centred on the screen.  Its user shows it without waiting, sets the texts
// and deletes it.
class TConvertNotify : public QWidget
{
    Q_OBJECT
public:
    explicit TConvertNotify(QWidget *parent = nullptr);

    QLabel *WhatAmIdoing = nullptr;
    QLabel *Status = nullptr;
};
